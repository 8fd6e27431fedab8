// The calculation sheet through the calculator's own three text filters (menu items 4, 5, 6),
// compared byte for byte with the files a person has checked, and read back by Python: the
// CSV by its csv module, the texts decoded as code page 1251, and as 866 with the OEM option.
#include "TextTools.h"

#include "export/FilterOptions.h"
#include "export/html/HtmlExport.h"
#include "export/image/ImageExport.h"
#include "export/pdf/PdfExport.h"
#include "export/rtf/RtfExport.h"
#include "export/text/CSVExport.h"
#include "export/text/SimpleTextExport.h"
#include "export/text/TXTExport.h"
#include "export/xls/XlsExport.h"
#include "export/xml/XmlExport.h"
#include "sheet/commands/SheetFilters.h"

#include <QDir>
#include <functional>

using namespace texttest;

namespace {

struct Output {
    int MenuIndex;
    const char* Golden;
};
const Output kOutputs[] = {{4, "sheet.prn"}, {5, "sheet.txt"}, {6, "sheet.csv"}};

const char* const kCaptions[] = {"Базовая ставка страхового тарифа (в рублях):",
                                 "Коэффициент территории использования ТС:",
                                 "Коэффициент класса страхователя:",
                                 "Коэффициент количества лиц, допущенных к управлению:",
                                 "Коэффициент возраста и стажа водителя:",
                                 "Коэффициент мощности двигателя легкового автомобиля:",
                                 "Коэффициент периода использования транспортного средства:",
                                 "Коэффициент срока страхования:",
                                 "Коэффициент страхового тарифа:"};
const char* const kCodes[] = {"ТБ", "КТ", "КБМ", "КО", "КВС", "КМ", "КС", "КП", "КН"};
// The values the case gives; the four coefficients outside the formula stay empty.
const char* const kValues[] = {"2\u00A0025", "2,0", "1,0", "1,5", "", "", "", "", "1,0"};

class TextSheet : public ::testing::Test {
protected:
    void SetUp() override { report = SheetReport(); }

    // The sheet through the window's filter of that menu item, written to a file.
    QString Export(int menuIndex, bool oem = false) {
        std::unique_ptr<exports::TrpCustomExportFilter> filter = sheet::CreateSheetFilter(menuIndex);
        EXPECT_TRUE(filter);
        if (!filter)
            return {};
        static_cast<exports::TrpTextFileExport&>(*filter).SetOEMCodepage(oem);
        filter->SetShowDialog(false);
        filter->SetShowProgress(false);
        const QString file = dir.filePath(QStringLiteral("OSAGO%1%2").arg(menuIndex).arg(oem ? "oem" : ""));
        filter->SetFileName(file);
        EXPECT_TRUE(exports::ExportTo(*report, filter.get())) << report->Errors().join('\n').toStdString();
        return file;
    }

    std::unique_ptr<TrpReport> report;
    QTemporaryDir dir;
};

} // namespace

// TARIFON_UPDATE_GOLDEN=1 writes the files anew; look at them before committing.
TEST_F(TextSheet, MatchesTheCheckedFilesByteForByte) {
    for (const Output& o : kOutputs) {
        SCOPED_TRACE(o.Golden);
        const QByteArray written = ReadFile(Export(o.MenuIndex));
        const QString golden =
            QStringLiteral(TARIFON_TEST_DATA "/export/text/") + QString::fromLatin1(o.Golden);
        if (qEnvironmentVariableIsSet("TARIFON_UPDATE_GOLDEN"))
            WriteFile(golden, written);
        EXPECT_EQ(written, ReadFile(golden));
    }
}

