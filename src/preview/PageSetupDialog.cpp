#include "preview/PageSetupDialog.h"
#include "export/Mnemonics.h"

#include "platform/RegionalSettings.h"
#include "preview/PreviewIcons.h"
#include "preview/PreviewTexts.h"
#include "preview/Printers.h"
#include "preview/Printing.h"
#include "report/EngineTexts.h"
#include "report/PreparedPageStore.h"
#include "report/Report.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace preview {

using namespace report;

namespace {

Extended Factor(TrpUnits units) {
    return units == TrpUnits::Inches ? 25.4L : 10.0L;
}

// The papers offered: the selected printer's list, or the common sizes without a printer.
QList<QPageSize> Papers() {
    QList<QPageSize> papers = TrpPrinters::Instance().Info().supportedPageSizes();
    if (papers.isEmpty())
        for (auto id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5, QPageSize::Letter,
                        QPageSize::Legal, QPageSize::Executive})
            papers << QPageSize(id);
    return papers;
}

} // namespace

TrpPageSettings PageSettingsOf(const TrpReportPage& page) {
    TrpPageSettings s;
    s.PaperSize = page.PaperSize();
    s.PaperWidth = page.PaperWidth();
    s.PaperHeight = page.PaperHeight();
    s.Orientation = page.Orientation();
    s.LeftMargin = page.LeftMargin();
    s.TopMargin = page.TopMargin();
    s.RightMargin = page.RightMargin();
    s.BottomMargin = page.BottomMargin();
    return s;
}

void ApplyPageSettings(TrpReportPage& page, const TrpPageSettings& s) {
    page.SetOrientation(s.Orientation);
    Extended w, h;
    if (s.PaperSize < TrpReportPage::UserPaperSize && PaperSizeOf(s.PaperSize, w, h)) {
        page.SetPaperSize(s.PaperSize);
    } else {
        page.SetPaperWidth(s.PaperWidth);
        page.SetPaperHeight(s.PaperHeight);
    }
    page.SetLeftMargin(s.LeftMargin);
    page.SetTopMargin(s.TopMargin);
    page.SetRightMargin(s.RightMargin);
    page.SetBottomMargin(s.BottomMargin);
}

QString FormatLength(Extended mm, TrpUnits units) {
    const double v = double(mm / Factor(units));
    const double rounded = std::round(v * 100) / 100;
    QString text =
        rounded == std::floor(rounded) ? QString::number(qint64(rounded)) : QString::number(rounded, 'f', 2);
    return text.replace(QLatin1Char('.'),
                        QString::fromStdString(platform::RegionalSettings::System().DecimalSeparator));
}

std::optional<Extended> ParseLength(const QString& text, TrpUnits units) {
    QString s = text;
    s.remove(QLatin1Char(' '));
    s.remove(QChar(0x00A0));
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < 0)
        return std::nullopt;
    return Extended(v) * Factor(units);
}

