#pragma once
// Descriptor tables of the stored properties of report objects and of the values nested in them
// (font, frame, display format, highlight). A row names a property, the member it lives in, its
// default and the codec that turns it into attribute text and back; the table adds the rules of
// the two written forms: when the full form writes a row, and which rows the difference form
// carries, in its own order and under its own names. Copying, both forms and reading walk the
// rows, so a property cannot be handled by one of them and forgotten by another.

#include "report/Attributes.h"
#include "report/Limits.h"
#include "report/ReportTypes.h"

#include <QStringList>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

namespace report {

class TrpComponent;
class TrpPictureView;

// The kind of a stored value, for tools that walk the tables.
enum class PropertyKind { Int, Float, Bool, Color, Enum, String, Lines, Binary };

// One stored value as a tool walking the tables sees it; nested values are listed leaf by leaf.
struct PropertyInfo {
    QString Path; // the full form's attribute name, e.g. "Frame.Width"
    PropertyKind Kind;
    QStringList EnumNames; // an enumeration's names in value order
    bool InFullForm;       // false for state the full form never writes
    bool InDiffForm;       // the difference form carries it
};

// When the full form writes a row: when it differs from its default, always, or never (state
// that only the difference form carries).
enum class FullForm { NonDefault, Always, Never };

// One row: a stored value of an Owner (a report class, or a value nested in one).
template <class Owner> class Property {
public:
    Property(QString name, QString attrName)
        : FName(std::move(name)), FAttrName(std::move(attrName)), FReadNames{FAttrName.toLower()} {}
    virtual ~Property() = default;

    // The property's name (the tables' rules refer to it) and its attribute in the full form.
    const QString& Name() const { return FName; }
    const QString& AttrName() const { return FAttrName; }
    void AddReadName(const QString& name) { FReadNames << name.toLower(); }

    FullForm Full = FullForm::NonDefault;
    // A condition on the owner for the full form to write the row at all.
    bool (*FullIf)(const Owner&) = nullptr;

    virtual void Copy(Owner& to, const Owner& from) const = 0;
    virtual bool Equal(const Owner& a, const Owner& b) const = 0;
    virtual bool IsDefault(const Owner& o) const = 0;
    // name: the attribute name including the owner's prefix.
    virtual void WriteFull(AttrWriter& w, const QString& name, const Owner& o) const = 0;
    virtual void WriteDiff(AttrWriter& w, const QString& name, const Owner& o, const Owner& source) const = 0;
    // key: a lower-case attribute name below the owner. Nothing when the key is not this row's,
    // else whether the value was taken.
    virtual std::optional<bool> Read(Owner& o, QStringView key, const QString& value) const = 0;
    virtual void List(std::vector<PropertyInfo>& out, const QString& prefix, bool full, bool diff) const = 0;

protected:
    bool Reads(QStringView key) const { return FReadNames.contains(key); }

    QString FName, FAttrName;
    QStringList FReadNames;
};

// The rows of an Owner with the rules of the two forms.
template <class Owner> class PropertyTable {
public:
    // Whether the difference form writes a row, given whether it differs from the source.
    using DiffRule = bool (*)(const Owner& o, bool changed);
    struct DiffSpec {
        const char* Property;
        const char* Name = nullptr; // the attribute's name when not the full form's
        DiffRule When = nullptr;    // nullptr: when it differs
    };

    // A row for a member; the default is the member's in a new owner unless given. The codec
    // decides whether the row is a value or a nested table.
    template <class Codec, class C, class T> Property<Owner>& Add(QString name, T C::*member, T def);
    template <class Codec, class C, class T> Property<Owner>& Add(QString name, T C::*member) {
        return Add<Codec>(std::move(name), member, C{}.*member);
    }
    Property<Owner>& Find(const char* name) const;
    void WriteAlways(std::initializer_list<const char*> names) { Set(names, FullForm::Always); }
    void WriteNever(std::initializer_list<const char*> names) { Set(names, FullForm::Never); }
    void WriteIf(std::initializer_list<const char*> names, bool (*condition)(const Owner&)) {
        for (const char* n : names)
            Find(n).FullIf = condition;
    }
    // The rows of the difference form, in its order.
    void Diff(std::initializer_list<DiffSpec> rows);

    void Copy(Owner& to, const Owner& from) const {
        for (const auto& p : FRows)
            p->Copy(to, from);
    }
    void Differences(const Owner& a, const Owner& b, QStringList& out) const {
        for (const auto& p : FRows)
            if (!p->Equal(a, b))
                out << p->Name();
    }
    void WriteFull(AttrWriter& w, const QString& prefix, const Owner& o) const;
    void WriteDiff(AttrWriter& w, const QString& prefix, const Owner& o, const Owner& source) const;
    std::optional<bool> Read(Owner& o, QStringView key, const QString& value) const {
        for (const auto& p : FRows)
            if (std::optional<bool> r = p->Read(o, key, value))
                return r;
        return std::nullopt;
    }
    void List(std::vector<PropertyInfo>& out, const QString& prefix, bool full, bool diff) const;

private:
    struct DiffRow {
        const Property<Owner>* Prop;
        QString Name;
        DiffRule When;
    };
    void Set(std::initializer_list<const char*> names, FullForm full) {
        for (const char* n : names)
            Find(n).Full = full;
    }
    bool InDiff(const Property<Owner>* p) const {
        return std::any_of(FDiff.begin(), FDiff.end(), [p](const DiffRow& d) { return d.Prop == p; });
    }

    std::vector<std::unique_ptr<Property<Owner>>> FRows;
    std::vector<DiffRow> FDiff;
};

// The table of a report class: its own rows on top of its base class's.
class ClassProperties {
public:
    using Rows = PropertyTable<TrpComponent>;
    // Where the class's own difference rows go (a picture's data leads).
    enum class DiffPlace { AfterBase, BeforeBase };
    ClassProperties(const ClassProperties* base, bool (*isA)(const TrpComponent&),
                    const std::function<void(Rows&)>& describe, DiffPlace place = DiffPlace::AfterBase);

