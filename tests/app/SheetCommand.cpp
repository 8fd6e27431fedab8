// tarifon-cli sheet and open, run as processes.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status;
    QString out;
    QString err;
};

CliRun Cli(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(TARIFON_CLI, args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

int RedPixels(const QImage& img) {
    int red = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    return red;
}

} // namespace

TEST(SheetCommand, PictureAtZoomAndThroughAPreparedReport) {
    QTemporaryDir dir;
    const QString png = dir.filePath("sheet.png"), png2 = dir.filePath("sheet2.png"),
                  trp = dir.filePath("sheet.trp"), reopened = dir.filePath("reopened.png");
    CliRun r = Cli({"sheet", "--owner", "legal", "--vehicle", "truck-16", "--png", png, "--trp", trp});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QImage page(png);
    EXPECT_EQ(page.size(), QSize(794, 1123));
    EXPECT_GT(RedPixels(page), 50); // the premium line

    r = Cli({"sheet", "--owner", "legal", "--vehicle", "truck-16", "--png", png2, "--zoom", "2"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(png2).size(), QSize(1588, 2246));

    r = Cli({"open", trp, "--png", reopened});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(reopened), page); // the saved pages draw exactly as the prepared ones
}

TEST(SheetCommand, FailuresSayWhyAndLeaveNoFile) {
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.trp"), out = dir.filePath("out.png");
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\" encoding=\"utf-8\"?><preparedreport><page");
    }
    CliRun r = Cli({"open", bad, "--png", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("Invalid file format")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));

    r = Cli({"open", dir.filePath("missing.trp"), "--png", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(QFile::exists(out));

    r = Cli({"sheet", "--png", "/proc/no-such-dir/sheet.png"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("cannot write")) << r.err.toStdString();

    r = Cli({"sheet", "--vehicle", "boat", "--png", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFile::exists(out));

    r = Cli({"sheet"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("--png")) << r.err.toStdString();

    r = Cli({"sheet", "--png", out, "--zoom", "0"});
    EXPECT_EQ(r.status, 2);
}

TEST(SheetCommand, PdfThatRealReadersAccept) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    const CliRun r = Cli({"sheet", "--owner", "legal", "--vehicle", "truck-16", "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QProcess check;
    check.start("qpdf", {"--check", pdf});
    ASSERT_TRUE(check.waitForFinished(30000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(out.contains("Т = ТБ*КТ*КБМ*КО*КН")) << out.toStdString();
    EXPECT_TRUE(out.contains("075 рублей")) << out.toStdString();

    const CliRun bad = Cli({"sheet", "--pdf", "/proc/no-such-dir/sheet.pdf"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_FALSE(bad.err.isEmpty());
}
