// The published options of the text exports.
#include "export/FilterOptions.h"
#include "export/text/CSVExport.h"
#include "export/text/SimpleTextExport.h"
#include "export/text/TXTExport.h"
#include "export/text/TextEncoding.h"

namespace exports {

namespace {

// Single-byte text (code page 1251) typed as text.
struct Bytes {
    static constexpr FilterOptionKind Kind = FilterOptionKind::String;
    static QString Text(const QByteArray& v) { return DecodeText(v, false); }
    static bool Parse(const QString& text, QByteArray& v) {
        v = EncodeOption(text, false);
        return true;
    }
};

} // namespace

const FilterOptions& TrpTextFileExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpCustomExportFilter::Published());
        using F = TrpTextFileExport;
        t.Add<option::Bool>("OEMCodepage", &F::OEMCodepage, &F::SetOEMCodepage, false);
        return t;
    }();
    return rows;
}

const FilterOptions& TrpCSVExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpTextFileExport::Published());
        using F = TrpCSVExport;
        t.Add<option::String>("Separator", &F::Separator, &F::SetSeparator, QStringLiteral(";"));
        t.Add<option::Bool>("OpenAfterExport", &F::OpenAfterExport, &F::SetOpenAfterExport, false);
        t.Interactive({"OpenAfterExport"});
        return t;
    }();
    return rows;
}

const FilterOptions& TrpSimpleTextExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpTextFileExport::Published());
        using F = TrpSimpleTextExport;
        t.Add<option::Bool>("PageBreaks", &F::PageBreaks, &F::SetPageBreaks, true);
        t.Add<option::Bool>("Frames", &F::Frames, &F::SetFrames, false);
        t.Add<option::Bool>("EmptyLines", &F::EmptyLines, &F::SetEmptyLines, false);
        t.Add<option::Bool>("OpenAfterExport", &F::OpenAfterExport, &F::SetOpenAfterExport, false);
        t.Interactive({"OpenAfterExport"});
        return t;
    }();
    return rows;
}

const FilterOptions& TrpTXTExport::Published() {
    static const FilterOptions rows = [] {
        FilterOptions t(&TrpTextFileExport::Published());
        using F = TrpTXTExport;
        t.Add<option::Scale>("ScaleWidth", &F::ScaleWidth, &F::SetScaleWidth, 1);
        t.Add<option::Scale>("ScaleHeight", &F::ScaleHeight, &F::SetScaleHeight, 1);
        t.Add<option::Bool>("Borders", &F::Borders, &F::SetBorders, false);
        t.Add<option::Bool>("Pseudogrpahic", &F::Pseudogrpahic, &F::SetPseudogrpahic, false);
        t.Add<option::Bool>("PageBreaks", &F::PageBreaks, &F::SetPageBreaks, true);
        t.Add<option::Bool>("EmptyLines", &F::EmptyLines, &F::SetEmptyLines, false);
        t.Add<option::Bool>("LeadSpaces", &F::LeadSpaces, &F::SetLeadSpaces, false);
        t.Add<option::Bool>("PrintAfter", &F::PrintAfter, &F::SetPrintAfter, false);
        t.Add<option::Bool>("PrinterDialog", &F::PrinterDialog, &F::SetPrinterDialog, true);
        t.Add<option::Bool>("UseSavedProps", &F::UseSavedProps, &F::SetUseSavedProps, true);
        t.Add<Bytes>("CustomFrameSet", &F::CustomFrameSet, &F::SetCustomFrameSet, QByteArray());
        t.Interactive({"PrintAfter", "PrinterDialog"});
        return t;
    }();
    return rows;
}

} // namespace exports
