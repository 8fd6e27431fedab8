// tarifon-cli quote run as a process: what dealers' scripts see.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status;
    QString out;
    QString err;
};

CliRun Cli(const QStringList& args, const QString& lcAll = "C") {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", lcAll);
    p.setProcessEnvironment(env);
    p.start(TARIFON_CLI, QStringList{"quote"} + args);
    p.waitForFinished(10000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

const QString NBSP = QString(QChar(0x00A0));

} // namespace

TEST(QuoteCommand, LegalEntityLorryInEveryLocale) {
    const struct {
        const char* locale;
        QString premium;
    } cases[] = {{"C", "6" + NBSP + "075 рублей"},
                 {"ru_RU.UTF-8", "6" + NBSP + "075 рублей"},
                 {"en_US.UTF-8", "6,075 рублей"}};
    for (const auto& c : cases) {
        const CliRun r = Cli({"--owner", "legal", "--vehicle", "truck-16"}, c.locale);
        EXPECT_EQ(r.status, 0) << c.locale;
        EXPECT_TRUE(r.out.startsWith("Т = ТБ*КТ*КБМ*КО*КН\n")) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(c.premium)) << c.locale << ": " << r.out.toStdString();
    }
}

TEST(QuoteCommand, JsonCarriesTheWholeResultPage) {
    const CliRun r = Cli({"--owner", "natural", "--place", "transit", "--vehicle", "moto", "--json"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    EXPECT_EQ(o["formula"].toString(), "Т = ТБ*КВС*КО*КП");
    EXPECT_EQ(o["premium"].toDouble(), 243.0);
    EXPECT_EQ(o["premiumText"].toString(), "243 рублей");
    EXPECT_EQ(o["termCaption"].toString(), "Коэффициент срока страхования (до 20 дней вкл.):");
    const QJsonArray values = o["values"].toArray();
    ASSERT_EQ(values.size(), 9);
    const char* shown[] = {"ТБ", "КО", "КВС", "КП"};
    for (const QJsonValue& v : values) {
        const QString code = v["code"].toString();
        const bool expected =
            std::any_of(std::begin(shown), std::end(shown), [&](const char* s) { return code == s; });
        EXPECT_EQ(v["shown"].toBool(), expected) << code.toStdString();
    }
    EXPECT_EQ(values[7]["text"].toString(), "0,2");
    QStringList pages;
    for (const QJsonValue& p : o["enabledPages"].toArray())
        pages << p.toString();
    EXPECT_EQ(pages, (QStringList{"pWelcome", "pHolder", "pType", "pPeople", "pAge", "pResult"}));
}

TEST(QuoteCommand, WorkedExamples) {
    const struct {
        QStringList args;
        QString premium;
    } cases[] = {
        {{}, "3" + NBSP + "960 рублей"},
        {{"--territory", "spb", "--class", "4", "--driver", "2", "--power", "110"},
         "5" + NBSP + "281,85 рублей"},
        {{"--place", "foreign", "--term", "15d"}, "1" + NBSP + "029,6 рублей"},
        {{"--drivers", "unlimited", "--driver", "0", "--season", "7", "--violations", "yes"},
         "7" + NBSP + "128 рублей"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.out.contains("Размер страховой премии (Т): " + c.premium)) << r.out.toStdString();
    }
}

TEST(QuoteCommand, BadValuesPrintNothingOnStandardOutput) {
    const QStringList bad[] = {{"--vehicle", "boat"},
                               {"--season", "5"},
                               {"--driver", "1", "--driver", "1", "--driver", "1", "--driver", "1",
                                "--driver", "1", "--driver", "1"},
                               {"--power"},
                               {"--json", "--class", "X"}};
    for (const QStringList& args : bad) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains("accepted values")) << r.err.toStdString();
    }
}

TEST(QuoteCommand, HelpListsEveryOption) {
    const CliRun r = Cli({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* option :
         {"--owner natural|legal", "--place russia|cis|foreign|transit", "--vehicle car|taxi",
          "tractor-trailer", "--territory moscow|spb", "--class M|0..13", "--drivers limited|unlimited",
          "--driver 0|1|2|3", "--power", "--season", "--term 15d", "--violations no|yes", "--json"})
        EXPECT_TRUE(r.out.contains(option)) << option;
}
