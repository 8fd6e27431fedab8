#include "report/PropertyTable.h"

#include "report/Components.h"
#include "report/Limits.h"

namespace report {

// ---- classes ----

ClassProperties::ClassProperties(const ClassProperties* base, bool (*isA)(const TrpComponent&),
                                 const std::function<void(Rows&)>& describe, DiffPlace place)
    : FBase(base), FIsA(isA), FDiffPlace(place) {
    describe(FRows);
}

void ClassProperties::Assign(TrpComponent& to, const TrpComponent& from) const {
    if (FBase)
        FBase->Assign(to, from);
    if (FIsA(from))
        FRows.Copy(to, from);
}

void ClassProperties::WriteFull(AttrWriter& w, const TrpComponent& o) const {
    if (FBase)
        FBase->WriteFull(w, o);
    FRows.WriteFull(w, {}, o);
}

void ClassProperties::WriteDiff(AttrWriter& w, const TrpComponent& o, const TrpComponent& source) const {
    const bool own = FIsA(source);
    if (own && FDiffPlace == DiffPlace::BeforeBase)
        FRows.WriteDiff(w, {}, o, source);
    if (FBase)
        FBase->WriteDiff(w, o, source);
    if (own && FDiffPlace == DiffPlace::AfterBase)
        FRows.WriteDiff(w, {}, o, source);
}

bool ClassProperties::SetAttribute(TrpComponent& o, const QString& key, const QString& value) const {
    if (FBase && FBase->SetAttribute(o, key, value))
        return true;
    return FRows.Read(o, key, value).value_or(false);
}

std::vector<PropertyInfo> ClassProperties::List() const {
    std::vector<PropertyInfo> out = FBase ? FBase->List() : std::vector<PropertyInfo>{};
    FRows.List(out, {}, true, true);
    return out;
}

QStringList ClassProperties::Differences(const TrpComponent& a, const TrpComponent& b) const {
    QStringList out = FBase ? FBase->Differences(a, b) : QStringList{};
    FRows.Differences(a, b, out);
    return out;
}

// ---- value codecs ----

namespace codec {

QString EnumName(std::span<const char* const> names, int v) {
    return (v >= 0 && size_t(v) < names.size()) ? QString::fromLatin1(names[size_t(v)]) : QString::number(v);
}

bool ParseEnum(std::span<const char* const> names, const QString& text, int& v) {
    const QString t = text.trimmed();
    bool ok = false;
    const int n = t.toInt(&ok);
    if (ok) {
        if (n < 0 || size_t(n) >= names.size())
            return false;
        v = n;
        return true;
    }
    for (size_t i = 0; i < names.size(); ++i)
        if (t.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0) {
            v = int(i);
            return true;
        }
    return false;
}

bool Int::Parse(const QString& text, int& v) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (ok)
        v = n;
    return ok;
}

bool FontSize::Parse(const QString& text, int& v) {
    if (!Int::Parse(text, v))
        return false;
    v = limits::ClampFontSize(v);
    return true;
}

QString FontHeight::Full(int size) {
    TrpFont f;
    f.Size = size;
    return QString::number(f.Height());
}

bool FontHeight::Parse(const QString& text, int& size) {
    int height = 0;
    if (!Int::Parse(text, height))
        return false;
    TrpFont f;
    f.SetHeight(height);
    size = limits::ClampFontSize(f.Size);
    return true;
}

bool Degrees::Parse(const QString& text, int& v) {
    int d = 0;
    if (!Int::Parse(text, d))
        return false;
    v = NormalDegrees(d);
    return true;
}

bool Color::Parse(const QString& text, TColor& v) {
    bool ok = false;
    const long long n = text.trimmed().toLongLong(&ok);
    if (ok)
        v = TColor(n);
    return ok;
}

bool Bool::Parse(const QString& text, bool& v) {
    const QString t = text.trimmed();
    if (t == u"1" || t.compare(u"true", Qt::CaseInsensitive) == 0)
        v = true;
    else if (t == u"0" || t.compare(u"false", Qt::CaseInsensitive) == 0)
        v = false;
    else
        return false;
    return true;
}

Extended ClampMargin(Extended mm) {
    return limits::Clamp(mm, limits::MaxPaperMm);
}

bool MemoText::Parse(const QString& text, QStringList& v) {
    if (text.isEmpty()) {
        v.clear();
        return true;
    }
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    v = t.split(QLatin1Char('\n'));
    return true;
}

bool StringList::Parse(const QString& text, QStringList& v) {
    v = text.isEmpty() ? QStringList() : text.split(QStringLiteral("\r\n"));
    return true;
}

bool PropData::Load(TrpPictureView& picture, const QString& text) {
    return picture.LoadPicture(QByteArray::fromHex(text.toLatin1()));
}

// ---- nested values ----

namespace {

// Every part of a font is read; the full form writes the parts Written names.
PropertyTable<TrpFont> FontTable(std::initializer_list<const char*> written) {
    PropertyTable<TrpFont> t;
    t.Add<Int>("Charset", &TrpFont::Charset);
    t.Add<Color>("Color", &TrpFont::Color);
    t.Add<FontHeight>("Height", &TrpFont::Size);
    t.Add<String>("Name", &TrpFont::Name);
    t.Add<FontSize>("Size", &TrpFont::Size);
    t.Add<Int>("Style", &TrpFont::Style);
    t.WriteNever({"Charset", "Color", "Height", "Name", "Size", "Style"});
    for (const char* n : written)
        t.Find(n).Full = FullForm::Always;
    t.Diff({{"Name"}, {"Size"}, {"Color"}, {"Style"}, {"Charset"}});
    return t;
}

// A highlight's font replaces only the colour and style of the memo's own.
struct HighlightFont {
    static const PropertyTable<TrpFont>& Table() {
        static const PropertyTable<TrpFont> t = FontTable({"Color", "Style"});
        return t;
    }
};

inline constexpr const char* kFrameStyleNames[] = {"fsSolid",   "fsDash",       "fsDot",
                                                   "fsDashDot", "fsDashDotDot", "fsDouble"};
inline constexpr const char* kFormatKindNames[] = {"fkText", "fkNumeric", "fkDateTime", "fkBoolean"};

} // namespace

const PropertyTable<TrpFont>& Font::Table() {
    static const PropertyTable<TrpFont> t = FontTable({"Charset", "Color", "Height", "Name", "Style"});
    return t;
}

void Font::BeforeRead(TrpComponent& c) {
    if (c.ParentFont() && c.Parent())
        c.OwnFont() = c.Parent()->Font();
    c.SetParentFont(false);
}

const PropertyTable<TrpFrame>& Frame::Table() {
    static const PropertyTable<TrpFrame> t = [] {
        PropertyTable<TrpFrame> t;
        t.Add<Color>("Color", &TrpFrame::Color);
        t.Add<Bool>("DropShadow", &TrpFrame::DropShadow);
        t.Add<Color>("ShadowColor", &TrpFrame::ShadowColor);
        t.Add<FrameWidth>("ShadowWidth", &TrpFrame::ShadowWidth);
        t.Add<Enum<TrpFrameStyle, kFrameStyleNames>>("Style", &TrpFrame::Style);
        t.Add<Int>("Typ", &TrpFrame::Typ);
        t.Add<FrameWidth>("Width", &TrpFrame::Width);
        t.Diff({{"Color"}, {"DropShadow"}, {"ShadowColor"}, {"ShadowWidth"}, {"Style"}, {"Typ"}, {"Width"}});
        return t;
    }();
    return t;
}

const PropertyTable<TrpFormat>& Format::Table() {
    static const PropertyTable<TrpFormat> t = [] {
        PropertyTable<TrpFormat> t;
        t.Add<Enum<TrpFormatKind, kFormatKindNames>>("Kind", &TrpFormat::Kind);
        t.Add<String>("FormatStr", &TrpFormat::FormatStr);
        t.Add<String>("DecimalSeparator", &TrpFormat::DecimalSeparator);
        return t;
    }();
    return t;
}

const PropertyTable<TrpHighlight>& Highlight::Table() {
    static const PropertyTable<TrpHighlight> t = [] {
        PropertyTable<TrpHighlight> t;
        t.Add<Bool>("Active", &TrpHighlight::Active);
        t.Add<String>("Condition", &TrpHighlight::Condition);
        t.Add<Color>("Color", &TrpHighlight::Color);
        t.Add<HighlightFont>("Font", &TrpHighlight::Font);
        // Whether it is active follows from the condition while filling; the memo's
        // difference form keeps it for the prepared page.
        t.WriteNever({"Active"});
        t.WriteAlways({"Condition", "Color", "Font"});
        t.Diff({{"Active"}});
        return t;
    }();
    return t;
}

} // namespace codec

} // namespace report
