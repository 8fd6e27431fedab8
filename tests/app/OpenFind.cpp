// tarifon-cli open on a long prepared report: --find prints the pages that hold the text, one
// a line, letter case aside (status 1 when none does, 2 for a bad request); the outputs write
// the chosen pages with the filters' options.
#include "report/PreparedReportFile.h"
#include "support/LongReport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int Status;
    QString Out, Err;
};

CliRun Cli(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(TARIFON_CLI, args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, "still running after 60 s"};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// Text as the text exports write it (code page 1251), for the letters these pages hold.
QByteArray Cp1251(const QString& text) {
    QByteArray out;
    for (QChar c : text)
        out += c == u'№'                                      ? '\xB9'
               : c.unicode() >= 0x410 && c.unicode() <= 0x44F ? char(c.unicode() - 0x410 + 0xC0)
                                                              : char(c.unicode());
    return out;
}

QByteArray Contents(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(OpenFind, PrintsThePagesThatHoldTheText) {
    QTemporaryDir dir;
    const QString trp = dir.filePath("реестр.trp");
    auto r = longreport::Create(3000);
    ASSERT_TRUE(r->Prepare());
    ASSERT_EQ(report::TrpPreparedReportFile::SaveToFile(*r, trp), QString());

    struct Case {
        QStringList Args;
        int Status;
        QString Out;
    };
    const Case cases[] = {
        {{"--find", "ДОГОВОР № 299"}, 0, "299\n2990\n2991\n2992\n2993\n2994\n2995\n2996\n2997\n2998\n2999\n"},
        {{"--find=Страница 3000 из 3000"}, 0, "3000\n"},
        {{"--find", "Страница\u00A03000\u202Fиз 3000"}, 0, "3000\n"},     // any space matches any space
        {{"--find", "\"ООО <Ромашка> & сыновья\", запись 1\r\n"}, 1, ""}, // no line break after it
        {{"--find", "нет такого текста"}, 1, ""},
        {{"--find"}, 2, ""},
        {{"--find="}, 2, ""},
    };
    for (const Case& c : cases) {
        const CliRun run = Cli(QStringList{"open", trp} + c.Args);
        EXPECT_EQ(run.Status, c.Status) << c.Args.join(' ').toStdString() << run.Err.toStdString();
        EXPECT_EQ(run.Out, c.Out) << c.Args.join(' ').toStdString();
    }
    const CliRun missing = Cli({"open", dir.filePath("нет.trp"), "--find", "Договор"});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_TRUE(missing.Err.contains("нет.trp")) << missing.Err.toStdString();
}

TEST(OpenOutputs, EveryFormatOfTheChosenPagesWithTheFiltersOptions) {
    QTemporaryDir dir;
    const QString trp = dir.filePath("реестр.trp"), out = dir.filePath("out");
    auto r = longreport::Create(5);
    ASSERT_TRUE(r->Prepare());
    ASSERT_EQ(report::TrpPreparedReportFile::SaveToFile(*r, trp), QString());
    QStringList args{"open",    trp,
                     "--pages", "2-3",
                     "--set",   "txt.Frames=true",
                     "--set",   "EmptyLines=true",
                     "--set",   "prn.Borders=1"};
    for (const char* format : {"png", "pdf", "txt", "csv", "prn", "html", "rtf", "xml", "gif"})
        args << QStringLiteral("--%1").arg(format) << out + "." + format;
    const CliRun run = Cli(args);
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Err, QString()) << "a successful run says nothing";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"out.1.gif", "out.2.gif", "out.csv", "out.html", "out.pdf", "out.png", "out.prn",
                           "out.rtf", "out.txt", "out.xml", "реестр.trp"}));

    QProcess pages;
    pages.start("qpdf", {"--show-npages", out + ".pdf"});
    ASSERT_TRUE(pages.waitForFinished(30000));
    EXPECT_EQ(pages.readAllStandardOutput(), "2\n");
    // Pages 2 and 3 only, in every text format; the options reach each filter.
    for (const char* format : {"txt", "csv", "prn", "html"}) {
        const QByteArray text = Contents(out + "." + format);
        for (int page = 1; page <= 5; ++page)
            EXPECT_EQ(text.contains(Cp1251(QStringLiteral("запись %1").arg(page))) ||
                          text.contains(QStringLiteral("запись %1").arg(page).toUtf8()),
                      page == 2 || page == 3)
                << format << " page " << page;
    }
    const QByteArray txt = Contents(out + ".txt"), prn = Contents(out + ".prn");
    EXPECT_EQ(txt.count('\f'), 2);
    EXPECT_TRUE(txt.contains("\r\n\r\n")) << "EmptyLines";
    EXPECT_TRUE(txt.contains("|")) << "Frames";
    EXPECT_TRUE(prn.contains("+---")) << "Borders";
    EXPECT_TRUE(prn.contains("\r\n\r\n")) << "EmptyLines";
}
