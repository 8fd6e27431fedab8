#pragma once
// A long report for the engine's paging, cache, search and preview: one A4 template page run
// once per record of a data set, so that page k (from 1) reads "Договор № k". Its texts carry
// quotes, angle brackets, ampersands and a line break, and every page asks for the page count.

#include "report/Report.h"

#include <QString>
#include <memory>

namespace longreport {

// The text page `number` (from 1) holds and no other page does.
inline QString ContractText(int number) {
    return QStringLiteral("Договор № %1\r\n").arg(number);
}

inline std::unique_ptr<report::TrpReport> Create(int pages) {
    using namespace report;
    auto r = std::make_unique<TrpReport>();
    r->EngineOptions.NewSilentMode = simSilent;
    r->ShowProgress = false;
    r->ReportOptions.Name = QStringLiteral("Реестр договоров");
    r->DataSets.push_back({QStringLiteral("Rows"), pages});
    TrpReportPage* page = r->AddPage();
    page->SetName(QStringLiteral("Page1"));
    page->SetDataSetName(QStringLiteral("Rows"));
    page->SetOutlineText(QStringLiteral("'Договор № ' + <Line>"));
    auto add = [&](const QString& name, const QString& text, Extended top, Extended height) {
        auto memo = std::make_unique<TrpMemoView>();
        memo->SetName(name);
        memo->SetText(text);
        memo->SetBounds(10, top, 600, height);
        return static_cast<TrpMemoView*>(page->Add(std::move(memo)));
    };
    TrpMemoView* title = add(QStringLiteral("Title"), QStringLiteral("Реестр договоров ОСАГО"), 0, 30);
    title->SetAlign(baCenter);
    title->SetHAlign(haCenter);
    title->OwnFont().Style = 1;
    title->OwnFont().Size = 14;
    title->SetParentFont(false);
    title->FrameRef().Typ = 15;
    add(QStringLiteral("Body"),
        QStringLiteral("Договор № [Line]\r\nСтрахователь: \"ООО <Ромашка> & сыновья\", запись [Line]"), 50,
        60);
    TrpMemoView* sum = add(QStringLiteral("Sum"), QStringLiteral("Премия: [<Line> * 3] руб."), 120, 20);
    sum->SetColor(0x00E0FFFF);
    add(QStringLiteral("Footer"), QStringLiteral("Страница [Page#] из [TotalPages#]"), 1000, 20);
    return r;
}

} // namespace longreport
