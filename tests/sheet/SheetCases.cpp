// Preparing the sheet for every owner, place and vehicle group: which value cells show text.
#include "report/PreparedPageStore.h"
#include "sheet/SheetTemplate.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

// Formula texts by registration place (0-3), owner kind (0 natural person, 1 legal entity) and
// vehicle group, as the result page builds them.
QString Formula(int place, int owner, int group) {
    enum { Car, Other, Trailer };
    if (place == 0 && owner == 0)
        return QStringList{"Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН", "Т = ТБ*КТ*КБМ*КВС*КО*КС*КН",
                           "Т = ТБ*КТ*КС"}[group];
    if (place == 0)
        return QStringList{"Т = ТБ*КТ*КБМ*КО*КМ*КС*КН", "Т = ТБ*КТ*КБМ*КО*КН", "Т = ТБ*КТ"}[group];
    if (place == 1 || place == 2)
        return QString("Т = ТБ*КТ*КБМ*КВС*КО*") + (group == Car ? "КМ*" : "") + "КП*КН";
    if (owner == 0)
        return QStringList{"Т = ТБ*КВС*КО*КМ*КП", "Т = ТБ*КВС*КО*КП", "Т = ТБ*КП"}[group];
    return QStringList{"Т = ТБ*КО*КМ*КП", "Т = ТБ*КО*КП", "Т = ТБ*КП"}[group];
}

sheet::SheetTexts Texts(const QString& formula) {
    sheet::SheetTexts t;
    t.TB = "1 980";
    t.KT = "2,0";
    t.KBM = "0,95";
    t.KO = "1,5";
    t.KVS = "1,15";
    t.KM = "1,3";
    t.KS = "0,7";
    t.KP = "0,2";
    t.KN = "1,0";
    t.Formula = formula;
    t.Premium = "3 960 рублей";
    return t;
}

QString Shown(TrpReport& r, const char* name) {
    auto* m = dynamic_cast<TrpMemoView*>(r.PreviewPages().Page(0)->FindObject(name));
    return m ? m->Text() : QStringLiteral("<missing>");
}

TEST(SheetCases, ValueCellsFollowTheFormulaForEveryCase) {
    auto r = sheet::CreateSheetReport();
    r->EngineOptions.NewSilentMode = simSilent;
    int prepared = 0;
    for (int place = 0; place < 4; ++place)
        for (int owner = 0; owner < 2; ++owner)
            for (int group = 0; group < 3; ++group) {
                const QString formula = Formula(place, owner, group);
                const sheet::SheetTexts texts = Texts(formula);
                const sheet::PrepareResult result = sheet::PrepareSheet(*r, texts);
                ASSERT_TRUE(result.Ok) << result.Message.toStdString();
                // The codes named by the formula, as whole factors.
                const QStringList factors = formula.mid(4).split('*');
                for (const sheet::SheetRow& row : sheet::SheetRows()) {
                    const bool used = factors.contains(QString::fromUtf8(row.Code));
                    EXPECT_EQ(Shown(*r, row.ValueCell), used ? texts.*row.Text : QString())
                        << formula.toStdString() << " " << row.Code;
                    EXPECT_EQ(Shown(*r, row.CodeCell), QString::fromUtf8(row.Code));
                }
                EXPECT_EQ(Shown(*r, "meFormula"), formula);
                EXPECT_EQ(Shown(*r, "meResult"), "3 960 рублей");
                ++prepared;
            }
    EXPECT_EQ(prepared, 24);
}

TEST(SheetCases, TrailerOfALegalEntityShowsOnlyTwoValues) {
    auto r = sheet::CreateSheetReport();
    ASSERT_TRUE(sheet::PrepareSheet(*r, Texts("Т = ТБ*КТ")).Ok);
    QStringList filled;
    for (const sheet::SheetRow& row : sheet::SheetRows())
        if (!Shown(*r, row.ValueCell).isEmpty())
            filled << row.Code;
    EXPECT_EQ(filled, QStringList({"ТБ", "КТ"}));
    // The emptied cells keep their frames.
    auto* cell = dynamic_cast<TrpMemoView*>(r->PreviewPages().Page(0)->FindObject("meDop"));
    EXPECT_EQ(cell->Frame().Typ, ftAll);
    EXPECT_TRUE(cell->Visible());
}

TEST(SheetCases, TextsAreShownExactlyWhateverTheirCharacters) {
    auto r = sheet::CreateSheetReport();
    sheet::SheetTexts t = Texts("Т = ТБ*КТ*КБМ*КВС*КО*КМ*КС*КН");
    t.TB = "1\u00A0980";
    t.KT = "О'Брайен \"в кавычках\" [КТ] <КБМ>";
    t.Premium = "1\u00A0029,6 рублей";
    ASSERT_TRUE(sheet::PrepareSheet(*r, t).Ok);
    EXPECT_EQ(Shown(*r, "meType"), t.TB);
    EXPECT_EQ(Shown(*r, "meHome"), t.KT);
    EXPECT_EQ(Shown(*r, "meResult"), t.Premium);
}

TEST(SheetCases, KeepsItsOwnCaptionForTheTermRow) {
    auto r = sheet::CreateSheetReport();
    ASSERT_TRUE(sheet::PrepareSheet(*r, Texts("Т = ТБ*КВС*КО*КП")).Ok);
    EXPECT_EQ(Shown(*r, "Memo23"), "Коэффициент срока страхования:");
    EXPECT_EQ(Shown(*r, "meTime"), "0,2");
}

} // namespace
