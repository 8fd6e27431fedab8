// tarifon-cli sheet and open, run as processes.
#include "export/mail/MailServers.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CliRun {
    int status;
    QString out;
    QString err;
    QByteArray errBytes;
};

// The tool as a script runs it: no desktop session (so no XDG_RUNTIME_DIR), a temporary
// folder of its own that must be empty again afterwards.
CliRun Run(const QString& program, const QStringList& args, const QString& locale,
           const char* category = "LC_ALL") {
    QTemporaryDir tmp;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("LC_ALL");
    env.insert(category, locale);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TMPDIR", tmp.path());
    env.remove("XDG_RUNTIME_DIR");
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(30000);
    const QStringList left =
        QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
    const QByteArray err = p.readAllStandardError();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(err), err};
}

CliRun Cli(const QStringList& args, const QString& locale = "C") {
    return Run(TARIFON_CLI, args, locale);
}

// Arguments as raw bytes, which QProcess cannot pass (it encodes UTF-8): the shell's printf
// makes them from octal escapes.
CliRun CliBytes(const std::vector<QByteArray>& args, const QString& ctype) {
    QString script = "exec \"$0\"";
    for (const QByteArray& a : args) {
        QString escaped;
        for (char c : a)
            escaped += QString("\\%1").arg(uint(uchar(c)), 3, 8, QChar('0'));
        script += " \"$(printf '" + escaped + "')\"";
    }
    return Run("/bin/sh", {"-c", script, TARIFON_CLI}, ctype, "LC_CTYPE");
}

// Names in a folder as the file system has them.
std::set<QByteArray> Entries(const QByteArray& folder) {
    std::set<QByteArray> names;
    if (DIR* d = opendir(folder.constData())) {
        while (dirent* e = readdir(d))
            if (qstrcmp(e->d_name, ".") && qstrcmp(e->d_name, ".."))
                names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

QString PdfText(const QByteArray& path) {
    // pdftotext is handed a plain copy: its name crosses QProcess.
    QTemporaryDir dir;
    std::ifstream in(path.toStdString(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    QFile copy(dir.filePath("copy.pdf"));
    if (!copy.open(QIODevice::WriteOnly))
        return {};
    copy.write(bytes.data(), qint64(bytes.size()));
    copy.close();
    QProcess text;
    text.start("pdftotext", {"-layout", copy.fileName(), "-"});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput());
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
    EXPECT_EQ(r.err, QString()) << "a successful run says nothing on standard error";
    const QImage page(png);
    EXPECT_EQ(page.size(), QSize(794, 1123));
    EXPECT_GT(RedPixels(page), 50); // the premium line

    r = Cli({"sheet", "--owner", "legal", "--vehicle", "truck-16", "--png=" + png2, "--zoom=2,0"},
            "ru_RU.UTF-8");
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(QImage(png2).size(), QSize(1588, 2246));

    r = Cli({"open", trp, "--png", reopened});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
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
    EXPECT_TRUE(r.err.contains("cannot open '" + dir.filePath("missing.trp") + "': No such file"))
        << r.err.toStdString();
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

    for (const char* zoom : {"0", "0x1", " 1", "1e0"}) {
        r = Cli({"sheet", "--png", out, "--zoom", zoom});
        EXPECT_EQ(r.status, 2) << zoom;
        EXPECT_TRUE(r.err.contains(QString("--zoom: '%1'").arg(zoom))) << r.err.toStdString();
    }
}

// A command line that cannot be carried out as asked ends with status 2 and a message naming
// what is wrong, printable, before anything is written.
TEST(SheetCommand, MisuseEndsWithStatus2AndWritesNothing) {
    QTemporaryDir dir;
    const QString trp = dir.filePath("sheet.trp"), a = dir.filePath("a"), b = dir.filePath("b");
    ASSERT_EQ(Cli({"sheet", "--trp", trp}).status, 0);
    struct Case {
        QStringList Args;
        QString Message;
    };
    const Case cases[] = {
        {{"open", trp, "--pdf", a, "--bogus"}, "unknown option '--bogus'"},
        {{"sheet", "--png="}, "--png: the value is empty"},
        {{"open", trp, "--txt", a, "--set", "Frames=maybe"}, "'maybe' is not a value of Frames (true|false)"},
        {{"sheet", "--pdf", a, "--set", "Frames=true"}, "no output of this run has the option"},
        {{"sheet", "--pdf", a, "--txt", b, "--set", "csv.Separator=,"},
         "no output of this run has the option in csv"},
        {{"sheet", "--pdf", a, "--set", "OpenAfterExport=true"}, "is not offered here"},
        {{"sheet", "--prn", a, "--set", "ScaleWidth=0"}, "'0' is not a value of ScaleWidth (number)"},
        {{"sheet", "--txt", a, "--pdf", dir.path() + "/./a"}, "--pdf and --txt name the same file"},
        {{"open", trp, "--csv", a, "--xml", trp}, "the input and --xml name the same file"},
        {{"sheet", "--gif", a + ".gif", "--png", a + ".1.gif"}, "--png and --gif name the same file"},
        {{"sheet", "--pdf", a, "--pdf", b}, "--pdf is given twice"},
        {{"sheet", "--pdf", a, "--pages", "2"}, "--pages: '2' selects none of the 1 page"},
        {{"open", trp, "--pdf", a, "--pages", "1,,2"}, "is not a valid page number"},
        {{"sheet", "--trp", a, "--pages", "1"}, "--pages does not go with a prepared report"},
        {{"sheet", "--vehicle", "\x1b[2Jboat", "--pdf", a}, "unknown value '\\x1b[2Jboat'"},
        {{"open", dir.filePath("\x1b]0;x\x07.trp"), "--pdf", a}, "\\x1b]0;x\\x07.trp"},
    };
    for (const Case& c : cases) {
        const CliRun r = Cli(c.Args);
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(c.Message)) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QRegularExpression("[\\x00-\\x09\\x0b-\\x1f\\x7f]")))
            << r.err.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{"sheet.trp"});
    }
}

