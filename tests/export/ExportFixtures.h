#pragma once
// Shared by the export tests and benchmarks: a recording filter and the calculation sheet's
// objects built from their template positions.

#include "export/ExportFilter.h"
#include "report/Report.h"

#include <QStringList>
#include <memory>

namespace exporttest {

using report::Extended;

// Writes down every call the export loop makes.
class RecordingFilter : public exports::TrpCustomExportFilter {
public:
    using exports::TrpCustomExportFilter::TrpCustomExportFilter;
    QStringList Calls;
    bool StartResult = true;
    exports::TModalResult DialogResult = exports::mrOk;
    QString ThrowInPage; // "StartPage:2" throws there
    report::TrpOutput Kind = report::TrpOutput::TableExport;
    report::TrpOutput Output() const override { return Kind; }
    std::function<void(const report::TrpPlacedObject&)> OnObject;

    exports::TModalResult ShowModal() override {
        Calls << QStringLiteral("ShowModal");
        return DialogResult;
    }
    bool Start() override {
        Calls << QStringLiteral("Start");
        return StartResult;
    }
    void StartPage(report::TrpReportPage*, int index) override {
        Calls << QStringLiteral("StartPage:%1").arg(index);
        if (ThrowInPage == Calls.back())
            throw report::TrpReportError(QStringLiteral("disk full"));
    }
    // Views by name, the page's own items by kind.
    void ExportObject(const report::TrpPlacedObject& object) override {
        Calls << QStringLiteral("Object:") + (object.View ? object.View->Name()
                                              : object.Kind == report::TrpPlacedKind::PageBackground
                                                  ? QStringLiteral("(page fill)")
                                                  : QStringLiteral("(page frame)"));
        if (OnObject)
            OnObject(object);
    }
    void FinishPage(report::TrpReportPage*, int index) override {
        Calls << QStringLiteral("FinishPage:%1").arg(index);
    }
    void Finish() override { Calls << QStringLiteral("Finish"); }
};

inline report::TrpMemoView* AddMemo(report::TrpComponent& parent, const QString& name, const QString& text,
                                    Extended left, Extended top, Extended width, Extended height,
                                    report::TrpFrameTypes frame = 0) {
    auto memo = std::make_unique<report::TrpMemoView>();
    memo->SetName(name);
    memo->SetText(text);
    memo->SetBounds(left, top, width, height);
    memo->FrameRef().Typ = frame;
    return static_cast<report::TrpMemoView*>(parent.Add(std::move(memo)));
}

// A report whose pages hold the given memos; errors never reach a message box.
inline std::unique_ptr<report::TrpReport> NewReport() {
    auto r = std::make_unique<report::TrpReport>();
    r->EngineOptions.NewSilentMode = report::simSilent;
    r->ShowProgress = false;
    return r;
}

// The calculation sheet's page: A4, margins 10.00125 mm, Arial 10 pt Cyrillic.
inline report::TrpReportPage* AddSheetPage(report::TrpReport& r) {
    using namespace report;
    TrpReportPage* page = r.AddPage();
    page->SetName(QStringLiteral("Page"));
    page->SetPaperSize(TrpReportPage::A4);
    page->SetLeftMargin(10.00125L);
    page->SetRightMargin(10.00125L);
    page->SetTopMargin(10.00125L);
    page->SetBottomMargin(10.00125L);
    TrpFont font;
    font.Name = QStringLiteral("Arial");
    font.Size = 10;
    font.Charset = RUSSIAN_CHARSET;
    page->SetFont(font);

    auto fontOf = [&](int size, int style, TColor color) {
        TrpFont f = font;
        f.Size = size;
        f.Style = style;
        f.Color = color;
        return f;
    };
    auto memo = [&](const QString& name, const QString& text, Extended l, Extended t, Extended w, Extended h,
                    TrpFrameTypes frame, const TrpFont& f, TrpHAlign ha, TrpVAlign va) {
        TrpMemoView* m = AddMemo(*page, name, text, l, t, w, h, frame);
        m->SetFont(f);
        m->SetHAlign(ha);
        m->SetVAlign(va);
        return m;
    };
    memo("Memo1", "Расчет стоимости ОСАГО", 38, 99, 642.5201L, 18.89765L, 0, fontOf(14, fsBold, clBlack),
         haCenter, vaTop);
    struct Row {
        const char* Caption;
        const char* Code;
        const char* Cell;
    };
    const Row rows[] = {
        {"Базовая ставка страхового тарифа (в рублях):", "ТБ", "meType"},
        {"Коэффициент территории использования ТС:", "КТ", "meHome"},
        {"Коэффициент класса страхователя:", "КБМ", "meClass"},
        {"Коэффициент количества лиц, допущенных к управлению:", "КО", "mePeople"},
        {"Коэффициент возраста и стажа водителя:", "КВС", "meAge"},
        {"Коэффициент мощности двигателя легкового автомобиля:", "КМ", "mePower"},
        {"Коэффициент периода использования транспортного средства:", "КС", "mePeriod"},
        {"Коэффициент срока страхования:", "КП", "meTime"},
        {"Коэффициент страхового тарифа:", "КН", "meDop"},
    };
    const Extended tops[] = {135,           166.04166667L, 197.08333333L, 228.125L,     259.16666666L,
                             290.20833333L, 321.25L,       352.29166666L, 383.33333333L};
    int n = 2;
    for (int i = 0; i < 9; ++i) {
        const Extended top = tops[i];
        TrpMemoView* caption =
            memo(QStringLiteral("Memo%1").arg(n), QString::fromUtf8(rows[i].Caption), 14, top, 530.48825L,
                 30.89765L, ftAll, fontOf(12, 0, clBlack), haLeft, vaCenter);
        caption->SetGapX(20);
        memo(QStringLiteral("Memo%1").arg(n + 1), QString::fromUtf8(rows[i].Code), 544.33333334L, top,
             54.48825L, 30.89765L, ftAll, fontOf(12, 0, clBlack), haCenter, vaCenter);
        TrpMemoView* value = memo(
            QString::fromLatin1(rows[i].Cell), QStringLiteral("[%1]").arg(QString::fromUtf8(rows[i].Code)),
            599, top, 102.48825L, 30.89765L, ftAll, fontOf(12, fsBold, clBlack), haCenter, vaCenter);
        value->DisplayFormatRef().DecimalSeparator = QStringLiteral(",");
        n += 3;
    }
    TrpMemoView* box = memo("Memo4", "Размер страховой премии (Т):", 111, 429, 489, 101, ftAll,
                            fontOf(14, 0, clBlack), haCenter, vaTop);
    box->SetGapY(3);
    memo("meFormula", "[Формула]", 117, 462, 476, 28, 0, fontOf(14, 0, clBlack), haCenter, vaTop);
    memo("meResult", "[Сумма]", 117, 492, 476, 28, 0, fontOf(14, 0, clRed), haCenter, vaTop);
    TrpMemoView* header =
        memo("Memo7",
             "Подготовлено в программе:\n<b>-= Тарифон 2.0\" =-</b>\nООО «Тарифон»\n"
             "Программы для страховых агентов",
             -2.449374412499992L, -2, 723, 81, ftBottom, fontOf(8, 0, clBlack), haCenter, vaTop);
    header->SetAllowHTMLTags(true);
    header->SetAlign(baCenter);
    auto picture = std::make_unique<TrpPictureView>();
    picture->SetName(QStringLiteral("Picture1"));
    picture->SetBounds(15, 7, 96, 62);
    picture->SetCenter(true);
    picture->SetStretched(false);
    QImage logo(96, 62, QImage::Format_RGB32);
    logo.fill(QColor(0, 90, 160));
    picture->SetPicture(logo);
    page->Add(std::move(picture));
    TrpMemoView* site = memo("Memo10", "www.tarifon.example", 234.26381L, 52.22047L, 125.52L, 17, 0,
                             fontOf(8, fsUnderline, clBlue), haCenter, vaTop);
    site->SetURL(QStringLiteral("http://www.tarifon.example"));
    TrpMemoView* mail = memo("Memo13", "support@tarifon.example", 367.07081L, 52.22047L, 118.52L, 17, 0,
                             fontOf(8, fsUnderline, clBlue), haCenter, vaTop);
    mail->SetURL(QStringLiteral("mailto:support@tarifon.example"));
    return page;
}

// The sheet's variables for one case ("Т = ТБ*КТ*КБМ*КО*КН", 6 075 roubles).
inline void FillSheetVariables(report::TrpReport& r) {
    const std::pair<const char*, const char*> values[] = {{"ТБ", "'2 025'"},
                                                          {"КТ", "'2'"},
                                                          {"КБМ", "'1'"},
                                                          {"КО", "'1,5'"},
                                                          {"КВС", "''"},
                                                          {"КМ", "''"},
                                                          {"КС", "''"},
                                                          {"КП", "''"},
                                                          {"КН", "'1'"},
                                                          {"Формула", "'Т = ТБ*КТ*КБМ*КО*КН'"},
                                                          {"Сумма", "'6 075 рублей'"}};
    for (const auto& [name, value] : values)
        r.Variables().SetVariableValue(QString::fromUtf8(name), std::string(value));
}

// A report of `pages` copies of the sheet's page, filled for that case and prepared; null when
// the preparation fails.
inline std::unique_ptr<report::TrpReport> PreparedSheets(int pages) {
    auto r = NewReport();
    for (int i = 0; i < pages; ++i)
        AddSheetPage(*r);
    FillSheetVariables(*r);
    return r->Prepare() ? std::move(r) : nullptr;
}

} // namespace exporttest

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
