// The files of tarifon-cli sheet under the locales our users have, read back by real readers,
// and writes that fail part way.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "export/pdf/PdfTools.h"
#include "support/WriteFailures.h"

using namespace writefailures;

namespace {

struct CliRun {
    int Status = -1;
    QByteArray Out, Err;
};

// tarifon-cli with the locale variables given as "NAME=value" and every other one removed,
// and an optional file size limit.
CliRun Cli(const QStringList& args, const QStringList& locale = {}, rlim_t sizeLimit = 0) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : env.keys())
        if (name.startsWith(QStringLiteral("LC_")) || name == u"LANG" || name == u"LANGUAGE")
            env.remove(name);
    for (const QString& assignment : locale)
        env.insert(assignment.section(QLatin1Char('='), 0, 0), assignment.section(QLatin1Char('='), 1));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess p;
    p.setProcessEnvironment(env);
    if (sizeLimit)
        FileSizeLimit::ApplyTo(p, sizeLimit);
    p.start(QStringLiteral(TARIFON_CLI), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

const QStringList kCase = {"--owner", "legal", "--vehicle", "truck-16"};

// The tool speaks English, the system's error texts included.
QString EnglishReason(Failure failure) {
    const std::string saved = std::setlocale(LC_MESSAGES, nullptr);
    std::setlocale(LC_MESSAGES, "C");
    const QString reason = Reason(failure);
    std::setlocale(LC_MESSAGES, saved.c_str());
    return reason;
}

QByteArray Contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(SheetFiles, ReadTheSameInEveryLocale) {
    QTemporaryDir dir;
    const QString ref = dir.filePath(QStringLiteral("ref"));
    CliRun r = Cli(QStringList{"sheet"} << kCase << "--trp" << ref + ".trp"
                                        << "--png" << ref + ".png",
                   {"LC_ALL=C"});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    const QByteArray refTrp = Contents(ref + ".trp");
    // Positions with fractions, written with the comma our files always had.
    EXPECT_GE(refTrp.count(" Left=\"544,33333334\""), 1) << refTrp.left(2000).toStdString();
    const QImage refPng(ref + ".png");

    const struct {
        QStringList Locale;
        bool Russian;
    } cases[] = {
        {{"LC_ALL=ru_RU.UTF-8"}, true},
        {{"LANG=ru_RU.UTF-8"}, true}, // only LANG, as many desktops set it
        {{"LC_ALL=de_DE.UTF-8"}, false},
        {{"LANG=de_DE.UTF-8"}, false},
        {{"LANG=de_DE.UTF-8", "LC_NUMERIC=ru_RU.UTF-8"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Locale.join(QLatin1Char(' ')).toStdString());
        const QString out = dir.filePath(c.Locale.join(QLatin1Char('+')));
        r = Cli(QStringList{"sheet"} << kCase << "--trp" << out + ".trp"
                                     << "--pdf" << out + ".pdf"
                                     << "--png" << out + ".png"
                                     << "--html" << out + ".html",
                c.Locale);
        ASSERT_EQ(r.Status, 0) << r.Err.toStdString();

        // The PDF: clean for qpdf, an A4 page, and the numbers people read as the locale
        // writes them (the quote's own text of the premium).
        const QString pdf = out + ".pdf";
        ExpectQpdfClean(pdf);
        EXPECT_TRUE(Contents(pdf).contains("/MediaBox [0 0 595.28 841.89 ]"));
        const CliRun quote = Cli(QStringList{"quote"} << kCase << "--json", c.Locale);
        // The no-break space between thousands is a plain "space" glyph in the font's encoding.
        const QString premium = QJsonDocument::fromJson(quote.Out)
                                    .object()
                                    .value(QStringLiteral("premiumText"))
                                    .toString()
                                    .replace(QChar(0xA0), QLatin1Char(' '));
        EXPECT_TRUE(premium.endsWith(QStringLiteral(" рублей")) && premium.size() > 8)
            << quote.Out.toStdString();
        for (const QString& text : {PdfText(pdf), PypdfText(pdf)}) {
            EXPECT_TRUE(text.contains(premium)) << text.toStdString();
            EXPECT_TRUE(text.contains(QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН"))) << text.toStdString();
        }

        // The HTML page: its logo beside it, its style sheet's numbers with a point.
        const QString html = QString::fromUtf8(Contents(out + ".html"));
        EXPECT_TRUE(html.contains(QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН")));
        EXPECT_TRUE(html.contains(QStringLiteral(".files/img0.jpg\" width=")) &&
                    QFile::exists(out + ".files/img0.jpg"));
        EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("line-height: \\d\\.\\d{3};"))));

        // The prepared report: with Russian numbers it is byte for byte the file written in
        // C; else it opens in C exactly as it was drawn. The file of C opens here as drawn there.
        if (c.Russian) {
            EXPECT_EQ(Contents(out + ".trp"), refTrp);
        } else {
            r = Cli({"open", out + ".trp", "--png", out + "-reopened.png"}, {"LC_ALL=C"});
            ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
            EXPECT_EQ(QImage(out + "-reopened.png"), QImage(out + ".png"));
        }
        r = Cli({"open", ref + ".trp", "--png", out + "-ref.png"}, c.Locale);
        ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
        EXPECT_EQ(QImage(out + "-ref.png"), refPng);
    }
}

TEST(SheetFiles, FailedWritesSayWhyAndKeepTheOldFile) {
    // The prepared report and the PDF are smaller than the toolkit's write buffer, the
    // picture is larger.
    const struct {
        const char* Option;
        const char* Name;
        QStringList Extra;
    } outputs[] = {
        {"--trp", "sheet.trp", {}},
        {"--pdf", "sheet.pdf", {}},
        {"--rtf", "sheet.rtf", {}},
        {"--xml", "sheet.xls", {}},
        {"--png", "sheet.png", {"--zoom", "4"}},
        {"--html", "sheet.html", {}}, // and no pictures folder
    };
    for (Failure failure : {Failure::SizeLimit, Failure::FullDisk})
        for (const auto& o : outputs) {
            SCOPED_TRACE(testing::Message() << Name(failure) << ", " << o.Option);
            SmallFilesystem disk(8); // the old file takes one page, the new one finds four kilobytes
            QTemporaryDir local;
            const QString folder = failure == Failure::FullDisk ? disk.Path() : local.path();
            const QString target = folder + QLatin1Char('/') + QLatin1String(o.Name);
            {
                QFile old(target);
                ASSERT_TRUE(old.open(QIODevice::WriteOnly));
                old.write("previous contents");
            }
            // In the locale of the test: the message must not depend on it.
            const CliRun r =
                Cli(QStringList{"sheet"} << kCase << o.Option << target << o.Extra,
                    {QStringLiteral("LC_ALL=") + qEnvironmentVariable("LC_ALL", QStringLiteral("C"))},
                    failure == Failure::SizeLimit ? 4096 : 0);
            EXPECT_EQ(r.Status, 1);
            const QString err = QString::fromLocal8Bit(r.Err);
            EXPECT_TRUE(err.contains(target) && err.contains(EnglishReason(failure))) << err.toStdString();
            EXPECT_EQ(Contents(target), QByteArray("previous contents"));
            EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                      QStringList{QLatin1String(o.Name)});
        }
}

TEST(SheetFiles, TextFormatsAreTheCheckedFilesAndFailWholly) {
    QTemporaryDir dir;
    const char* const formats[] = {"csv", "txt", "prn"};
    QStringList args = QStringList{"sheet"} << kCase;
    for (const char* f : formats)
        args << QStringLiteral("--") + f << dir.filePath(QStringLiteral("sheet.") + f);
    const CliRun r = Cli(args, {"LC_ALL=ru_RU.UTF-8"});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    for (const char* f : formats) {
        SCOPED_TRACE(f);
        EXPECT_EQ(Contents(dir.filePath(QStringLiteral("sheet.") + f)),
                  Contents(QStringLiteral(TARIFON_TEST_DATA "/export/text/sheet.") + f));
        // A file larger than the limit fails as a whole: the old one stays, nothing else appears.
        const QString target = dir.filePath(QStringLiteral("old.") + f);
        {
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("previous contents");
        }
        const CliRun failed =
            Cli(QStringList{"sheet"} << kCase << QStringLiteral("--") + f << target, {"LC_ALL=C"}, 512);
        EXPECT_EQ(failed.Status, 1);
        const QString err = QString::fromLocal8Bit(failed.Err);
        EXPECT_TRUE(err.contains(target) && err.contains(EnglishReason(Failure::SizeLimit)))
            << err.toStdString();
        EXPECT_EQ(Contents(target), QByteArray("previous contents"));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 6);
}

TEST(SheetFiles, RtfAndXmlWorkbookOfTheExportMenu) {
    QTemporaryDir dir;
    const QString rtf = dir.filePath(QStringLiteral("sheet.rtf")),
                  xls = dir.filePath(QStringLiteral("sheet.xls"));
    const CliRun r = Cli(QStringList{"sheet"} << kCase << "--rtf" << rtf << "--xml" << xls,
                         {QStringLiteral("LC_ALL=") + qEnvironmentVariable("LC_ALL", QStringLiteral("C"))});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    const QByteArray document = Contents(rtf);
    EXPECT_TRUE(document.startsWith("{\\rtf1\\ansi\r\n"));
    // The premium (its thousands apart by the regional separator), its letters as Unicode escapes.
    EXPECT_TRUE(document.contains("075 \\u1088\\'3f\\u1091\\'3f\\u1073\\'3f"))
        << document.left(2000).toStdString();
    EXPECT_TRUE(document.endsWith("}\r\n"));
    QProcess lint;
    lint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), xls});
    ASSERT_TRUE(lint.waitForFinished(30000));
    EXPECT_EQ(lint.exitCode(), 0) << lint.readAllStandardError().toStdString();
    EXPECT_TRUE(Contents(xls).contains(QStringLiteral("075 рублей</Data>").toUtf8()));
}

