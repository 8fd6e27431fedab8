// The calculation sheet template: settings, variables, script and objects as laid out.
#include "sheet/SheetTemplate.h"
#include "report/ViewPainter.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

TEST(SheetTemplate, ReportSettingsVariablesAndScript) {
    auto r = sheet::CreateSheetReport();
    EXPECT_EQ(r->ReportOptions.Name, "Расчет стоимости ОСАГО");
    EXPECT_EQ(r->IniFile, "\\Software\\Tarifon");
    EXPECT_EQ(r->PrintOptions.Printer, "По умолчанию");
    EXPECT_FALSE(r->PreviewOptions.AllowEdit);
    EXPECT_EQ(r->PreviewOptions.Buttons,
              pbPrint | pbLoad | pbSave | pbExport | pbZoom | pbPageSetup | pbTools);

    QStringList names;
    for (const TrpVariable& v : r->Variables().All())
        names << v.Name;
    EXPECT_EQ(names, QStringList({" Коэффициенты", "ТБ", "КТ", "КБМ", "КО", "КВС", "КМ", "КС", "КП", "КН",
                                  " Итоги", "Формула", "Сумма"}));
    EXPECT_EQ(r->Variables().GetVariableValue("Формула").AsString(), "'Т = 0'");
    EXPECT_EQ(r->Variables().GetVariableValue("Сумма").AsString(), "0");
    EXPECT_TRUE(r->Variables().GetVariableValue("КН").IsNull());

    const QStringList script = {
        "begin",
        "  if Pos( 'ТБ', <Формула>) = 0 then meType.Memo.Text := '';",
        "  if Pos( 'КТ', <Формула>) = 0 then meHome.Memo.Text := '';",
        "  if Pos( 'КБМ', <Формула>) = 0 then meClass.Memo.Text := '';",
        "  if Pos( 'КО', <Формула>) = 0 then mePeople.Memo.Text := '';",
        "  if Pos( 'КВС', <Формула>) = 0 then meAge.Memo.Text := '';",
        "  if Pos( 'КМ', <Формула>) = 0 then mePower.Memo.Text := '';",
        "  if Pos( 'КС', <Формула>) = 0 then mePeriod.Memo.Text := '';",
        "  if Pos( 'КП', <Формула>) = 0 then meTime.Memo.Text := '';",
        "  if Pos( 'КН', <Формула>) = 0 then meDop.Memo.Text := '';",
        "end.",
    };
    EXPECT_EQ(r->ScriptText, script);
}

