// Objects to attribute text and back: the full form (every stored property) and the
// difference form a prepared page keeps per printed object.
#include "report/Attributes.h"
#include "report/Components.h"
#include "report/Limits.h"

#include <QBuffer>
#include <array>

namespace report {

namespace {

template <size_t N> using Names = std::array<const char*, N>;
const Names<7> kAlign = {"baNone", "baLeft", "baRight", "baCenter", "baWidth", "baBottom", "baClient"};
const Names<4> kHAlign = {"haLeft", "haRight", "haCenter", "haBlock"};
const Names<3> kVAlign = {"vaTop", "vaBottom", "vaCenter"};
const Names<3> kShift = {"smDontShift", "smAlways", "smWhenOverlapped"};
const Names<3> kStretch = {"smDontStretch", "smActualHeight", "smMaxHeight"};
const Names<8> kBrush = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                         "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
const Names<6> kFrameStyle = {"fsSolid", "fsDash", "fsDot", "fsDashDot", "fsDashDotDot", "fsDouble"};
const Names<4> kFormatKind = {"fkText", "fkNumeric", "fkDateTime", "fkBoolean"};
const Names<2> kOrientation = {"poPortrait", "poLandscape"};

template <size_t N> QString EnumName(const Names<N>& names, int v) {
    return (v >= 0 && size_t(v) < N) ? QString::fromLatin1(names[size_t(v)]) : QString::number(v);
}

// An enumeration from a number or, failing that, from its name.
template <typename E, size_t N> bool ParseEnum(const Names<N>& names, const QString& text, E& out) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (ok) {
        if (n < 0 || size_t(n) >= N)
            return false;
        out = E(n);
        return true;
    }
    for (size_t i = 0; i < N; ++i)
        if (text.trimmed().compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0) {
            out = E(i);
            return true;
        }
    return false;
}

bool ParseBool(const QString& text, bool& out) {
    const QString t = text.trimmed();
    if (t == u"1" || t.compare(u"true", Qt::CaseInsensitive) == 0)
        out = true;
    else if (t == u"0" || t.compare(u"false", Qt::CaseInsensitive) == 0)
        out = false;
    else
        return false;
    return true;
}

bool ParseInt(const QString& text, int& out) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok)
        out = v;
    return ok;
}

bool ParseColor(const QString& text, TColor& out) {
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok);
    if (ok)
        out = TColor(v);
    return ok;
}

bool ParseFloat(const QString& text, Extended& out) {
    return AttrToFloat(text, out);
}

// A number a file may give any value; it is kept within the bound that drawing and layout
// can take (see Limits.h).
bool ParseBounded(const QString& text, Extended& out, Extended (*bound)(Extended)) {
    Extended v;
    if (!AttrToFloat(text, v))
        return false;
    out = bound(v);
    return true;
}

QString HexOf(const QByteArray& data) {
    return QString::fromLatin1(data.toHex().toUpper());
}

void WriteFont(AttrWriter& w, const TrpFont& f) {
    w.AddInt("Font.Charset", f.Charset);
    w.AddInt("Font.Color", f.Color);
    w.AddInt("Font.Height", f.Height());
    w.Add("Font.Name", f.Name);
    w.AddInt("Font.Style", f.Style);
}

bool SetFontAttr(TrpFont& f, const QString& key, const QString& v) {
    if (key == u"name")
        f.Name = v;
    else if (key == u"size") {
        if (!ParseInt(v, f.Size))
            return false;
        f.Size = limits::ClampFontSize(f.Size);
    } else if (key == u"height") {
        int h = 0;
        if (!ParseInt(v, h))
            return false;
        f.SetHeight(h);
        f.Size = limits::ClampFontSize(f.Size);
    } else if (key == u"color")
        return ParseColor(v, f.Color);
    else if (key == u"style")
        return ParseInt(v, f.Style);
    else if (key == u"charset")
        return ParseInt(v, f.Charset);
    else
        return false;
    return true;
}

