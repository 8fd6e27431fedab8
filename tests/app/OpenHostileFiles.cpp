// tarifon-cli open on prepared-report files made to hurt, run as a process: each ends quickly
// with a clear message and status 2, or draws; none crashes or hangs.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct CliRun {
    int Status; // -1 when the process crashed or was stopped
    QString Err;
};

CliRun Cli(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(TARIFON_CLI, args);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return {-1, "still running after 20 s"};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

class OpenHostileFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Dir = new QTemporaryDir;
        const QString trp = Dir->filePath("sheet.trp");
        const CliRun r = Cli({"sheet", "--trp", trp});
        ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
        QFile f(trp);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        Sheet = new QByteArray(f.readAll());
    }
    static void TearDownTestSuite() {
        delete Sheet;
        delete Dir;
    }

    // Opens the bytes as a file; the picture, when one was written, comes back in `png`.
    CliRun Open(const QByteArray& bytes, QImage* png = nullptr) {
        const QString trp = Dir->filePath("hostile.trp"), out = Dir->filePath("hostile.png");
        QFile::remove(out);
        QFile f(trp);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        const CliRun r = Cli({"open", trp, "--png", out});
        if (png)
            *png = QImage(out);
        else
            EXPECT_FALSE(QFile::exists(out));
        return r;
    }

    static QByteArray Replaced(const QByteArray& from, const QByteArray& to) {
        EXPECT_TRUE(Sheet->contains(from)) << from.toStdString();
        return QByteArray(*Sheet).replace(from, to);
    }

    // The sheet with its logo replaced by a JPEG cut short: libjpeg warns, the picture is drawn.
    static QByteArray WithTruncatedJpegLogo() {
        QImage logo(85, 57, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(logo.save(&buffer, "JPG"));
        // Cut inside the image data: the reader warns, and draws what it has.
        const qsizetype scan = jpeg.indexOf("\xff\xda");
        EXPECT_GT(scan, 0);
        jpeg.truncate(scan + (jpeg.size() - scan) / 2);
        const qsizetype from = Sheet->indexOf("PropData=\"") + 10, to = Sheet->indexOf('"', from);
        EXPECT_GT(from, 10);
        return QByteArray(*Sheet).replace(from, to - from, jpeg.toHex().toUpper());
    }

    static inline QTemporaryDir* Dir = nullptr;
    static inline QByteArray* Sheet = nullptr;
};