    // Each walks the base class first.
    void Assign(TrpComponent& to, const TrpComponent& from) const;
    void WriteFull(AttrWriter& w, const TrpComponent& o) const;
    // Stops at the first class the source is not of.
    void WriteDiff(AttrWriter& w, const TrpComponent& o, const TrpComponent& source) const;
    bool SetAttribute(TrpComponent& o, const QString& key, const QString& value) const;
    // Every stored value, base class first, nested values leaf by leaf.
    std::vector<PropertyInfo> List() const;
    // The names of the properties in which two objects of the class differ.
    QStringList Differences(const TrpComponent& a, const TrpComponent& b) const;

private:
    const ClassProperties* FBase;
    bool (*FIsA)(const TrpComponent&);
    DiffPlace FDiffPlace;
    Rows FRows;
};

template <class C> bool IsA(const TrpComponent& c) {
    if constexpr (std::is_same_v<C, TrpComponent>)
        return true;
    else
        return dynamic_cast<const C*>(&c) != nullptr;
}

// ---- codecs: how one value type is written and read ----
//
// A value codec gives Kind, Full(v) (the full form's text), optionally Diff(v) (the difference
// form's, when it differs), and Parse(text, v), false when the text is not a value (v is then
// unchanged). Optional: AttrName(name) (the full form's attribute name), Aliases() (more names
// it is read under) and Load(owner, text) in place of Parse, for a value the owner decodes.
// A nested codec gives Table() and optionally BeforeRead(owner).

namespace codec {

QString EnumName(std::span<const char* const> names, int v);
// From a number in range or, failing that, from a name (any case).
bool ParseEnum(std::span<const char* const> names, const QString& text, int& v);

struct Int {
    static constexpr PropertyKind Kind = PropertyKind::Int;
    static QString Full(int v) { return QString::number(v); }
    static bool Parse(const QString& text, int& v);
};

// A font size in points, kept within what drawing can take.
struct FontSize : Int {
    static bool Parse(const QString& text, int& v);
};

// A font size in points, as the character height in report units the full form stores.
struct FontHeight : Int {
    static QString Full(int size);
    static bool Parse(const QString& text, int& size);
};

// An angle in degrees, stored modulo 360.
struct Degrees : Int {
    static bool Parse(const QString& text, int& v);
};

struct Color {
    static constexpr PropertyKind Kind = PropertyKind::Color;
    static QString Full(TColor v) { return QString::number(qint64(v)); }
    static bool Parse(const QString& text, TColor& v);
};

// "True"/"False" in the full form, "1"/"0" in differences.
struct Bool {
    static constexpr PropertyKind Kind = PropertyKind::Bool;
    static QString Full(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }
    static QString Diff(bool v) { return v ? QStringLiteral("1") : QStringLiteral("0"); }
    static bool Parse(const QString& text, bool& v);
};

// A number with the regional decimal separator; a file's value is kept within Bound.
template <Extended (*Bound)(Extended) = nullptr> struct FloatIn {
    static constexpr PropertyKind Kind = PropertyKind::Float;
    static QString Full(Extended v) { return FloatToAttr(v); }
    static bool Parse(const QString& text, Extended& v) {
        Extended x;
        if (!AttrToFloat(text, x))
            return false;
        if constexpr (Bound != nullptr)
            x = Bound(x);
        v = x;
        return true;
    }
};
Extended ClampMargin(Extended mm);
using Float = FloatIn<>;
using Coordinate = FloatIn<limits::ClampCoordinate>;
using Spacing = FloatIn<limits::ClampSpacing>;
using FrameWidth = FloatIn<limits::ClampFrameWidth>;
using Margin = FloatIn<ClampMargin>;

// By name in the full form, by number in differences.
template <class E, const auto& Names> struct Enum {
    static constexpr PropertyKind Kind = PropertyKind::Enum;
    static QStringList List() {
        QStringList names;
        for (const char* n : Names)
            names << QLatin1String(n);
        return names;
    }
    static QString Full(E v) { return EnumName(Names, int(v)); }
    static QString Diff(E v) { return QString::number(int(v)); }
    static bool Parse(const QString& text, E& v) {
        int i = 0;
        if (!ParseEnum(Names, text, i))
            return false;
        v = E(i);
        return true;
    }
};
inline constexpr const char* kAlignNames[] = {"baNone",  "baLeft",   "baRight", "baCenter",
                                              "baWidth", "baBottom", "baClient"};
inline constexpr const char* kHAlignNames[] = {"haLeft", "haRight", "haCenter", "haBlock"};
inline constexpr const char* kVAlignNames[] = {"vaTop", "vaBottom", "vaCenter"};
inline constexpr const char* kShiftNames[] = {"smDontShift", "smAlways", "smWhenOverlapped"};
inline constexpr const char* kStretchNames[] = {"smDontStretch", "smActualHeight", "smMaxHeight"};
inline constexpr const char* kBrushNames[] = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                              "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
inline constexpr const char* kOrientationNames[] = {"poPortrait", "poLandscape"};
using AlignName = Enum<TrpAlign, kAlignNames>;
using HAlignName = Enum<TrpHAlign, kHAlignNames>;
using VAlignName = Enum<TrpVAlign, kVAlignNames>;
using ShiftName = Enum<TrpShiftMode, kShiftNames>;
using StretchName = Enum<TrpStretchMode, kStretchNames>;
using BrushName = Enum<TBrushStyle, kBrushNames>;
using OrientationName = Enum<TPrinterOrientation, kOrientationNames>;

struct String {
    static constexpr PropertyKind Kind = PropertyKind::String;
    static const QString& Full(const QString& v) { return v; }
    static bool Parse(const QString& text, QString& v) {
        v = text;
        return true;
    }
};

// A memo's lines: the attribute "Text" ("u" in differences, "x" for single-byte text, which
// our documents never need apart), lines joined with CR LF; read at CR LF, LF or CR.
struct MemoText {
    static constexpr PropertyKind Kind = PropertyKind::Lines;
    static QString AttrName(const QString&) { return QStringLiteral("Text"); }
    static QStringList Aliases() { return {QStringLiteral("x")}; }
    static QString Full(const QStringList& v) { return v.join(QStringLiteral("\r\n")); }
    static bool Parse(const QString& text, QStringList& v);
};

// Any other string list: the attribute name + ".Text", lines joined with CR LF.
struct StringList {
    static constexpr PropertyKind Kind = PropertyKind::Lines;
    static QString AttrName(const QString& name) { return name + QStringLiteral(".Text"); }
    static QString Full(const QStringList& v) { return v.join(QStringLiteral("\r\n")); }
    static bool Parse(const QString& text, QStringList& v);
};

// A picture's file data in hexadecimal as "PropData"; loading decodes it.
struct PropData {
    static constexpr PropertyKind Kind = PropertyKind::Binary;
    static QString AttrName(const QString&) { return QStringLiteral("PropData"); }
    static QString Full(const QByteArray& v) { return QString::fromLatin1(v.toHex().toUpper()); }
    static bool Load(TrpPictureView& picture, const QString& text);
};

// Nested values.
struct Font {
    static const PropertyTable<TrpFont>& Table();
    // Setting part of an object's font starts from the font it shows and makes it its own.
    static void BeforeRead(TrpComponent& c);
};
struct Frame {
    static const PropertyTable<TrpFrame>& Table();
};
struct Format {
    static const PropertyTable<TrpFormat>& Table();
};
struct Highlight {
    static const PropertyTable<TrpHighlight>& Table();
};

} // namespace codec

// ---- rows ----

namespace detail {

template <class Codec, class T> QString DiffText(const T& v) {
    if constexpr (requires { Codec::Diff(v); })
        return Codec::Diff(v);
    else
        return Codec::Full(v);
}

template <class Codec> QString AttrNameOf(const QString& name) {
    if constexpr (requires { Codec::AttrName(name); })
        return Codec::AttrName(name);
    else
        return name;
}

template <class Codec> void AddAliases(auto& property) {
    if constexpr (requires { Codec::Aliases(); })
        for (const QString& a : Codec::Aliases())
            property.AddReadName(a);
}

template <class Codec> QStringList EnumNamesOf() {
    if constexpr (requires { Codec::List(); })
        return Codec::List();
    else
        return {};
}

// A value member of C (the owner itself or a class derived from it).
template <class Owner, class C, class T, class Codec> class FieldProperty final : public Property<Owner> {
public:
    FieldProperty(QString name, T C::*member, T def)
        : Property<Owner>(name, AttrNameOf<Codec>(name)), FMember(member), FDefault(std::move(def)) {
        AddAliases<Codec>(*this);
    }
    void Copy(Owner& to, const Owner& from) const override { Get(to) = Get(from); }
    bool Equal(const Owner& a, const Owner& b) const override { return Get(a) == Get(b); }
    bool IsDefault(const Owner& o) const override { return Get(o) == FDefault; }
    void WriteFull(AttrWriter& w, const QString& name, const Owner& o) const override {
        w.Add(name, Codec::Full(Get(o)));
    }
    void WriteDiff(AttrWriter& w, const QString& name, const Owner& o, const Owner&) const override {
        w.Add(name, DiffText<Codec>(Get(o)));
    }
    std::optional<bool> Read(Owner& o, QStringView key, const QString& value) const override {
        if (!this->Reads(key))
            return std::nullopt;
        if constexpr (requires(C & c) { Codec::Load(c, value); })
            return Codec::Load(static_cast<C&>(o), value);
        else
            return Codec::Parse(value, Get(o));
    }
    void List(std::vector<PropertyInfo>& out, const QString& prefix, bool full, bool diff) const override {
        out.push_back({prefix + this->AttrName(), Codec::Kind, EnumNamesOf<Codec>(),
                       full && this->Full != FullForm::Never, diff});
    }

private:
    const T& Get(const Owner& o) const { return static_cast<const C&>(o).*FMember; }
    T& Get(Owner& o) const { return static_cast<C&>(o).*FMember; }

    T C::*FMember;
    T FDefault;
};

// A member that is itself a table of values, written as "Name.Part".
template <class Owner, class C, class S, class Codec> class NestedProperty final : public Property<Owner> {
public:
    NestedProperty(QString name, S C::*member, S def)
        : Property<Owner>(name, name), FMember(member), FDefault(std::move(def)),
          FPrefix(this->FAttrName.toLower() + QLatin1Char('.')) {}
    void Copy(Owner& to, const Owner& from) const override { Get(to) = Get(from); }
    bool Equal(const Owner& a, const Owner& b) const override { return Get(a) == Get(b); }
    bool IsDefault(const Owner& o) const override { return Get(o) == FDefault; }
    void WriteFull(AttrWriter& w, const QString& name, const Owner& o) const override {
        Codec::Table().WriteFull(w, name + QLatin1Char('.'), Get(o));
    }
    void WriteDiff(AttrWriter& w, const QString& name, const Owner& o, const Owner& source) const override {
        Codec::Table().WriteDiff(w, name + QLatin1Char('.'), Get(o), Get(source));
    }
    std::optional<bool> Read(Owner& o, QStringView key, const QString& value) const override {
        if (!key.startsWith(FPrefix))
            return std::nullopt;
        if constexpr (requires(C & c) { Codec::BeforeRead(c); })
            Codec::BeforeRead(static_cast<C&>(o));
        return Codec::Table().Read(Get(o), key.mid(FPrefix.size()), value).value_or(false);
    }
    void List(std::vector<PropertyInfo>& out, const QString& prefix, bool full, bool diff) const override {
        Codec::Table().List(out, prefix + this->AttrName() + QLatin1Char('.'),
                            full && this->Full != FullForm::Never, diff);
    }

private:
    const S& Get(const Owner& o) const { return static_cast<const C&>(o).*FMember; }
    S& Get(Owner& o) const { return static_cast<C&>(o).*FMember; }

    S C::*FMember;
    S FDefault;
    QString FPrefix;
};

} // namespace detail

template <class Owner>
template <class Codec, class C, class T>
Property<Owner>& PropertyTable<Owner>::Add(QString name, T C::*member, T def) {
    if constexpr (requires { Codec::Table(); })
        FRows.push_back(std::make_unique<detail::NestedProperty<Owner, C, T, Codec>>(std::move(name), member,
                                                                                     std::move(def)));
    else
        FRows.push_back(std::make_unique<detail::FieldProperty<Owner, C, T, Codec>>(std::move(name), member,
                                                                                    std::move(def)));
    return *FRows.back();
}

template <class Owner> Property<Owner>& PropertyTable<Owner>::Find(const char* name) const {
    for (const auto& p : FRows)
        if (p->Name() == QLatin1String(name))
            return *p;
    qFatal("No stored property %s", name);
}

template <class Owner> void PropertyTable<Owner>::Diff(std::initializer_list<DiffSpec> rows) {
    for (const DiffSpec& d : rows) {
        Property<Owner>& p = Find(d.Property);
        const QString name = d.Name ? QString::fromLatin1(d.Name) : p.AttrName();
        if (d.Name)
            p.AddReadName(name);
        FDiff.push_back({&p, name, d.When});
    }
}

template <class Owner>
void PropertyTable<Owner>::WriteFull(AttrWriter& w, const QString& prefix, const Owner& o) const {
    for (const auto& p : FRows) {
        if (p->Full == FullForm::Never || (p->FullIf && !p->FullIf(o)))
            continue;
        if (p->Full == FullForm::NonDefault && p->IsDefault(o))
            continue;
        p->WriteFull(w, prefix + p->AttrName(), o);
    }
}

template <class Owner>
void PropertyTable<Owner>::WriteDiff(AttrWriter& w, const QString& prefix, const Owner& o,
                                     const Owner& source) const {
    for (const DiffRow& d : FDiff) {
        const bool changed = !d.Prop->Equal(o, source);
        if (d.When ? d.When(o, changed) : changed)
            d.Prop->WriteDiff(w, prefix + d.Name, o, source);
    }
}

template <class Owner>
void PropertyTable<Owner>::List(std::vector<PropertyInfo>& out, const QString& prefix, bool full,
                                bool diff) const {
    for (const auto& p : FRows)
        p->List(out, prefix, full, diff && InDiff(p.get()));
}

} // namespace report
