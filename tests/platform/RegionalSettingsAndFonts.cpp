#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QLocale>
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

// A family resolves to a file when the glyph data Qt draws with is the data of that file.
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
        const QRawFont expected(QString::fromLatin1(c.file), 13);
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