TEST(SheetCommand, MessagesAreEnglishInEveryLocale) {
    QTemporaryDir dir;
    const QString bad = "/proc/no-such-dir/sheet";
    const QStringList runs[] = {{"sheet", "--pdf", bad + ".pdf"},
                                {"sheet", "--trp", bad + ".trp"},
                                {"sheet", "--png", bad + ".png"},
                                {"open", dir.filePath("missing.trp"), "--png", dir.filePath("a.png")}};
    for (const char* locale : {"C", "ru_RU.UTF-8"})
        for (const QStringList& args : runs) {
            const CliRun r = Cli(args, locale);
            EXPECT_NE(r.status, 0);
            EXPECT_TRUE(
                r.err.contains(QRegularExpression("cannot (write|open) '[^']+': No such file or directory")))
                << locale << ": " << r.err.toStdString();
            EXPECT_FALSE(r.err.contains(QRegularExpression("[\\x{0400}-\\x{04FF}]"))) << r.err.toStdString();
        }
}

TEST(SheetCommand, FileNamesReachTheFileSystemAsTyped) {
    // A desktop in code page 1251 types Cyrillic names as single bytes, which are not UTF-8:
    // "Расчет.pdf", "Итог.pdf" and a folder "Папка".
    QTemporaryDir dir;
    // Qt cannot name these files to remove them; rm can.
    const auto cleanup = qScopeGuard([&] { QProcess::execute("rm", {"-rf", dir.path()}); });
    const QByteArray root = QFile::encodeName(dir.path()) + "/";
    const QByteArray first = "\xD0\xE0\xF1\xF7\xE5\xF2.pdf", second = "\xC8\xF2\xEE\xE3.pdf",
                     folder = "\xCF\xE0\xEF\xEA\xE0";
    ASSERT_EQ(mkdir(root + folder, 0700), 0);
    const QString cp1251 = "ru_RU.CP1251";
    CliRun r = CliBytes(
        {"sheet", "--vehicle", "car", "--pdf", root + first, "--trp", root + folder + "/" + first + ".trp"},
        cp1251);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    r = CliBytes({"sheet", "--owner", "legal", "--vehicle", "truck-16", "--pdf", root + second}, cp1251);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(Entries(root), (std::set<QByteArray>{first, second, folder})) << "no stand-in names left";
    EXPECT_TRUE(PdfText(root + first).contains("Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН"));
    EXPECT_TRUE(PdfText(root + second).contains("Т = ТБ*КТ*КБМ*КО*КН"));

    // Read back through a name that is not UTF-8 either, and an existing file replaced: it keeps
    // its permissions, and the stand-in a killed run left beside it goes.
    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    const QByteArray stale = root + folder + "/.tarifon-cli-" + QByteArray::number(dead) + "-1.part";
    ASSERT_EQ(close(open(stale, O_WRONLY | O_CREAT, 0600)), 0);
    for (int round = 0; round < 2; ++round) {
        r = CliBytes(
            {"open", root + folder + "/" + first + ".trp", "--png", root + folder + "/" + second + ".png"},
            cp1251);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        if (round == 0) {
            ASSERT_EQ(chmod(root + folder + "/" + second + ".png", 0600), 0);
        }
    }
    struct stat st {};
    ASSERT_EQ(stat(root + folder + "/" + second + ".png", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(Entries(root + folder), (std::set<QByteArray>{first + ".trp", second + ".png"}));

    // The message quotes the name as typed.
    r = CliBytes({"open", root + second + ".trp", "--png", root + "x.png"}, cp1251);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.errBytes.contains("cannot open '" + root + second + ".trp': No such file"))
        << r.errBytes.toStdString();
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

TEST(SheetCommand, PicturesAsTheExportMenuWritesThem) {
    QTemporaryDir dir;
    const QString png = dir.filePath("sheet.png");
    const CliRun r = Cli({"sheet", "--owner", "legal", "--vehicle", "truck-16", "--png", png, "--bmp",
                          dir.filePath("sheet.bmp"), "--jpeg", dir.filePath("sheet.jpg"), "--tiff",
                          dir.filePath("sheet.tif"), "--gif", dir.filePath("sheet.gif")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // One file per page, the page number before the extension.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"sheet.1.bmp", "sheet.1.gif", "sheet.1.jpg", "sheet.1.tif", "sheet.png"}));
    const QImage page = QImage(png).convertToFormat(QImage::Format_RGB32);
    for (const char* name : {"sheet.1.bmp", "sheet.1.tif"}) {
        QProcess convert;
        convert.start("convert", {dir.filePath(name), "ppm:-"});
        ASSERT_TRUE(convert.waitForFinished(30000));
        EXPECT_EQ(
            QImage::fromData(convert.readAllStandardOutput(), "PPM").convertToFormat(QImage::Format_RGB32),
            page)
            << name << ": the same pixels as --png";
    }
    QProcess identify;
    identify.start("identify",
                   {"-format", "%m %wx%h\n", dir.filePath("sheet.1.jpg"), dir.filePath("sheet.1.gif")});
    ASSERT_TRUE(identify.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(identify.readAllStandardOutput()), "JPEG 794x1123\nGIF 794x1123\n");

    const CliRun bad = Cli({"sheet", "--gif", "/proc/no-such-dir/sheet.gif"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains("/proc/no-such-dir/sheet.1.gif")) << bad.err.toStdString();
    EXPECT_EQ(Cli({"sheet", "--tiff"}).status, 2);
}

// --mail sends the sheet through the e-mail export: the attachment as --trp writes it, the
// password from its file and never in the log; a refusal is the exit status and the server's words.
TEST(SheetCommand, MailSendsTheSheetAndTellsARefusal) {
    QTemporaryDir dir;
    const QString password = dir.filePath("password"), log = dir.filePath("smtp.log"),
                  trp = dir.filePath("sheet.trp");
    QFile pw(password);
    ASSERT_TRUE(pw.open(QIODevice::WriteOnly));
    pw.write("Секрет-1\n");
    pw.close();
    mailtest::SmtpPeer server({"smtp", "--auth", "agent:Секрет-1"});
    const QString smtp = "127.0.0.1:" + QString::number(server.Port());
    const QStringList common{"sheet",
                             "--smtp",
                             smtp,
                             "--from",
                             "agent@tarifon.test",
                             "--login",
                             "agent",
                             "--password-file",
                             password,
                             "--allow-plain-login"};
    for (const QString locale : {"C", "ru_RU.UTF-8"}) {
        const CliRun r =
            Cli(common + QStringList{"--trp", trp, "--mail", "client@tarifon.test", "--attach", "trp",
                                     "--subject", "Расчет", "--text", "Добрый день", "--log", log},
                locale);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
    }
    const QList<QByteArray> messages = server.Messages();
    ASSERT_EQ(messages.size(), 2);
    const QString eml = dir.filePath("m.eml");
    QFile m(eml);
    ASSERT_TRUE(m.open(QIODevice::WriteOnly));
    m.write(messages.back());
    m.close();
    const QJsonObject mail = mailtest::ReadMail(eml, -1);
    EXPECT_EQ(mail["subject"].toString(), "Расчет");
    EXPECT_EQ(mail["text"].toString(), "Добрый день\n");
    QFile written(trp);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QJsonObject attachment = mail["attachments"].toArray()[0].toObject();
    EXPECT_EQ(attachment["filename"].toString(), "Расчет стоимости ОСАГО.trp");
    EXPECT_EQ(QByteArray::fromBase64(attachment["data"].toString().toLatin1()), written.readAll());
    QFile logFile(log);
    ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
    const QByteArray logText = logFile.readAll();
    EXPECT_EQ(logText.count(">AUTH LOGIN"), 2) << "both runs, appended";
    EXPECT_FALSE(logText.contains("Секрет-1"));
    EXPECT_FALSE(logText.contains(QByteArray("Секрет-1").toBase64()));

    mailtest::SmtpPeer refusing({"smtp", "--reject-rcpt"});
    const CliRun r = Cli({"sheet", "--smtp", "127.0.0.1:" + QString::number(refusing.Port()), "--from",
                          "agent@tarifon.test", "--mail", "nobody@tarifon.test"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("the mail was not sent: the server refused RCPT TO: 550"))
        << r.err.toStdString();
    EXPECT_EQ(Cli({"sheet", "--mail", "client@tarifon.test", "--from", "agent@tarifon.test"}).status, 2);
}

// Against what users have: a server whose certificate chains to a CA of the system's trust store
// (a private mount namespace puts the test's store at /etc/ssl/certs, and no CA is handed to
// the tool), an IPv6 server, Cyrillic domains, and inputs that never end.
TEST(SheetCommand, MailTrustsTheSystemStoreAndBoundsOddInput) {
    QTemporaryDir dir;
    const QDir d(dir.path());
    ASSERT_TRUE(d.mkpath("certs") && d.mkpath("store"));
    const mailtest::TestCertificates certs = mailtest::MakeCertificates(d.filePath("certs"));
    ASSERT_TRUE(QFile::copy(certs.CaPem, d.filePath("store/tarifon-test-ca.pem")));
    ASSERT_TRUE(QFile::copy(certs.CaPem, d.filePath("store/ca-certificates.crt")));
    QProcess rehash;
    rehash.start("openssl", {"rehash", d.filePath("store")});
    ASSERT_TRUE(rehash.waitForFinished(20000) && rehash.exitCode() == 0);
    const QString password = d.filePath("password");
    QFile pw(password);
    ASSERT_TRUE(pw.open(QIODevice::WriteOnly) && pw.write("Секрет-1\n") > 0);
    pw.close();

    mailtest::SmtpPeer trusted(
        {"smtp", "--auth", "agent:Секрет-1", "--starttls", certs.ServerPem, certs.ServerKey});
    mailtest::SmtpPeer stranger({"smtp", "--starttls", certs.StrangerPem, certs.StrangerKey});
    mailtest::SmtpPeer v6({"smtp", "--listen", "::1"});
    auto at = [](const mailtest::SmtpPeer& p) { return "127.0.0.1:" + QString::number(p.Port()); };
    const QString v6Smtp = "[::1]:" + QString::number(v6.Port());
    const QStringList mail{"sheet", "--mail", "client@tarifon.test", "--from", "agent@tarifon.test"};
    const QStringList login{"--login", "agent", "--password-file", password};
    const struct {
        const char* Name;
        bool OwnStore; // run with the test's CA as the system's trust store
        QStringList Args;
        int Status;
        QString Error;
    } runs[] = {
        {"STARTTLS and a login, trusted through the system's store",
         true,
         mail + login + QStringList{"--smtp", at(trusted), "--tls", "starttls"},
         0,
         {}},
        {"a chain the system's store does not know is refused", true,
         mail + QStringList{"--smtp", at(stranger), "--tls", "starttls"}, 1,
         "the mail was not sent: no secure connection to 127.0.0.1: "},
        {"an IPv6 server, Cyrillic domains, a TAB in the subject, a log that is a device",
         false,
         QStringList{"sheet", "--mail", "client@пример.рф", "--from", "agent@пример.рф", "--smtp", v6Smtp,
                     "--subject", "Расчет\tОСАГО", "--log", "/dev/zero"},
         0,
         {}},
        {"a login without encryption is refused before anything is sent", false,
         mail + login + QStringList{"--smtp", v6Smtp}, 2, "--allow-plain-login"},
        {"a password file that never ends", false,
         mail + QStringList{"--smtp", v6Smtp, "--tls", "starttls", "--login", "agent", "--password-file",
                            "/dev/zero"},
         1, "the password file /dev/zero does not begin with a line of at most 1024 bytes"},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.Name);
        const CliRun r = run.OwnStore
                             ? ::Run("unshare",
                                     QStringList{"--mount", "--propagation", "private", "/bin/sh", "-c",
                                                 "mount --bind \"$0\" /etc/ssl/certs && exec \"$@\"",
                                                 d.filePath("store"), TARIFON_CLI} +
                                         run.Args,
                                     "C")
                             : Cli(run.Args);
        EXPECT_EQ(r.status, run.Status) << r.err.toStdString();
        if (run.Error.isEmpty())
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        else
            EXPECT_TRUE(r.err.contains(run.Error)) << r.err.toStdString();
    }
    EXPECT_EQ(trusted.Messages().size(), 1);
    EXPECT_TRUE(stranger.Messages().isEmpty());
    ASSERT_EQ(v6.Messages().size(), 1) << "one message; none for the refused login";
    EXPECT_TRUE(v6.Commands().contains("MAIL agent@xn--e1afmkfd.xn--p1ai"))
        << v6.Commands().join('\n').toStdString();
    EXPECT_TRUE(v6.Commands().contains("RCPT client@xn--e1afmkfd.xn--p1ai"));
}
