// What every file writer stands on: numbers in the form files carry, whatever the locale, and
// files written whole or not at all.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/NumberText.h"
#include "platform/TempFiles.h"
#include "support/WriteFailures.h"

using namespace platform;
using namespace writefailures;

namespace {

// The C library's numeric locale set to "C" for a while, to get printf's and strtold's own
// answers to compare with.
class ClassicNumbers {
public:
    ClassicNumbers() : FSaved(std::setlocale(LC_NUMERIC, nullptr)) { std::setlocale(LC_NUMERIC, "C"); }
    ~ClassicNumbers() { std::setlocale(LC_NUMERIC, FSaved.c_str()); }

private:
    std::string FSaved;
};

} // namespace

// The suite runs under each locale of the test list; a locale the C library cannot load would
// leave it in "C" and prove nothing.
TEST(NumberText, TheRunsLocaleIsLoaded) {
    const QByteArray wanted = qgetenv("LC_ALL");
    if (wanted.isEmpty())
        return;
    EXPECT_EQ(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), wanted)
        << "the locale " << wanted.toStdString() << " is missing; run scripts/install-deps";
    if (wanted.startsWith("ru_RU")) {
        EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    }
}

TEST(NumberText, WrittenWithAPointInEveryLocale) {
    const struct {
        long double Value;
        std::chars_format Format;
        int Precision;
        const char* Text;
    } cases[] = {
        {595.275L, std::chars_format::fixed, 2, "595.28"},
        {-0.5L, std::chars_format::fixed, 2, "-0.50"},
        {1e6L, std::chars_format::fixed, 0, "1000000"},
        {10.00125L, std::chars_format::general, 15, "10.00125"},
        {-2.449374412499992L, std::chars_format::general, 15, "-2.44937441249999"},
        {1.0L / 3, std::chars_format::general, 15, "0.333333333333333"},
        {1e20L, std::chars_format::general, 15, "1e+20"},
        {1.5e-7L, std::chars_format::general, 15, "1.5e-07"},
        {123.456L, std::chars_format::scientific, 17, "1.23456000000000000e+02"},
        {1e4000L, std::chars_format::fixed, 0, nullptr}, // 4000 digits
    };
    for (const auto& c : cases) {
        const std::string text = FormatNumber(c.Value, c.Format, c.Precision);
        if (c.Text)
            EXPECT_EQ(text, c.Text);
        else
            EXPECT_GE(text.size(), 4000u);
        // What printf writes in the C locale, digit for digit.
        const char* conversion = c.Format == std::chars_format::fixed        ? "%.*Lf"
                                 : c.Format == std::chars_format::scientific ? "%.*Le"
                                                                             : "%.*Lg";
        std::string printed(6000, '\0');
        {
            ClassicNumbers classic;
            printed.resize(
                size_t(std::snprintf(printed.data(), printed.size(), conversion, c.Precision, c.Value)));
        }
        EXPECT_EQ(text, printed);
    }
}

TEST(NumberText, ReadOnlyWhenTheWholeTextIsANumber) {
    const struct {
        const char* Text;
        bool Ok;
        long double Value;
    } cases[] = {
        {"10.00125", true, 10.00125L},
        {"-2.25", true, -2.25L},
        {"+7", true, 7},
        {".5", true, 0.5L},
        {"1e+20", true, 1e20L},
        {"4e-4951", true, 0}, // below the smallest long double: zero
        {"", false, 0},
        {"1,5", false, 0}, // the caller decides about commas
        {"1.5.", false, 0},
        {" 1", false, 0},
        {"0x10", false, 0},
        {"inf", false, 0},
        {"nan", false, 0},
        {"1e99999", false, 0},
        {"--1", false, 0},
        {"-", false, 0},
    };
    for (const auto& c : cases) {
        long double v = -1;
        EXPECT_EQ(ParseNumber(c.Text, v), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_EQ(v, c.Value) << c.Text;
        }
    }
    // Fifteen significant digits come back as the nearest long double, as strtold gives them.
    for (long double x : {595.2755905511811L, 1.0L / 3, -1234.56789012345L, 6.02214076e23L}) {
        const std::string text = FormatNumber(x, std::chars_format::general, 15);
        long double back = 0;
        ASSERT_TRUE(ParseNumber(text, back)) << text;
        ClassicNumbers classic;
        EXPECT_EQ(back, std::strtold(text.c_str(), nullptr)) << text;
        EXPECT_EQ(FormatNumber(back, std::chars_format::general, 15), text);
    }
}

