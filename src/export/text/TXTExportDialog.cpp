#include "export/text/TXTExportDialog.h"

#include "export/DialogHelp.h"
#include "export/Mnemonics.h"
#include "export/PageRangeGroup.h"
#include "export/text/TXTExport.h"
#include "export/text/TextEncoding.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

#include <QBuffer>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>

namespace exports {

using report::rpGet;

namespace {

constexpr int NarrowWidth = 277, WideWidth = 631, DialogHeight = 350;

// The first page the page box names; 1 when it names none.
int FirstPage(const QString& pages) {
    static const QRegularExpression number(QStringLiteral("\\d+"));
    const QRegularExpressionMatch m = number.match(pages);
    const int page = m.hasMatch() ? m.captured().toInt() : 1;
    return page > 0 ? page : 1;
}

} // namespace

TrpTXTExportDialog::TrpTXTExportDialog(const TrpTXTExport& filter, QWidget* parent)
    : QDialog(parent), FFilter(filter) {
    InstallDialogHelp(this, QStringLiteral("export-prn"));
    setWindowTitle(rpGet(8300));
    UseDialogFont(*this);
    setFixedSize(NarrowWidth, DialogHeight);

    GroupOptions = new QGroupBox(rpGet(8302), this);
    GroupOptions->setGeometry(4, 4, 269, 81);
    auto box = [](QWidget* parent, const QString& caption, int left, int top, bool checked) {
        auto* cb = new QCheckBox(caption, parent);
        cb->setGeometry(left, top, 245, 17);
        cb->setChecked(checked);
        return cb;
    };
    PageBreaksCB = box(GroupOptions, rpGet(QStringLiteral("exPageBreaks")), 12, 18, filter.PageBreaks());
    OEMCB = box(GroupOptions, rpGet(8304), 12, 33, filter.OEMCodepage());
    EmptyLinesCB = box(GroupOptions, rpGet(8305), 12, 48, filter.EmptyLines());
    LeadSpacesCB = box(GroupOptions, rpGet(QStringLiteral("exLeadSpaces")), 12, 63, filter.LeadSpaces());

    PagesL = new QLabel(rpGet(8307), this);
    PagesL->setGeometry(12, 94, 60, 17);
    PagesE = new QLineEdit(filter.PageNumbers(), this);
    PagesE->setGeometry(80, 92, 189, 21);
    PagesE->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,\\-]*")), PagesE));
    PagesL->setBuddy(PagesE);
    PagesHintL = new QLabel(rpGet(8308), this);
    PagesHintL->setGeometry(12, 116, 257, 29);
    PagesHintL->setWordWrap(true);

    GroupScale = new QGroupBox(rpGet(QStringLiteral("exScale")), this);
    GroupScale->setGeometry(4, 148, 269, 49);
    auto spin = [this](const QString& caption, int left, report::Extended scale) {
        auto* label = new QLabel(caption, GroupScale);
        label->setGeometry(left, 22, 14, 17);
        auto* s = new QSpinBox(GroupScale);
        s->setGeometry(left + 16, 19, 90, 21);
        s->setRange(10, 500);
        s->setSingleStep(10);
        s->setSuffix(QStringLiteral(" %"));
        s->setValue(int(std::lround(double(scale) * 100)));
        label->setBuddy(s);
        return s;
    };
    ScaleX = spin(QStringLiteral("X"), 12, filter.ScaleWidth());
    ScaleY = spin(QStringLiteral("Y"), 140, filter.ScaleHeight());

    GroupFrames = new QGroupBox(rpGet(8312), this);
    GroupFrames->setGeometry(4, 200, 269, 66);
    auto radio = [this](const QString& caption, int top) {
        auto* rb = new QRadioButton(caption, GroupFrames);
        rb->setGeometry(12, top, 245, 15);
        return rb;
    };
    FramesNoneRB = radio(rpGet(QStringLiteral("exFramesNone")), 16);
    FramesTextRB = radio(rpGet(QStringLiteral("exFramesText")), 31);
    FramesGraphicRB = radio(rpGet(QStringLiteral("exFramesGraphic")), 46);
    (!filter.Borders()        ? FramesNoneRB
     : filter.Pseudogrpahic() ? FramesGraphicRB
                              : FramesTextRB)
        ->setChecked(true);

    PrintAfterCB = box(this, rpGet(QStringLiteral("exPrintAfter")), 16, 272, filter.PrintAfter());
    PrintAfterCB->setVisible(!filter.Subordinate());
    PrintAfterCB->setChecked(filter.PrintAfter() && !filter.Subordinate());

    PreviewB = new QPushButton(rpGet(QStringLiteral("exPreview")) + QStringLiteral(" >>"), this);
    PreviewB->setGeometry(4, 318, 100, 25);
    PreviewB->setCheckable(true);
    AddOkCancel(*this, 318, OkB, CancelB);
    connect(PreviewB, &QPushButton::toggled, this, [this](bool on) { SetPreviewShown(on); });

