#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QRawFont>
#include <gtest/gtest.h>

#include "platform/FontSetup.h"
#include "platform/RegionalSettings.h"

using platform::RegionalSettings;

TEST(RegionalSettings, SeparatorsFollowTheLocale) {
    struct Case {
        const char* locale;
        const char* decimal;
        const char* thousand;
    };
    const Case cases[] = {
        {"ru_RU", ",", "\u00A0"},
        {"en_US", ".", ","},
        {"de_DE", ",", "."},
        {"C", ",", "\u00A0"}, // no regional settings at all: Russian conventions
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        const RegionalSettings s = RegionalSettings::FromLocale(QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(s.DecimalSeparator, c.decimal);
        EXPECT_EQ(s.ThousandSeparator, c.thousand);
    }
}

TEST(RegionalSettings, SystemLocaleComesFromTheNumericCategory) {
    struct Case {
        const char* lcAll;
        const char* lcNumeric;
        const char* lang;
        const char* decimal;
    };
    const Case cases[] = {
        {"en_US.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8", "."}, // LC_ALL wins
        {"", "en_US.UTF-8", "ru_RU.UTF-8", "."},            // then LC_NUMERIC
        {"", "", "en_GB.UTF-8", "."},                       // then LANG
        {"", "", "ru_RU.UTF-8", ","},
        {"", "", "C.UTF-8", ","}, // C carries no conventions: Russian
        {"POSIX", "en_US.UTF-8", "", ","},
        {"", "", "", ","},
    };
    const QByteArray saved[3] = {qgetenv("LC_ALL"), qgetenv("LC_NUMERIC"), qgetenv("LANG")};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll) + "/" + c.lcNumeric + "/" + c.lang);
        qputenv("LC_ALL", c.lcAll);
        qputenv("LC_NUMERIC", c.lcNumeric);
        qputenv("LANG", c.lang);
        EXPECT_EQ(RegionalSettings::System().DecimalSeparator, c.decimal);
    }
    qputenv("LC_ALL", saved[0]);
    qputenv("LC_NUMERIC", saved[1]);
    qputenv("LANG", saved[2]);
}

// A family resolves to a file when the glyph data Qt draws with is the program of that file.
static QByteArray HeadTable(const QRawFont& font) {
    return font.fontTable("head") + font.fontTable("name");
}

TEST(FontSetup, ClassicFamiliesResolveToTheFreeFiles) {
    QStringList missing;
    ASSERT_TRUE(platform::InstallApplicationFonts(&missing)) << missing.join(", ").toStdString();
    struct Case {
        const char* family;
        bool bold;
        const char* file;
    };
    const Case cases[] = {
        {"Tahoma", false, "/usr/share/wine/fonts/tahoma.ttf"},
        {"Tahoma", true, "/usr/share/wine/fonts/tahomabd.ttf"},
        {"MS Sans Serif", false, "/usr/share/wine/fonts/ms_sans_serif.ttf"},
        {"Arial", false, "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"},
        {"Arial", true, "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + (c.bold ? " bold" : ""));
        EXPECT_EQ(platform::FontFile(c.family, c.bold, false), QString::fromLatin1(c.file));

        QFont font(QString::fromLatin1(c.family));
        font.setPixelSize(13);
        font.setBold(c.bold);
        const QRawFont resolved = QRawFont::fromFont(font);
        const QRawFont expected(platform::FontProgram(QString::fromLatin1(c.file)), 13);
        ASSERT_TRUE(resolved.isValid());
        ASSERT_TRUE(expected.isValid());
        EXPECT_EQ(HeadTable(resolved), HeadTable(expected))
            << "resolved to " << resolved.familyName().toStdString();
    }
}

TEST(FontSetup, UnknownFamilyHasNoFile) {
    EXPECT_TRUE(platform::FontFile("Comic Sans MS", false, false).isEmpty());
    EXPECT_EQ(platform::FindFontFace("tahoma")->Family, "Tahoma");
}

namespace {

// Ink of a drawn line of text per pixel of its advance: heavier strokes leave more ink on
// the same width, whatever the advances.
struct Ink {
    double PerPixel = 0;
    double Advance = 0;
};

Ink InkOf(const QRawFont& font, const QString& text, bool throughQFont, const QFont& qfont) {
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    double advance = 0;
    for (const QPointF& a : font.advancesForGlyphIndexes(glyphs))
        advance += a.x();
    QImage img(int(advance) + 20, int(font.ascent() + font.descent()) + 10, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    const QPointF origin(10, 5 + font.ascent());
    if (throughQFont) {
        p.setFont(qfont);
        p.drawText(origin, text);
    } else {
        QGlyphRun run;
        run.setRawFont(font);
        run.setGlyphIndexes(glyphs);
        QList<QPointF> positions;
        double x = 0;
        for (const QPointF& a : font.advancesForGlyphIndexes(glyphs)) {
            positions << QPointF(x, 0);
            x += a.x();
        }
        run.setPositions(positions);
        p.drawGlyphRun(origin, run);
    }
    p.end();
    double ink = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ink += (255 - qGray(img.pixel(x, y))) / 255.0;
    return {ink / advance, advance};
}

} // namespace

// Bold text is visibly heavier than regular text of the same size and face, drawn by the
// widgets (through the font database) and by the report engine (from the font program);
// Tahoma's bold keeps the advances of its bold file.
TEST(FontSetup, BoldIsHeavierThanRegular) {
    const QString text = QStringLiteral("Размер страховой премии (Т) 3 960 рублей");
    for (const char* family : {"Tahoma", "Arial"})
        for (int pixels : {11, 13, 16})
            for (bool throughQFont : {true, false}) {
                SCOPED_TRACE(testing::Message() << family << " " << pixels << " px "
                                                << (throughQFont ? "widgets" : "font program"));
                Ink ink[2];
                for (bool bold : {false, true}) {
                    QFont f(QString::fromLatin1(family));
                    f.setPixelSize(pixels);
                    f.setBold(bold);
                    const QRawFont raw =
                        throughQFont
                            ? QRawFont::fromFont(f)
                            : QRawFont(platform::FontProgram(platform::FontFile(family, bold, false)),
                                       pixels);
                    ASSERT_TRUE(raw.isValid());
                    ink[bold] = InkOf(raw, text, throughQFont, f);
                }
                EXPECT_GT(ink[1].PerPixel, 1.2 * ink[0].PerPixel)
                    << "regular " << ink[0].PerPixel << ", bold " << ink[1].PerPixel;
                const QRawFont boldFile(platform::FontFile(family, true, false), pixels);
                double fileAdvance = 0;
                for (const QPointF& a :
                     boldFile.advancesForGlyphIndexes(boldFile.glyphIndexesForString(text)))
                    fileAdvance += a.x();
                EXPECT_NEAR(ink[1].Advance, fileAdvance, 0.01);
            }
}
