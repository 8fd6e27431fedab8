#include "report/FileFaults.h"

#include "report/ValueFormat.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace report {

namespace {

constexpr int FaultCount = int(TrpFileFault::PaperOutside) + 1;
using Table = std::array<const char*, FaultCount>;

// %1, %2 … are the names, then the numbers, in the order the fault lists them.
constexpr Table English = {
    "",
    "there is no such file",
    "it is a folder, not a file",
    "permission denied",
    "%1",
    "it is a device, not a prepared report file",
    "Invalid file format: %1",
    "Invalid file format",
    "Invalid file format: the encoding \"%1\" is not supported",
    "Invalid file format: the text is not valid %1",
    "Invalid file format: the file is longer than %1 bytes",
    "Invalid file format: a tag is longer than %1 bytes",
    "Invalid file format: items nest deeper than %1 levels",
    "Invalid file format: the file holds more than %1 items",
    "Invalid file format: the file holds no pages",
    "Invalid file format: the value of %1 in %2 is %3 characters long, more than %4",
    "Invalid file format: the picture in %1 is not PNG, JPEG, BMP, GIF or icon data",
    "Invalid file format: the picture in %1 has a header that cannot be read",
    "Invalid file format: the picture in %1 has data that cannot be decoded",
    "Invalid file format: the picture in %1 is %2 x %3 pixels, more than %4",
    "Invalid file format: the paper of %1 x %2 mm is outside %3 to %4 mm",
};

constexpr Table Russian = {
    "",
    "Такого файла нет",
    "Это папка, а не файл",
    "Нет прав на чтение файла",
    "%1",
    "Это устройство, а не файл готового отчета",
    "Файл не читается: %1",
    "Неверный формат файла",
    "Неверный формат файла: кодировка «%1» не поддерживается",
    "Неверный формат файла: текст не в кодировке %1",
    "Неверный формат файла: файл длиннее %1 байт",
    "Неверный формат файла: тег длиннее %1 байт",
    "Неверный формат файла: элементы вложены глубже %1 уровней",
    "Неверный формат файла: в файле больше %1 элементов",
    "Неверный формат файла: в файле нет страниц",
    "Неверный формат файла: значение %1 в %2 длиной %3 знаков, больше %4",
    "Неверный формат файла: рисунок в %1 — не PNG, JPEG, BMP, GIF и не значок",
    "Неверный формат файла: заголовок рисунка в %1 не читается",
    "Неверный формат файла: данные рисунка в %1 не декодируются",
    "Неверный формат файла: рисунок в %1 размером %2 × %3 точек, больше %4",
    "Неверный формат файла: бумага %1 × %2 мм вне пределов от %3 до %4 мм",
};

// Every fault has its text in each table.
constexpr bool Complete(const Table& table) {
    return std::ranges::none_of(table, [](const char* text) { return text == nullptr; });
}
static_assert(Complete(English) && Complete(Russian));

QString Number(double value, TrpLanguage language) {
    if (language == TrpLanguage::Russian)
        return FormatPicture(value, QStringLiteral("#,##0.##"), EngineRegionalSettings());
    return value == std::trunc(value) && std::fabs(value) < 1e18 ? QString::number(qint64(value))
                                                                 : QString::number(value, 'g', 6);
}

} // namespace

QString FileErrorText(const TrpFileError& error, TrpLanguage language) {
    const Table& table = language == TrpLanguage::Russian ? Russian : English;
    const QString pattern = QString::fromUtf8(table[size_t(error.Fault)]);
    QStringList args = error.Names;
    for (double n : error.Numbers)
        args << Number(n, language);
    // One pass over the pattern, so a name from the file that reads "%2" stays as it is.
    QString text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const qsizetype n = i + 1 < pattern.size() ? pattern[i + 1].digitValue() : -1;
        if (pattern[i] == u'%' && n >= 1 && n <= args.size()) {
            text += args[n - 1];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace report
