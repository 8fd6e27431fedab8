#include "export/xls/Excel.h"

#include "export/Progress.h"
#include "export/xls/OfficeProcess.h"
#include "export/xls/XlsTexts.h"
#include "platform/AtomicFile.h"
#include "platform/Colors.h"
#include "report/EngineTexts.h"

#include <com/sun/star/awt/FontSlant.hpp>
#include <com/sun/star/awt/FontUnderline.hpp>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/document/XActionLockable.hpp>
#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/drawing/XShapes.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/graphic/GraphicProvider.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/script/provider/XScript.hpp>
#include <com/sun/star/script/provider/XScriptProvider.hpp>
#include <com/sun/star/script/provider/XScriptProviderSupplier.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSheetCellRangeContainer.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/table/BorderLineStyle.hpp>
#include <com/sun/star/table/CellHoriJustify.hpp>
#include <com/sun/star/table/CellVertJustify2.hpp>
#include <com/sun/star/table/TableBorder2.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XMergeable.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QStandardPaths>
#include <QUrl>
#include <cmath>
#include <map>

// The script's resource lives in this static library: it is registered before its first use.
static QByteArray CellScript() {
    Q_INIT_RESOURCE(xls);
    QFile file(QStringLiteral(":/xls/tarifon_cells.py"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace exports {

using namespace css;
using report::rpGet;
using rtl::OUString;

namespace {

OUString U(const QString& s) {
    return OUString(reinterpret_cast<const sal_Unicode*>(s.utf16()), sal_Int32(s.size()));
}

QString Q(const OUString& s) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(s.getStr()), s.getLength());
}

// Points and millimetres as the office measures lengths (hundredths of a millimetre).
sal_Int32 PointsToHmm(double points) {
    return sal_Int32(std::lround(points * 2540.0 / 72.0));
}

sal_Int32 RGB(report::TColor color) {
    const QColor c = platform::ColorToQColor(color);
    return sal_Int32((c.red() << 16) | (c.green() << 8) | c.blue());
}

template <class T> void Set(const uno::Reference<T>& object, const char* name, const uno::Any& value) {
    uno::Reference<beans::XPropertySet> props(object, uno::UNO_QUERY_THROW);
    props->setPropertyValue(OUString::createFromAscii(name), value);
}

beans::PropertyValue Arg(const char* name, const uno::Any& value) {
    beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

uno::Sequence<beans::PropertyValue> Args(std::initializer_list<beans::PropertyValue> list) {
    uno::Sequence<beans::PropertyValue> args(sal_Int32(list.size()));
    std::copy(list.begin(), list.end(), args.getArray());
    return args;
}

const int kStartTimeout = 60;

// The cell operations that run inside the office, with the office's Python.
const char* const kCellScriptFile = "tarifon_cells.py";

} // namespace

struct TrpExcel::Impl {
    TrpOfficeProcess Office;
    uno::Reference<frame::XDesktop2> Desktop;
    uno::Reference<sheet::XSpreadsheetDocument> Workbook;
    uno::Reference<sheet::XSpreadsheet> Worksheet;
    uno::Reference<table::XCellRange> Range;
    uno::Reference<lang::XMultiServiceFactory> Factory; // the workbook's
    double CharWidthHmm = 0;                            // width of one character unit of the default font
    uno::Reference<drawing::XShapes> DrawPage;          // the worksheet's, for pictures
    std::map<QByteArray, uno::Reference<graphic::XGraphic>> Graphics; // by the picture's hash
    int Calls = 0;
    int Pictures = 0;
    // The office's scripts by function name; the office lacks its Python when this stays empty
    // after the first look (ScriptsLooked), and the unions then go range by range from here.
    std::map<std::string, uno::Reference<script::provider::XScript>> Scripts;
    bool ScriptsLooked = false;
    bool ScriptsRan = false;

    // One call into the office, under the watchdog. A lost office ends the export whatever
    // kind of operation it was; other errors reach the caller as uno::Exception.
    template <class F> void Call(F&& f) {
        if (!Workbook.is())
            throw TrpExcelError(rpGet(QStringLiteral("xlsLost")));
        ++Calls;
        Office.BeginCall();
        try {
            f();
        } catch (const lang::DisposedException&) {
            Office.EndCall();
            throw Lost();
        } catch (const uno::Exception&) {
            Office.EndCall();
            if (Office.KilledAsHung() || Office.Exited())
                throw Lost();
            throw;
        }
        Office.EndCall();
    }
    TrpExcelError Lost() {
        if (Office.KilledAsHung())
            return TrpExcelError(rpGet(QStringLiteral("xlsHung")).arg(Office.CallTimeout()));
        return TrpExcelError(rpGet(QStringLiteral("xlsLost")));
    }
    // Errors pass on, in the user's words.
    template <class F> void Strict(F&& f) {
        try {
            Call(f);
        } catch (const uno::Exception& e) {
            throw TrpExcelError(rpGet(QStringLiteral("xlsRejected")).arg(Q(e.Message)));
        }
    }
    // Errors ignored: only this effect is lost (but a lost office still ends the export).
    template <class F> void Lenient(F&& f) {
        try {
            Call(f);
        } catch (const uno::Exception&) {
        }
    }

    // Runs a function of the cell script; false when the office has no Python to run it with.
    // Called inside Call, like any other remote operation.
    bool RunScript(const char* function, std::initializer_list<uno::Any> args) {
        if (!ScriptsLooked) {
            ScriptsLooked = true;
            try {
                const uno::Reference<script::provider::XScriptProvider> provider =
                    uno::Reference<script::provider::XScriptProviderSupplier>(Workbook, uno::UNO_QUERY_THROW)
                        ->getScriptProvider();
                for (const char* name : {"merge_union", "row_height_union", "property_union"})
                    Scripts[name] = provider->getScript(
                        U(QStringLiteral("vnd.sun.star.script:%1$%2?language=Python&location=user")
                              .arg(QLatin1String(kCellScriptFile), QLatin1String(name))));
                // A script found is not yet a script that runs: an empty union tells.
                Invoke(Scripts["merge_union"],
                       {uno::Any(Worksheet), uno::Any(OUString()), uno::Any(OUString(";"))});
            } catch (const uno::Exception&) {
                if (Office.Exited())
                    throw;
                Scripts.clear(); // no script provider for Python in this office
            }
        }
        const auto found = Scripts.find(function);
        if (found == Scripts.end() || !found->second.is())
            return false;
        Invoke(found->second, args);
        ScriptsRan = true;
        return true;
    }
    static void Invoke(const uno::Reference<script::provider::XScript>& script,
                       std::initializer_list<uno::Any> args) {
        uno::Sequence<sal_Int16> outIndex;
        uno::Sequence<uno::Any> out;
        script->invoke(uno::Sequence<uno::Any>(args.begin(), sal_Int32(args.size())), outIndex, out);
    }
    uno::Reference<table::XCellRange> RangeOf(const QString& address) const {
        return Worksheet->getCellRangeByName(U(address));
    }
    // The ranges of a union of addresses ("A1:B2;C3").
    static uno::Sequence<table::CellRangeAddress> Addresses(const QString& text, QChar separator) {
        std::vector<table::CellRangeAddress> addresses;
        for (const QString& part : text.split(separator, Qt::SkipEmptyParts))
            if (const std::optional<TrpCellRect> r = ParseAddress(part))
                addresses.push_back(
                    table::CellRangeAddress(0, r->Left - 1, r->Top - 1, r->Right - 1, r->Bottom - 1));
        return uno::Sequence<table::CellRangeAddress>(addresses.data(), sal_Int32(addresses.size()));
    }
    uno::Reference<table::XCellRange> RangeAt(const table::CellRangeAddress& a) const {
        return Worksheet->getCellRangeByPosition(a.StartColumn, a.StartRow, a.EndColumn, a.EndRow);
    }
    // Each range of a union merged on its own (the office merges one range at a time).
    void MergeUnion(const QString& text, QChar separator) {
        if (!RunScript("merge_union",
                       {uno::Any(Worksheet), uno::Any(U(text)), uno::Any(U(QString(separator)))}))
            for (const table::CellRangeAddress& a : Addresses(text, separator))
                uno::Reference<util::XMergeable>(RangeAt(a), uno::UNO_QUERY_THROW)->merge(true);
    }
    // The rows of every range of a union take the height.
    void RowHeightUnion(const QString& text, QChar separator, double points) {
        if (!RunScript("row_height_union", {uno::Any(Worksheet), uno::Any(U(text)),
                                            uno::Any(U(QString(separator))), uno::Any(PointsToHmm(points))}))
            for (const table::CellRangeAddress& a : Addresses(text, separator))
                RowHeight(RangeAt(a), points);
    }
    // A cell property for every range of a union at once.
    void PropertyUnion(const QString& text, QChar separator, const char* name, const uno::Any& value) {
        if (RunScript("property_union",
                      {uno::Any(Workbook), uno::Any(U(text)), uno::Any(U(QString(separator))),
                       uno::Any(OUString::createFromAscii(name)), value}))
            return;
        uno::Reference<sheet::XSheetCellRangeContainer> ranges(
            Factory->createInstance(OUString("com.sun.star.sheet.SheetCellRanges")), uno::UNO_QUERY_THROW);
        ranges->addRangeAddresses(Addresses(text, separator), false);
        Set(ranges, name, value);
    }
    uno::Reference<container::XNameContainer> Family(const char* name) const {
        uno::Reference<style::XStyleFamiliesSupplier> families(Workbook, uno::UNO_QUERY_THROW);
        return uno::Reference<container::XNameContainer>(
            families->getStyleFamilies()->getByName(OUString::createFromAscii(name)), uno::UNO_QUERY_THROW);
    }
    // The frame of a cell or range: thin black lines on the sides asked for.
    static uno::Any BorderOf(report::TrpFrameTypes frame) {
        table::BorderLine2 line;
        line.Color = 0;
        line.LineStyle = table::BorderLineStyle::SOLID;
        line.LineWidth = 26; // a thin line, 0.75 pt
        line.OuterLineWidth = 26;
        table::TableBorder2 border;
        border.LeftLine = border.RightLine = border.TopLine = border.BottomLine = line;
        border.IsLeftLineValid = (frame & report::ftLeft) != 0;
        border.IsRightLineValid = (frame & report::ftRight) != 0;
        border.IsTopLineValid = (frame & report::ftTop) != 0;
        border.IsBottomLineValid = (frame & report::ftBottom) != 0;
        border.IsHorizontalLineValid = border.IsVerticalLineValid = border.IsDistanceValid = false;
        return uno::Any(border);
    }
    void RowHeight(const uno::Reference<table::XCellRange>& range, double points) const {
        uno::Reference<table::XColumnRowRange> rows(range, uno::UNO_QUERY_THROW);
        Set(rows->getRows(), "Height", uno::Any(PointsToHmm(points)));
    }
    // The width of the digit zero in the default cell font: the unit of column widths.
    void MeasureCharWidth() {
        uno::Reference<beans::XPropertySet> def(Family("CellStyles")->getByName(OUString("Default")),
                                                uno::UNO_QUERY_THROW);
        OUString name;
        float height = 10;
        def->getPropertyValue(OUString("CharFontName")) >>= name;
        def->getPropertyValue(OUString("CharHeight")) >>= height;
        QFont font(Q(name));
        font.setPixelSize(1000);
        const double em = QFontMetricsF(font).horizontalAdvance(u'0') / 1000.0;
        CharWidthHmm = (em > 0 ? em : 0.556) * height * 2540.0 / 72.0;
    }
};

TrpExcel::TrpExcel() : F(std::make_unique<Impl>()) {
    AddXlsExportTexts();
}

TrpExcel::~TrpExcel() {
    try {
        Quit();
    } catch (...) {
    }
}

QString TrpExcel::OfficeProgram() {
    const QByteArray env = qgetenv("TARIFON_OFFICE");
    if (!env.isEmpty())
        return QFile::decodeName(env);
    const QString found = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    return found.isEmpty() ? QStringLiteral(TARIFON_OFFICE_DIR "/soffice") : found;
}

bool TrpExcel::StartApplication() {
    FOpened = false;
    // TARIFON_OFFICE_SCRIPTS=off leaves the script out, as for an office without Python.
    std::vector<TrpOfficeProcess::ProfileFile> files;
    if (qEnvironmentVariable("TARIFON_OFFICE_SCRIPTS") != QLatin1String("off"))
        files.push_back(
            {QStringLiteral("user/Scripts/python/") + QLatin1String(kCellScriptFile), CellScript()});
    FStartError = F->Office.Start(OfficeProgram(), kStartTimeout, files);
    if (!FStartError.isEmpty())
        return false;
    try {
        F->Office.BeginCall();
        F->Desktop = frame::Desktop::create(F->Office.Context());
        const uno::Sequence<beans::PropertyValue> args = Args({Arg("Hidden", uno::Any(true))});
        F->Workbook.set(
            F->Desktop->loadComponentFromURL(OUString("private:factory/scalc"), OUString("_blank"), 0, args),
            uno::UNO_QUERY_THROW);
        uno::Reference<container::XIndexAccess> sheets(F->Workbook->getSheets(), uno::UNO_QUERY_THROW);
        F->Worksheet.set(sheets->getByIndex(0), uno::UNO_QUERY_THROW);
        F->Factory.set(F->Workbook, uno::UNO_QUERY_THROW);
        // No repainting while the sheet fills, as with screen updating off, and no undo steps
        // kept for a sheet nobody edits.
        uno::Reference<frame::XModel>(F->Workbook, uno::UNO_QUERY_THROW)->lockControllers();
        uno::Reference<document::XUndoManagerSupplier>(F->Workbook, uno::UNO_QUERY_THROW)
            ->getUndoManager()
            ->lock();
        uno::Reference<document::XActionLockable>(F->Workbook, uno::UNO_QUERY_THROW)->addActionLock();
        Set(F->Workbook, "IsAdjustHeightEnabled", uno::Any(false));
        Set(F->Workbook, "IsUndoEnabled", uno::Any(false));
        F->MeasureCharWidth();
        F->Office.EndCall();
    } catch (const uno::Exception& e) {
        F->Office.EndCall();
        FStartError = Q(e.Message);
        F->Workbook.clear();
        F->Worksheet.clear();
        F->Office.Terminate(F->Desktop);
        F->Desktop.clear();
        return false;
    }
    FOpened = true;
    return true;
}

void TrpExcel::ShowApplication(bool visible) {
    if (FOpened)
        FVisible = visible;
}

void TrpExcel::ApplyPageSetup(report::TPrinterOrientation orientation, double left, double right, double top,
                              double bottom, double paperWidthMm, double paperHeightMm) {
    F->Lenient([&] {
        OUString styleName;
        uno::Reference<beans::XPropertySet>(F->Worksheet, uno::UNO_QUERY_THROW)
            ->getPropertyValue(OUString("PageStyle")) >>= styleName;
        uno::Reference<beans::XPropertySet> page(F->Family("PageStyles")->getByName(styleName),
                                                 uno::UNO_QUERY_THROW);
        page->setPropertyValue(OUString("LeftMargin"), uno::Any(PointsToHmm(left)));
        page->setPropertyValue(OUString("RightMargin"), uno::Any(PointsToHmm(right)));
        page->setPropertyValue(OUString("TopMargin"), uno::Any(PointsToHmm(top)));
        page->setPropertyValue(OUString("BottomMargin"), uno::Any(PointsToHmm(bottom)));
        const bool landscape = orientation == report::poLandscape;
        if (paperWidthMm > 0 && paperHeightMm > 0) {
            // The office keeps the size as the page stands: width and height swap for landscape.
            const double shortSide = std::min(paperWidthMm, paperHeightMm),
                         longSide = std::max(paperWidthMm, paperHeightMm);
            page->setPropertyValue(
                OUString("Width"),
                uno::Any(sal_Int32(std::lround((landscape ? longSide : shortSide) * 100))));
            page->setPropertyValue(
                OUString("Height"),
                uno::Any(sal_Int32(std::lround((landscape ? shortSide : longSide) * 100))));
        }
        page->setPropertyValue(OUString("IsLandscape"), uno::Any(landscape));
        // A new workbook's page has no header or footer lines of its own.
        page->setPropertyValue(OUString("HeaderIsOn"), uno::Any(false));
        page->setPropertyValue(OUString("FooterIsOn"), uno::Any(false));
    });
}

void TrpExcel::SelectCells(int x, int y, int rows, int columns) {
    const std::optional<QString> address = SelectionAddress(x, y, rows, columns);
    if (!address)
        return;
    F->Lenient([&] { F->Range = F->RangeOf(*address); });
}

void TrpExcel::SetColumnWidth(int column, double width) {
    if (!ColumnWidthApplies(column, width))
        return;
    F->Lenient([&] {
        uno::Reference<table::XColumnRowRange> cols(F->Worksheet, uno::UNO_QUERY_THROW);
        uno::Reference<beans::XPropertySet> col(cols->getColumns()->getByIndex(column - 1),
                                                uno::UNO_QUERY_THROW);
        col->setPropertyValue(OUString("Width"), uno::Any(sal_Int32(std::lround(width * F->CharWidthHmm))));
    });
}

void TrpExcel::SetRowHeight(int row, double height) {
    const std::optional<double> h = CappedRowHeight(height);
    if (!h)
        return;
    F->Strict([&] {
        uno::Reference<table::XColumnRowRange> rows(F->Worksheet, uno::UNO_QUERY_THROW);
        Set(uno::Reference<uno::XInterface>(rows->getRows()->getByIndex(row - 1), uno::UNO_QUERY_THROW),
            "Height", uno::Any(PointsToHmm(*h)));
    });
}

void TrpExcel::MergeSelection() {
    F->Strict([&] { uno::Reference<util::XMergeable>(F->Range, uno::UNO_QUERY_THROW)->merge(true); });
}

void TrpExcel::DrawBorders(report::TrpFrameTypes frame) {
    if (!(frame & report::ftAll))
        return;
    F->Strict([&] { Set(F->Range, "TableBorder2", Impl::BorderOf(frame)); });
}

void TrpExcel::SetRowHeightsFast(const std::vector<TrpUnionEntry>& runs, const std::vector<double>& heights,
                                 TrpProgress* progress, int rowCount, int mostFrequent) {
    if (runs.empty())
        return;
    if (progress && !progress->Terminated())
        progress->Execute(int(runs.size()), rpGet(QStringLiteral("ProgressRows")) + QStringLiteral(" - 2"),
                          true, true);
    F->Strict([&] {
        F->RowHeight(F->RangeOf(QStringLiteral("A1:A%1").arg(rowCount)), heights[size_t(mostFrequent)]);
    });
    for (const TrpUnionCall& call : GroupRowRuns(runs, mostFrequent, progress))
        F->Lenient([&] { F->RowHeightUnion(call.Union, u';', heights[size_t(call.Key)]); });
}

void TrpExcel::ApplyUnions(const std::vector<TrpUnionEntry>& list, TrpUnionKind kind, TrpProgress* progress) {
    if (list.empty())
        return;
    if (progress && !progress->Terminated())
        progress->Execute(int(list.size()),
                          rpGet(QStringLiteral("ProgressStyles")) + QStringLiteral(" - %1").arg(int(kind)),
                          true, true);
    const QChar separator = ListSeparator();
    for (const TrpUnionCall& call : GroupUnions(list, separator, progress)) {
        if (call.Union.isEmpty() || (kind == TrpUnionKind::Borders && call.Key == 0))
            continue;
        F->Lenient([&] {
            switch (kind) {
            case TrpUnionKind::Styles:
                F->PropertyUnion(call.Union, separator, "CellStyle",
                                 uno::Any(U(QStringLiteral("S%1").arg(call.Key))));
                break;
            case TrpUnionKind::Borders:
                F->PropertyUnion(call.Union, separator, "TableBorder2",
                                 Impl::BorderOf(report::TrpFrameTypes(call.Key)));
                break;
            case TrpUnionKind::Merges:
                F->MergeUnion(call.Union, separator);
                break;
            }
        });
    }
}

void TrpExcel::ApplyNumberFormats(const QStringList& list, TrpProgress* progress) {
    if (list.isEmpty())
        return;
    if (progress && !progress->Terminated())
        progress->Execute(int(list.size()), QStringLiteral("Data formats"), true, true);
    const QChar separator = ListSeparator();
    for (const TrpFormatCall& call : GroupNumberFormats(list, separator, progress)) {
        if (call.Union.isEmpty())
            continue;
        F->Lenient([&] {
            // The format texts follow the Russian conventions (space between thousands, decimal comma).
            const lang::Locale locale(OUString("ru"), OUString("RU"), OUString());
            uno::Reference<util::XNumberFormats> formats(
                uno::Reference<util::XNumberFormatsSupplier>(F->Workbook, uno::UNO_QUERY_THROW)
                    ->getNumberFormats());
            sal_Int32 key = formats->queryKey(U(call.Format), locale, false);
            if (key < 0)
                key = formats->addNew(U(call.Format), locale);
            F->PropertyUnion(call.Union, separator, "NumberFormat", uno::Any(key));
        });
    }
}

void TrpExcel::AddStyle(const TrpExcelStyle& s) {
    F->Strict([&] {
        uno::Reference<uno::XInterface> style =
            F->Factory->createInstance(OUString("com.sun.star.style.CellStyle"));
        const uno::Reference<container::XNameContainer> styles = F->Family("CellStyles");
        const OUString name = U(s.Name);
        if (styles->hasByName(name))
            styles->removeByName(name);
        styles->insertByName(name, uno::Any(style));
        uno::Reference<beans::XPropertySet> p(style, uno::UNO_QUERY_THROW);
        p->setPropertyValue(OUString("CharWeight"),
                            uno::Any(s.Font.Bold() ? awt::FontWeight::BOLD : awt::FontWeight::NORMAL));
        p->setPropertyValue(OUString("CharPosture"),
                            uno::Any(s.Font.Italic() ? awt::FontSlant_ITALIC : awt::FontSlant_NONE));
        p->setPropertyValue(OUString("CharUnderline"),
                            uno::Any((s.Font.Style & report::fsUnderline) ? awt::FontUnderline::SINGLE
                                                                          : awt::FontUnderline::NONE));
        p->setPropertyValue(OUString("CharFontName"), uno::Any(U(s.Font.Name)));
        p->setPropertyValue(OUString("CharHeight"), uno::Any(float(s.Font.Size)));
        p->setPropertyValue(OUString("CharColor"), uno::Any(RGB(s.Font.Color)));
        const bool transparent = s.Fill == report::clNone;
        p->setPropertyValue(OUString("IsCellBackgroundTransparent"), uno::Any(transparent));
        if (!transparent)
            p->setPropertyValue(OUString("CellBackColor"), uno::Any(RGB(s.Fill)));
        if (s.Orientation != 0)
            p->setPropertyValue(OUString("RotateAngle"),
                                uno::Any(sal_Int32(((s.Orientation + 360) % 360) * 100)));
        p->setPropertyValue(OUString("VertJustify"),
                            uno::Any(s.VAlign == report::vaBottom   ? table::CellVertJustify2::BOTTOM
                                     : s.VAlign == report::vaCenter ? table::CellVertJustify2::CENTER
                                                                    : table::CellVertJustify2::TOP));
        p->setPropertyValue(OUString("HoriJustify"),
                            uno::Any(s.HAlign == report::haRight    ? table::CellHoriJustify_RIGHT
                                     : s.HAlign == report::haCenter ? table::CellHoriJustify_CENTER
                                     : s.HAlign == report::haBlock  ? table::CellHoriJustify_BLOCK
                                                                    : table::CellHoriJustify_LEFT));
    });
}

void TrpExcel::SetSelectionStyle(const QString& name) {
    F->Strict([&] { Set(F->Range, "CellStyle", uno::Any(U(name))); });
}

void TrpExcel::SetPageBreak(int row) {
    F->Strict([&] {
        uno::Reference<table::XColumnRowRange> rows(F->Worksheet, uno::UNO_QUERY_THROW);
        Set(uno::Reference<uno::XInterface>(rows->getRows()->getByIndex(row - 1), uno::UNO_QUERY_THROW),
            "IsStartOfNewPage", uno::Any(true));
    });
}

void TrpExcel::SetSelectionValues(const std::vector<std::vector<QString>>& values) {
    F->Strict([&] {
        uno::Reference<table::XCellRange> range = F->Range;
        uno::Reference<sheet::XCellRangeAddressable> addressable(range, uno::UNO_QUERY_THROW);
        const table::CellRangeAddress a = addressable->getRangeAddress();
        const size_t rows = size_t(a.EndRow - a.StartRow + 1), cols = size_t(a.EndColumn - a.StartColumn + 1);
        // The array covers the range exactly; what the values do not reach stays empty.
        uno::Sequence<uno::Sequence<uno::Any>> data(static_cast<sal_Int32>(rows));
        auto* rowData = data.getArray();
        for (size_t r = 0; r < rows; ++r) {
            rowData[r].realloc(sal_Int32(cols));
            auto* cells = rowData[r].getArray();
            for (size_t c = 0; c < cols; ++c) {
                const QString text = r < values.size() && c < values[r].size() ? values[r][c] : QString();
                const TrpCellValue v = CellValueOf(text);
                if (const double* d = std::get_if<double>(&v))
                    cells[c] <<= *d;
                else
                    cells[c] <<= U(std::get<QString>(v));
            }
        }
        uno::Reference<sheet::XCellRangeData>(range, uno::UNO_QUERY_THROW)->setDataArray(data);
    });
}

void TrpExcel::WrapAllCells() {
    F->Strict([&] { Set(F->Worksheet, "IsTextWrapped", uno::Any(true)); });
}

void TrpExcel::PlacePicture(const QImage& image, double width, double height) {
    // A picture repeated on every page (a logo) is handed to the office once.
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    hash.addData(QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height()) + '/' +
                 QByteArray::number(int(image.format())));
    uno::Reference<graphic::XGraphic>& graphic = F->Graphics[hash.result()];
    if (!graphic.is()) {
        const QString file =
            QDir(F->Office.WorkDir()).filePath(QStringLiteral("picture%1.png").arg(++F->Pictures));
        if (!image.save(file, "PNG"))
            throw TrpExcelError(rpGet(QStringLiteral("xlsRejected")).arg(file));
        F->Strict([&] {
            const uno::Sequence<beans::PropertyValue> args =
                Args({Arg("URL", uno::Any(U(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded))))});
            graphic = graphic::GraphicProvider::create(F->Office.Context())->queryGraphic(args);
        });
        QFile::remove(file);
    }
    F->Strict([&] {
        uno::Reference<drawing::XShape> shape(
            F->Factory->createInstance(OUString("com.sun.star.drawing.GraphicObjectShape")),
            uno::UNO_QUERY_THROW);
        if (!F->DrawPage.is()) // the first sheet's drawing layer
            F->DrawPage.set(uno::Reference<drawing::XDrawPagesSupplier>(F->Workbook, uno::UNO_QUERY_THROW)
                                ->getDrawPages()
                                ->getByIndex(0),
                            uno::UNO_QUERY_THROW);
        F->DrawPage->add(shape);
        Set(shape, "Graphic", uno::Any(graphic));
        awt::Point at;
        uno::Reference<beans::XPropertySet>(F->Range, uno::UNO_QUERY_THROW)
            ->getPropertyValue(OUString("Position")) >>= at;
        shape->setPosition(at);
        shape->setSize(awt::Size(PointsToHmm(width), PointsToHmm(height)));
    });
}

void TrpExcel::SelectSelection() {
    F->Lenient([&] {
        uno::Reference<frame::XModel> model(F->Workbook, uno::UNO_QUERY_THROW);
        uno::Reference<view::XSelectionSupplier> selection(model->getCurrentController(), uno::UNO_QUERY);
        if (selection.is())
            selection->select(uno::Any(F->Range));
    });
}

void TrpExcel::SaveAs(const QString& fileName) {
    const QString temp = QDir(F->Office.WorkDir()).filePath(QStringLiteral("book.xls"));
    F->Strict([&] {
        uno::Reference<frame::XModel>(F->Workbook, uno::UNO_QUERY_THROW)->unlockControllers();
        const uno::Sequence<beans::PropertyValue> args =
            Args({Arg("FilterName", uno::Any(OUString("MS Excel 97"))), Arg("Overwrite", uno::Any(true))});
        uno::Reference<frame::XStorable>(F->Workbook, uno::UNO_QUERY_THROW)
            ->storeToURL(U(QUrl::fromLocalFile(temp).toString(QUrl::FullyEncoded)), args);
    });
    QFile file(temp);
    QByteArray data;
    if (file.open(QIODevice::ReadOnly))
        data = file.readAll();
    file.close();
    QFile::remove(temp);
    // A binary workbook is a compound document: anything else is not what was asked for.
    if (!data.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        throw TrpExcelError(
            rpGet(QStringLiteral("xlsCannotSave")).arg(fileName, rpGet(QStringLiteral("xlsNotWorkbook"))));
    const QString error = platform::WriteFileAtomically(fileName, data);
    if (!error.isEmpty())
        throw TrpExcelError(rpGet(QStringLiteral("xlsCannotSave")).arg(fileName, error));
}

void TrpExcel::Quit() {
    if (F->Workbook.is() && !F->Office.Exited()) {
        try {
            F->Office.BeginCall();
            uno::Reference<util::XCloseable>(F->Workbook, uno::UNO_QUERY_THROW)->close(true);
        } catch (const uno::Exception&) {
        }
        F->Office.EndCall();
    }
    F->Range.clear();
    F->DrawPage.clear();
    F->Graphics.clear();
    F->Scripts.clear();
    F->Worksheet.clear();
    F->Factory.clear();
    F->Workbook.clear();
    F->Office.Terminate(F->Desktop);
    F->Desktop.clear();
    FOpened = false;
}

qint64 TrpExcel::ProcessId() const {
    return F->Office.Pid();
}

QString TrpExcel::ProfileDir() const {
    return F->Office.ProfileDir();
}

void TrpExcel::SetCallTimeout(int seconds) {
    F->Office.SetCallTimeout(seconds);
}

int TrpExcel::CallCount() const {
    return F->Calls;
}

bool TrpExcel::ScriptsRan() const {
    return F->ScriptsRan;
}

} // namespace exports
