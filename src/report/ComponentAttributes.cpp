// Objects to attribute text and back: the descriptor tables of the report classes. A class's
// rows come from its property list in the header; here they get the rules of the two forms:
// which rows the full form writes besides those that differ from their defaults, and which
// rows a prepared page's difference form carries, in its order and under its names.
#include "report/Components.h"
#include "report/PropertyTable.h"

namespace report {

namespace {

using Rows = ClassProperties::Rows;

bool UsesOwnFont(const TrpComponent& c) {
    return !c.ParentFont();
}

} // namespace

// ---- component ----

const ClassProperties& TrpComponent::Properties() {
    static const ClassProperties table(nullptr, IsA<TrpComponent>, [](Rows& t) {
        using Self = TrpComponent;
        RP_DESCRIBE_ROWS(TRP_COMPONENT_PROPERTIES)
        t.WriteAlways({"Name", "Left", "Top", "Width", "Height", "Font"});
        t.WriteIf({"Font"}, UsesOwnFont);
        t.Diff({
            // An aligned view's left follows its parent.
            {"Left", "l",
             [](const TrpComponent& c, bool changed) {
                 auto* view = dynamic_cast<const TrpView*>(&c);
                 return changed && !(view && view->Align() != baNone);
             }},
            // A band's top tells where it was printed.
            {"Top", "t", [](const TrpComponent& c, bool changed) { return changed || c.IsBand(); }},
            // An auto-width memo's width follows its text.
            {"Width", "w",
             [](const TrpComponent& c, bool changed) {
                 auto* memo = dynamic_cast<const TrpCustomMemoView*>(&c);
                 return changed && !(memo && memo->AutoWidth());
             }},
            {"Height", "h"},
            {"Visible"},
            {"Font", nullptr, [](const TrpComponent& c, bool) { return UsesOwnFont(c); }},
            {"ParentFont"},
            {"Tag"},
        });
    });
    return table;
}

void TrpComponent::Assign(const TrpComponent& source) {
    Table().Assign(*this, source);
}

void TrpComponent::WriteFull(AttrWriter& w) const {
    Table().WriteFull(w, *this);
}

void TrpComponent::WriteDiff(AttrWriter& w, const TrpComponent& source) const {
    Table().WriteDiff(w, *this, source);
}

bool TrpComponent::SetAttribute(const QString& name, const QString& value) {
    return Table().SetAttribute(*this, name, value);
}

void TrpComponent::ApplyAttributes(const QString& text) {
    ForEachAttr(text, [this](const QString& name, const QString& value) { SetAttribute(name, value); });
}

const ClassProperties& TrpReportComponent::Properties() {
    static const ClassProperties table(&TrpComponent::Properties(), IsA<TrpReportComponent>, [](Rows& t) {
        using Self = TrpReportComponent;
        RP_DESCRIBE_ROWS(TRP_REPORT_COMPONENT_PROPERTIES)
    });
    return table;
}

// ---- views ----

const ClassProperties& TrpView::Properties() {
    static const ClassProperties table(&TrpReportComponent::Properties(), IsA<TrpView>, [](Rows& t) {
        using Self = TrpView;
        RP_DESCRIBE_ROWS(TRP_VIEW_PROPERTIES)
        t.Diff({{"BrushStyle"},
                {"Align"},
                {"Color"},
                {"Frame"},
                {"Cursor"},
                {"Printable"},
                {"TagStr"},
                {"URL"}});
    });
    return table;
}

const ClassProperties& TrpStretcheable::Properties() {
    static const ClassProperties table(&TrpView::Properties(), IsA<TrpStretcheable>, [](Rows& t) {
        using Self = TrpStretcheable;
        RP_DESCRIBE_ROWS(TRP_STRETCHEABLE_PROPERTIES)
    });
    return table;
}

const ClassProperties& TrpCustomMemoView::Properties() {
    static const ClassProperties table(&TrpStretcheable::Properties(), IsA<TrpCustomMemoView>, [](Rows& t) {
        using Self = TrpCustomMemoView;
        RP_DESCRIBE_ROWS(TRP_MEMO_PROPERTIES)
        // A highlight is stored with its condition.
        t.WriteAlways({"Highlight"});
        t.WriteIf({"Highlight"}, [](const TrpComponent& c) {
            return !static_cast<const TrpCustomMemoView&>(c).Highlight().Condition.trimmed().isEmpty();
        });
        t.Diff({
            {"AutoWidth"},
            {"CharSpacing"},
            {"GapX"},
            {"GapY"},
            {"HAlign"},
            {"Highlight"},
            {"LineSpacing"},
            // The text always, even when unchanged: it is what the page printed.
            {"Memo", "u", [](const TrpComponent&, bool) { return true; }},
            {"ParagraphGap"},
            {"Rotation"},
            {"RTLReading"},
            {"Underlines"},
            {"VAlign"},
            {"WordWrap"},
        });
    });
    return table;
}

const ClassProperties& TrpPictureView::Properties() {
    static const ClassProperties table(
        &TrpView::Properties(), IsA<TrpPictureView>,
        [](Rows& t) {
            using Self = TrpPictureView;
            RP_DESCRIBE_ROWS(TRP_PICTURE_PROPERTIES)
            // Only a picture loaded or assigned since the object was made.
            t.Diff({{"PictureData", "Picture.PropData", [](const TrpComponent& c, bool changed) {
                         return changed && static_cast<const TrpPictureView&>(c).PictureChanged();
                     }}});
        },
        ClassProperties::DiffPlace::BeforeBase);
    return table;
}

// ---- bands and pages ----

const ClassProperties& TrpBand::Properties() {
    static const ClassProperties table(&TrpReportComponent::Properties(), IsA<TrpBand>, [](Rows& t) {
        using Self = TrpBand;
        RP_DESCRIBE_ROWS(TRP_BAND_PROPERTIES)
    });
    return table;
}

const ClassProperties& TrpReportPage::Properties() {
    static const ClassProperties table(&TrpComponent::Properties(), IsA<TrpReportPage>, [](Rows& t) {
        using Self = TrpReportPage;
        RP_DESCRIBE_ROWS(TRP_PAGE_PROPERTIES)
        t.WriteAlways({"PaperWidth", "PaperHeight", "PaperSize", "LeftMargin", "RightMargin", "TopMargin",
                       "BottomMargin", "ColumnWidth", "ColumnPositions"});
        t.WriteIf({"ColumnWidth", "ColumnPositions"},
                  [](const TrpComponent& c) { return static_cast<const TrpReportPage&>(c).Columns() != 0; });
    });
    return table;
}

bool TrpReportPage::SetAttribute(const QString& name, const QString& value) {
    if (name == u"width" || name == u"height" || name == u"w" || name == u"h")
        return true;
    if (!TrpPage::SetAttribute(name, value))
        return false;
    UpdateSize();
    return true;
}

} // namespace report
