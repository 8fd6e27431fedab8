#include "export/text/TXTExport.h"

#include "export/text/CharGrid.h"
#include "export/text/PrnInit.h"
#include "export/text/RawPrinter.h"
#include "export/text/TXTExportDialog.h"
#include "export/text/TextEncoding.h"
#include "export/text/TextTexts.h"
#include "platform/AtomicFile.h"
#include "report/DrawText.h"
#include "report/EngineTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <set>

namespace exports {

using report::Extended;
using report::rpGet;

namespace {

// Positions in the frame set.
enum FrameChar {
    fcV,
    fcH,
    fcTopLeft,
    fcTopRight,
    fcBottomLeft,
    fcBottomRight,
    fcTUp,
    fcTRight,
    fcTDown,
    fcTLeft,
    fcCross
};

// The memo's text as printed: tags of an HTML memo removed, 01 characters removed, one
// trailing line break dropped.
QString PlainText(const report::TrpCustomMemoView& memo) {
    QString text;
    if (memo.AllowHTMLTags()) {
        report::TrpHTMLTag state;
        std::vector<report::TrpHTMLTag> tags;
        QStringList lines;
        for (const QString& line : memo.Memo())
            lines << report::TrpDrawText::ParseTags(line, memo.Font(), state, tags);
        text = lines.join(QStringLiteral("\r\n"));
    } else {
        text = memo.Text();
    }
    text.remove(QChar(1));
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text;
}

bool IsBreakChar(char c) {
    return c == '\t' || c == ' ' || c == '-';
}

} // namespace

TrpTXTExport::TrpTXTExport(bool subordinate)
    : TrpTextFileExport(subordinate, (AddTextExportTexts(), rpGet(8325)), rpGet(8326)),
      FPrinterTypes(DefaultPrinterTypes()) {}

TrpTXTExport::~TrpTXTExport() = default;

QString TrpTXTExport::FilterDescription() const {
    return rpGet(QStringLiteral("TextExport"));
}

bool TrpTXTExport::ExecuteOptionsDialog() {
    return RunDialog<TrpTXTExportDialog>(*this);
}

void TrpTXTExport::SetPrinterType(int index) {
    if (index >= 0 && index < int(FPrinterTypes.size()))
        FPrinterType = index;
}

void TrpTXTExport::SetCommandEnabled(int command, bool enabled) {
    auto& commands = FPrinterTypes[size_t(FPrinterType)].Commands;
    if (command >= 0 && command < int(commands.size()))
        commands[size_t(command)].Enabled = enabled;
}

void TrpTXTExport::RebuildInitString() {
    FInitString = BuildInitString(FPrinterTypes[size_t(FPrinterType)]);
}

QString TrpTXTExport::LoadPrinterSettings(const QString& fileName) {
    const QString error = LoadPrinterSettingsFile(fileName, FPrinterTypes, FPrinterType);
    if (error.isEmpty())
        RebuildInitString();
    return error;
}

QString TrpTXTExport::SavePrinterSettings(const QString& fileName) const {
    return SavePrinterSettingsFile(fileName, FPrinterTypes, FPrinterType);
}

QByteArray TrpTXTExport::FrameSet() const {
    if (!FCustomFrameSet.isEmpty())
        return FCustomFrameSet.leftJustified(11, FCustomFrameSet.back());
    if (FPseudogrpahic)
        return QByteArray::fromHex("B3C4DABFC0D9C1C3C2B4C5");
    return QByteArrayLiteral("|-+++++++++");
}

bool TrpTXTExport::Start() {
    if (!TrpTextFileExport::Start())
        return false;
    FMemos.clear();
    FLongest = FLineCount = 0;
    return true;
}

void TrpTXTExport::StartPage(report::TrpReportPage*, int) {
    FMemos.clear();
    FExtentWidth = FExtentHeight = 0;
    FLongest = FLineCount = 0;
}

void TrpTXTExport::ExportObject(const report::TrpPlacedObject& object) {
    // The text spans the printable area (the page's own items) and whatever lies beyond it.
    const Extended left = object.Left, top = object.Top;
    FExtentWidth = std::max(FExtentWidth, left + object.Width);
    FExtentHeight = std::max(FExtentHeight, top + object.Height);
    if (object.Kind != report::TrpPlacedKind::Text)
        return;
    auto* memo = static_cast<const report::TrpCustomMemoView*>(object.View);
    const QString text = PlainText(*memo);
    if (text.isEmpty() && memo->Frame().Typ == 0)
        return;
    // Line by line: the line ends are the wrapping's, whatever else the text holds is no command.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QByteArray bytes;
    for (const QString& line : text.split(lineEnd))
        bytes += EncodeText(line, false) + "\r\n";
    bytes.chop(2);
    FMemos.push_back(
        {left, top, object.Width, object.Height, bytes, object.Frame.Typ, memo->HAlign(), memo->VAlign()});
}

std::vector<QByteArray> TrpTXTExport::WrapText(const QByteArray& text, int width, int maxLines) {
    std::vector<QByteArray> lines;
    if (width <= 0)
        return lines;
    qsizetype p = 0;
    const qsizetype length = text.size();
    while (p < length && int(lines.size()) < maxLines) {
        const QByteArray chunk = text.mid(p, width);
        qsizetype brk = -1;
        for (qsizetype i = 0; i < chunk.size() && brk < 0; ++i)
            if (chunk[i] == '\r' || chunk[i] == '\n')
                brk = i;
        if (brk >= 0) {
            lines.push_back(chunk.left(brk));
            p += brk + (chunk[brk] == '\r' && p + brk + 1 < length && text[p + brk + 1] == '\n' ? 2 : 1);
        } else if (length - p <= width) {
            lines.push_back(chunk);
            p = length;
        } else if (IsBreakChar(text[p + width])) {
            lines.push_back(chunk);
            p += width + 1;
        } else {
            qsizetype last = -1;
            for (qsizetype i = chunk.size() - 1; i >= 0 && last < 0; --i)
                if (IsBreakChar(chunk[i]))
                    last = i;
            const qsizetype take = last >= 0 ? last + 1 : width;
            lines.push_back(chunk.left(take));
            p += take;
        }
    }
    return lines;
}

void TrpTXTExport::DrawMemo(TrpCharGrid& grid, const Memo& memo) const {
    int x = RoundToCell(FScaleWidth * memo.Left / 7), y = RoundToCell(FScaleHeight * memo.Top / 8);
    int w = RoundToCell(FScaleWidth * memo.Width / 7), h = RoundToCell(FScaleHeight * memo.Height / 8);
    if (FBorders && memo.Frame != 0) {
        const QByteArray set = FrameSet();
        // A box one column off a neighbour's frame takes that frame column as its own.
        if (!grid.IsFrame(x, y)) {
            if (grid.IsFrame(x + 1, y)) {
                ++x;
                --w;
            } else if (grid.IsFrame(x - 1, y)) {
                --x;
                ++w;
            }
        }
        // Clipped to the grid, however large the box.
        auto vertical = [&](int column, char first, char last) {
            grid.PutFrame(column, y, first);
            for (int r = std::max(y + 1, 0); r < std::min(y + h, grid.Rows()); ++r)
                grid.PutFrame(column, r, set[fcV]);
            grid.PutFrame(column, y + h, last);
        };
        auto horizontal = [&](int row, char first, char last) {
            grid.PutFrame(x, row, first);
            for (int c = std::max(x + 1, 0); c < std::min(x + w, grid.Columns()); ++c)
                grid.PutFrame(c, row, set[fcH]);
            grid.PutFrame(x + w, row, last);
        };
        if (memo.Frame & report::ftLeft)
            vertical(x, set[fcTopLeft], set[fcBottomLeft]);
        if (memo.Frame & report::ftRight)
            vertical(x + w, set[fcTopRight], set[fcBottomRight]);
        if (memo.Frame & report::ftTop)
            horizontal(y, set[fcTopLeft], set[fcTopRight]);
        if (memo.Frame & report::ftBottom)
            horizontal(y + h, set[fcBottomLeft], set[fcBottomRight]);
    }
    const std::vector<QByteArray> lines = WrapText(memo.Text, w - 1, h - 1);
    const int count = int(lines.size());
    int row = y + 1;
    if (memo.VAlign == report::vaBottom)
        row = y + h - count;
    else if (memo.VAlign == report::vaCenter)
        row = y + 1 + (h - count - 1) / 2;
    for (int i = 0; i < count && row + i <= y + h; ++i) {
        QByteArray line = lines[size_t(i)];
        if (OEMCodepage())
            std::transform(line.begin(), line.end(), line.begin(), AnsiToOem);
        else
            line.replace('\xA0', ' ');
        grid.WriteAligned(x + 1, row + i, line, w - 1, memo.HAlign);
    }
}

// Corners and junctions as their neighbours call for: where two boxes meet, a T or a cross.
void TrpTXTExport::ChooseJunctions(TrpCharGrid& grid) const {
    const QByteArray set = FrameSet();
    auto is = [&](int x, int y, int which) { return grid.IsFrame(x, y) && grid.At(x, y) == set[which]; };
    auto line = [&](int x, int y) { return is(x, y, fcV) || is(x, y, fcH); };
    for (int y = 0; y < grid.Rows(); ++y)
        for (int x = 0; x < grid.Columns(); ++x) {
            if (!grid.IsFrame(x, y) || !set.mid(fcTopLeft).contains(grid.At(x, y)))
                continue;
            const bool lineL = line(x - 1, y), lineR = line(x + 1, y), lineA = line(x, y - 1),
                       lineB = line(x, y + 1);
            const bool frameL = grid.IsFrame(x - 1, y), frameR = grid.IsFrame(x + 1, y),
                       frameA = grid.IsFrame(x, y - 1), frameB = grid.IsFrame(x, y + 1);
            const bool vA = is(x, y - 1, fcV), vB = is(x, y + 1, fcV), hL = is(x - 1, y, fcH),
                       hR = is(x + 1, y, fcH);
            int choice = -1;
            if (!lineL && !lineR && !lineA && lineB)
                choice = fcV;
            else if (!lineL && !lineR && !lineB && lineA)
                choice = fcV;
            else if (lineR && !lineL && !lineA && !lineB)
                choice = fcH;
            else if (lineL && !lineR && !lineA && !lineB)
                choice = fcH;
            else if (!frameL && !frameR && vA && vB)
                choice = fcV;
            else if (hL && hR && !frameA && !frameB)
                choice = fcH;
            else if (hL && hR && vA && vB)
                choice = fcCross;
            else if (hL && hR && vB && !vA)
                choice = fcTDown;
            else if (hL && hR && vA && !vB)
                choice = fcTUp;
            else if (vA && vB && hR && !hL)
                choice = fcTRight;
            else if (vA && vB && hL && !hR)
                choice = fcTLeft;
            else if (hR && !hL && vB && !vA)
                choice = fcTopLeft;
            else if (hR && !hL && vA && !vB)
                choice = fcBottomLeft;
            else if (hL && !hR && vA && !vB)
                choice = fcBottomRight;
            else if (hL && !hR && vB && !vA)
                choice = fcTopRight;
            if (choice >= 0)
                grid.PutFrame(x, y, set[choice]);
        }
}

void TrpTXTExport::WritePage(TrpCharGrid& grid) {
    int lead = 0;
    if (!FLeadSpaces) {
        lead = grid.Columns();
        for (int y = 0; y < grid.Rows(); ++y) {
            if (!grid.Touched(y))
                continue;
            const QByteArrayView row = grid.Row(y);
            int n = 0;
            while (n < row.size() && row[n] == ' ')
                ++n;
            if (n < row.size())
                lead = std::min(lead, n);
        }
    }
    for (int y = 0; y < grid.Rows(); ++y) {
        const QByteArrayView row = grid.Touched(y)
                                       ? TrimRight(grid.Row(y).sliced(std::min(lead, grid.Columns())))
                                       : QByteArrayView();
        if (row.isEmpty() && !FEmptyLines)
            continue;
        FOut += row;
        FOut += "\r\n";
        FLongest = std::max(FLongest, int(row.size()));
        ++FLineCount;
    }
}

void TrpTXTExport::FinishPage(report::TrpReportPage*, int) {
    std::stable_sort(FMemos.begin(), FMemos.end(), [](const Memo& a, const Memo& b) {
        if (a.Top != b.Top)
            return a.Top < b.Top;
        if (a.Left != b.Left)
            return a.Left < b.Left;
        return a.Text.size() < b.Text.size();
    });
    const int columns = RoundToCell(FScaleWidth * FExtentWidth / 7) + 10;
    const int rows = RoundToCell(FScaleHeight * FExtentHeight / 8) + 2;
    TrpCharGrid grid(columns, rows);
    // Of several memos starting on the same grid lines (whole units) only the first is drawn.
    std::set<std::pair<long long, long long>> started;
    for (const Memo& memo : FMemos)
        if (started.insert({std::llround(memo.Top), std::llround(memo.Left)}).second)
            DrawMemo(grid, memo);
    if (FBorders)
        ChooseJunctions(grid);
    WritePage(grid);
    if (FPageBreaks)
        FOut += '\f';
    FMemos.clear();
    WritePageBytes();
}

void TrpTXTExport::Finish() {
    if (!FPageBreaks && !FPreviewMode && !Failed())
        FOut += '\f';
    TrpTextFileExport::Finish();
}

void TrpTXTExport::AfterWrite(const QString& fileName) {
    if (!FPrintAfter || FPreviewMode || Subordinate())
        return;
    const QStringList printers = RawPrinterNames();
    if (printers.isEmpty()) // nothing to print on: the file is the result
        return;
    const QString previous = FPrinterName;
    if (FPrinterName.isEmpty() || !printers.contains(FPrinterName))
        FPrinterName = printers.contains(DefaultRawPrinter()) ? DefaultRawPrinter() : printers.front();
    if (FPrinterDialog) {
        const bool ok =
            OnPrinterDialog ? OnPrinterDialog(*this) : TrpPrnInit(*this).exec() == QDialog::Accepted;
        if (!ok) {
            FPrinterName = previous;
            return;
        }
    }
    RebuildInitString();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        FailText(QStringLiteral("prnFailed"), {FPrinterName, file.errorString()});
    QByteArray printed = file.readAll();
    file.close();
    if (!FInitString.isEmpty()) {
        // The file becomes what the printer gets: the control bytes, then the text.
        printed.prepend(FInitString);
        const QString error = platform::WriteFileAtomically(fileName, printed);
        if (!error.isEmpty())
            FailText(QStringLiteral("exCannotWrite"), {fileName, error});
    }
    const QString error =
        PrintRaw(FPrinterName, QFileInfo(fileName).fileName(), printed, std::max(FCopies, 1));
    if (!error.isEmpty())
        FailText(QStringLiteral("prnFailed"), {FPrinterName, error});
}

} // namespace exports
