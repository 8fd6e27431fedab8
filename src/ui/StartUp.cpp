#include "ui/StartUp.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>

#include "export/Mnemonics.h"
#include "platform/FontSetup.h"
#include "platform/ToolkitTranslations.h"
#include "preview/ProgressWindow.h"
#include "ui/Controls.h"

namespace ui {

namespace {

// Message boxes come from the toolkit's static functions all over the program; the one moment
// they share is being shown, before anything is drawn.
class MessageBoxLetters : public QObject {
public:
    explicit MessageBoxLetters(QObject* parent) : QObject(parent) { setObjectName(Name()); }
    static QString Name() { return QStringLiteral("MessageBoxLetters"); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched))
                exports::AssignMnemonics(box);
        return false;
    }
};

} // namespace

void GiveMessageBoxesLetters() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<QObject*>(MessageBoxLetters::Name(), Qt::FindDirectChildrenOnly))
        return;
    app->installEventFilter(new MessageBoxLetters(app));
}

void UseTheWindowFace() {
    const QFont face = PixelFont(11);
    QApplication::setFont(face);
    // Desktop themes name their own faces for these; ours wins over them.
    for (const char* kind : {"QMessageBox", "QMenu", "QMenuBar", "QToolTip"})
        QApplication::setFont(face, kind);
}

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("tarifon"));
    // The menu entry and the icon the package installs; the task bar matches windows to them.
    QGuiApplication::setDesktopFileName(QStringLiteral("tarifon"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarifon")));
    platform::InstallApplicationFonts();
    UseTheWindowFace();
    GiveMessageBoxesLetters();
    preview::InstallProgressWindow();
    QString error;
    if (!platform::InstallToolkitTranslations(&error))
        std::fprintf(stderr, "tarifon: the dialogs stay in English: %s\n", qPrintable(error));
}

} // namespace ui
