// The toolkit's own dialogs speak Russian once the program has set up its translations.
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>
#include <gtest/gtest.h>

#include "platform/ToolkitTranslations.h"

TEST(ToolkitTranslations, FileDialogsSpeakRussianWhateverTheLocale) {
    QString error;
    ASSERT_TRUE(platform::InstallToolkitTranslations(&error)) << error.toStdString();
    ASSERT_TRUE(platform::InstallToolkitTranslations()); // a second call changes nothing
    EXPECT_EQ(qApp->findChildren<QTranslator*>(QStringLiteral("ToolkitTranslations")).size(), 1);

    static const QRegularExpression cyrillic(QStringLiteral("[А-Яа-я]"));
    for (const auto mode : {QFileDialog::AcceptSave, QFileDialog::AcceptOpen}) {
        SCOPED_TRACE(int(mode));
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(mode);
        QStringList texts{dialog.windowTitle()};
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            texts << dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->isVisibleTo(&dialog) && !b->text().isEmpty())
                texts << b->text();
        for (const QString& text : texts)
            EXPECT_TRUE(text.contains(cyrillic)) << text.toStdString();
    }
}