TEST_F(TextSheet, PythonsCsvModuleReadsEveryCellInItsRowAndColumn) {
    const std::vector<QStringList> rows = PythonCsv(Export(6), "cp1251", QStringLiteral(";"));
    ASSERT_FALSE(rows.empty());
    auto find = [&](const QString& text, int& row, int& column) {
        for (size_t r = 0; r < rows.size(); ++r)
            if (const qsizetype c = rows[r].indexOf(text); c >= 0) {
                row = int(r);
                column = int(c);
                return true;
            }
        return false;
    };
    int row = -1, column = -1;
    ASSERT_TRUE(find(QStringLiteral("Расчет стоимости ОСАГО"), row, column));
    const int titleRow = row;
    // The header's lines are one field, a space where each line ended; its quote came back whole.
    bool header = false;
    for (const QStringList& fields : rows)
        for (const QString& f : fields)
            header = header ||
                     (f.startsWith(QStringLiteral("Подготовлено в программе: -= Тарифон 2.0\" =-")) &&
                      f.endsWith(QStringLiteral("Программы для страховых агентов, брокеров и автодилеров")));
    EXPECT_TRUE(header);
    // The table: nine rows one below the other under the title, each with its caption, code
    // and value in the same three columns (the caption spans the columns up to the code).
    int previous = titleRow, codeColumn = -1, valueColumn = -1;
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(kCodes[i]);
        ASSERT_TRUE(find(QString::fromUtf8(kCaptions[i]), row, column));
        EXPECT_EQ(column, 0);
        EXPECT_GT(row, previous);
        previous = row;
        const QStringList& fields = rows[size_t(row)];
        const qsizetype code = fields.indexOf(QString::fromUtf8(kCodes[i]));
        ASSERT_GT(code, 0);
        EXPECT_TRUE(fields.mid(1, code - 1).join(QString()).isEmpty());
        codeColumn = i == 0 ? int(code) : codeColumn;
        EXPECT_EQ(code, codeColumn);
        qsizetype value = code + 1;
        while (value < fields.size() && fields[value].isEmpty() && *kValues[i])
            ++value;
        valueColumn = i == 0 ? int(value) : valueColumn;
        ASSERT_LT(valueColumn, fields.size());
        EXPECT_EQ(fields[valueColumn], QString::fromUtf8(kValues[i]));
    }
    ASSERT_TRUE(find(QStringLiteral("Размер страховой премии (Т):"), row, column));
    EXPECT_GT(row, previous);
    int formulaRow = -1, premiumRow = -1;
    ASSERT_TRUE(find(QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН"), formulaRow, column));
    ASSERT_TRUE(find(QStringLiteral("6\u00A0075 рублей"), premiumRow, column));
    EXPECT_LT(row, formulaRow);
    EXPECT_LT(formulaRow, premiumRow);
}

TEST_F(TextSheet, TextsDecodeAsCp1251AndWithTheOemOptionAsCp866) {
    for (const Output& o : kOutputs) {
        SCOPED_TRACE(o.Golden);
        const QString ansi = PythonDecode(Export(o.MenuIndex), "cp1251");
        for (int i = 0; i < 9; ++i) {
            // The printer text breaks the long captions inside their boxes.
            const QString caption = QString::fromUtf8(kCaptions[i]);
            if (o.MenuIndex == 4)
                EXPECT_TRUE(ansi.contains(caption.section(QLatin1Char(' '), 0, 1))) << kCaptions[i];
            else
                EXPECT_TRUE(ansi.contains(caption)) << kCaptions[i];
            EXPECT_TRUE(ansi.contains(QString::fromUtf8(kCodes[i])));
        }
        // The printer text prints a no-break space as a space.
        const QString space = o.MenuIndex == 4 ? QStringLiteral(" ") : QStringLiteral("\u00A0");
        for (const QString& text :
             {QStringLiteral("Расчет стоимости ОСАГО"), QStringLiteral("2") + space + "025",
              QStringLiteral("1,5"), QStringLiteral("Т = ТБ*КТ*КБМ*КО*КН"),
              QStringLiteral("6") + space + QStringLiteral("075 рублей"),
              QStringLiteral("Размер страховой премии (Т):")})
            EXPECT_TRUE(ansi.contains(text)) << text.toStdString();
        EXPECT_FALSE(ansi.contains(QLatin1Char('<'))) << "tags of the header";

        // The OEM file says the same in code page 866 (where the printer text keeps the
        // no-break space), but for the guillemets 866 lacks: each is one "?".
        QString oem = PythonDecode(Export(o.MenuIndex, true), "cp866");
        if (o.MenuIndex == 4)
            oem.replace(QChar(0xA0), QLatin1Char(' '));
        EXPECT_EQ(
            oem, QString(ansi).replace(QChar(u'«'), QLatin1Char('?')).replace(QChar(u'»'), QLatin1Char('?')));
        EXPECT_TRUE(ansi.contains(QStringLiteral("«")));
    }
}

// Each filter of the export menu declares its options with the defaults a new filter of its
// class has, and takes back every value it shows.
TEST(FilterOptions, DeclaredDefaultsAreThoseOfANewFilter) {
    using namespace exports;
    const std::function<std::unique_ptr<TrpCustomExportFilter>()> filters[] = {
        [] { return std::make_unique<TrpBMPExport>(true); },
        [] { return std::make_unique<TrpJPEGExport>(true); },
        [] { return std::make_unique<TrpTIFFExport>(true); },
        [] { return std::make_unique<TrpGIFExport>(true); },
        [] { return std::make_unique<TrpTXTExport>(true); },
        [] { return std::make_unique<TrpSimpleTextExport>(true); },
        [] { return std::make_unique<TrpCSVExport>(true); },
        [] { return std::make_unique<TrpHTMLExport>(true); },
        [] { return std::make_unique<TrpXLSExport>(true); },
        [] { return std::make_unique<TrpXMLExport>(true); },
        [] { return std::make_unique<TrpRTFExport>(true); },
        [] { return std::make_unique<TrpPDFExport>(true); },
    };
    for (const auto& make : filters) {
        const std::unique_ptr<TrpCustomExportFilter> filter = make();
        const std::vector<const FilterOption*> rows = filter->PublishedOptions().Rows();
        EXPECT_GT(rows.size(), 1u) << filter->FilterDescription().toStdString();
        for (const FilterOption* row : rows) {
            SCOPED_TRACE(filter->FilterDescription().toStdString() + " " + row->Name.toStdString());
            EXPECT_EQ(row->Get(*filter), row->Default);
            EXPECT_TRUE(row->Set(*filter, row->Get(*filter)));
            EXPECT_EQ(filter->PublishedOptions().Find(row->Name.toUpper()), row);
        }
    }
}
