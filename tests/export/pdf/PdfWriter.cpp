// The document writer's structure: object numbers, resource names, outline, xref and trailer,
// read back from the bytes it wrote.
#include "export/pdf/PdfFile.h"
#include "export/pdf/PdfFormat.h"
#include "report/Components.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

using namespace exports;

namespace {

report::TrpFont ArialFont(int style = 0, int charset = report::RUSSIAN_CHARSET) {
    report::TrpFont f;
    f.Name = QStringLiteral("Arial");
    f.Size = 10;
    f.Style = style;
    f.Charset = charset;
    return f;
}

QByteArray Write(TrpPDFFile& pdf) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    pdf.WriteDocument(buffer);
    return buffer.data();
}

// The dictionary text of object n, from "n 0 obj" to its "endobj".
QByteArray Object(const QByteArray& file, int n) {
    const QByteArray head = "\r\n" + QByteArray::number(n) + " 0 obj\r\n";
    const qsizetype at = file.indexOf(head);
    if (at < 0)
        return {};
    const qsizetype end = file.indexOf("endobj", at);
    return file.mid(at + 2, end - at - 2);
}

struct Trailer {
    int Size = 0;
    qint64 StartXref = 0;
    std::vector<qint64> Offsets;
};

Trailer ReadTrailer(const QByteArray& file) {
    Trailer t;
    const qsizetype sx = file.lastIndexOf("startxref\r\n");
    t.StartXref = file.mid(sx + 11, file.indexOf("\r\n", sx + 11) - sx - 11).toLongLong();
    const QRegularExpression size(QStringLiteral("/Size (\\d+)"));
    t.Size = size.match(QString::fromLatin1(file.mid(sx - 200))).captured(1).toInt();
    const qsizetype xref = file.indexOf("xref\r\n", t.StartXref);
    qsizetype line = file.indexOf("\r\n", xref + 6) + 2; // after "0 n"
    for (;;) {
        const QByteArray entry = file.mid(line, 20);
        if (!entry.endsWith(" n\r\n") && !entry.endsWith(" f\r\n"))
            break;
        if (entry.endsWith(" n\r\n"))
            t.Offsets.push_back(entry.left(10).toLongLong());
        line += 20;
    }
    return t;
}

// Every xref offset points at "i 0 obj" for object i, and startxref at "xref".
void ExpectConsistentXref(const QByteArray& file) {
    const Trailer t = ReadTrailer(file);
    EXPECT_EQ(file.mid(t.StartXref, 4), QByteArray("xref"));
    EXPECT_EQ(t.Size, int(t.Offsets.size()) + 1);
    for (size_t i = 0; i < t.Offsets.size(); ++i) {
        const QByteArray expected = QByteArray::number(qlonglong(i + 1)) + " 0 obj\r\n";
        EXPECT_EQ(file.mid(t.Offsets[i], expected.size()), expected) << "object " << i + 1;
    }
}

} // namespace

TEST(PdfWriter, OnePageOneFontMakesEightEntries) {
    TrpPDFFile pdf;
    pdf.Compressed = false;
    report::TrpReportPage page; // A4, 10 mm margins
    TrpPDFPage* p = pdf.BeginPage(page);
    EXPECT_EQ(pdf.LookupFont(ArialFont()), 0);
    p->Content().BeginText();
    p->Content().Font("/F0", 10);
    p->Content().EndText();
    p->Flush();
    const QByteArray file = Write(pdf);

    ASSERT_TRUE(file.startsWith("%PDF-1.3\r\n%\xE2\xE3\xCF\xD3\r\n"));
    EXPECT_TRUE(Object(file, 1).contains("/Type /Catalog\r\n/Pages 3 0 R\r\n/PageMode /UseNone\r\n>>"));
    EXPECT_TRUE(Object(file, 2).contains("/Producer ()"));
    EXPECT_TRUE(Object(file, 3).contains("/Type /Pages\r\n/Kids [6 0 R ]\r\n/Count 1"));
    EXPECT_TRUE(
        Object(file, 4).contains("/Type /Font\r\n/Name /F0\r\n/BaseFont /Arial\r\n/Subtype /TrueType"));
    EXPECT_TRUE(Object(file, 5).contains("/Type /FontDescriptor\r\n/FontName /Arial\r\n/Flags 32"));
    EXPECT_TRUE(Object(file, 6).contains("/MediaBox [0 0 595.28 841.89 ]"));
    EXPECT_TRUE(Object(file, 6).contains("/F0 4 0 R"));
    EXPECT_TRUE(Object(file, 6).contains("/Contents 7 0 R"));
    EXPECT_TRUE(Object(file, 7).contains("<< /Length 19 >>\r\nstream\r\nBT\r\n/F0 10 Tf\r\nET\r\nendstream"));
    const Trailer t = ReadTrailer(file);
    EXPECT_EQ(t.Size, 8);
    EXPECT_EQ(t.Offsets.size(), 7u);
    ExpectConsistentXref(file);
    EXPECT_TRUE(file.endsWith("startxref\r\n" + QByteArray::number(t.StartXref) + "\r\n%%EOF\r\n"));
    // Every line outside stream data ends in CR LF.
    EXPECT_FALSE(QByteArray(file).replace("\r\n", "").contains('\n'));
}