void WriteFrame(AttrWriter& w, const TrpFrame& f) {
    const TrpFrame d;
    if (f.Color != d.Color)
        w.AddInt("Frame.Color", f.Color);
    if (f.DropShadow != d.DropShadow)
        w.AddBoolName("Frame.DropShadow", f.DropShadow);
    if (f.ShadowColor != d.ShadowColor)
        w.AddInt("Frame.ShadowColor", f.ShadowColor);
    if (f.ShadowWidth != d.ShadowWidth)
        w.AddFloat("Frame.ShadowWidth", f.ShadowWidth);
    if (f.Style != d.Style)
        w.AddRaw("Frame.Style", EnumName(kFrameStyle, f.Style));
    if (f.Typ != d.Typ)
        w.AddInt("Frame.Typ", f.Typ);
    if (f.Width != d.Width)
        w.AddFloat("Frame.Width", f.Width);
}

bool SetFrameAttr(TrpFrame& f, const QString& key, const QString& v) {
    if (key == u"color")
        return ParseColor(v, f.Color);
    if (key == u"dropshadow")
        return ParseBool(v, f.DropShadow);
    if (key == u"shadowcolor")
        return ParseColor(v, f.ShadowColor);
    if (key == u"shadowwidth")
        return ParseBounded(v, f.ShadowWidth, limits::ClampFrameWidth);
    if (key == u"style")
        return ParseEnum(kFrameStyle, v, f.Style);
    if (key == u"typ")
        return ParseInt(v, f.Typ);
    if (key == u"width")
        return ParseBounded(v, f.Width, limits::ClampFrameWidth);
    return false;
}

Extended ClampMargin(Extended mm) {
    return limits::Clamp(mm, limits::MaxPaperMm);
}

// Splits "font.name" into "font" and "name".
bool SplitDotted(const QString& name, const QString& prefix, QString& rest) {
    if (!name.startsWith(prefix) || name.size() <= prefix.size() || name[prefix.size()] != '.')
        return false;
    rest = name.mid(prefix.size() + 1);
    return true;
}

} // namespace

// ---- component ----

void TrpComponent::WriteFull(AttrWriter& w) const {
    w.Add("Name", FName);
    if (FTag != 0)
        w.AddInt("Tag", FTag);
    w.AddFloat("Left", FLeft);
    w.AddFloat("Top", FTop);
    w.AddFloat("Width", FWidth);
    w.AddFloat("Height", FHeight);
    if (!FParentFont)
        WriteFont(w, FFont);
    if (!FParentFont)
        w.AddBoolName("ParentFont", false);
    if (!FVisible)
        w.AddBoolName("Visible", false);
}

void TrpComponent::WriteDiff(AttrWriter& w, const TrpComponent& s) const {
    const auto* view = dynamic_cast<const TrpView*>(this);
    const auto* memo = dynamic_cast<const TrpCustomMemoView*>(this);
    if (FLeft != s.FLeft && !(view && view->Align() != baNone))
        w.AddFloat("l", FLeft);
    if (FTop != s.FTop || IsBand())
        w.AddFloat("t", FTop);
    if (FWidth != s.FWidth && !(memo && memo->AutoWidth()))
        w.AddFloat("w", FWidth);
    if (FHeight != s.FHeight)
        w.AddFloat("h", FHeight);
    if (FVisible != s.FVisible)
        w.AddBoolBit("Visible", FVisible);
    if (!FParentFont) {
        const TrpFont& a = FFont;
        const TrpFont& b = s.FFont;
        if (a.Name != b.Name)
            w.Add("Font.Name", a.Name);
        if (a.Size != b.Size)
            w.AddInt("Font.Size", a.Size);
        if (a.Color != b.Color)
            w.AddInt("Font.Color", a.Color);
        if (a.Style != b.Style)
            w.AddInt("Font.Style", a.Style);
        if (a.Charset != b.Charset)
            w.AddInt("Font.Charset", a.Charset);
    }
    if (FParentFont != s.FParentFont)
        w.AddBoolBit("ParentFont", FParentFont);
    if (FTag != s.FTag)
        w.AddInt("Tag", FTag);
}

