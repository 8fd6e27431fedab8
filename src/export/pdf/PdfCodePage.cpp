#include "export/pdf/PdfCodePage.h"

#include "report/ReportTypes.h"

#include <QHash>
#include <QStringList>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <mutex>

namespace exports {

using namespace report;

namespace {

constexpr int ANSI_CHARSET = 0;
constexpr int SYMBOL_CHARSET = 2;

// Written out in full, every byte from 0x80 (Ђ, where WinAnsiEncoding has the euro sign) on;
// 0x98 is unassigned and 0xA0, the no-break space, is drawn as a space.
const char kRussianDifferences[] =
    "/Differences [128 /afii10051/afii10052"
    "/quotesinglbase/afii10100/quotedblbase/ellipsis/dagger/daggerdbl/Euro/perthousand/afii10058/"
    "guilsinglleft/"
    "afii10059/afii10061/afii10060/afii10145/afii10099/quoteleft"
    "/quoteright/quotedblleft/quotedblright/bullet/endash/emdash/space/trademark/afii10106/guilsinglright/"
    "afii10107/afii10109/afii10108/afii10193/space/afii10062"
    "/afii10110/afii10057/currency/afii10050/brokenbar/section/afii10023/copyright/afii10053/guillemotleft/"
    "logicalnot/hyphen/registered/afii10056/degree/plusminus"
    "/afii10055/afii10103/afii10098/mu/paragraph/periodcentered/afii10071/afii61352/afii10101/guillemotright/"
    "afii10105/afii10054/afii10102/afii10104/afii10017/afii10018"
    "/afii10019/afii10020/afii10021/afii10022/afii10024/afii10025/afii10026/afii10027/afii10028/afii10029/"
    "afii10030/afii10031/afii10032/afii10033/afii10034/afii10035"
    "/afii10036/afii10037/afii10038/afii10039/afii10040/afii10041/afii10042/afii10043/afii10044/afii10045/"
    "afii10046/afii10047/afii10048/afii10049/afii10065/afii10066"
    "/afii10067/afii10068/afii10069/afii10070/afii10072/afii10073/afii10074/afii10075/afii10076/afii10077/"
    "afii10078/afii10079/afii10080/afii10081/afii10082/afii10083"
    "/afii10084/afii10085/afii10086/afii10087/afii10088/afii10089/afii10090/afii10091/afii10092/afii10093/"
    "afii10094/afii10095/afii10096/afii10097]";

const char kVietnameseDifferences[] = "/Differences [128 /Euro 142 /Zcaron 158 /zcaron]";

// Standard names of Latin Extended-A, U+0100 to U+017F in order.
const char kLatinExtendedA[] =
    "Amacron amacron Abreve abreve Aogonek aogonek Cacute cacute Ccircumflex ccircumflex Cdotaccent "
    "cdotaccent "
    "Ccaron ccaron Dcaron dcaron Dcroat dcroat Emacron emacron Ebreve ebreve Edotaccent edotaccent Eogonek "
    "eogonek Ecaron ecaron Gcircumflex gcircumflex Gbreve gbreve Gdotaccent gdotaccent Gcommaaccent "
    "gcommaaccent "
    "Hcircumflex hcircumflex Hbar hbar Itilde itilde Imacron imacron Ibreve ibreve Iogonek iogonek "
    "Idotaccent "
    "dotlessi IJ ij Jcircumflex jcircumflex Kcommaaccent kcommaaccent kgreenlandic Lacute lacute "
    "Lcommaaccent "
    "lcommaaccent Lcaron lcaron Ldot ldot Lslash lslash Nacute nacute Ncommaaccent ncommaaccent Ncaron "
    "ncaron "
    "napostrophe Eng eng Omacron omacron Obreve obreve Ohungarumlaut ohungarumlaut OE oe Racute racute "
    "Rcommaaccent rcommaaccent Rcaron rcaron Sacute sacute Scircumflex scircumflex Scedilla scedilla Scaron "
    "scaron Tcommaaccent tcommaaccent Tcaron tcaron Tbar tbar Utilde utilde Umacron umacron Ubreve ubreve "
    "Uring "
    "uring Uhungarumlaut uhungarumlaut Uogonek uogonek Wcircumflex wcircumflex Ycircumflex ycircumflex "
    "Ydieresis "
    "Zacute zacute Zdotaccent zdotaccent Zcaron zcaron longs";

QByteArray GlyphName(char32_t u) {
    static const QStringList latin = QString::fromLatin1(kLatinExtendedA).split(QLatin1Char(' '));
    static const QHash<char32_t, QByteArray> others = {
        {0x02C6, "circumflex"}, {0x02C7, "caron"},       {0x02D8, "breve"},        {0x02D9, "dotaccent"},
        {0x02DB, "ogonek"},     {0x02DC, "tilde"},       {0x02DD, "hungarumlaut"}, {0x20AC, "Euro"},
        {0x0192, "florin"},     {0x2030, "perthousand"}, {0x0384, "tonos"},        {0x0385, "dieresistonos"},
        {0x0386, "Alphatonos"}, {0x00A0, "space"},
    };
    if (u >= 0x100 && u < 0x180)
        return latin[int(u - 0x100)].toLatin1();
    if (auto it = others.find(u); it != others.end())
        return *it;
    if (u == 0)
        return "space";
    return QByteArray("uni") + QByteArray::number(uint(u), 16).toUpper().rightJustified(4, '0');
}

std::array<char32_t, 256> BuildTable(int codePage) {
    std::array<char32_t, 256> table{};
    for (int b = 0; b < 128; ++b)
        table[size_t(b)] = char32_t(b);
    const QByteArray name = "CP" + QByteArray::number(codePage);
    iconv_t cd = iconv_open("UTF-32LE", name.constData());
    if (cd == iconv_t(-1)) { // NOLINT(performance-no-int-to-ptr): iconv_open fails with (iconv_t)-1
        for (int b = 128; b < 256; ++b)
            table[size_t(b)] = char32_t(b); // Latin-1 when the system lacks the code page
        return table;
    }
    for (int b = 128; b < 256; ++b) {
        char in = char(b);
        char32_t out = 0;
        char* inp = &in;
        size_t inLeft = 1;
        char* outp = reinterpret_cast<char*>(&out);
        size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != size_t(-1) && outLeft == 0)
            table[size_t(b)] = out;
    }
    iconv_close(cd);
    return table;
}

struct Encoder {
    std::array<char32_t, 256> Table;
    QHash<char32_t, char> Reverse;
};

const Encoder& EncoderFor(int codePage) {
    static std::mutex lock;
    static std::map<int, std::unique_ptr<Encoder>> encoders;
    std::lock_guard guard(lock);
    auto& e = encoders[codePage];
    if (!e) {
        e = std::make_unique<Encoder>();
        e->Table = BuildTable(codePage);
        for (int b = 255; b >= 128; --b)
            if (e->Table[size_t(b)])
                e->Reverse.insert(e->Table[size_t(b)], char(b));
    }
    return *e;
}

QByteArray EncodeMultiByte(const QString& text, int codePage) {
    const QByteArray name = "CP" + QByteArray::number(codePage);
    iconv_t cd = iconv_open(name.constData(), "UTF-16LE");
    if (cd == iconv_t(-1)) // NOLINT(performance-no-int-to-ptr): iconv_open fails with (iconv_t)-1
        return text.toLatin1();
    QByteArray out;
    for (QChar c : text) {
        char16_t u = c.unicode();
        char buf[8];
        char* inp = reinterpret_cast<char*>(&u);
        size_t inLeft = 2;
        char* outp = buf;
        size_t outLeft = sizeof buf;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == size_t(-1))
            out += '?';
        else
            out.append(buf, qsizetype(sizeof buf - outLeft));
    }
    iconv_close(cd);
    return out;
}

} // namespace