    PreviewText = new QPlainTextEdit(this);
    PreviewText->setGeometry(NarrowWidth + 4, 8, WideWidth - NarrowWidth - 12, DialogHeight - 48);
    PreviewText->setReadOnly(true);
    PreviewText->setLineWrapMode(QPlainTextEdit::NoWrap);
    FontSmallerB = new QPushButton(QStringLiteral("A-"), this);
    FontSmallerB->setGeometry(NarrowWidth + 4, DialogHeight - 32, 30, 25);
    FontBiggerB = new QPushButton(QStringLiteral("A+"), this);
    FontBiggerB->setGeometry(NarrowWidth + 38, DialogHeight - 32, 30, 25);
    PreviewSizeL = new QLabel(this);
    PreviewSizeL->setGeometry(NarrowWidth + 76, DialogHeight - 28, 260, 17);
    for (QWidget* w : {static_cast<QWidget*>(PreviewText), static_cast<QWidget*>(FontSmallerB),
                       static_cast<QWidget*>(FontBiggerB), static_cast<QWidget*>(PreviewSizeL)})
        w->hide();
    connect(FontSmallerB, &QPushButton::clicked, this, [this] { SetPreviewFontSize(FPreviewFontSize - 1); });
    connect(FontBiggerB, &QPushButton::clicked, this, [this] { SetPreviewFontSize(FPreviewFontSize + 1); });

    // Every change of an option shows its effect in the open preview.
    auto refresh = [this] { RefreshPreview(); };
    for (QCheckBox* cb : {PageBreaksCB, OEMCB, EmptyLinesCB, LeadSpacesCB})
        connect(cb, &QCheckBox::toggled, this, refresh);
    for (QRadioButton* rb : {FramesNoneRB, FramesTextRB, FramesGraphicRB})
        connect(rb, &QRadioButton::toggled, this, refresh);
    for (QSpinBox* s : {ScaleX, ScaleY})
        connect(s, &QSpinBox::valueChanged, this, refresh);
    connect(PagesE, &QLineEdit::textChanged, this, refresh);
    CentreOnScreen(*this);
    AssignMnemonics(this);
}

void TrpTXTExportDialog::Store(TrpTXTExport& filter) const {
    filter.SetCurPage(false);
    filter.SetPageNumbers(PagesE->text());
    filter.SetPageBreaks(PageBreaksCB->isChecked());
    filter.SetOEMCodepage(OEMCB->isChecked());
    filter.SetEmptyLines(EmptyLinesCB->isChecked());
    filter.SetLeadSpaces(LeadSpacesCB->isChecked());
    filter.SetScaleWidth(ScaleX->value() / 100.0L);
    filter.SetScaleHeight(ScaleY->value() / 100.0L);
    filter.SetBorders(!FramesNoneRB->isChecked());
    filter.SetPseudogrpahic(FramesGraphicRB->isChecked());
    filter.SetPrintAfter(PrintAfterCB->isChecked() && !filter.Subordinate());
}

void TrpTXTExportDialog::SetPreviewShown(bool shown) {
    if (shown == FPreviewShown)
        return;
    FPreviewShown = shown;
    const int width = shown ? WideWidth : NarrowWidth;
    setFixedSize(width, DialogHeight);
    move(x() + (shown ? -177 : 177), y());
    for (QWidget* w : {static_cast<QWidget*>(PreviewText), static_cast<QWidget*>(FontSmallerB),
                       static_cast<QWidget*>(FontBiggerB), static_cast<QWidget*>(PreviewSizeL)})
        w->setVisible(shown);
    PreviewB->setChecked(shown);
    PreviewB->setText(rpGet(QStringLiteral("exPreview")) +
                      (shown ? QStringLiteral(" <<") : QStringLiteral(" >>")));
    if (shown) {
        SetPreviewFontSize(FPreviewFontSize);
        RefreshPreview();
    }
}

void TrpTXTExportDialog::SetPreviewFontSize(int points) {
    FPreviewFontSize = std::clamp(points, 2, 30);
    QFont font(OEMCB->isChecked() ? QStringLiteral("Terminal") : QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(FPreviewFontSize);
    PreviewText->setFont(font);
}

void TrpTXTExportDialog::RefreshPreview() {
    if (!FPreviewShown)
        return;
    SetPreviewFontSize(FPreviewFontSize);
    report::TrpReport* report = FFilter.Report();
    if (!report)
        return;
    // Its own unregistered filter, so the export's settings stay as they are until OK.
    TrpTXTExport preview(true);
    Store(preview);
    preview.SetCustomFrameSet(FFilter.CustomFrameSet());
    preview.SetPrintAfter(false);
    preview.SetPreviewMode(true);
    preview.SetShowDialog(false);
    preview.SetShowProgress(false);
    preview.SetCurPage(false);
    preview.SetPageNumbers(QString::number(FirstPage(PagesE->text())));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    preview.SetStream(&buffer);
    const report::TrpSilentMode mode = report->EngineOptions.NewSilentMode;
    report->EngineOptions.NewSilentMode = report::simReThrow;
    QString error;
    try {
        if (!ExportTo(*report, &preview))
            error = rpGet(QStringLiteral("exFailed"));
    } catch (const std::exception& e) {
        const auto* reportError = dynamic_cast<const report::TrpReportError*>(&e);
        error = reportError ? reportError->Message() : QString::fromUtf8(e.what());
    }
    report->EngineOptions.NewSilentMode = mode;
    QByteArray bytes = buffer.data();
    bytes.replace('\f', "");
    PreviewText->setPlainText(error.isEmpty() ? DecodeText(bytes, preview.OEMCodepage()) : error);
    PreviewSizeL->setText(
        rpGet(QStringLiteral("exPreviewSize")).arg(preview.PageWidthChars()).arg(preview.PageHeightChars()));
}

} // namespace exports
