// Every stored property of every report class, walked from the descriptor tables, survives the
// full form and, where it takes part, the difference form of the prepared-report file.
#include "report/Attributes.h"
#include "report/Components.h"
#include "report/PropertyTable.h"

#include <QBuffer>
#include <QImage>
#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>

using namespace report;

namespace {

const char* const kClasses[] = {"TrpMemoView", "TrpPictureView", "TrpLineView",  "TrpShapeView",
                                "TrpRichView", "TrpNullBand",    "TrpReportPage"};

QString PngHex() {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QString::fromLatin1(data.toHex());
}

// Values to try, until one differs from the new object's.
QStringList Candidates(const PropertyInfo& p) {
    switch (p.Kind) {
    case PropertyKind::Int:
        return {"7", "3"};
    case PropertyKind::Float:
        return {"3.5", "-1,25"};
    case PropertyKind::Bool:
        return {"False", "True"};
    case PropertyKind::Color:
        return {"255", "65280"};
    case PropertyKind::Enum:
        return {p.EnumNames.last(), p.EnumNames.first()};
    case PropertyKind::String:
        return {"a \"quoted\" <b> &amp; c"};
    case PropertyKind::Lines:
        return {"first\r\n\"second\" <3>"};
    case PropertyKind::Binary:
        return {PngHex()};
    }
    return {};
}

// Values the full form stores only together with another one.
struct Needs {
    const char* PathPrefix;
    const char* Attribute;
    const char* Value;
};
const Needs kNeeds[] = {
    {"Highlight.", "highlight.condition", "[Sum] > 0"},
    {"ColumnWidth", "columns", "2"},
    {"ColumnPositions", "columns", "2"},
};

// What a class decides itself: a page's own size follows its paper, and a page has no parent
// whose font it could use.
const std::pair<const char*, const char*> kFixed[] = {
    {"TrpReportPage", "Width"}, {"TrpReportPage", "Height"}, {"TrpReportPage", "ParentFont"}};

bool Fixed(const QString& cls, const QString& path) {
    return std::any_of(std::begin(kFixed), std::end(kFixed), [&](const auto& f) {
        return cls == QLatin1String(f.first) && path == QLatin1String(f.second);
    });
}

std::unique_ptr<TrpComponent> Prepared(const QString& cls, const PropertyInfo& p) {
    auto c = CreateComponent(cls);
    for (const Needs& n : kNeeds)
        if (p.Path.startsWith(QLatin1String(n.PathPrefix)) && p.Path != u"Highlight.Condition")
            c->SetAttribute(n.Attribute, n.Value);
    return c;
}

std::string S(const QStringList& list) {
    return list.join(QStringLiteral(", ")).toStdString();
}

} // namespace

TEST(PropertyTables, EveryPropertySurvivesBothForms) {
    for (const char* name : kClasses) {
        const QString cls = QString::fromLatin1(name);
        const ClassProperties& table = CreateComponent(cls)->Table();
        const std::vector<PropertyInfo> properties = table.List();
        ASSERT_GT(properties.size(), 10u) << name;
        QSet<QString> seen;
        for (const PropertyInfo& p : properties) {
            SCOPED_TRACE(QStringLiteral("%1.%2").arg(cls, p.Path).toStdString());
            EXPECT_FALSE(seen.contains(p.Path.toLower())) << "read under two rows";
            seen.insert(p.Path.toLower());
            if (Fixed(cls, p.Path))
                continue;

            const std::unique_ptr<TrpComponent> source = Prepared(cls, p);
            const std::unique_ptr<TrpComponent> changed = Prepared(cls, p);
            for (const QString& value : Candidates(p)) {
                ASSERT_TRUE(changed->SetAttribute(p.Path.toLower(), value)) << value.toStdString();
                if (!table.Differences(*source, *changed).isEmpty())
                    break;
            }
            ASSERT_FALSE(table.Differences(*source, *changed).isEmpty()) << "no value changes it";

            if (p.InFullForm) {
                AttrWriter w;
                changed->WriteFull(w);
                const auto back = CreateComponent(cls);
                back->ApplyAttributes(w.Text());
                EXPECT_EQ(S(table.Differences(*changed, *back)), "") << w.Text().toStdString();
            }
            if (p.InDiffForm) {
                AttrWriter w;
                changed->WriteDiff(w, *source);
                const auto copy = source->Clone();
                copy->ApplyAttributes(w.Text());
                EXPECT_EQ(S(table.Differences(*changed, *copy)), "") << w.Text().toStdString();
            }
        }
    }
}