int EffectiveCharset(int charset) {
    return charset == DEFAULT_CHARSET ? RUSSIAN_CHARSET : charset;
}

bool IsCJKCharset(int charset) {
    return charset == 128 || charset == 129 || charset == 134 || charset == 136;
}

int CodePageOfCharset(int charset) {
    switch (EffectiveCharset(charset)) {
    case ANSI_CHARSET:
        return 1252;
    case RUSSIAN_CHARSET:
        return 1251;
    case 238:
        return 1250;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    default:
        return 1252;
    }
}

const std::array<char32_t, 256>& CodePageTable(int codePage) {
    return EncoderFor(codePage).Table;
}

QByteArray EncodeForCharset(const QString& text, int charset) {
    const int codePage = CodePageOfCharset(charset);
    if (IsCJKCharset(EffectiveCharset(charset)))
        return EncodeMultiByte(text, codePage);
    if (EffectiveCharset(charset) == SYMBOL_CHARSET) {
        // Symbol fonts map their glyphs to U+F020..U+F0FF; the byte is the low half.
        QByteArray out(text.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            out[i] = char(text[i].unicode() & 0xFF);
        return out;
    }
    const Encoder& e = EncoderFor(codePage);
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 128)
            out[i] = char(u);
        else
            out[i] = e.Reverse.value(u, '?');
    }
    return out;
}

QByteArray DifferencesArray(int charset) {
    charset = EffectiveCharset(charset);
    if (charset == RUSSIAN_CHARSET)
        return kRussianDifferences;
    if (charset == 163)
        return kVietnameseDifferences;
    if (charset != 161 && charset != 162 && charset != 177 && charset != 178 && charset != 186 &&
        charset != 238)
        return {};
    const auto& own = CodePageTable(CodePageOfCharset(charset));
    const auto& ansi = CodePageTable(1252);
    QByteArray out("/Differences [128 /Euro");
    int next = 129;
    for (int b = 129; b < 256; ++b) {
        if (own[size_t(b)] == ansi[size_t(b)])
            continue;
        if (b != next)
            out += ' ' + QByteArray::number(b) + ' ';
        out += '/' + GlyphName(own[size_t(b)]);
        next = b + 1;
    }
    out += ']';
    return out;
}

QByteArray FontEncodingEntry(int charset) {
    charset = EffectiveCharset(charset);
    if (charset == ANSI_CHARSET)
        return "/Encoding /WinAnsiEncoding";
    if (charset == SYMBOL_CHARSET)
        return "/Encoding /MacRomanEncoding";
    const QByteArray differences = DifferencesArray(charset);
    if (differences.isEmpty())
        return {};
    QByteArray entry = "/Encoding <</Type/Encoding /BaseEncoding /WinAnsiEncoding\r\n" + differences;
    entry += charset == RUSSIAN_CHARSET ? "\r\n>>" : ">>";
    return entry;
}

} // namespace exports
