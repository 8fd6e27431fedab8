// F1 everywhere opens the user manual's page of what the user is looking at, in the browser;
// without a browser it says where the manual is.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "export/ExportFilter.h"
#include "preview/PreviewForm.h"
#include "sheet/SheetTemplate.h"
#include "sheet/commands/SheetFilters.h"
#include "ui/OSAGO_Calc.h"
#include "wizard/KWizard.h"
#include "wizard/KWizardPage.h"

using calc::PageId;

namespace {

// A browser that writes down the address it was given.
struct RecordingBrowser {
    QTemporaryDir dir;
    QString log = dir.filePath(QStringLiteral("opened"));
    QByteArray oldBrowser = qgetenv("BROWSER");
    RecordingBrowser() {
        // The manual as the sources have it, whatever of the build tree was built.
        qputenv("TARIFON_MANUAL_DIR", TARIFON_MANUAL_SOURCE);
        const QString script = dir.filePath(QStringLiteral("browser"));
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\nprintf '%s\\n' \"$1\" > \"" + log.toUtf8() + ".part\" && mv \"" + log.toUtf8() +
                ".part\" \"" + log.toUtf8() + "\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("BROWSER", QFile::encodeName(script));
    }
    ~RecordingBrowser() {
        qputenv("BROWSER", oldBrowser);
        qunsetenv("TARIFON_MANUAL_DIR");
    }

    // The address the browser got after the action; "" when none within a few seconds. A message
    // box instead of the browser is closed, so that the test fails rather than waits.
    QString Opened(const std::function<void()>& action) {
        QFile::remove(log);
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "a message instead of the browser: " << box->text().toStdString();
                box->reject();
            }
        });
        guard.start(200);
        action();
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(log) && t.elapsed() < 5000)
            QTest::qWait(20);
        QFile f(log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
    }
};

// The manual page an address names, when the file is there.
std::string PageOf(const QString& address) {
    const QString file = QUrl(address).toLocalFile();
    return (QFile::exists(file) ? QFileInfo(file).fileName() : QStringLiteral("(missing) ") + address)
        .toStdString();
}

// F1 as the user presses it: in the active window.
void PressF1(QWidget* w) {
    QWidget* window = w->window();
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }
    QTest::keyClick(w, Qt::Key_F1);
}

// Runs open() and presses F1 in the modal dialog it shows, then closes the dialog.
void F1InDialog(const std::function<void()>& open) {
    QTimer::singleShot(50, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        PressF1(dialog);
        QTimer::singleShot(0, dialog, [dialog] { QTest::keyClick(dialog, Qt::Key_Escape); });
    });
    open();
}

} // namespace

TEST(HelpKey, OpensThePageOfEveryWizardPagePreviewAndExportDialog) {
    RecordingBrowser browser;
    TfmOSAGO_Calc w;
    w.show();
    w.Page(PageId::pTime)->SetEnabled(true);
    for (int i = 0; i < calc::PageCount; ++i) {
        w.KWizard()->SetActivePage(w.Page(PageId(i)));
        const QString name =
            QString::fromLatin1(calc::PageNames[i].data(), qsizetype(calc::PageNames[i].size()));
        EXPECT_EQ(PageOf(browser.Opened([&] { PressF1(&w); })), name.toStdString() + ".html");
    }

    auto report = sheet::CreateSheetReport();
    ASSERT_TRUE(sheet::PrepareSheet(*report, {}).Ok);
    preview::TrpPreviewForm preview(*report);
    preview.show();
    EXPECT_EQ(PageOf(browser.Opened([&] { PressF1(&preview); })), "preview.html");

    // The export menu's filters by position, each dialog with its own page.
    const std::pair<int, const char*> dialogs[] = {
        {0, "export-image.html"}, {1, "export-image.html"}, {2, "export-image.html"},
        {3, "export-image.html"}, {4, "export-prn.html"},   {5, "export-txt.html"},
        {6, "export-csv.html"},   {7, "export-html.html"},  {8, "export-xls.html"},
        {9, "export-xml.html"},   {10, "export-rtf.html"},  {11, "export-pdf.html"},
        {12, "export-email.html"}};
    for (const auto& [index, page] : dialogs) {
        auto filter = sheet::CreateSheetFilter(index);
        if (!filter)
            continue; // not in the menu yet
        filter->SetReport(report.get());
        EXPECT_EQ(PageOf(browser.Opened([&] { F1InDialog([&] { filter->ShowModal(); }); })), page)
            << "export menu item " << index;
    }
}

TEST(HelpKey, WithoutABrowserSaysWhereTheManualIs) {
    const QByteArray path = qgetenv("PATH"), browser = qgetenv("BROWSER");
    QTemporaryDir empty;
    qputenv("PATH", QFile::encodeName(empty.path())); // no opener, no browser
    qunsetenv("BROWSER");
    qputenv("TARIFON_MANUAL_DIR", TARIFON_MANUAL_SOURCE);
    TfmOSAGO_Calc w;
    w.show();
    w.KWizard()->SetActivePage(w.Page(PageId::pClass));
    QString said;
    QTimer::singleShot(50, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said = box->text();
            box->reject();
        }
    });
    PressF1(&w);
    qputenv("PATH", path);
    qputenv("BROWSER", browser);
    qunsetenv("TARIFON_MANUAL_DIR");
    EXPECT_TRUE(said.contains(QStringLiteral("pClass.html"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("браузер"))) << said.toStdString();
}