TEST(PdfWriter, FontResourceNamesFollowObjectsPerFont) {
    for (bool embedded : {false, true}) {
        TrpPDFFile pdf;
        pdf.EmbeddedFonts = embedded;
        pdf.BeginPage(400, 600, 0, 0)->Flush();
        const report::TrpFont fonts[] = {ArialFont(), ArialFont(report::fsBold),
                                         ArialFont(report::fsUnderline), ArialFont(report::fsBold)};
        std::vector<int> positions;
        for (const auto& f : fonts)
            positions.push_back(pdf.LookupFont(f));
        EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, 1}));
        // Size and colour do not make a new font.
        report::TrpFont bigRed = ArialFont();
        bigRed.Size = 30;
        bigRed.Color = report::clRed;
        EXPECT_EQ(pdf.LookupFont(bigRed), 0);
        ASSERT_EQ(pdf.FontsCount(), 3);
        const int k = embedded ? 3 : 2;
        EXPECT_EQ(pdf.ObjectsPerFont(), k);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(pdf.Fonts(i)->ResourceName(), "/F" + QByteArray::number(k * i));
        const QByteArray file = Write(pdf);
        // Fonts take objects 4 .. 3 + 3k; the page follows.
        const int page = 3 + 3 * k + 1;
        EXPECT_TRUE(Object(file, 3).contains("/Kids [" + QByteArray::number(page) + " 0 R ]"));
        EXPECT_TRUE(Object(file, page).contains("/MediaBox [0 0 300 450 ]"));
        for (int i = 0; i < 3; ++i) {
            const int n = 3 + k * i + 1;
            EXPECT_TRUE(
                Object(file, page)
                    .contains("/F" + QByteArray::number(k * i) + " " + QByteArray::number(n) + " 0 R"));
            EXPECT_TRUE(Object(file, n).contains("/FontDescriptor " + QByteArray::number(n + 1) + " 0 R"));
            EXPECT_EQ(Object(file, n + 1).contains("/FontFile2 " + QByteArray::number(n + 2) + " 0 R"),
                      embedded);
            if (embedded) {
                EXPECT_TRUE(Object(file, n + 2).contains("/Filter /FlateDecode /Length1 "));
            }
        }
        // The underlined font keeps the regular base name; bold gets ",Bold".
        EXPECT_TRUE(Object(file, 4).contains("/BaseFont /Arial\r\n"));
        EXPECT_TRUE(Object(file, 4 + k).contains("/BaseFont /Arial,Bold\r\n"));
        EXPECT_TRUE(Object(file, 4 + 2 * k).contains("/BaseFont /Arial\r\n"));
        ExpectConsistentXref(file);
    }
}

