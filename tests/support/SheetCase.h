#pragma once
// The case the sheet's tests and benchmarks print: premium 6 075 roubles, Т = ТБ*КТ*КБМ*КО*КН.

#include "report/Report.h"
#include "sheet/SheetTemplate.h"

#include <memory>

namespace testsupport {

// With `everyCoefficient` КВС, КМ, КС and КП read "1,0" too; else they stay empty.
inline sheet::SheetTexts SheetCase(bool everyCoefficient = false) {
    sheet::SheetTexts t;
    t.TB = QStringLiteral("2 025");
    t.KT = QStringLiteral("2,0");
    t.KBM = QStringLiteral("1,0");
    t.KO = QStringLiteral("1,5");
    t.KN = QStringLiteral("1,0");
    if (everyCoefficient)
        t.KVS = t.KM = t.KS = t.KP = QStringLiteral("1,0");
    t.Formula = QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН");
    t.Premium = QStringLiteral("6 075 рублей");
    return t;
}

// The sheet prepared for the case, silent (no message boxes, no progress window); null when the
// preparation fails.
inline std::unique_ptr<report::TrpReport> PreparedSheetReport(const sheet::SheetTexts& texts = SheetCase()) {
    auto r = sheet::CreateSheetReport();
    r->EngineOptions.NewSilentMode = report::simSilent;
    r->ShowProgress = false;
    return sheet::PrepareSheet(*r, texts).Ok ? std::move(r) : nullptr;
}

} // namespace testsupport