TEST_F(OpenHostileFile, RefusedWithTheReasonAndStatus2) {
    const QByteArray paper = "PaperWidth=\"210\" PaperHeight=\"297\"";
    const qsizetype pageFrom = Sheet->indexOf("<page0>"), pageTo = Sheet->indexOf("</page0>") + 8;
    const qsizetype sourceEnd = Sheet->indexOf("</TrpReportPage>");
    const qsizetype logoFrom = Sheet->indexOf("PropData=\"") + 10;
    const QByteArray logo = Sheet->mid(logoFrom, Sheet->indexOf('"', logoFrom) - logoFrom);
    QByteArray damaged = QByteArray::fromHex(logo);
    for (qsizetype i = damaged.size() / 3; i < damaged.size() / 2; ++i) // inside the image data
        damaged[i] = char(damaged[i] ^ 0x55);
    const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" height=\"9\"><image "
                           "width=\"9\" height=\"9\" href=\"/usr/share/pixmaps/debian-logo.png\"/></svg>";
    const struct {
        const char* Name;
        QByteArray File;
        const char* Message;
    } cases[] = {
        {"comment hiding closing tags",
         "<?xml version=\"1.0\"?><preparedreport><!--" + QByteArray("</a>").repeated(1000000) +
             "--><previewpages>" + QByteArray("<a>").repeated(1000000),
         "items nest deeper than 256 levels"},
        {"source objects a million deep",
         QByteArray(*Sheet).insert(sourceEnd, QByteArray("<TrpMemoView>").repeated(1000000) +
                                                  QByteArray("</TrpMemoView>").repeated(1000000)),
         "items nest deeper than 256 levels"},
        {"no pages", QByteArray(*Sheet).remove(pageFrom, pageTo - pageFrom), "the file holds no pages"},
        {"paper of 0", Replaced(paper, "PaperWidth=\"0\" PaperHeight=\"0\""), "paper of 0 x 0 mm"},
        {"negative paper", Replaced(paper, "PaperWidth=\"-210\" PaperHeight=\"297\""),
         "paper of -210 x 297 mm"},
        {"paper of 1e9", Replaced(paper, "PaperWidth=\"1000000000\" PaperHeight=\"297\""),
         "paper of 1000000000 x 297"},
        {"paper of 6 m", Replaced(paper, "PaperWidth=\"6000\" PaperHeight=\"6000\""),
         "paper of 6000 x 6000 mm"},
        {"unknown encoding", Replaced("encoding=\"utf-8\"", "encoding=\"x-unknown\""),
         "the encoding \"x-unknown\" is not supported"},
        {"picture drawing a local file", Replaced(logo, svg.toHex().toUpper()),
         "is not PNG, JPEG, BMP, GIF or icon data"},
        {"picture with damaged data", Replaced(logo, damaged.toHex().toUpper()),
         "has data that cannot be decoded"},
        {"single-byte text declared UTF-8", QStringEncoder("windows-1251").encode(QString::fromUtf8(*Sheet)),
         "the text is not valid UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const CliRun r = Open(c.File);
        EXPECT_EQ(r.Status, 2) << r.Err.toStdString();
        EXPECT_TRUE(r.Err.contains(QStringLiteral("Invalid file format: ")) && r.Err.contains(c.Message))
            << r.Err.toStdString();
    }
}

TEST_F(OpenHostileFile, DrawnWithinTheBounds) {
    QImage sheet;
    ASSERT_EQ(Open(*Sheet, &sheet).Status, 0);
    const struct {
        const char* Name;
        QByteArray File;
        std::function<void(const QImage&)> Check;
    } cases[] = {
        // Once a billion dashed strokes: the frame is drawn at the widest a frame may be.
        {"dashed frame of 1e9",
         Replaced("<m1 u=", "<m1 Frame.Typ=\"15\" Frame.Style=\"1\" Frame.Width=\"1000000000\" u="),
         [&](const QImage& png) {
             EXPECT_EQ(png.size(), sheet.size());
             EXPECT_NE(png, sheet);
         }},
        {"far-away memo and negative font height",
         Replaced("<m1 u=",
                  "<m1 l=\"1000000000000000000\" Font.Height=\"-2147483648\" CharSpacing=\"-1000000000\" u="),
         [&](const QImage& png) { EXPECT_EQ(png.size(), sheet.size()); }},
        {"picture a library warns about", WithTruncatedJpegLogo(),
         [&](const QImage& png) { EXPECT_EQ(png.size(), sheet.size()); }},
        {"Russian text in windows-1251",
         QStringEncoder("windows-1251")
             .encode(QString::fromUtf8(*Sheet).replace("encoding=\"utf-8\"", "encoding=\"windows-1251\"")),
         [&](const QImage& png) { EXPECT_EQ(png, sheet); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QImage png;
        const CliRun r = Open(c.File, &png);
        ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
        EXPECT_EQ(r.Err, QString()) << "a successful run says nothing";
        c.Check(png);
    }
}

TEST_F(OpenHostileFile, PageTooLargeForOnePictureSaysSo) {
    QFile::remove(Dir->filePath("big.png"));
    QFile f(Dir->filePath("big.trp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Replaced("PaperWidth=\"210\" PaperHeight=\"297\"", "PaperWidth=\"2400\" PaperHeight=\"2400\""));
    f.close();
    const CliRun r = Cli({"open", f.fileName(), "--png", Dir->filePath("big.png"), "--zoom", "2"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(r.Err.contains("too large")) << r.Err.toStdString();
    EXPECT_FALSE(QFile::exists(Dir->filePath("big.png")));
}

} // namespace

namespace {

// Inputs that are not plain files: a device is refused at once, a pipe is read like a file and
// within the same bounds, a file longer than a report can be is refused before it is read.
TEST_F(OpenHostileFile, InputsThatAreNotPlainFiles) {
    const QString fifo = Dir->filePath("input.fifo"), sparse = Dir->filePath("sparse.trp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    {
        QFile f(sparse);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Sheet->left(Sheet->indexOf("<previewpages>")));
        ASSERT_TRUE(f.resize((qint64(1) << 30) + 1)); // a hole: no disk is used
    }
    const struct {
        const char* Name;
        QString File;
        QString Writer; // what a process writes into the FIFO while the run reads it
        int Status;
        const char* Message;
    } cases[] = {
        {"a device that never ends", "/dev/zero", {}, 2, "it is a device, not a prepared report file"},
        {"a pipe that never ends", fifo, "/dev/zero", 2, "Invalid file format"},
        {"a pipe with a report", fifo, Dir->filePath("sheet.trp"), 0, ""},
        {"a file longer than the bound",
         sparse,
         {},
         2,
         "Invalid file format: the file is longer than 1073741824 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QProcess writer;
        // The shell opens the FIFO in the child: opening it here would wait for the reader.
        if (!c.Writer.isEmpty())
            writer.start(QStringLiteral("sh"), {"-c", "exec cat \"$0\" > \"$1\"", c.Writer, fifo});
        const QString out = Dir->filePath("input.png");
        QFile::remove(out);
        const CliRun r = Cli({"open", c.File, "--png", out});
        EXPECT_EQ(r.Status, c.Status) << r.Err.toStdString();
        EXPECT_TRUE(r.Err.contains(QString::fromUtf8(c.Message))) << r.Err.toStdString();
        EXPECT_EQ(QImage(out).isNull(), c.Status != 0);
        writer.kill();
        writer.waitForFinished();
    }
}

} // namespace
