#include "report/Components.h"

#include "platform/PictureDecoder.h"
#include "report/Attributes.h"
#include "report/PropertyTable.h"
#include "report/ShapeViews.h"

#include <QBuffer>

namespace report {

TrpComponent::~TrpComponent() = default;

std::unique_ptr<TrpComponent> TrpComponent::Clone() const {
    auto copy = CreateComponent(ClassName());
    if (copy)
        copy->Assign(*this);
    return copy;
}

void TrpComponent::SetBounds(Extended left, Extended top, Extended width, Extended height) {
    SetLeft(left);
    SetTop(top);
    SetWidth(width);
    SetHeight(height);
}

Extended TrpComponent::AbsLeft() const {
    Extended sum = FLeft;
    for (const TrpComponent* p = FParent; p && !p->IsPage(); p = p->FParent)
        sum += p->FLeft;
    return IsPage() ? 0 : sum;
}

Extended TrpComponent::AbsTop() const {
    Extended sum = FTop;
    for (const TrpComponent* p = FParent; p && !p->IsPage(); p = p->FParent)
        sum += p->FTop;
    return IsPage() ? 0 : sum;
}

const TrpFont& TrpComponent::Font() const {
    if (FParentFont && FParent)
        return FParent->Font();
    return FFont;
}

void TrpComponent::SetFont(const TrpFont& font) {
    FFont = font;
    FParentFont = false;
}

TrpReport* TrpComponent::Report() const {
    for (const TrpComponent* c = this; c; c = c->FParent)
        if (c->FReport)
            return c->FReport;
    return nullptr;
}

TrpComponent* TrpComponent::Add(std::unique_ptr<TrpComponent> child) {
    child->FParent = this;
    FObjects.push_back(std::move(child));
    return FObjects.back().get();
}

std::unique_ptr<TrpComponent> TrpComponent::Remove(TrpComponent* child) {
    for (auto it = FObjects.begin(); it != FObjects.end(); ++it)
        if (it->get() == child) {
            std::unique_ptr<TrpComponent> owned = std::move(*it);
            FObjects.erase(it);
            owned->FParent = nullptr;
            return owned;
        }
    return nullptr;
}

TrpComponent* TrpComponent::FindObject(const QString& name) const {
    for (const auto& c : FObjects) {
        if (c->FName.compare(name, Qt::CaseInsensitive) == 0)
            return c.get();
        if (TrpComponent* found = c->FindObject(name))
            return found;
    }
    return nullptr;
}

void TrpView::SaveState() {
    FSavedTagStr = FTagStr;
    FSavedURL = FURL;
}

void TrpView::RestoreState() {
    FTagStr = FSavedTagStr;
    FURL = FSavedURL;
}

QString TrpCustomMemoView::Text() const {
    return FMemo.join(QStringLiteral("\r\n"));
}

void TrpCustomMemoView::SetText(const QString& text) {
    codec::MemoText::Parse(text, FMemo);
}

void TrpCustomMemoView::SaveState() {
    TrpStretcheable::SaveState();
    FSavedMemo = FMemo;
}

void TrpCustomMemoView::RestoreState() {
    TrpStretcheable::RestoreState();
    FMemo = FSavedMemo;
}

QImage TrpPictureView::Picture(QSize drawn) const {
    if (!FPicture.isNull() || FPictureData.isEmpty())
        return FPicture;
    return platform::DecodedPicture(FPictureData, drawn);
}

QSize TrpPictureView::PictureSize() const {
    if (!FPicture.isNull() || FPictureData.isEmpty())
        return FPicture.size();
    return platform::InspectPicture(FPictureData).Size;
}

bool TrpPictureView::LoadPicture(const QByteArray& data) {
    if (!platform::CheckPicture(data).Error.isEmpty())
        return false;
    FPicture = QImage();
    FPictureData = data;
    FPictureChanged = true;
    return true;
}

void TrpPictureView::SetPicture(const QImage& image) {
    FPicture = image;
    FPictureData.clear();
    if (!image.isNull()) {
        QBuffer buffer(&FPictureData);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    FPictureChanged = true;
}

void TrpPictureView::Assign(const TrpComponent& source) {
    TrpView::Assign(source);
    if (auto* s = dynamic_cast<const TrpPictureView*>(&source))
        FPicture = s->FPicture; // implicitly shared
}

// Paper sizes of the Windows paper codes most printers offer, in millimetres.
bool PaperSizeOf(int code, Extended& width, Extended& height) {
    struct Paper {
        int Code;
        Extended W, H;
    };
    static const Paper papers[] = {
        {1, 216, 279},  {2, 216, 279},  {3, 279, 432},  {4, 432, 279},  {5, 216, 356},  {6, 140, 216},
        {7, 184, 267},  {8, 297, 420},  {9, 210, 297},  {10, 210, 297}, {11, 148, 210}, {12, 250, 354},
        {13, 182, 257}, {14, 216, 330}, {15, 215, 275}, {16, 254, 356}, {17, 279, 432}, {18, 216, 279},
        {19, 98, 225},  {20, 105, 241}, {27, 110, 220}, {28, 162, 229}, {29, 324, 458}, {30, 229, 324},
        {31, 114, 162}, {34, 176, 250}, {35, 176, 125}, {37, 98, 191},
    };
    for (const Paper& p : papers)
        if (p.Code == code) {
            width = p.W;
            height = p.H;
            return true;
        }
    return false;
}

TrpReportPage::TrpReportPage() {
    SetName(QStringLiteral("Page1"));
    SetParentFont(false);
    UpdateSize();
}

void TrpReportPage::UpdateSize() {
    SetWidth(Round(FPaperWidth * fr01cm));
    SetHeight(Round(FPaperHeight * fr01cm));
}

void TrpReportPage::SetPaperSize(int code) {
    FPaperSize = code;
    Extended w, h;
    if (code < UserPaperSize && PaperSizeOf(code, w, h)) {
        if (FOrientation == poLandscape)
            std::swap(w, h);
        FPaperWidth = w;
        FPaperHeight = h;
    }
    UpdateSize();
}

void TrpReportPage::SetPaperWidth(Extended mm) {
    FPaperWidth = mm;
    FPaperSize = UserPaperSize;
    UpdateSize();
}

void TrpReportPage::SetPaperHeight(Extended mm) {
    FPaperHeight = mm;
    FPaperSize = UserPaperSize;
    UpdateSize();
}

void TrpReportPage::SetOrientation(TPrinterOrientation orientation) {
    if (orientation == FOrientation)
        return;
    FOrientation = orientation;
    std::swap(FPaperWidth, FPaperHeight);
    const Extended l = FLeftMargin, r = FRightMargin, t = FTopMargin, b = FBottomMargin;
    if (orientation == poLandscape) {
        FLeftMargin = t;
        FRightMargin = b;
        FTopMargin = r;
        FBottomMargin = l;
    } else {
        FLeftMargin = b;
        FRightMargin = t;
        FTopMargin = l;
        FBottomMargin = r;
    }
    UpdateSize();
}

void TrpReportPage::SetColumns(int columns) {
    FColumns = columns;
    FColumnPositions.clear();
    if (columns <= 0)
        return;
    FColumnWidth = (FPaperWidth - FLeftMargin - FRightMargin) / columns;
    for (int i = 0; i < columns; ++i)
        FColumnPositions << FloatToAttr(FColumnWidth * i);
}

std::unique_ptr<TrpComponent> CreateComponent(const QString& className) {
    const QString n = className.toLower();
    if (n == u"trpmemoview")
        return std::make_unique<TrpMemoView>();
    if (n == u"trppictureview")
        return std::make_unique<TrpPictureView>();
    if (n == u"trpnullband")
        return std::make_unique<TrpNullBand>();
    if (n == u"trpreportpage")
        return std::make_unique<TrpReportPage>();
    return CreateShapeView(className); // lines, shapes, rich text
}

} // namespace report