bool TrpComponent::SetAttribute(const QString& name, const QString& v) {
    QString rest;
    if (name == u"name")
        FName = v;
    else if (name == u"tag")
        return ParseInt(v, FTag);
    else if (name == u"l" || name == u"left")
        return ParseBounded(v, FLeft, limits::ClampCoordinate);
    else if (name == u"t" || name == u"top")
        return ParseBounded(v, FTop, limits::ClampCoordinate);
    else if (name == u"w" || name == u"width") {
        Extended x;
        if (!ParseBounded(v, x, limits::ClampCoordinate))
            return false;
        SetWidth(x);
    } else if (name == u"h" || name == u"height") {
        Extended x;
        if (!ParseBounded(v, x, limits::ClampCoordinate))
            return false;
        SetHeight(x);
    } else if (name == u"visible")
        return ParseBool(v, FVisible);
    else if (name == u"parentfont")
        return ParseBool(v, FParentFont);
    else if (SplitDotted(name, "font", rest)) {
        if (FParentFont && FParent)
            FFont = FParent->Font();
        FParentFont = false;
        return SetFontAttr(FFont, rest, v);
    } else
        return false;
    return true;
}

void TrpComponent::ApplyAttributes(const QString& text) {
    ForEachAttr(text, [this](const QString& name, const QString& value) { SetAttribute(name, value); });
}

// ---- view ----

void TrpView::WriteFull(AttrWriter& w) const {
    TrpReportComponent::WriteFull(w);
    if (!Description().isEmpty())
        w.Add("Description", Description());
    if (FAlign != baNone)
        w.AddRaw("Align", EnumName(kAlign, FAlign));
    if (!FPrintable)
        w.AddBoolName("Printable", false);
    if (FShiftMode != smAlways)
        w.AddRaw("ShiftMode", EnumName(kShift, FShiftMode));
    if (FGroupIndex != 0)
        w.AddInt("GroupIndex", FGroupIndex);
    if (FRestrictions != 0)
        w.AddInt("Restrictions", FRestrictions);
    WriteFrame(w, FFrame);
    if (FColor != clNone)
        w.AddInt("Color", FColor);
    if (FBrushStyle != bsSolid)
        w.AddRaw("BrushStyle", EnumName(kBrush, FBrushStyle));
    if (FCursor != 0)
        w.AddInt("Cursor", FCursor);
    const std::pair<const char*, const QString*> strings[] = {{"TagStr", &FTagStr},
                                                              {"URL", &FURL},
                                                              {"DataSetName", &FDataSetName},
                                                              {"DataField", &FDataField},
                                                              {"OnBeforePrint", &FOnBeforePrint},
                                                              {"OnAfterData", &FOnAfterData},
                                                              {"OnAfterPrint", &FOnAfterPrint},
                                                              {"OnPreviewClick", &FOnPreviewClick}};
    for (const auto& [n, s] : strings)
        if (!s->isEmpty())
            w.Add(n, *s);
}

void TrpView::WriteDiff(AttrWriter& w, const TrpComponent& source) const {
    TrpReportComponent::WriteDiff(w, source);
    const auto* s = dynamic_cast<const TrpView*>(&source);
    if (!s)
        return;
    if (FBrushStyle != s->FBrushStyle)
        w.AddInt("BrushStyle", FBrushStyle);
    if (FAlign != s->FAlign)
        w.AddInt("Align", FAlign);
    if (FColor != s->FColor)
        w.AddInt("Color", FColor);
    const TrpFrame& a = FFrame;
    const TrpFrame& b = s->FFrame;
    if (a.Color != b.Color)
        w.AddInt("Frame.Color", a.Color);
    if (a.DropShadow != b.DropShadow)
        w.AddBoolBit("Frame.DropShadow", a.DropShadow);
    if (a.ShadowColor != b.ShadowColor)
        w.AddInt("Frame.ShadowColor", a.ShadowColor);
    if (a.ShadowWidth != b.ShadowWidth)
        w.AddFloat("Frame.ShadowWidth", a.ShadowWidth);
    if (a.Style != b.Style)
        w.AddInt("Frame.Style", a.Style);
    if (a.Typ != b.Typ)
        w.AddInt("Frame.Typ", a.Typ);
    if (a.Width != b.Width)
        w.AddFloat("Frame.Width", a.Width);
    if (FCursor != s->FCursor)
        w.AddInt("Cursor", FCursor);
    if (FPrintable != s->FPrintable)
        w.AddBoolBit("Printable", FPrintable);
    if (FTagStr != s->FTagStr)
        w.Add("TagStr", FTagStr);
    if (FURL != s->FURL)
        w.Add("URL", FURL);
}