TEST(SheetTemplate, PageAndObjectsInOrder) {
    auto r = sheet::CreateSheetReport();
    ASSERT_EQ(r->PagesCount(), 1);
    TrpReportPage* page = r->Pages(0);
    EXPECT_EQ(page->Name(), "Page");
    EXPECT_EQ(page->PaperSize(), 9);
    EXPECT_EQ(page->Width(), 794);
    EXPECT_EQ(page->Height(), 1123);
    EXPECT_NEAR(double(page->PrintableWidth()), 718.101251175, 1e-9);
    EXPECT_EQ(page->Font().Height(), -13);
    EXPECT_EQ(page->Font().Charset, RUSSIAN_CHARSET);

    QStringList order;
    for (const auto& o : page->Objects())
        order << o->Name();
    EXPECT_EQ(order,
              QStringList({"Memo1",    "Memo2",     "Memo3",    "meType", "Memo5",    "Memo6",    "meHome",
                           "Memo8",    "Memo9",     "meClass",  "Memo11", "Memo12",   "mePeople", "Memo14",
                           "Memo15",   "meAge",     "Memo17",   "Memo18", "mePower",  "Memo20",   "Memo21",
                           "mePeriod", "Memo23",    "Memo24",   "meTime", "Memo26",   "Memo27",   "meDop",
                           "Memo4",    "meFormula", "meResult", "Memo7",  "Picture1", "Memo10",   "Memo13"}));

    const struct {
        const char* Name;
        double Left, Top, Width, Height;
        int FontHeight, Style;
        TColor Color;
        TrpFrameTypes Frame;
        TrpHAlign H;
        TrpVAlign V;
        const char* Text;
    } cases[] = {
        {"Memo1", 38, 99, 642.5201, 18.89765, -19, fsBold, clBlack, 0, haCenter, vaTop,
         "Расчет стоимости ОСАГО"},
        {"Memo2", 14, 135, 530.48825, 30.89765, -16, 0, clBlack, ftAll, haLeft, vaCenter,
         "Базовая ставка страхового тарифа (в рублях):"},
        {"Memo3", 544.33333334, 135, 54.48825, 30.89765, -16, 0, clBlack, ftAll, haCenter, vaCenter, "ТБ"},
        {"meType", 599, 135, 102.48825, 30.89765, -16, fsBold, clBlack, ftAll, haCenter, vaCenter, "[ТБ]"},
        {"Memo24", 544.33333334, 352.29166666, 54.48825, 30.89765, -16, 0, clBlack, ftAll, haCenter, vaCenter,
         "КП"},
        {"Memo23", 14, 352.29166666, 530.48825, 30.89765, -16, 0, clBlack, ftAll, haLeft, vaCenter,
         "Коэффициент срока страхования:"},
        {"meDop", 599, 383.33333333, 102.48825, 30.89765, -16, fsBold, clBlack, ftAll, haCenter, vaCenter,
         "[КН]"},
        {"Memo4", 111, 429, 489, 101, -19, 0, clBlack, ftAll, haCenter, vaTop,
         "Размер страховой премии (Т):"},
        {"meFormula", 117, 462, 476, 28, -19, 0, clBlack, 0, haCenter, vaTop, "[Формула]"},
        {"meResult", 117, 492, 476, 28, -19, 0, clRed, 0, haCenter, vaTop, "[Сумма]"},
        {"Memo7", -2.449374412499992, -2, 723, 81, -11, 0, clBlack, ftBottom, haCenter, vaTop, nullptr},
        {"Memo10", 234.26381, 52.22047, 125.52, 17, -11, fsUnderline, clBlue, 0, haCenter, vaTop,
         "www.kviralt.ru"},
        {"Memo13", 367.07081, 52.22047, 118.52, 17, -11, fsUnderline, clBlue, 0, haCenter, vaTop,
         "support@kviralt.ru"},
    };
    for (const auto& c : cases) {
        auto* m = dynamic_cast<TrpMemoView*>(r->FindObject(c.Name));
        ASSERT_NE(m, nullptr) << c.Name;
        EXPECT_NEAR(double(m->Left()), c.Left, 1e-12) << c.Name;
        EXPECT_NEAR(double(m->Top()), c.Top, 1e-12) << c.Name;
        EXPECT_NEAR(double(m->Width()), c.Width, 1e-12) << c.Name;
        EXPECT_NEAR(double(m->Height()), c.Height, 1e-12) << c.Name;
        EXPECT_EQ(m->Font().Name, "Arial") << c.Name;
        EXPECT_EQ(m->Font().Height(), c.FontHeight) << c.Name;
        EXPECT_EQ(m->Font().Style, c.Style) << c.Name;
        EXPECT_EQ(m->Font().Color, c.Color) << c.Name;
        EXPECT_EQ(m->Font().Charset, RUSSIAN_CHARSET) << c.Name;
        EXPECT_EQ(m->Frame().Typ, c.Frame) << c.Name;
        EXPECT_EQ(m->Frame().Width, 1) << c.Name;
        EXPECT_EQ(m->HAlign(), c.H) << c.Name;
        EXPECT_EQ(m->VAlign(), c.V) << c.Name;
        if (c.Text) {
            EXPECT_EQ(m->Text(), QString::fromUtf8(c.Text)) << c.Name;
        }
    }
    EXPECT_EQ(static_cast<TrpMemoView*>(r->FindObject("Memo2"))->GapX(), 20);
    EXPECT_EQ(static_cast<TrpMemoView*>(r->FindObject("Memo4"))->GapY(), 3);
    auto* value = static_cast<TrpMemoView*>(r->FindObject("meClass"));
    EXPECT_EQ(value->DisplayFormat().Kind, fkText);
    EXPECT_EQ(value->DisplayFormat().DecimalSeparator, ",");
    EXPECT_EQ(static_cast<TrpMemoView*>(r->FindObject("Memo10"))->URL(), "http://www.kviralt.ru/");
    EXPECT_EQ(static_cast<TrpMemoView*>(r->FindObject("Memo13"))->URL(), "mailto:support@kviralt.ru");

    auto* header = static_cast<TrpMemoView*>(r->FindObject("Memo7"));
    EXPECT_TRUE(header->AllowHTMLTags());
    EXPECT_EQ(header->Align(), baCenter);
    ASSERT_EQ(header->Memo().size(), 4);
    EXPECT_EQ(header->Memo()[0], "Подготовлено в программе:");
    EXPECT_EQ(header->Memo()[1], "<b>-= Тарифон 2.0\" =-</b>");

    auto* pic = dynamic_cast<TrpPictureView*>(r->FindObject("Picture1"));
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->Picture().size(), QSize(85, 57));
    EXPECT_TRUE(pic->Center());
    EXPECT_FALSE(pic->Stretched());
    EXPECT_EQ(QRectF(double(pic->Left()), double(pic->Top()), double(pic->Width()), double(pic->Height())),
              QRectF(15, 7, 96, 62));
}

TEST(SheetTemplate, RowsFollowAtTheirPitch) {
    const auto& rows = sheet::SheetRows();
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_NEAR(double(rows[i].Top - rows[i - 1].Top), 31.04166667, 1e-7) << rows[i].Code;
}

} // namespace