TEST(PdfWriter, OutlineNumbersItemsDepthFirst) {
    std::vector<TrpPDFOutlineItem> items(1);
    items[0].Text = QStringLiteral("Итоги");
    items[0].Children = {{QStringLiteral("first"), 0, 100, {}}, {QStringLiteral("second"), 1, 0, {}}};
    TrpPDFFile pdf;
    pdf.Outline = true;
    pdf.OutlineSource = &items;
    pdf.BeginPage(400, 600, 0, 0)->Flush();
    pdf.BeginPage(400, 600, 0, 0)->Flush();
    const QByteArray file = Write(pdf);
    EXPECT_TRUE(Object(file, 1).contains("/PageMode /UseOutlines\r\n/Outlines 3 0 R"));
    EXPECT_TRUE(Object(file, 3).contains("/Count 1\r\n/First 4 0 R\r\n/Last 4 0 R"));
    const QByteArray top = Object(file, 4);
    EXPECT_TRUE(top.contains("/First 5 0 R\r\n/Last 6 0 R\r\n/Count 2"));
    EXPECT_FALSE(top.contains("/Next"));
    EXPECT_TRUE(top.contains("/Title <FEFF"));
    EXPECT_TRUE(Object(file, 5).contains("/Parent 4 0 R\r\n"));
    EXPECT_TRUE(Object(file, 5).contains("/Next 6 0 R"));
    EXPECT_TRUE(Object(file, 6).contains("/Prev 5 0 R"));
    EXPECT_TRUE(Object(file, 7).contains("/Type /Pages"));
    // No fonts: pages at 8 and 10; the first item points at page 0, 100 units = 75 points down.
    EXPECT_TRUE(Object(file, 5).contains("/Dest [8 0 R /XYZ 0 375 0]"));
    EXPECT_TRUE(Object(file, 6).contains("/Dest [10 0 R /XYZ 0 450 0]"));
    ExpectConsistentXref(file);
}

TEST(PdfWriter, OutlineWithoutItemsIsSwitchedOff) {
    const std::vector<TrpPDFOutlineItem> none;
    for (const std::vector<TrpPDFOutlineItem>* source : {&none, static_cast<decltype(&none)>(nullptr)}) {
        TrpPDFFile pdf;
        pdf.Outline = true;
        pdf.OutlineSource = source;
        pdf.BeginPage(400, 600, 0, 0)->Flush();
        const QByteArray file = Write(pdf);
        EXPECT_TRUE(Object(file, 1).contains("/Pages 3 0 R\r\n/PageMode /UseNone\r\n>>"));
        EXPECT_TRUE(Object(file, 3).contains("/Type /Pages"));
    }
}

TEST(PdfWriter, InformationDictionary) {
    const struct {
        QString Title;
        const char* TitleEntry;
        bool Preferences;
    } cases[] = {
        {QString(), "/Title ()", false},
        {QStringLiteral("Sheet (1)"), "/Title (Sheet (1))", true},
        {QStringLiteral("Расчет"), "/Title <FEFF042004300441044704350442>", true},
    };
    for (const auto& c : cases) {
        TrpPDFFile pdf;
        pdf.Title = c.Title;
        pdf.Author = QStringLiteral("Tarifon");
        pdf.Creator = QStringLiteral("Tarifon (x)");
        pdf.CreationDate = QDateTime(QDate(2026, 12, 9), QTime(10, 30, 0));
        pdf.BeginPage(400, 600, 0, 0)->Flush();
        const QByteArray file = Write(pdf);
        const QByteArray info = Object(file, 2);
        EXPECT_TRUE(info.contains(QByteArray(c.TitleEntry) + "\r\n")) << info.toStdString();
        EXPECT_TRUE(
            info.contains("/Producer (Tarifon (x))\r\n/Author (Tarifon)\r\n/Subject ()\r\n/Creator ()"));
        EXPECT_TRUE(info.contains("/CreationDate (D:20261209103000)\r\n/ModDate (D:20261209103000)"));
        EXPECT_EQ(Object(file, 1).contains("/ViewerPreferences << /DisplayDocTitle true >>"), c.Preferences);
    }
}