bool TrpView::SetAttribute(const QString& name, const QString& v) {
    QString rest;
    if (TrpReportComponent::SetAttribute(name, v))
        return true;
    if (name == u"description")
        SetDescription(v);
    else if (name == u"align")
        return ParseEnum(kAlign, v, FAlign);
    else if (name == u"printable")
        return ParseBool(v, FPrintable);
    else if (name == u"shiftmode")
        return ParseEnum(kShift, v, FShiftMode);
    else if (name == u"groupindex")
        return ParseInt(v, FGroupIndex);
    else if (name == u"restrictions")
        return ParseInt(v, FRestrictions);
    else if (SplitDotted(name, "frame", rest))
        return SetFrameAttr(FFrame, rest, v);
    else if (name == u"color")
        return ParseColor(v, FColor);
    else if (name == u"brushstyle")
        return ParseEnum(kBrush, v, FBrushStyle);
    else if (name == u"cursor")
        return ParseInt(v, FCursor);
    else if (name == u"tagstr")
        FTagStr = v;
    else if (name == u"url")
        FURL = v;
    else if (name == u"datasetname")
        FDataSetName = v;
    else if (name == u"datafield")
        FDataField = v;
    else if (name == u"onbeforeprint")
        FOnBeforePrint = v;
    else if (name == u"onafterdata")
        FOnAfterData = v;
    else if (name == u"onafterprint")
        FOnAfterPrint = v;
    else if (name == u"onpreviewclick")
        FOnPreviewClick = v;
    else
        return false;
    return true;
}

void TrpStretcheable::WriteFull(AttrWriter& w) const {
    TrpView::WriteFull(w);
    if (FStretchMode != smDontStretch)
        w.AddRaw("StretchMode", EnumName(kStretch, FStretchMode));
}

bool TrpStretcheable::SetAttribute(const QString& name, const QString& v) {
    if (TrpView::SetAttribute(name, v))
        return true;
    if (name == u"stretchmode")
        return ParseEnum(kStretch, v, FStretchMode);
    return false;
}

// ---- memo ----

void TrpCustomMemoView::WriteFull(AttrWriter& w) const {
    TrpStretcheable::WriteFull(w);
    const std::pair<const char*, bool> flags[] = {{"AllowExpressions", FAllowExpressions},
                                                  {"AllowHTMLTags", FAllowHTMLTags},
                                                  {"AutoWidth", FAutoWidth},
                                                  {"Clipped", FClipped},
                                                  {"HideZeros", FHideZeros},
                                                  {"RTLReading", FRTLReading},
                                                  {"SuppressRepeated", FSuppressRepeated},
                                                  {"Underlines", FUnderlines},
                                                  {"WordBreak", FWordBreak},
                                                  {"WordWrap", FWordWrap}};
    const bool defaults[] = {true, false, false, true, false, false, false, false, false, true};
    for (size_t i = 0; i < std::size(flags); ++i)
        if (flags[i].second != defaults[i])
            w.AddBoolName(flags[i].first, flags[i].second);
    if (FCharSpacing != 0)
        w.AddFloat("CharSpacing", FCharSpacing);
    if (FExpressionDelimiters != u"[,]")
        w.Add("ExpressionDelimiters", FExpressionDelimiters);
    if (FDisplayFormat.Kind != fkText)
        w.AddRaw("DisplayFormat.Kind", EnumName(kFormatKind, FDisplayFormat.Kind));
    if (!FDisplayFormat.FormatStr.isEmpty())
        w.Add("DisplayFormat.FormatStr", FDisplayFormat.FormatStr);
    if (!FDisplayFormat.DecimalSeparator.isEmpty())
        w.Add("DisplayFormat.DecimalSeparator", FDisplayFormat.DecimalSeparator);
    if (!FFlowTo.isEmpty())
        w.Add("FlowTo", FFlowTo);
    if (FGapX != 2)
        w.AddFloat("GapX", FGapX);
    if (FGapY != 1)
        w.AddFloat("GapY", FGapY);
    if (FHAlign != haLeft)
        w.AddRaw("HAlign", EnumName(kHAlign, FHAlign));
    if (!FHighlight.Condition.trimmed().isEmpty()) {
        w.Add("Highlight.Condition", FHighlight.Condition);
        w.AddInt("Highlight.Color", FHighlight.Color);
        w.AddInt("Highlight.Font.Color", FHighlight.Font.Color);
        w.AddInt("Highlight.Font.Style", FHighlight.Font.Style);
    }
    if (FLineSpacing != 2)
        w.AddFloat("LineSpacing", FLineSpacing);
    if (FParagraphGap != 0)
        w.AddFloat("ParagraphGap", FParagraphGap);
    if (FRotation != 0)
        w.AddInt("Rotation", FRotation);
    if (!FStyle.isEmpty())
        w.Add("Style", FStyle);
    if (FVAlign != vaTop)
        w.AddRaw("VAlign", EnumName(kVAlign, FVAlign));
    if (!FMemo.isEmpty())
        w.Add("Text", Text());
}

