#include "sheet/commands/ExportMenu.h"

#include "preview/PreviewIcons.h"

#include <QPainter>
#include <QPixmap>

namespace sheet {

const std::array<ExportTarget, ExportTargetCount>& ExportTargets() {
    static const std::array<ExportTarget, ExportTargetCount> targets = {{
        {"miExportBMP", "Рисунок BMP...", "rpBMPExport", "TrpBMPExport", "BMPexport", "Рисунок BMP", "BMP"},
        {"miExportJPEG", "Рисунок JPEG...", "rpJPEGExport", "TrpJPEGExport", "JPEGexport", "Рисунок JPEG",
         "JPG"},
        {"miExportTIFF", "Рисунок TIFF...", "rpTIFFExport", "TrpTIFFExport", "TIFFexport", "Рисунок TIFF",
         "TIF"},
        {"miExportGIF", "Рисунок GIF...", "rpGIFExport", "TrpGIFExport", "GIFexport", "Рисунок Gif", "GIF"},
        {"miExportPRN", "Текстовый документ (PRN)...", "rpTXTExport", "TrpTXTExport", "TextExport",
         "Текстовый файл (prn)", "PRN"},
        {"miExportTXT", "Текстовый документ (TXT)...", "rpSimpleTextExport", "TrpSimpleTextExport",
         "SimpleTextExport", "Текстовый файл", "TXT"},
        {"miExportCSV", "Текстовый документ с разделителями (CSV)...", "rpCSVExport", "TrpCSVExport",
         "CSVExport", "CSV файл", "CSV"},
        {"miExportHTML", "Документ HTML (табличный)...", "rpHTMLExport", "TrpHTMLExport", "HTMLexport",
         "Документ HTML (табличный)", "HTM"},
        {"miExportXLS", "Документ Excel (OLE)...", "rpXLSExport", "TrpXLSExport", "XlsOLEexport",
         "Документ Excel (OLE)", "XLS"},
        {"miExportXML", "Документ Excel (XML)...", "rpXMLExport", "TrpXMLExport", "XlsXMLexport",
         "Документ Excel (XML)", "XML"},
        {"miExportRTF", "Документ Word (RTF табличный)...", "rpRTFExport", "TrpRTFExport", "RTFexport",
         "Документ Word (табличный)", "RTF"},
        {"miExportPDF", "Документ PDF...", "rpPDFExport", "TrpPDFExport", "PDFexport", "Документ PDF", "PDF"},
        {"miExportEMail", "Отправить по электронной почте...", "rpMailExport", "TrpMailExport", "EmailExport",
         "E-mail", "@"},
    }};
    return targets;
}

QIcon ExportPicture(int index) {
    if (index < 0 || index >= ExportTargetCount)
        return {};
    if (index == ExportTargetCount - 1)
        return preview::PreviewIcon(QStringLiteral("email"));
    // A sheet with the format's name on a band coloured by kind: pictures, text, tables, documents.
    static const QColor colors[] = {QColor(0, 128, 0),  QColor(0, 128, 0),  QColor(0, 128, 0),
                                    QColor(0, 128, 0),  QColor(96, 96, 96), QColor(96, 96, 96),
                                    QColor(0, 96, 160), QColor(192, 96, 0), QColor(0, 112, 48),
                                    QColor(0, 112, 48), QColor(0, 64, 192), QColor(192, 0, 0)};
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(Qt::white);
    p.drawRect(QRect(2, 0, 11, 15));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(7);
    font.setBold(true);
    p.setFont(font);
    p.fillRect(QRect(0, 8, 16, 7), colors[index]);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 8, 16, 7), Qt::AlignCenter, QString::fromUtf8(ExportTargets()[size_t(index)].Label));
    p.end();
    return QIcon(pixmap);
}

QPoint ExportMenuPosition(const QPoint& windowTopLeft, int routeMapWidth, const QPoint& buttonPos) {
    return QPoint(windowTopLeft.x() + routeMapWidth + buttonPos.x(), windowTopLeft.y() + buttonPos.y() + 60);
}

} // namespace sheet