TEST(PdfWriter, CompressedContentInflatesToThePageOperators) {
    TrpPDFFile pdf;
    TrpPDFPage* page = pdf.BeginPage(400, 600, 0, 0);
    for (int i = 0; i < 200; ++i) {
        page->Content().Rectangle(0, 0, i, 10);
        page->Content().Fill();
    }
    const QByteArray ops = page->Content().Bytes();
    page->Flush();
    const QByteArray file = Write(pdf);
    const QByteArray content = Object(file, 5);
    const QRegularExpression dict(QStringLiteral("/Filter /FlateDecode /Length (\\d+) /Length1 (\\d+) >>"));
    const auto m = dict.match(QString::fromLatin1(content));
    ASSERT_TRUE(m.hasMatch()) << content.left(100).toStdString();
    EXPECT_EQ(m.captured(2).toInt(), ops.size());
    const qsizetype data = content.indexOf("stream\r\n") + 8;
    const QByteArray packed = content.mid(data, m.captured(1).toInt());
    EXPECT_EQ(content.mid(data + packed.size(), 11), QByteArray("\r\nendstream"));
    QByteArray inflated(ops.size() + 16, 0);
    uLongf size = uLongf(inflated.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &size,
                         reinterpret_cast<const Bytef*>(packed.constData()), uLong(packed.size())),
              Z_OK);
    inflated.truncate(qsizetype(size));
    EXPECT_EQ(inflated, ops);
}

TEST(PdfWriter, PagesSplitTheContentStore) {
    for (bool temp : {false, true}) {
        QTemporaryDir dir;
        QString tempName;
        QByteArray file;
        {
            TrpPDFFile pdf(temp, dir.path());
            pdf.Compressed = false;
            tempName = pdf.TempFileName();
            EXPECT_EQ(!tempName.isEmpty(), temp);
            if (temp) {
                EXPECT_TRUE(
                    QFileInfo(tempName).fileName().startsWith(QStringLiteral("tarifon-%1-").arg(getpid())));
            }
            for (int i = 0; i < 3; ++i) {
                TrpPDFPage* p = pdf.BeginPage(400, 600, 0, 0);
                p->Content().MoveTo(i, 0);
                p->Flush();
            }
            file = Write(pdf);
        }
        EXPECT_FALSE(QFile::exists(tempName) && temp) << "the content file goes with the writer";
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(
                Object(file, 5 + 2 * i).contains("stream\r\n" + QByteArray::number(i) + " 0 m\r\nendstream"));
        ExpectConsistentXref(file);
    }
}

TEST(PdfWriter, ContentCachesOfDeadProcessesGoWhenTheNextOneStarts) {
    QTemporaryDir dir;
    // What a killed export leaves: the cache of a process that no longer runs.
    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    const QStringList kept = {QStringLiteral("tarifon-%1-a1b2c3").arg(getppid()), // a running process
                              QStringLiteral("tarifon-report.pdf"), QStringLiteral("other-%1-x").arg(dead)};
    for (const QString& name : kept + QStringList{QStringLiteral("tarifon-%1-d4e5f6").arg(dead)}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    TrpPDFFile pdf(true, dir.path());
    QStringList expected = kept + QStringList{QFileInfo(pdf.TempFileName()).fileName()};
    QStringList seen = QDir(dir.path()).entryList(QDir::Files);
    expected.sort();
    seen.sort();
    EXPECT_EQ(seen, expected);
}

TEST(PdfWriter, FailuresAreErrors) {
    TrpPDFFile empty;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(empty.WriteDocument(buffer), TrpPDFError);

    TrpPDFFile pdf;
    pdf.BeginPage(400, 600, 0, 0)->Flush();
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_THROW(pdf.WriteDocument(readOnly), TrpPDFError);

    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    EXPECT_THROW(pdf.WriteDocument(full), TrpPDFError);

    EXPECT_THROW(TrpPDFFile(true, QStringLiteral("/nonexistent/folder")), TrpPDFError);
}

TEST(PdfWriter, UnknownFamilyIsWrittenAsArial) {
    TrpPDFFile pdf;
    pdf.BeginPage(400, 600, 0, 0)->Flush();
    report::TrpFont f = ArialFont(report::fsItalic);
    f.Name = QStringLiteral("No Such Face");
    pdf.LookupFont(f);
    const QByteArray file = Write(pdf);
    EXPECT_TRUE(Object(file, 4).contains("/BaseFont /Arial,Italic\r\n"));
    EXPECT_TRUE(Object(file, 5).contains("/ItalicAngle -12"));
}