void TrpCustomMemoView::WriteDiff(AttrWriter& w, const TrpComponent& source) const {
    TrpStretcheable::WriteDiff(w, source);
    const auto* s = dynamic_cast<const TrpCustomMemoView*>(&source);
    if (!s)
        return;
    if (FAutoWidth != s->FAutoWidth)
        w.AddBoolBit("AutoWidth", FAutoWidth);
    if (FCharSpacing != s->FCharSpacing)
        w.AddFloat("CharSpacing", FCharSpacing);
    if (FGapX != s->FGapX)
        w.AddFloat("GapX", FGapX);
    if (FGapY != s->FGapY)
        w.AddFloat("GapY", FGapY);
    if (FHAlign != s->FHAlign)
        w.AddInt("HAlign", FHAlign);
    if (FHighlight.Active != s->FHighlight.Active)
        w.AddBoolBit("Highlight.Active", FHighlight.Active);
    if (FLineSpacing != s->FLineSpacing)
        w.AddFloat("LineSpacing", FLineSpacing);
    w.Add("u", Text());
    if (FParagraphGap != s->FParagraphGap)
        w.AddFloat("ParagraphGap", FParagraphGap);
    if (FRotation != s->FRotation)
        w.AddInt("Rotation", FRotation);
    if (FRTLReading != s->FRTLReading)
        w.AddBoolBit("RTLReading", FRTLReading);
    if (FUnderlines != s->FUnderlines)
        w.AddBoolBit("Underlines", FUnderlines);
    if (FVAlign != s->FVAlign)
        w.AddInt("VAlign", FVAlign);
    if (FWordWrap != s->FWordWrap)
        w.AddBoolBit("WordWrap", FWordWrap);
}

bool TrpCustomMemoView::SetAttribute(const QString& name, const QString& v) {
    if (TrpStretcheable::SetAttribute(name, v))
        return true;
    QString rest;
    struct Flag {
        const char16_t* Name;
        bool* Field;
    };
    const Flag flags[] = {{u"allowexpressions", &FAllowExpressions},
                          {u"allowhtmltags", &FAllowHTMLTags},
                          {u"autowidth", &FAutoWidth},
                          {u"clipped", &FClipped},
                          {u"hidezeros", &FHideZeros},
                          {u"rtlreading", &FRTLReading},
                          {u"suppressrepeated", &FSuppressRepeated},
                          {u"underlines", &FUnderlines},
                          {u"wordbreak", &FWordBreak},
                          {u"wordwrap", &FWordWrap}};
    for (const Flag& f : flags)
        if (name == f.Name)
            return ParseBool(v, *f.Field);
    // "x" is the single-byte form of the text; our documents are Unicode throughout.
    if (name == u"u" || name == u"text" || name == u"x")
        SetText(v);
    else if (name == u"charspacing")
        return ParseBounded(v, FCharSpacing, limits::ClampSpacing);
    else if (name == u"expressiondelimiters")
        FExpressionDelimiters = v;
    else if (SplitDotted(name, "displayformat", rest)) {
        if (rest == u"kind")
            return ParseEnum(kFormatKind, v, FDisplayFormat.Kind);
        if (rest == u"formatstr")
            FDisplayFormat.FormatStr = v;
        else if (rest == u"decimalseparator")
            FDisplayFormat.DecimalSeparator = v;
        else
            return false;
    } else if (name == u"flowto")
        FFlowTo = v;
    else if (name == u"gapx")
        return ParseBounded(v, FGapX, limits::ClampSpacing);
    else if (name == u"gapy")
        return ParseBounded(v, FGapY, limits::ClampSpacing);
    else if (name == u"halign")
        return ParseEnum(kHAlign, v, FHAlign);
    else if (name == u"valign")
        return ParseEnum(kVAlign, v, FVAlign);
    else if (SplitDotted(name, "highlight", rest)) {
        QString fontKey;
        if (rest == u"active")
            return ParseBool(v, FHighlight.Active);
        if (rest == u"condition")
            FHighlight.Condition = v;
        else if (rest == u"color")
            return ParseColor(v, FHighlight.Color);
        else if (SplitDotted(rest, "font", fontKey))
            return SetFontAttr(FHighlight.Font, fontKey, v);
        else
            return false;
    } else if (name == u"linespacing")
        return ParseBounded(v, FLineSpacing, limits::ClampSpacing);
    else if (name == u"paragraphgap")
        return ParseBounded(v, FParagraphGap, limits::ClampSpacing);
    else if (name == u"rotation") {
        int r = 0;
        if (!ParseInt(v, r))
            return false;
        SetRotation(r);
    } else if (name == u"style")
        FStyle = v;
    else
        return false;
    return true;
}

