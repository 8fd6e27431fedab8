#include "platform/FontSetup.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>

namespace platform {
namespace {

const QString kWine = QStringLiteral("/usr/share/wine/fonts/");
const QString kLiberation = QStringLiteral("/usr/share/fonts/truetype/liberation2/");

// The family name each file carries inside, which Qt registers it under.
struct Registered {
    QString Requested;
    QString Actual;
};

const QList<Registered>& Substitutions() {
    static const QList<Registered> subs = {{"Arial", "Liberation Sans"}};
    return subs;
}

} // namespace

const QList<FontFace>& FontFaces() {
    // Wine ships no italic Tahoma or MS Sans Serif; the synthesised slant of the regular
    // file is what Windows draws for them too.
    static const QList<FontFace> faces = {
        {"Tahoma", kWine + "tahoma.ttf", kWine + "tahomabd.ttf", kWine + "tahoma.ttf",
         kWine + "tahomabd.ttf"},
        {"MS Sans Serif", kWine + "ms_sans_serif.ttf", kWine + "ms_sans_serif.ttf",
         kWine + "ms_sans_serif.ttf", kWine + "ms_sans_serif.ttf"},
        {"Arial", kLiberation + "LiberationSans-Regular.ttf", kLiberation + "LiberationSans-Bold.ttf",
         kLiberation + "LiberationSans-Italic.ttf", kLiberation + "LiberationSans-BoldItalic.ttf"},
    };
    return faces;
}

const FontFace* FindFontFace(const QString& family) {
    for (const FontFace& face : FontFaces())
        if (face.Family.compare(family, Qt::CaseInsensitive) == 0)
            return &face;
    return nullptr;
}

QString FontFile(const QString& family, bool bold, bool italic) {
    const FontFace* face = FindFontFace(family);
    if (!face)
        return {};
    if (bold && italic)
        return face->BoldItalic;
    if (bold)
        return face->Bold;
    if (italic)
        return face->Italic;
    return face->Regular;
}

bool InstallApplicationFonts(QStringList* missing) {
    static bool installed = false;
    static QStringList notFound;
    if (!installed) {
        installed = true;
        QStringList seen;
        for (const FontFace& face : FontFaces()) {
            for (const QString& file : {face.Regular, face.Bold, face.Italic, face.BoldItalic}) {
                if (seen.contains(file))
                    continue;
                seen << file;
                if (!QFile::exists(file) || QFontDatabase::addApplicationFont(file) < 0)
                    notFound << file;
            }
        }
        for (const Registered& sub : Substitutions())
            QFont::insertSubstitution(sub.Requested, sub.Actual);
    }
    if (missing)
        *missing = notFound;
    return notFound.isEmpty();
}

} // namespace platform
