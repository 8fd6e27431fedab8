// The printer types and their control sequences, and the ".rpi" settings file: written and
// read back it restores the type and every flag; a malformed file is refused with a message
// and changes nothing.
#include "TextTools.h"

#include "export/text/TXTExport.h"

using namespace texttest;
using namespace exports;

namespace {

// The filter's type, its flags and the control bytes, as one comparable value.
QString State(const TrpTXTExport& f) {
    QString s = QString::number(f.PrinterType()) + QLatin1Char(':');
    for (const TrpPrinterCommand& c : f.PrinterTypes()[size_t(f.PrinterType())].Commands)
        s += c.Enabled ? QLatin1Char('1') : QLatin1Char('0');
    return s + QLatin1Char(':') + QString::fromLatin1(f.InitString().toHex());
}

void Select(TrpTXTExport& f, int type, const std::vector<int>& enabled) {
    f.SetPrinterType(type);
    for (int c : enabled)
        f.SetCommandEnabled(c, true);
    f.RebuildInitString();
}

} // namespace

TEST(PrinterSettings, InitStringTakesEachCommandsOnOrOffSequenceInOrder) {
    const struct {
        int Type;
        std::vector<int> Enabled;
        const char* Hex;
    } cases[] = {
        {0, {}, ""},
        // EPSON: Condensed and Bold on; Italic, Wide and 12cpi give their "off" sequences.
        {1, {4, 5}, "0f1b471b351b57001b50"},
        {1, {0, 9}, "1b40121b481b351b57001b501b30"},
        // HP PCL: Landscape and Condenced on.
        {2,
         {1, 5},
         "1b266c314f1b28733053"
         "1b287330421b287332511b28733132481b266c3844"},
        // CANON/IBM: everything off.
        {3, {}, "121b481b351b50"},
    };
    for (const auto& c : cases) {
        TrpTXTExport f(true);
        Select(f, c.Type, c.Enabled);
        EXPECT_EQ(f.InitString().toHex(), QByteArray(c.Hex)) << c.Type;
    }
}

TEST(PrinterSettings, WrittenAndReadBackRestoresTypeAndEveryFlag) {
    QTemporaryDir dir;
    const struct {
        int Type;
        std::vector<int> Enabled;
    } cases[] = {{0, {}}, {1, {0, 4, 5, 11}}, {2, {0, 1, 2, 3, 4, 5}}, {3, {7}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Type);
        TrpTXTExport written(true);
        Select(written, c.Type, c.Enabled);
        const QString file = dir.filePath(QStringLiteral("printer%1.rpi").arg(c.Type));
        ASSERT_EQ(written.SavePrinterSettings(file), QString());
        TrpTXTExport read(true);
        Select(read, 1, {1, 2}); // something else before
        ASSERT_EQ(read.LoadPrinterSettings(file), QString());
        EXPECT_EQ(State(read), State(written));
    }
    // The file itself: the type, then one line per command.
    EXPECT_EQ(ReadFile(dir.filePath(QStringLiteral("printer3.rpi"))),
              QByteArray("3\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nFalse\r\nTrue\r\n"));
}

TEST(PrinterSettings, AMalformedFileIsRefusedAndChangesNothing) {
    QTemporaryDir dir;
    const QByteArray epsonFlags = QByteArray("True\r\n").repeated(12);
    const struct {
        const char* Name;
        QByteArray Data;
        const char* Reason;
    } cases[] = {
        {"empty", "", "первая строка должна содержать номер типа принтера"},
        {"not a number", "EPSON\r\n", "первая строка должна содержать номер типа принтера"},
        {"type out of range", "4\r\n", "типа принтера с номером 4 нет (допустимо от 0 до 3)"},
        {"negative type", "-1\r\n", "типа принтера с номером -1 нет"},
        {"missing lines", "1\r\nTrue\r\nFalse\r\n", "нужно строк с флагами: 12, в файле: 2"},
        {"not a flag", "3\r\nTrue\r\nFalse\r\nPerhaps\r\n", "строка 4 должна содержать True или False"},
        {"lines too many", "1\r\n" + epsonFlags + "True\r\n", "после строки 13 есть лишний текст"},
        {"binary junk", QByteArray("\x00\xff\xfe\x13\x89PNG\r\n\x1a\n", 12), "первая строка"},
        {"junk after the flags", "0\r\n\x01\x02garbage", "после строки 1 есть лишний текст"},
        {"far too large", "1\r\n" + QByteArray(70000, '1'), "файл слишком велик"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString file = dir.filePath(QString::fromLatin1(c.Name) + QStringLiteral(".rpi"));
        WriteFile(file, c.Data);
        TrpTXTExport f(true);
        Select(f, 2, {1, 3});
        const QString before = State(f);
        const QString message = f.LoadPrinterSettings(file);
        EXPECT_TRUE(message.contains(file) && message.contains(QString::fromUtf8(c.Reason)))
            << message.toStdString();
        EXPECT_EQ(State(f), before);
    }
    TrpTXTExport f(true);
    EXPECT_TRUE(f.LoadPrinterSettings(dir.filePath(QStringLiteral("none.rpi")))
                    .startsWith(QStringLiteral("Не удалось прочитать файл настроек принтера")));
}
