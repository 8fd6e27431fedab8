#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// The program is drawn with three classic Windows faces. On Linux they come from free
// font files: Wine's Tahoma and MS Sans Serif, and Liberation Sans standing in for Arial.
// Measuring, drawing and embedding all go through the font programs of the files named here.
struct FontFace {
    QString Family;  // the name the program asks for ("Tahoma", "MS Sans Serif", "Arial")
    QString Regular; // font file paths
    QString Bold;
    QString Italic;
    QString BoldItalic;
    // The bold file has bold advances but regular-weight outlines; its program is the file
    // with emboldened outlines.
    bool ThinBoldOutlines = false;
};

// Registers the font files with the application's font database and maps the requested
// names onto them. Needs a QGuiApplication. Returns false (with the missing files listed
// in *missing) when a file is absent; the program still runs with fallback faces then.
bool InstallApplicationFonts(QStringList* missing = nullptr);

// The face set for a requested family name, or nullptr when the name is not one of ours.
const FontFace* FindFontFace(const QString& family);

// The file that draws the given family and style; empty when the family is not ours.
QString FontFile(const QString& family, bool bold, bool italic);

// The font program of a file named by FontFile: what the font database registers, the report
// engine measures and draws with and a PDF embeds. It is the file's contents, except for a
// thin bold file, whose outlines are emboldened (see BoldOutlines.h). Empty when the file
// cannot be read. Built once per file; safe to call from any thread.
QByteArray FontProgram(const QString& file);

// Every face the program ships with.
const QList<FontFace>& FontFaces();

} // namespace platform
