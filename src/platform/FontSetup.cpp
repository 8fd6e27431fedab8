#include "platform/FontSetup.h"

#include "platform/BoldOutlines.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <mutex>

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
    // file is what Windows draws for them too. Wine's Tahoma Bold has the bold advances and
    // kerning but the regular outlines (the bold shapes are bitmaps of a few sizes only).
    static const QList<FontFace> faces = {
        {"Tahoma", kWine + "tahoma.ttf", kWine + "tahomabd.ttf", kWine + "tahoma.ttf", kWine + "tahomabd.ttf",
         true},
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

QByteArray FontProgram(const QString& file) {
    // Stroke growth of the rebuilt bold: a sixteenth of the em sideways, as heavy as the
    // bold advances leave room for, and less upwards so that heights barely change.
    constexpr double kBoldX = 1.0 / 16, kBoldY = 1.0 / 40;
    static std::mutex lock;
    static QHash<QString, QByteArray> programs;
    std::lock_guard guard(lock);
    if (auto it = programs.constFind(file); it != programs.constEnd())
        return *it;
    const auto read = [](const QString& name) {
        QFile f(name);
        return !name.isEmpty() && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QByteArray program = read(file);
    for (const FontFace& face : FontFaces())
        if (face.ThinBoldOutlines && (file == face.Bold || file == face.BoldItalic) && !program.isEmpty()) {
            // Without the regular file the thin bold still has the right advances.
            if (QByteArray bolder = EmboldenedFont(program, read(face.Regular), kBoldX, kBoldY);
                !bolder.isEmpty())
                program = bolder;
        }
    programs.insert(file, program);
    return program;
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
                const QByteArray program = FontProgram(file);
                if (program.isEmpty() || QFontDatabase::addApplicationFontFromData(program) < 0)
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
