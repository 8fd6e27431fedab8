#pragma once
// Small templates shared by the report tests.

#include "report/PreviewPages.h"
#include "report/Report.h"

#include <QString>

namespace reporttest {

// A report with one A4 page; errors never reach a message box.
inline std::unique_ptr<report::TrpReport> NewReport() {
    auto r = std::make_unique<report::TrpReport>();
    r->EngineOptions.NewSilentMode = report::simSilent;
    report::TrpReportPage* page = r->AddPage();
    page->SetName(QStringLiteral("Page"));
    return r;
}

inline report::TrpMemoView* AddMemo(report::TrpReport& r, const QString& name, const QString& text,
                                    report::Extended left = 10, report::Extended top = 10,
                                    report::Extended width = 100, report::Extended height = 20) {
    auto memo = std::make_unique<report::TrpMemoView>();
    memo->SetName(name);
    memo->SetText(text);
    memo->SetBounds(left, top, width, height);
    return static_cast<report::TrpMemoView*>(r.Pages(0)->Add(std::move(memo)));
}

// The text a memo shows on the first prepared page.
inline QString PreparedText(report::TrpReport& r, const QString& name) {
    report::TrpReportPage* page = r.PreviewPages().Page(0);
    if (!page)
        return QStringLiteral("<no page>");
    auto* memo = dynamic_cast<report::TrpCustomMemoView*>(page->FindObject(name));
    return memo ? memo->Text() : QStringLiteral("<no memo>");
}

} // namespace reporttest
