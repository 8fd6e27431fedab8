#pragma once
// A prepared calculation sheet to show in the preview.

#include "report/PreparedPageStore.h"
#include "report/Report.h"
#include "sheet/SheetTemplate.h"

#include <gtest/gtest.h>
#include <memory>

namespace previewtest {

inline sheet::SheetTexts LorryTexts() {
    sheet::SheetTexts t;
    t.TB = QStringLiteral("2025");
    t.KT = QStringLiteral("2");
    t.KBM = QStringLiteral("1");
    t.KO = QStringLiteral("1,5");
    t.KVS = QStringLiteral("1");
    t.KM = QStringLiteral("1");
    t.KS = QStringLiteral("1");
    t.KP = QStringLiteral("1");
    t.KN = QStringLiteral("1");
    t.Formula = QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН");
    t.Premium = QStringLiteral("6 075 рублей");
    return t;
}

// The sheet prepared from texts; errors are collected, never shown.
inline std::unique_ptr<report::TrpReport> PreparedSheet(const sheet::SheetTexts& texts = LorryTexts()) {
    auto r = sheet::CreateSheetReport();
    r->OnShowError = [](const QString&, const QString& text) { ADD_FAILURE() << text.toStdString(); };
    const sheet::PrepareResult result = sheet::PrepareSheet(*r, texts);
    EXPECT_TRUE(result.Ok) << result.Message.toStdString();
    return r;
}

// All memo texts of a prepared page, joined.
inline QString PageTexts(report::TrpReport& r, int index = 0) {
    QStringList texts;
    if (report::TrpReportPage* page = r.PreviewPages().Page(index))
        for (const auto& object : page->Objects())
            if (auto* memo = dynamic_cast<report::TrpCustomMemoView*>(object.get()))
                texts << memo->Text();
    return texts.join(QLatin1Char('|'));
}

} // namespace previewtest
