// tarifon-cli open FILE.trp --find TEXT on a long prepared report: the pages that hold the
// text, one a line, letter case aside; status 1 when none does, 2 for a bad request.
#include "report/PreparedReportFile.h"
#include "support/LongReport.h"

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
