#pragma once
// Why a prepared-report file was refused: the kind of fault and the facts it names. The reader
// says no more; the window says it in Russian and the command line in English, each from the
// table of its language.

#include <QList>
#include <QString>
#include <QStringList>

namespace report {

enum class TrpFileFault {
    None,
    Missing,         // no file of that name
    Folder,          // a folder, not a file
    Denied,          // the user may not read it
    OpenFailed,      // Names: the system's reason
    Device,          // a device, not a file
    ReadFailed,      // Names: the system's reason
    Syntax,          // plain syntax
    Encoding,        // Names: the encoding declared
    Undecodable,     // Names: the encoding
    FileTooLong,     // Numbers: the bound in bytes
    TagTooLong,      // Numbers: the bound in bytes
    TooDeep,         // Numbers: the bound in levels
    TooManyItems,    // Numbers: the bound in items
    NoPages,         //
    ValueTooLong,    // Names: attribute, item; Numbers: length, bound
    NotAPicture,     // Names: object
    PictureHeader,   // Names: object
    PictureData,     // Names: object
    PictureTooLarge, // Names: object; Numbers: width, height, bound in pixels
    PaperOutside,    // Numbers: width, height, least, most (millimetres)
};

struct TrpFileError {
    TrpFileFault Fault = TrpFileFault::None;
    QStringList Names;     // from the file or the system, shown as they are
    QList<double> Numbers; // shown as numbers are to the reader of the message

    bool IsError() const { return Fault != TrpFileFault::None; }
    bool operator==(const TrpFileError&) const = default;
};

enum class TrpLanguage { English, Russian };

// The message of the language: English for the command line (numbers as digits alone),
// Russian for the window (numbers with the regional separators).
QString FileErrorText(const TrpFileError& error, TrpLanguage language);

} // namespace report
