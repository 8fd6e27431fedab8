#pragma once
// The printer types the printer-text export knows, their control sequences, and the printer
// settings file (".rpi") that keeps a chosen type with its command flags.

#include <QByteArray>
#include <QString>
#include <vector>

namespace exports {

struct TrpPrinterCommand {
    QString Name;
    QByteArray On, Off;
    bool Enabled = false;
};

struct TrpPrinterType {
    QString Name;
    std::vector<TrpPrinterCommand> Commands;
};

// NONE, EPSON ESC/P2, HP PCL, CANON/IBM, every command off.
std::vector<TrpPrinterType> DefaultPrinterTypes();

// Each command's "on" sequence when enabled, else its "off" sequence, in order.
QByteArray BuildInitString(const TrpPrinterType& type);

// The settings file: the type's index on the first line, then "True" or "False" per command.
QByteArray PrinterSettingsText(int typeIndex, const TrpPrinterType& type);

// Reads a settings file's bytes against the known types. On success returns "" and sets the
// type index and one flag per command of that type; otherwise returns what is wrong and
// leaves both alone.
QString ParsePrinterSettings(const QByteArray& data, const std::vector<TrpPrinterType>& types, int& typeIndex,
                             std::vector<bool>& flags);

// The settings file read into the types: "" on success, else the message to show; a file that
// cannot be read or is not a settings file changes nothing.
QString LoadPrinterSettingsFile(const QString& fileName, std::vector<TrpPrinterType>& types, int& typeIndex);
// The selected type with its flags written to the file: "" or the message to show.
QString SavePrinterSettingsFile(const QString& fileName, const std::vector<TrpPrinterType>& types,
                                int typeIndex);

} // namespace exports
