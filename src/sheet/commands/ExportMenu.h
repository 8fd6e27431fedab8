#pragma once
// The thirteen export targets of the result page, in their fixed menu order.

#include <QIcon>
#include <QPoint>
#include <QString>
#include <array>

namespace sheet {

struct ExportTarget {
    const char* Item;           // menu item name ("miExportPDF")
    const char* Caption;        // menu caption ("Документ PDF...")
    const char* Component;      // filter component ("rpPDFExport")
    const char* FilterClass;    // filter class ("TrpPDFExport")
    const char* DescriptionKey; // engine text of the filter's description ("PDFexport")
    const char* Description;    // the description when the filter adds no text of its own
    const char* Label;          // the word on the item's picture
};
inline constexpr int ExportTargetCount = 13;
const std::array<ExportTarget, ExportTargetCount>& ExportTargets();

// The item's 16 x 16 picture.
QIcon ExportPicture(int index);

// Where the export menu opens: right of the route map by the button's offset, and 60 pixels
// below the button's top, from the window's outer corner.
QPoint ExportMenuPosition(const QPoint& windowTopLeft, int routeMapWidth, const QPoint& buttonPos);

} // namespace sheet
