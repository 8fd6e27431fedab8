#pragma once
// The system's printers as the engine sees them: enumerated once, with a selected printer
// that starts as the system default and stays what the user picked during this run.

#include <QPrinterInfo>
#include <QString>
#include <QStringList>

namespace preview {

class TrpPrinters {
public:
    // The process-wide list, enumerated on first use.
    static TrpPrinters& Instance();

    // Enumerates again (the selection goes back to the default printer).
    void Refresh();

    // Whether the system has any printer at all.
    bool HasPrinters() const { return !FInfos.isEmpty(); }
    // Printer names; with no printer installed a single virtual printer (engine text
    // "prVirtual").
    const QStringList& Names() const { return FNames; }
    int Count() const { return int(FNames.size()); }
    // Index of a printer by name without regard to case, or -1.
    int IndexOf(const QString& name) const;

    int PrinterIndex() const { return FIndex; }
    void SetPrinterIndex(int index);
    QString PrinterName() const { return FNames.value(FIndex); }
    // The selected printer's information (null for the virtual printer).
    QPrinterInfo Info() const { return Info(FIndex); }
    QPrinterInfo Info(int index) const;

private:
    TrpPrinters() { Refresh(); }

    QList<QPrinterInfo> FInfos;
    QStringList FNames;
    int FIndex = 0;
};

} // namespace preview
