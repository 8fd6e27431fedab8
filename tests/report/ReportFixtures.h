#pragma once
// Small templates shared by the report tests.

#include "report/PreparedPageStore.h"
#include "report/PreparedReportFile.h"
#include "report/Report.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QString>
#include <map>
#include <vector>

namespace reporttest {

// A report with one A4 page; errors never reach a message box.
inline std::unique_ptr<report::TrpReport> NewReport() {
    auto r = std::make_unique<report::TrpReport>();
    r->EngineOptions.NewSilentMode = report::simSilent;
    report::TrpReportPage* page = r->AddPage();
    page->SetName(QStringLiteral("Page"));
    return r;
}

inline report::TrpMemoView* AddMemo(report::TrpReport& r, const QString& name, const QString& text,
                                    report::Extended left = 10, report::Extended top = 10,
                                    report::Extended width = 100, report::Extended height = 20) {
    auto memo = std::make_unique<report::TrpMemoView>();
    memo->SetName(name);
    memo->SetText(text);
    memo->SetBounds(left, top, width, height);
    return static_cast<report::TrpMemoView*>(r.Pages(0)->Add(std::move(memo)));
}

// Solid `side` x `side` PNG data. Data of different tags differs in bytes after the end of the
// picture only, so each tag is a picture of its own to anything that tells pictures by their
// data; the pixels are encoded once.
inline QByteArray SolidPng(int side, QColor color, int tag) {
    static std::map<std::pair<int, QRgb>, QByteArray> encoded;
    QByteArray& png = encoded[{side, color.rgb()}];
    if (png.isEmpty()) {
        QImage image(side, side, QImage::Format_RGB32);
        image.fill(color);
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    return png + QByteArray::number(tag);
}

inline report::TrpPictureView* AddPicture(report::TrpReport& r, const QString& name, const QByteArray& data,
                                          report::Extended left, report::Extended top, report::Extended width,
                                          report::Extended height) {
    auto picture = std::make_unique<report::TrpPictureView>();
    picture->SetName(name);
    picture->SetBounds(left, top, width, height);
    if (!picture->LoadPicture(data))
        return nullptr;
    return static_cast<report::TrpPictureView*>(r.Pages(0)->Add(std::move(picture)));
}

// A prepared one-page file with a picture of each data, 100 x 100 units each, in rows of six
// from (10, 10) with 120 units between them; empty when a picture is not taken.
inline QByteArray PicturesFile(const std::vector<QByteArray>& pictures) {
    auto r = NewReport();
    for (size_t i = 0; i < pictures.size(); ++i)
        if (!AddPicture(*r, QStringLiteral("Picture%1").arg(i + 1), pictures[i], 10 + 120 * qreal(i % 6),
                        10 + 120 * qreal(i / 6), 100, 100))
            return {};
    if (!r->Prepare())
        return {};
    return report::TrpPreparedReportFile::SaveToBytes(*r);
}

// The text a memo shows on the first prepared page.
inline QString PreparedText(report::TrpReport& r, const QString& name) {
    report::TrpReportPage* page = r.PreviewPages().Page(0);
    if (!page)
        return QStringLiteral("<no page>");
    auto* memo = dynamic_cast<report::TrpCustomMemoView*>(page->FindObject(name));
    return memo ? memo->Text() : QStringLiteral("<no memo>");
}

} // namespace reporttest