// ---- picture ----

void TrpPictureView::WriteFull(AttrWriter& w) const {
    TrpView::WriteFull(w);
    if (FAutoSize)
        w.AddBoolName("AutoSize", true);
    if (FCenter)
        w.AddBoolName("Center", true);
    if (!FKeepAspectRatio)
        w.AddBoolName("KeepAspectRatio", false);
    if (!FStretched)
        w.AddBoolName("Stretched", false);
    if (!FPictureData.isEmpty())
        w.AddRaw("PropData", HexOf(FPictureData));
}

void TrpPictureView::WriteDiff(AttrWriter& w, const TrpComponent& source) const {
    const auto* s = dynamic_cast<const TrpPictureView*>(&source);
    if (FPictureChanged && s && FPictureData != s->FPictureData)
        w.AddRaw("Picture.PropData", HexOf(FPictureData));
    TrpView::WriteDiff(w, source);
}

bool TrpPictureView::SetAttribute(const QString& name, const QString& v) {
    if (TrpView::SetAttribute(name, v))
        return true;
    if (name == u"autosize")
        return ParseBool(v, FAutoSize);
    if (name == u"center")
        return ParseBool(v, FCenter);
    if (name == u"keepaspectratio")
        return ParseBool(v, FKeepAspectRatio);
    if (name == u"stretched")
        return ParseBool(v, FStretched);
    if (name == u"propdata" || name == u"picture.propdata")
        return LoadPicture(QByteArray::fromHex(v.toLatin1()));
    return false;
}

// ---- band ----

void TrpBand::WriteFull(AttrWriter& w) const {
    TrpReportComponent::WriteFull(w);
    if (FStretched)
        w.AddBoolName("Stretched", true);
    if (!FOnBeforePrint.isEmpty())
        w.Add("OnBeforePrint", FOnBeforePrint);
    if (!FOnAfterPrint.isEmpty())
        w.Add("OnAfterPrint", FOnAfterPrint);
    if (!FOnAfterCalcHeight.isEmpty())
        w.Add("OnAfterCalcHeight", FOnAfterCalcHeight);
}

void TrpBand::WriteDiff(AttrWriter& w, const TrpComponent& source) const {
    TrpReportComponent::WriteDiff(w, source);
}

bool TrpBand::SetAttribute(const QString& name, const QString& v) {
    if (TrpReportComponent::SetAttribute(name, v))
        return true;
    if (name == u"stretched")
        return ParseBool(v, FStretched);
    if (name == u"onbeforeprint")
        FOnBeforePrint = v;
    else if (name == u"onafterprint")
        FOnAfterPrint = v;
    else if (name == u"onaftercalcheight")
        FOnAfterCalcHeight = v;
    else
        return false;
    return true;
}

// ---- page ----

