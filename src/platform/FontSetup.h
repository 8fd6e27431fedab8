#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The program is drawn with three classic Windows faces. On Linux they come from free
// font files: Wine's Tahoma and MS Sans Serif, and Liberation Sans standing in for Arial.
// Measuring, drawing and embedding all go through the files named here.
struct FontFace {
    QString Family;  // the name the program asks for ("Tahoma", "MS Sans Serif", "Arial")
    QString Regular; // font file paths
    QString Bold;
    QString Italic;
    QString BoldItalic;
};

// Registers the font files with the application's font database and maps the requested
// names onto them. Needs a QGuiApplication. Returns false (with the missing files listed
// in *missing) when a file is absent; the program still runs with fallback faces then.
bool InstallApplicationFonts(QStringList* missing = nullptr);

// The face set for a requested family name, or nullptr when the name is not one of ours.
const FontFace* FindFontFace(const QString& family);

// The file that draws the given family and style; empty when the family is not ours.
QString FontFile(const QString& family, bool bold, bool italic);

// Every face the program ships with.
const QList<FontFace>& FontFaces();

} // namespace platform