namespace {

mode_t ModeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

// The id of a process that has ended.
pid_t DeadProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

} // namespace

// Targets that are not new plain files: a device or a pipe is written into and stays what it
// was, a replaced file keeps its permissions, and what killed runs left in the temporary folder
// goes.
TEST(SheetFiles, OddTargetsAreWrittenIntoNotReplaced) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("ref") && QDir(dir.path()).mkdir("tmp"));
    const QString tmp = dir.filePath("tmp");
    const CliRun ref = Cli(QStringList{"sheet"} << kCase << "--csv" << dir.filePath("ref/sheet.csv")
                                                << "--html" << dir.filePath("ref/sheet.html"),
                           {"LC_ALL=C"});
    ASSERT_EQ(ref.Status, 0) << ref.Err.toStdString();
    const QString dead = QString::number(DeadProcess());
    const auto file = [](const QByteArray& path, QFileDevice::Permissions permissions) {
        QFile f(QFile::decodeName(path));
        return f.open(QIODevice::WriteOnly) && f.write("old") == 3 && f.setPermissions(permissions);
    };
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const struct {
        const char* Name;
        const char* Option;
        std::function<QString()> Target; // "" when the case cannot run here
        std::function<void(const QString& target, const CliRun&)> Check;
    } cases[] = {
        {"a FIFO read by another process", "--html",
         [&] {
             const QString fifo = dir.filePath("sheet.html");
             return ::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0 ? fifo : QString();
         },
         [&](const QString& target, const CliRun& r) {
             EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
             EXPECT_TRUE(S_ISFIFO(ModeOf(target)));
         }},
        {"standard output in a pipe", "--csv", [] { return QStringLiteral("/dev/stdout"); },
         [&](const QString&, const CliRun& r) {
             EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
             EXPECT_EQ(r.Out, Contents(dir.filePath("ref/sheet.csv")));
         }},
        {"a full device", "--pdf", [] { return QStringLiteral("/dev/full"); },
         [&](const QString&, const CliRun& r) {
             EXPECT_EQ(r.Status, 1);
             EXPECT_TRUE(r.Err.contains("/dev/full") &&
                         r.Err.contains(EnglishReason(Failure::FullDisk).toUtf8()))
                 << r.Err.toStdString();
             EXPECT_TRUE(S_ISCHR(ModeOf("/dev/full")));
         }},
        {"a device node (as root)", "--trp",
         [&] {
             const QString node = dir.filePath("null.trp");
             return ::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0
                        ? node
                        : QString();
         },
         [&](const QString& target, const CliRun& r) {
             EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
             EXPECT_TRUE(S_ISCHR(ModeOf(target)));
         }},
        {"a file of the owner only, and the runtime folder of a killed run", "--html",
         [&] {
             const QString html = dir.filePath("own.html");
             const bool made = file(QFile::encodeName(html), ownerOnly) &&
                               QDir(tmp).mkpath("tarifon-cli-runtime-" + dead + "-AbCdEf/sub");
             return made ? html : QString();
         },
         [&](const QString& target, const CliRun& r) {
             EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
             // The killed run's runtime folder went before the run, the run's own with it.
             EXPECT_EQ(QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                       QStringList());
             EXPECT_EQ(ModeOf(target) & 0777, 0600u);
             EXPECT_NE(Contents(target), QByteArray("old"));
             EXPECT_TRUE(Contents(target).startsWith(Contents(dir.filePath("ref/sheet.html")).left(20)));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString target = c.Target();
        if (target.isEmpty()) {
            std::fprintf(stderr, "skipped: %s (not possible here)\n", c.Name);
            continue;
        }
        // A FIFO is read by a process of its own while the run writes into it.
        QProcess reader;
        const bool fifo = target.startsWith(dir.path()) && S_ISFIFO(ModeOf(target));
        if (fifo) {
            reader.start(QStringLiteral("cat"), {target});
            ASSERT_TRUE(reader.waitForStarted());
        }
        const CliRun r = Cli(QStringList{"sheet"} << kCase << c.Option << target,
                             {"LC_ALL=C", "TMPDIR=" + tmp, "XDG_RUNTIME_DIR="});
        if (fifo) {
            EXPECT_TRUE(reader.waitForFinished(10000));
            EXPECT_EQ(reader.readAllStandardOutput(), Contents(dir.filePath("ref/sheet.html")));
        }
        c.Check(target, r);
    }
}