TEST(AtomicFile, ReplacesTheFileWholeAndKeepsItsPermissions) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("лист.trp"));
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous contents");
    }
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray data(100000, 'a');
    EXPECT_EQ(WriteFileAtomically(target, data), QString());
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), data);
    EXPECT_TRUE(file.permissions().testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_FALSE(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther));

    // A writer that gives up leaves the file as it was.
    EXPECT_EQ(WriteFileAtomically(target,
                                  [](QIODevice& device) {
                                      device.write("half");
                                      return QStringLiteral("the writer's reason");
                                  }),
              QStringLiteral("the writer's reason"));
    file.seek(0);
    EXPECT_EQ(file.readAll(), data);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("лист.trp")});
}

TEST(AtomicFile, AFailedWriteSaysWhyAndKeepsTheOldFile) {
    // Small outputs stay under the write buffer of the toolkit's files; big ones go past it.
    for (Failure failure : {Failure::SizeLimit, Failure::FullDisk})
        for (int size : {10000, 1000000}) {
            SCOPED_TRACE(testing::Message() << Name(failure) << ", " << size << " bytes");
            // 8 KB: the old file takes one page of it, the next write finds four kilobytes.
            SmallFilesystem disk(8);
            QTemporaryDir local;
            const QString folder = failure == Failure::FullDisk ? disk.Path() : local.path();
            const QString target = folder + QStringLiteral("/sheet.pdf");
            {
                QFile old(target);
                ASSERT_TRUE(old.open(QIODevice::WriteOnly));
                old.write("previous contents");
            }
            QString error;
            {
                std::optional<FileSizeLimit> limit;
                if (failure == Failure::SizeLimit)
                    limit.emplace(4096);
                error = WriteFileAtomically(target, QByteArray(size, 'a'));
            }
            EXPECT_EQ(error, Reason(failure));
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::ReadOnly));
            EXPECT_EQ(old.readAll(), QByteArray("previous contents"));
            EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("sheet.pdf")});
        }
}

// What a killed program left behind goes at the next sweep, files and staging folders alike; what
// belongs to a running process, and an office run (its own sweep ends the office first), stays.
TEST(TempFiles, TheSweepRemovesWhatDeadProcessesLeft) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    QTemporaryDir dir;
    QDir d(dir.path());
    const QString dead = QStringLiteral("tarifon-%1-").arg(child),
                  alive = QStringLiteral("tarifon-%1-").arg(::getpid());
    const auto file = [&](const QString& name) {
        QFile f(d.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write("x") == 1;
    };
    ASSERT_TRUE(file(dead + "a.pdf") && file(alive + "b.pdf") && file(QStringLiteral("tarifon-notes.txt")));
    ASSERT_TRUE(d.mkpath(dead + "stage/OSAGO.files") && file(dead + "stage/OSAGO.html"));
    ASSERT_TRUE(d.mkpath(dead + "run.office/profile") && d.mkpath(alive + "stage"));
    // The command line's runtime folder and the stand-in of an output under a name the toolkit
    // cannot hold.
    const QString deadCli = QStringLiteral("%2-%1-").arg(child),
                  aliveCli = QStringLiteral("%2-%1-").arg(::getpid());
    ASSERT_TRUE(d.mkpath(deadCli.arg("tarifon-cli-runtime") + "AbC123/fonts") &&
                file(deadCli.arg(".tarifon-cli") + "1.part") &&
                file(aliveCli.arg(".tarifon-cli") + "2.part"));
    EXPECT_EQ(RemoveStaleTempFiles(dir.path()), 4);
    QStringList left{dead + "run.office", alive + "b.pdf", alive + "stage",
                     aliveCli.arg(".tarifon-cli") + "2.part", QStringLiteral("tarifon-notes.txt")};
    left.sort();
    QStringList found = d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    found.sort();
    EXPECT_EQ(found.join('\n').toStdString(), left.join('\n').toStdString());
}
