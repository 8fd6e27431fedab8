// Long reports: a page run once per record of a data set, the outline its pages name, text
// search over the stored pages, and the script's Value while a memo is filled.
#include "ReportFixtures.h"

#include "report/PageSearch.h"
#include "support/LongReport.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

QString MemoText(TrpReport& r, int page, const QString& name) {
    auto* memo = dynamic_cast<TrpCustomMemoView*>(r.PreviewPages().Page(page)->FindObject(name));
    return memo ? memo->Text() : QStringLiteral("<no memo>");
}

} // namespace

TEST(LongReports, OnePagePerRecordWithItsOutlineAndSearch) {
    auto r = longreport::Create(25);
    auto* sum = dynamic_cast<TrpMemoView*>(r->FindObject(QStringLiteral("Sum")));
    sum->HighlightRef().Condition = QStringLiteral("Value > 60");
    ASSERT_TRUE(r->Prepare()) << r->LastErrorMessage().toStdString();
    TrpPreviewPages& pages = r->PreviewPages();
    ASSERT_EQ(pages.Count(), 25);
    for (int page : {0, 12, 24}) {
        EXPECT_EQ(MemoText(*r, page, QStringLiteral("Body")),
                  longreport::ContractText(page + 1) +
                      QStringLiteral("Страхователь: \"ООО <Ромашка> & сыновья\", запись %1").arg(page + 1));
        EXPECT_EQ(MemoText(*r, page, QStringLiteral("Footer")),
                  QStringLiteral("Страница %1 из 25").arg(page + 1));
        EXPECT_EQ(MemoText(*r, page, QStringLiteral("Sum")),
                  QStringLiteral("Премия: %1 руб.").arg((page + 1) * 3));
        // Value is the placeholder's value while the memo is filled: 3 x the record number.
        auto* shown = dynamic_cast<TrpCustomMemoView*>(pages.Page(page)->FindObject(QStringLiteral("Sum")));
        EXPECT_EQ(shown->Highlight().Active, (page + 1) * 3 > 60) << page;
    }
    EXPECT_TRUE(r->Value().IsNull());

    const auto outline = pages.Outline();
    ASSERT_EQ(outline.size(), 25u);
    EXPECT_EQ(outline[6].Text, QStringLiteral("Договор № 7"));
    EXPECT_EQ(outline[6].Page, 6);

    EXPECT_EQ(PagesWithText(pages, QStringLiteral("договор № 2"), Qt::CaseInsensitive),
              (std::vector<int>{1, 19, 20, 21, 22, 23, 24}));
    EXPECT_EQ(PagesWithText(pages, QStringLiteral("договор № 2"), Qt::CaseSensitive), std::vector<int>{});
    EXPECT_EQ(FindTextPage(pages, QStringLiteral("<Ромашка> & сыновья\", запись 7"), 0, Qt::CaseSensitive),
              6);
    EXPECT_EQ(FindTextPage(pages, QStringLiteral("Договор № 1\r\n"), 24, Qt::CaseSensitive, true), 0);
    EXPECT_EQ(FindTextPage(pages, QString(), 0, Qt::CaseSensitive), -1);
    // A typed space is any space the page shows, as in a browser's find.
    EXPECT_EQ(FindTextPage(pages, QStringLiteral("договор\u00A0№\t7"), 0, Qt::CaseInsensitive), 6);
    const struct {
        const char16_t *Text, *What;
        bool Found;
    } spaces[] = {
        {u"Итого: 6\u00A0075 руб.", u"6 075", true},
        {u"Итого: 6\u202F075\u00A0руб.", u"6 075 РУБ", true},
        {u"6\t075", u"6 075", true},
        {u"6 075", u"6\u00A0075", true},
        {u"6075", u"6 075", false},
        {u"6\r\n075", u"6 075", false},
        {u"6\u00A0075", u"6  075", false},
    };
    for (const auto& c : spaces)
        EXPECT_EQ(TextContains(QString::fromUtf16(c.Text), QString::fromUtf16(c.What), Qt::CaseInsensitive),
                  c.Found)
            << QString::fromUtf16(c.Text).toStdString();

    // Deleting a page takes its outline entry; the rest follow their pages.
    pages.DeletePage(0);
    EXPECT_EQ(pages.Outline().front().Text, QStringLiteral("Договор № 2"));
    EXPECT_EQ(pages.Outline().front().Page, 0);
}

TEST(LongReports, APageNamingAMissingDataSetFails) {
    auto r = longreport::Create(3);
    r->Pages(0)->SetDataSetName(QStringLiteral("Nope"));
    EXPECT_FALSE(r->Prepare());
    EXPECT_TRUE(r->LastErrorMessage().contains(QStringLiteral("Набор данных \"Nope\" не существует")))
        << r->LastErrorMessage().toStdString();
}