void TrpReportPage::WriteFull(AttrWriter& w) const {
    TrpPage::WriteFull(w);
    w.AddFloat("PaperWidth", FPaperWidth);
    w.AddFloat("PaperHeight", FPaperHeight);
    w.AddInt("PaperSize", FPaperSize);
    if (FOrientation != poPortrait)
        w.AddRaw("Orientation", EnumName(kOrientation, FOrientation));
    w.AddFloat("LeftMargin", FLeftMargin);
    w.AddFloat("RightMargin", FRightMargin);
    w.AddFloat("TopMargin", FTopMargin);
    w.AddFloat("BottomMargin", FBottomMargin);
    if (FMirrorMargins)
        w.AddBoolName("MirrorMargins", true);
    if (FColumns != 0) {
        w.AddInt("Columns", FColumns);
        w.AddFloat("ColumnWidth", FColumnWidth);
        w.Add("ColumnPositions.Text", FColumnPositions.join(QStringLiteral("\r\n")));
    }
    if (FBin != 7)
        w.AddInt("Bin", FBin);
    if (FBinOtherPages != 7)
        w.AddInt("BinOtherPages", FBinOtherPages);
    if (FColor != clNone)
        w.AddInt("Color", FColor);
    WriteFrame(w, FFrame);
    if (!FDataSetName.isEmpty())
        w.Add("DataSetName", FDataSetName);
    if (!FPrintIfEmpty)
        w.AddBoolName("PrintIfEmpty", false);
    if (FPrintOnPreviousPage)
        w.AddBoolName("PrintOnPreviousPage", true);
    if (!FTitleBeforeHeader)
        w.AddBoolName("TitleBeforeHeader", false);
    for (const auto& [n, s] : {std::pair<const char*, const QString*>{"OnBeforePrint", &FOnBeforePrint},
                               {"OnAfterPrint", &FOnAfterPrint},
                               {"OnManualBuild", &FOnManualBuild}})
        if (!s->isEmpty())
            w.Add(n, *s);
}

bool TrpReportPage::SetAttribute(const QString& name, const QString& v) {
    Extended x = 0;
    QString rest;
    if (name == u"width" || name == u"height" || name == u"w" || name == u"h")
        return true; // follows the paper size
    if (TrpPage::SetAttribute(name, v))
        return true;
    if (name == u"paperwidth" || name == u"paperheight") {
        if (!ParseFloat(v, x))
            return false;
        const int code = FPaperSize;
        if (name == u"paperwidth")
            SetPaperWidth(x);
        else
            SetPaperHeight(x);
        FPaperSize = code; // the stored code follows; loading keeps it
    } else if (name == u"papersize") {
        int code = 0;
        if (!ParseInt(v, code))
            return false;
        FPaperSize = code;
    } else if (name == u"orientation")
        return ParseEnum(kOrientation, v, FOrientation);
    else if (name == u"leftmargin")
        return ParseBounded(v, FLeftMargin, ClampMargin);
    else if (name == u"rightmargin")
        return ParseBounded(v, FRightMargin, ClampMargin);
    else if (name == u"topmargin")
        return ParseBounded(v, FTopMargin, ClampMargin);
    else if (name == u"bottommargin")
        return ParseBounded(v, FBottomMargin, ClampMargin);
    else if (name == u"mirrormargins")
        return ParseBool(v, FMirrorMargins);
    else if (name == u"columns")
        return ParseInt(v, FColumns);
    else if (name == u"columnwidth")
        return ParseBounded(v, FColumnWidth, ClampMargin);
    else if (name == u"columnpositions.text")
        FColumnPositions = v.isEmpty() ? QStringList() : v.split(QStringLiteral("\r\n"));
    else if (name == u"bin")
        return ParseInt(v, FBin);
    else if (name == u"binotherpages")
        return ParseInt(v, FBinOtherPages);
    else if (name == u"color")
        return ParseColor(v, FColor);
    else if (SplitDotted(name, "frame", rest))
        return SetFrameAttr(FFrame, rest, v);
    else if (name == u"datasetname")
        FDataSetName = v;
    else if (name == u"printifempty")
        return ParseBool(v, FPrintIfEmpty);
    else if (name == u"printonpreviouspage")
        return ParseBool(v, FPrintOnPreviousPage);
    else if (name == u"titlebeforeheader")
        return ParseBool(v, FTitleBeforeHeader);
    else if (name == u"onbeforeprint")
        FOnBeforePrint = v;
    else if (name == u"onafterprint")
        FOnAfterPrint = v;
    else if (name == u"onmanualbuild")
        FOnManualBuild = v;
    else
        return false;
    return true;
}

} // namespace report
