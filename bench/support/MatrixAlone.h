#pragma once
// The layout matrix of a whole-document export and nothing else: fed by the export loop page by
// page and prepared at the end, set up as the export being compared sets it up.

#include "export/ExportFilter.h"
#include "export/LayoutMatrix.h"
#include "report/PreparedPageStore.h"

#include <functional>
#include <memory>

namespace bench {

class MatrixAlone : public exports::TrpCustomExportFilter {
public:
    explicit MatrixAlone(std::function<void(exports::TrpIEMatrix&)> setup) : FSetup(std::move(setup)) {
        SetShowDialog(false);
        SetShowProgress(false);
    }
    bool Start() override {
        M = std::make_unique<exports::TrpIEMatrix>();
        M->ShowProgress = false;
        M->Report = Report();
        FSetup(*M);
        return true;
    }
    void ExportObject(const report::TrpPlacedObject& object) override { M->AddObject(object); }
    void FinishPage(report::TrpReportPage* page, int) override {
        M->AddPage(page->Orientation(), page->Width(), page->Height(), page->LeftMargin(), page->TopMargin(),
                   page->RightMargin(), page->BottomMargin());
    }
    void Finish() override { M->Prepare(); }

    std::unique_ptr<exports::TrpIEMatrix> M;

private:
    std::function<void(exports::TrpIEMatrix&)> FSetup;
};

} // namespace bench
