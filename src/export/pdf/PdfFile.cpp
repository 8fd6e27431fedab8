#include "export/pdf/PdfFile.h"

#include "export/TempFiles.h"
#include "export/pdf/PdfCodePage.h"
#include "export/pdf/PdfFontProgram.h"
#include "export/pdf/PdfFormat.h"
#include "export/pdf/PdfOutline.h"
#include "platform/Units.h"
#include "report/Components.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryFile>

namespace exports {

using namespace report;

// ---- stream ----

TrpPDFStream::TrpPDFStream(QIODevice* device) : FDevice(device), FPosition(device->pos()) {}

void TrpPDFStream::Write(const char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const qint64 n = FDevice->write(data + done, size - done);
        if (n <= 0)
            throw TrpPDFError(FDevice->errorString().isEmpty() ? QStringLiteral("Write error")
                                                               : FDevice->errorString());
        done += n;
    }
    FPosition += size;
}

void TrpPDFElement::FlushTo(TrpPDFStream& stream) {
    if (FText.isEmpty())
        return;
    stream.Write(FText);
    FText.clear();
}

// ---- file ----

TrpPDFFile::TrpPDFFile(bool useTempFile, const QString& tempFolder) {
    if (useTempFile) {
        auto file = std::make_unique<QTemporaryFile>(
            ProcessTempTemplate(tempFolder.isEmpty() ? QDir::tempPath() : tempFolder));
        // Unbuffered, so that a full disk shows at the write that meets it, with its reason.
        if (!static_cast<QIODevice*>(file.get())->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            throw TrpPDFError(file->errorString());
        FTempFileName = file->fileName();
        FStoreDevice = std::move(file);
    } else {
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::ReadWrite);
        FStoreDevice = std::move(buffer);
    }
    FStore = std::make_unique<TrpPDFStream>(FStoreDevice.get());
}

TrpPDFFile::~TrpPDFFile() {
    ClearAll();
    FStore.reset();
    FStoreDevice.reset(); // a temporary file removes itself
}

void TrpPDFFile::ClearAll() {
    FPages.clear();
    FFonts.clear();
    FXRef.clear();
}

TrpPDFPage* TrpPDFFile::BeginPage(const TrpReportPage& page) {
    // The paper size itself, not the page's whole-unit size: A4 is 595.28 x 841.89 points.
    return BeginPage(page.PaperWidth() * fr01cm, page.PaperHeight() * fr01cm, page.LeftMargin(),
                     page.TopMargin());
}

TrpPDFPage* TrpPDFFile::BeginPage(long double width, long double height, long double leftMargin,
                                  long double topMargin) {
    auto page = std::make_unique<TrpPDFPage>(this);
    page->Width = width * PointsPerReportPixel;
    page->Height = height * PointsPerReportPixel;
    page->MarginLeft = leftMargin * 0.05L;
    page->MarginTop = topMargin * 0.05L;
    page->ContentStart = FStore->Position();
    if (!FPages.empty())
        FPages.back()->ContentLength = page->ContentStart - FPages.back()->ContentStart;
    FPages.push_back(std::move(page));
    if (FPages.size() == 1)
        FObjectsPerFont = EmbeddedFonts ? 3 : 2; // resource names on every page depend on it
    return FPages.back().get();
}

