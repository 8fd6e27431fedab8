#include "export/text/PrinterTypes.h"

#include "platform/AtomicFile.h"
#include "report/EngineTexts.h"

#include <QFile>

#include <QList>

namespace exports {

using report::rpGet;

namespace {

// Settings files are a few hundred bytes; anything far larger is not one.
constexpr qsizetype MaxSettingsFile = 64 * 1024;

struct CommandRow {
    const char* Name;
    const char* On;
    const char* Off;
};

TrpPrinterType MakeType(const char* name, std::initializer_list<CommandRow> rows) {
    TrpPrinterType type{QString::fromLatin1(name), {}};
    for (const CommandRow& r : rows)
        type.Commands.push_back(
            {QString::fromLatin1(r.Name), QByteArray::fromHex(r.On), QByteArray::fromHex(r.Off)});
    return type;
}

QString Reason(const char* key, const QStringList& args = {}) {
    QString text = rpGet(QString::fromLatin1(key));
    for (const QString& a : args)
        text = text.arg(a);
    return text;
}

} // namespace

std::vector<TrpPrinterType> DefaultPrinterTypes() {
    return {
        MakeType("NONE", {}),
        MakeType("EPSON ESC/P2 Matrix/Stylus)", {{"Reset", "1B40", ""},
                                                 {"Normal", "1B7800", ""},
                                                 {"Pica", "1B78011B6B00", ""},
                                                 {"Elite", "1B78011B6B01", ""},
                                                 {"Condensed", "0F", "12"},
                                                 {"Bold", "1B47", "1B48"},
                                                 {"Italic", "1B34", "1B35"},
                                                 {"Wide", "1B5701", "1B5700"},
                                                 {"12cpi", "1B4D", "1B50"},
                                                 {"Linefeed 1/8\"", "1B30", ""},
                                                 {"Linefeed 7/72\"", "1B31", ""},
                                                 {"Linefeed 1/6\"", "1B32", ""}}),
        MakeType("HP PCL (LaserJet/DeskJet)", {{"Reset", "1B45", ""},
                                               {"Landscape orientation", "1B266C314F", "1B266C304F"},
                                               {"Italic", "1B28733153", "1B28733053"},
                                               {"Bold", "1B28733342", "1B28733042"},
                                               {"Draft EconoMode", "1B28733151", "1B28733251"},
                                               {"Condenced", "1B28733132481B266C3844", "1B2873313048"}}),
        MakeType("CANON/IBM (Matrix)", {{"Reset", "1B40", ""},
                                        {"Normal", "1B7800", ""},
                                        {"Pica", "1B3049", ""},
                                        {"Elite", "1B3849", ""},
                                        {"Condensed", "0F", "12"},
                                        {"Bold", "1B47", "1B48"},
                                        {"Italic", "1B34", "1B35"},
                                        {"12cpi", "1B4D", "1B50"}}),
    };
}

QByteArray BuildInitString(const TrpPrinterType& type) {
    QByteArray init;
    for (const TrpPrinterCommand& c : type.Commands)
        init += c.Enabled ? c.On : c.Off;
    return init;
}

QByteArray PrinterSettingsText(int typeIndex, const TrpPrinterType& type) {
    QByteArray text = QByteArray::number(typeIndex) + "\r\n";
    for (const TrpPrinterCommand& c : type.Commands)
        text += (c.Enabled ? "True" : "False") + QByteArray("\r\n");
    return text;
}

QString ParsePrinterSettings(const QByteArray& data, const std::vector<TrpPrinterType>& types, int& typeIndex,
                             std::vector<bool>& flags) {
    if (data.size() > MaxSettingsFile)
        return Reason("rpiTooLarge");
    QList<QByteArray> lines = data.split('\n');
    for (QByteArray& line : lines)
        line = line.trimmed();
    // Blank lines at the end are the file's last line break, or an editor's.
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return Reason("rpiNoType");
    bool ok = false;
    const int index = lines[0].toInt(&ok);
    if (!ok)
        return Reason("rpiNoType");
    if (index < 0 || index >= int(types.size()))
        return Reason("rpiBadType", {QString::number(index), QString::number(types.size() - 1)});
    const TrpPrinterType& type = types[size_t(index)];
    const int count = int(type.Commands.size());
    const int present = int(lines.size()) - 1;
    std::vector<bool> read;
    for (int i = 1; i <= std::min(count, present); ++i) {
        const QByteArray& line = lines[i];
        if (line.compare("True", Qt::CaseInsensitive) == 0)
            read.push_back(true);
        else if (line.compare("False", Qt::CaseInsensitive) == 0)
            read.push_back(false);
        else
            return Reason("rpiBadFlag", {QString::number(i + 1)});
    }
    if (present < count)
        return Reason("rpiMissingLines", {type.Name, QString::number(count), QString::number(present)});
    if (present > count)
        return Reason("rpiExtraLines", {QString::number(count + 1)});
    typeIndex = index;
    flags = std::move(read);
    return {};
}

QString LoadPrinterSettingsFile(const QString& fileName, std::vector<TrpPrinterType>& types, int& typeIndex) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return rpGet(QStringLiteral("rpiCannotRead")).arg(fileName, file.errorString());
    // One byte more than a settings file may have tells a larger file from one at the limit.
    const QByteArray data = file.read(MaxSettingsFile + 1);
    if (file.error() != QFileDevice::NoError)
        return rpGet(QStringLiteral("rpiCannotRead")).arg(fileName, file.errorString());
    int index = typeIndex;
    std::vector<bool> flags;
    const QString problem = ParsePrinterSettings(data, types, index, flags);
    if (!problem.isEmpty())
        return rpGet(QStringLiteral("rpiMalformed")).arg(fileName, problem);
    typeIndex = index;
    auto& commands = types[size_t(index)].Commands;
    for (size_t i = 0; i < commands.size(); ++i)
        commands[i].Enabled = flags[i];
    return {};
}

QString SavePrinterSettingsFile(const QString& fileName, const std::vector<TrpPrinterType>& types,
                                int typeIndex) {
    const QString error =
        platform::WriteFileAtomically(fileName, PrinterSettingsText(typeIndex, types[size_t(typeIndex)]));
    return error.isEmpty() ? QString() : rpGet(QStringLiteral("exCannotWrite")).arg(fileName, error);
}

} // namespace exports