TrpPageSetupDialog::TrpPageSetupDialog(TrpReport& report, int pageIndex, QWidget* parent)
    : QDialog(parent), FReport(report), FPageIndex(pageIndex), FUnits(ReadDesignerUnits(report.IniFile)) {
    AddPreviewTexts();
    setWindowTitle(rpGet("psCaption"));
    const QString unit = FUnits == TrpUnits::Inches ? rpGet("uInch") : rpGet("uCm");
    auto* layout = new QVBoxLayout(this);

    auto* paperGroup = new QGroupBox(rpGet("psPaper").trimmed(), this);
    auto* paperForm = new QFormLayout(paperGroup);
    FPaper = new QComboBox(paperGroup);
    for (const QPageSize& size : Papers())
        FPaper->addItem(size.name(), size.windowsId());
    FPaper->addItem(rpGet("psUserSize"), TrpReportPage::UserPaperSize);
    paperForm->addRow(FPaper);
    FWidth = new QLineEdit(paperGroup);
    FHeight = new QLineEdit(paperGroup);
    paperForm->addRow(rpGet("psWidth") + QStringLiteral(", ") + unit, FWidth);
    paperForm->addRow(rpGet("psHeight") + QStringLiteral(", ") + unit, FHeight);
    layout->addWidget(paperGroup);

    auto* row = new QHBoxLayout;
    auto* orientationGroup = new QGroupBox(rpGet("psOrientation").trimmed(), this);
    auto* orientationLayout = new QGridLayout(orientationGroup);
    FPortrait = new QRadioButton(rpGet("psPortrait"), orientationGroup);
    FLandscape = new QRadioButton(rpGet("psLandscape"), orientationGroup);
    auto* portraitPicture = new QLabel(orientationGroup);
    portraitPicture->setPixmap(PreviewIcon(QStringLiteral("portrait")).pixmap(16, 16));
    auto* landscapePicture = new QLabel(orientationGroup);
    landscapePicture->setPixmap(PreviewIcon(QStringLiteral("landscape")).pixmap(16, 16));
    orientationLayout->addWidget(portraitPicture, 0, 0);
    orientationLayout->addWidget(FPortrait, 0, 1);
    orientationLayout->addWidget(landscapePicture, 1, 0);
    orientationLayout->addWidget(FLandscape, 1, 1);
    row->addWidget(orientationGroup);

    auto* marginsGroup = new QGroupBox(rpGet("psMargins").trimmed() + QStringLiteral(", ") + unit, this);
    auto* marginsLayout = new QFormLayout(marginsGroup);
    const char* sides[4] = {"psLeft", "psTop", "psRight", "psBottom"};
    for (int i = 0; i < 4; ++i) {
        FMargins[i] = new QLineEdit(marginsGroup);
        marginsLayout->addRow(rpGet(sides[i]), FMargins[i]);
    }
    row->addWidget(marginsGroup);
    layout->addLayout(row);

    auto* otherGroup = new QGroupBox(rpGet("psOther").trimmed(), this);
    auto* otherLayout = new QVBoxLayout(otherGroup);
    FCurrentOnly = new QRadioButton(rpGet("psApplyCurrent"), otherGroup);
    FAllPages = new QRadioButton(rpGet("psApplyAll"), otherGroup);
    FCurrentOnly->setChecked(true);
    otherLayout->addWidget(FCurrentOnly);
    otherLayout->addWidget(FAllPages);
    layout->addWidget(otherGroup);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(rpGet(1), QDialogButtonBox::AcceptRole);
    buttons->addButton(rpGet(2), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    exports::AssignMnemonics(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Start values from the page shown.
    TrpPageSettings s;
    if (const TrpReportPage* page = report.PreviewPages().Page(pageIndex))
        s = PageSettingsOf(*page);
    FOrientation = s.Orientation;
    (s.Orientation == poLandscape ? FLandscape : FPortrait)->setChecked(true);
    const int paperIndex = FPaper->findData(s.PaperSize);
    FPaper->setCurrentIndex(paperIndex >= 0 ? paperIndex : FPaper->count() - 1);
    FWidth->setText(FormatLength(s.PaperWidth, FUnits));
    FHeight->setText(FormatLength(s.PaperHeight, FUnits));
    const Extended margins[4] = {s.LeftMargin, s.TopMargin, s.RightMargin, s.BottomMargin};
    for (int i = 0; i < 4; ++i)
        FMargins[i]->setText(FormatLength(margins[i], FUnits));

    connect(FPaper, &QComboBox::activated, this, [this](int index) { PaperChosen(index); });
    connect(FPortrait, &QRadioButton::toggled, this,
            [this](bool on) { OrientationChosen(on ? poPortrait : poLandscape); });
    auto toUser = [this] { FPaper->setCurrentIndex(FPaper->count() - 1); };
    connect(FWidth, &QLineEdit::textEdited, this, toUser);
    connect(FHeight, &QLineEdit::textEdited, this, toUser);
}

void TrpPageSetupDialog::PaperChosen(int index) {
    const int code = FPaper->itemData(index).toInt();
    if (code >= TrpReportPage::UserPaperSize)
        return; // a user size keeps the typed values
    const QList<QPageSize> papers = Papers();
    if (index >= papers.size())
        return;
    QSizeF mm = papers[index].size(QPageSize::Millimeter);
    Extended w, h;
    if (PaperSizeOf(code, w, h))
        mm = QSizeF(double(w), double(h));
    if (FOrientation == poLandscape)
        mm.transpose();
    FWidth->setText(FormatLength(mm.width(), FUnits));
    FHeight->setText(FormatLength(mm.height(), FUnits));
}

void TrpPageSetupDialog::OrientationChosen(TPrinterOrientation orientation) {
    if (orientation == FOrientation)
        return;
    FOrientation = orientation;
    const QString w = FWidth->text();
    FWidth->setText(FHeight->text());
    FHeight->setText(w);
}

std::optional<TrpPageSettings> TrpPageSetupDialog::Settings() const {
    TrpPageSettings s;
    s.Orientation = FOrientation;
    s.PaperSize = FPaper->currentData().toInt();
    auto w = ParseLength(FWidth->text(), FUnits);
    auto h = ParseLength(FHeight->text(), FUnits);
    if (!w || !h || *w <= 0 || *h <= 0)
        return std::nullopt;
    s.PaperWidth = *w;
    s.PaperHeight = *h;
    Extended* margins[4] = {&s.LeftMargin, &s.TopMargin, &s.RightMargin, &s.BottomMargin};
    for (int i = 0; i < 4; ++i) {
        auto m = ParseLength(FMargins[i]->text(), FUnits);
        if (!m)
            return std::nullopt;
        *margins[i] = *m;
    }
    // The margins must leave a printable area.
    if (s.LeftMargin + s.RightMargin >= s.PaperWidth || s.TopMargin + s.BottomMargin >= s.PaperHeight)
        return std::nullopt;
    return s;
}

void TrpPageSetupDialog::SetApplyToAll(bool all) {
    (all ? FAllPages : FCurrentOnly)->setChecked(true);
}

bool TrpPageSetupDialog::ApplyToAll() const {
    return FAllPages->isChecked();
}

void TrpPageSetupDialog::accept() {
    if (!Settings()) {
        FReport.ShowMessage(rpGet("mbError"), rpGet("psBadNumber"));
        return;
    }
    QDialog::accept();
}

void TrpPageSetupDialog::Apply() {
    const auto s = Settings();
    if (!s)
        return;
    TrpPreviewPages& pages = FReport.PreviewPages();
    if (ApplyToAll()) {
        for (int i = 0; i < FReport.PagesCount(); ++i)
            ApplyPageSettings(*FReport.Pages(i), *s);
        FReport.Prepare(true);
        return;
    }
    TrpReportPage* page = pages.Page(FPageIndex);
    if (!page)
        return;
    // The prepared page gets a source page of its own with the new settings, so that the
    // change survives the page cache and a save.
    TrpReportPage source;
    source.Assign(*page);
    ApplyPageSettings(source, *s);
    const int sourceIndex = pages.AddSourcePage(source);
    pages.PagesItem()->Items(FPageIndex)->SetName(QStringLiteral("page") + QString::number(sourceIndex));
    ApplyPageSettings(*page, *s);
    pages.PageChanged(FPageIndex);
}

} // namespace preview
