#include "preview/Printers.h"

#include "report/EngineTexts.h"

namespace preview {

using namespace report;

TrpPrinters& TrpPrinters::Instance() {
    static TrpPrinters printers;
    return printers;
}

void TrpPrinters::Refresh() {
    FInfos = QPrinterInfo::availablePrinters();
    FNames.clear();
    for (const QPrinterInfo& info : FInfos)
        FNames << info.printerName();
    FIndex = 0;
    if (FInfos.isEmpty()) {
        FNames << rpGet("prVirtual");
        return;
    }
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    const int found = IndexOf(defaultName);
    if (found >= 0)
        FIndex = found;
}

int TrpPrinters::IndexOf(const QString& name) const {
    for (int i = 0; i < FNames.size(); ++i)
        if (FNames[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TrpPrinters::SetPrinterIndex(int index) {
    if (index >= 0 && index < FNames.size())
        FIndex = index;
}

QPrinterInfo TrpPrinters::Info(int index) const {
    return index >= 0 && index < FInfos.size() ? FInfos[index] : QPrinterInfo();
}

} // namespace preview
