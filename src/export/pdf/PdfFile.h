#pragma once
// The PDF document writer: object numbering, catalog, information, bookmarks, fonts, page
// tree, page content streams, cross-reference table and trailer of a PDF 1.3 file. Every
// line ends in CR LF; only stream data is binary.

#include "export/pdf/PdfContent.h"
#include "report/ReportTypes.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QString>
#include <memory>
#include <vector>

namespace report {
class TrpReportPage;
}

namespace exports {

class TrpPDFFile;
struct TrpPDFFontMetrics;

// A bookmark of the report outline: text, 0-based page index and top in report units.
struct TrpPDFOutlineItem {
    QString Text;
    int Page = 0;
    int Top = 0;
    std::vector<TrpPDFOutlineItem> Children;
};

// A sink that knows how many bytes went through it and turns every failed write into an
// error, so that a short write never passes unnoticed.
class TrpPDFStream {
public:
    explicit TrpPDFStream(QIODevice* device);
    void Write(const char* data, qint64 size);
    void Write(const QByteArray& data) { Write(data.constData(), data.size()); }
    qint64 Position() const { return FPosition; }
    QIODevice* Device() const { return FDevice; }

private:
    QIODevice* FDevice;
    qint64 FPosition;
};

class TrpPDFElement {
public:
    virtual ~TrpPDFElement() = default;
    qint64 StreamOffset = 0;
    int Index = 0;

    void AppendText(const QByteArray& s) { FText += s; }
    void AppendLine(const QByteArray& s) {
        FText += s;
        FText += "\r\n";
    }
    void FlushTo(TrpPDFStream& stream);
    const QByteArray& PendingText() const { return FText; }

protected:
    QByteArray FText;
};

class TrpPDFPage {
public:
    explicit TrpPDFPage(TrpPDFFile* file) : FFile(file) {}
    long double Width = 0, Height = 0;          // points
    long double MarginLeft = 0, MarginTop = 0;  // offsets added to every position, points
    qint64 ContentStart = 0, ContentLength = 0; // in the content store
    TrpPDFFile* File() const { return FFile; }
    // The operators not yet flushed.
    TrpPDFContent& Content() { return FContent; }
    // Moves the pending operators to the document's content store.
    void Flush();
    // The page object and its content stream.
    void Write(TrpPDFStream& out, int pageIndex);

private:
    TrpPDFFile* FFile;
    TrpPDFContent FContent;
};

class TrpPDFFont : public TrpPDFElement {
public:
    TrpPDFFont(TrpPDFFile* file, const report::TrpFont& font) : Font(font), FFile(file) {}
    report::TrpFont Font; // private copy: name, style, charset, size
    // The resource name, "/F" followed by index - 1.
    QByteArray ResourceName() const { return "/F" + QByteArray::number(Index - 1); }
    // Text in the code page this font is written with.
    QByteArray Encode(const QString& text) const;
    // The metrics the font is written with (Arial's when its own file cannot be read).
    const TrpPDFFontMetrics& Metrics();
    // The face name written as the base font.
    const QString& FaceName();
    void Write(TrpPDFStream& out, int dictionaryNumber);

private:
    void Resolve();
    void WriteTrueType(TrpPDFStream& out, int n, const QByteArray& baseName, bool embedded);
    void WriteCJK(TrpPDFStream& out, int n, const QByteArray& baseName, bool embedded);
    void WriteProgram(TrpPDFStream& out, int n);

    TrpPDFFile* FFile;
    std::shared_ptr<const TrpPDFFontMetrics> FMetrics;
    QString FFace;
};

class TrpPDFFile : public TrpPDFElement {
public:
    // With useTempFile the page contents go to a temporary file "fr..." in tempFolder (the
    // system's when empty), else to memory. Throws TrpPDFError when the file cannot be made.
    explicit TrpPDFFile(bool useTempFile = false, const QString& tempFolder = {});
    ~TrpPDFFile() override;
    TrpPDFFile(const TrpPDFFile&) = delete;
    TrpPDFFile& operator=(const TrpPDFFile&) = delete;

    bool Compressed = true;
    bool PrintOptimized = false;
    bool Outline = false;
    bool Background = false;
    bool HTMLTags = false;
    bool EmbeddedFonts = false;
    QString Title;
    QString Subject;
    QString Author;
    QString Creator;
    // Bookmarks written when Outline is on (top-level items); none when null.
    const std::vector<TrpPDFOutlineItem>* OutlineSource = nullptr;
    // The creation date written; the time of writing when invalid.
    QDateTime CreationDate;
    unsigned CJKFontCount = 0;

    // Starts a page of the report page's paper size; the previous page's content ends here.
    TrpPDFPage* BeginPage(const report::TrpReportPage& page);
    // The same for a size in report units and margins in millimetres.
    TrpPDFPage* BeginPage(long double width, long double height, long double leftMargin,
                          long double topMargin);
    // Position of the font in the font list (same name, style and charset), appended when new.
    int LookupFont(const report::TrpFont& font);
    TrpPDFFont* Fonts(int i) const { return FFonts[size_t(i)].get(); }
    int FontsCount() const { return int(FFonts.size()); }
    TrpPDFPage* Pages(int i) const { return FPages[size_t(i)].get(); }
    int PagesCount() const { return int(FPages.size()); }
    int ObjectsPerFont() const { return FObjectsPerFont; }

    // Writes the whole document. Throws TrpPDFError on any failure of the stream or the store.
    void WriteDocument(QIODevice& out);
    void ClearAll();

    TrpPDFStream& ContentStore() { return *FStore; }
    QString TempFileName() const { return FTempFileName; }

    // Numbers fixed while writing.
    int PagesObject() const { return FPagesObject; }
    int FirstPageObject() const { return FPagesObject + FObjectsPerFont * FontsCount() + 1; }
    const std::vector<QByteArray>& CrossReference() const { return FXRef; }
    qint64 CrossReferencePosition() const { return FXRefPosition; }

    // Records the offset of the object about to begin (pending text included).
    void RecordOffset(TrpPDFStream& stream, const TrpPDFElement& element);
    // Starts object n: offset, "n 0 obj", "<<".
    void BeginObject(TrpPDFStream& stream, TrpPDFElement& element, int n);
    // The bytes of a page's content, read back from the store.
    QByteArray PageContent(const TrpPDFPage& page);

private:
    std::vector<std::unique_ptr<TrpPDFPage>> FPages;
    std::vector<std::unique_ptr<TrpPDFFont>> FFonts;
    std::vector<QByteArray> FXRef;
    int FPagesObject = 3;
    int FObjectsPerFont = 2;
    qint64 FXRefPosition = 0;
    std::unique_ptr<QIODevice> FStoreDevice;
    std::unique_ptr<TrpPDFStream> FStore;
    QString FTempFileName;
};

} // namespace exports