int TrpPDFFile::LookupFont(const TrpFont& font) {
    const int charset = EffectiveCharset(font.Charset);
    for (size_t i = 0; i < FFonts.size(); ++i) {
        const TrpFont& f = FFonts[i]->Font;
        if (f.Style == font.Style && EffectiveCharset(f.Charset) == charset &&
            f.Name.compare(font.Name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    if (FPages.empty())
        FObjectsPerFont = EmbeddedFonts ? 3 : 2;
    FFonts.push_back(std::make_unique<TrpPDFFont>(this, font));
    FFonts.back()->Index = FObjectsPerFont * int(FFonts.size() - 1) + 1;
    return int(FFonts.size() - 1);
}

void TrpPDFFile::RecordOffset(TrpPDFStream& stream, const TrpPDFElement& element) {
    FXRef.push_back(PdfOffset(stream.Position() + element.PendingText().size()));
}

void TrpPDFFile::BeginObject(TrpPDFStream& stream, TrpPDFElement& element, int n) {
    RecordOffset(stream, element);
    element.AppendLine(QByteArray::number(n) + " 0 obj");
    element.AppendLine("<<");
}

QByteArray TrpPDFFile::PageContent(const TrpPDFPage& page) {
    QIODevice* d = FStoreDevice.get();
    if (auto* buffer = qobject_cast<QBuffer*>(d))
        return buffer->data().mid(page.ContentStart, page.ContentLength);
    const qint64 end = d->pos();
    QByteArray data;
    if (!d->seek(page.ContentStart) || (data = d->read(page.ContentLength)).size() != page.ContentLength)
        throw TrpPDFError(d->errorString());
    if (!d->seek(end))
        throw TrpPDFError(d->errorString());
    return data;
}

void TrpPDFFile::WriteDocument(QIODevice& device) {
    if (FPages.empty())
        throw TrpPDFError(QStringLiteral("No pages to write"));
    TrpPDFStream out(&device);
    FXRef.clear();
    StreamOffset = out.Position();
    const QByteArray date = PdfDate(CreationDate.isValid() ? CreationDate : QDateTime::currentDateTime());

    // 1-2. Header; the comment of bytes above 127 marks the file as binary.
    AppendLine("%PDF-1.3");
    AppendLine("%\xE2\xE3\xCF\xD3");
    FlushTo(out);

    // 3. Catalog, with the bookmark tree built first: its size fixes every later number.
    TrpPDFOutlineNode root;
    bool outline = Outline && OutlineSource;
    if (outline) {
        root.Build(*OutlineSource);
        outline = root.Total > 0;
    }
    const int t = outline ? root.Total : 0;
    FPagesObject = outline ? t + 4 : 3;
    BeginObject(out, *this, 1);
    AppendLine("/Type /Catalog");
    AppendLine("/Pages " + QByteArray::number(FPagesObject) + " 0 R");
    AppendLine(outline ? "/PageMode /UseOutlines" : "/PageMode /UseNone");
    if (outline)
        AppendLine("/Outlines 3 0 R");
    if (!Title.isEmpty())
        AppendLine("/ViewerPreferences << /DisplayDocTitle true >>");
    AppendLine(">>");
    AppendLine("endobj");
    FlushTo(out);

    // 4. Information.
    BeginObject(out, *this, 2);
    AppendLine("/Producer " + PdfString(Creator));
    AppendLine("/Author " + PdfString(Author));
    AppendLine("/Subject " + PdfString(Subject));
    AppendLine("/Creator " + PdfString(QString()));
    AppendLine("/Title " + PdfString(Title));
    AppendLine("/CreationDate (D:" + date + ")");
    AppendLine("/ModDate (D:" + date + ")");
    AppendLine(">>");
    AppendLine("endobj");
    FlushTo(out);

    const int firstPage = FirstPageObject();
    // 5. Bookmarks.
    if (outline) {
        BeginObject(out, *this, 3);
        AppendLine("/Count " + QByteArray::number(root.Count));
        AppendLine("/First 4 0 R");
        AppendLine("/Last " + QByteArray::number(3 + t - root.LastChild->Total) + " 0 R");
        AppendLine(">>");
        AppendLine("endobj");
        FlushTo(out);
        WriteOutlineNodes(*this, out, root, firstPage, FPages.front()->Height, PagesCount());
    }

    // 6. Page tree.
    FPages.back()->ContentLength = FStore->Position() - FPages.back()->ContentStart;
    BeginObject(out, *this, FPagesObject);
    AppendLine("/Type /Pages");
    QByteArray kids = "/Kids [";
    kids.reserve(kids.size() + PagesCount() * 12);
    for (int j = 0; j < PagesCount(); ++j)
        kids += QByteArray::number(firstPage + 2 * j) + " 0 R ";
    AppendLine(kids + "]");
    AppendLine("/Count " + QByteArray::number(PagesCount()));
    AppendLine(">>");
    AppendLine("endobj");
    FlushTo(out);

    // 7. Fonts, then pages.
    for (auto& font : FFonts)
        font->Write(out, FPagesObject + font->Index);
    for (int j = 0; j < PagesCount(); ++j)
        FPages[size_t(j)]->Write(out, j);

    // 8. Cross-reference table and trailer.
    FXRefPosition = out.Position() + FText.size();
    const QByteArray size = QByteArray::number(qlonglong(FXRef.size() + 1));
    AppendLine("xref");
    AppendLine("0 " + size);
    AppendLine("0000000000 65535 f");
    FText.reserve(FText.size() + qsizetype(FXRef.size()) * 20 + 128);
    for (const QByteArray& offset : FXRef)
        AppendLine(offset + " 00000 n");
    AppendLine("trailer");
    AppendLine("<<");
    AppendLine("/Size " + size);
    AppendLine("/Root 1 0 R");
    AppendLine("/Info 2 0 R");
    AppendLine(">>");
    AppendLine("startxref");
    // Always the true position, also with CJK fonts: a reader should never have to rebuild the table.
    AppendLine(QByteArray::number(FXRefPosition));
    AppendLine("%%EOF");
    FlushTo(out);
}

// ---- page ----

void TrpPDFPage::Flush() {
    if (FContent.IsEmpty())
        return;
    try {
        FFile->ContentStore().Write(FContent.Bytes());
        FContent.Clear();
    } catch (const TrpPDFError& e) {
        // The contents wait in a temporary file: say which one could not take them.
        throw TrpPDFError(FFile->TempFileName() + QStringLiteral(": ") + e.Message());
    }
}

void TrpPDFPage::Write(TrpPDFStream& out, int j) {
    TrpPDFFile& file = *FFile;
    TrpPDFElement object;
    const int n = file.FirstPageObject() + 2 * j;
    file.BeginObject(out, object, n);
    object.AppendLine("/Type /Page");
    object.AppendLine("/Parent " + QByteArray::number(file.PagesObject()) + " 0 R");
    object.AppendLine("/MediaBox [0 0 " + PdfNumber(Width) + " " + PdfNumber(Height) + " ]");
    object.AppendLine("/Resources <<");
    object.AppendLine("/Font <<");
    for (int i = 0; i < file.FontsCount(); ++i) {
        const TrpPDFFont* font = file.Fonts(i);
        object.AppendLine(font->ResourceName() + " " + QByteArray::number(file.PagesObject() + font->Index) +
                          " 0 R");
    }
    object.AppendLine(">>");
    object.AppendLine("/XObject <<");
    object.AppendLine(">>");
    object.AppendLine("/ProcSet [/PDF /Text /ImageC ]");
    object.AppendLine(">>");
    object.AppendLine("/Contents " + QByteArray::number(n + 1) + " 0 R");
    object.AppendLine(">>");
    object.AppendLine("endobj");
    object.FlushTo(out);

    const QByteArray content = file.PageContent(*this);
    file.RecordOffset(out, object);
    object.AppendLine(QByteArray::number(n + 1) + " 0 obj");
    if (file.Compressed) {
        const QByteArray packed = Deflate(content, 1);
        object.AppendLine("<< /Filter /FlateDecode /Length " + QByteArray::number(packed.size()) +
                          " /Length1 " + QByteArray::number(content.size()) + " >>");
        object.AppendLine("stream");
        object.FlushTo(out);
        out.Write(packed);
        object.AppendLine("");
    } else {
        object.AppendLine("<< /Length " + QByteArray::number(content.size()) + " >>");
        object.AppendLine("stream");
        object.FlushTo(out);
        out.Write(content); // whole lines: "endstream" starts a line of its own
    }
    object.AppendLine("endstream");
    object.AppendLine("endobj");
    object.FlushTo(out);
}

} // namespace exports
