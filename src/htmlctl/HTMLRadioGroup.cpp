#include "htmlctl/HTMLRadioGroup.h"

#include "htmlctl/CellMetrics.h"
#include "platform/ImageList.h"

#include <QEvent>
#include <QPainter>

namespace htmlctl {

TGroupButton::TGroupButton(TCustomHTMLRadioGroup* group) : THTMLRadioButton(group), FGroup(group) {
    group->FButtons.push_back(this);
    hide();
    setEnabled(group->isEnabled());
    OnClick = [group](QObject* sender) { group->ButtonClick(sender); };
}

TGroupButton::~TGroupButton() {
    auto& list = FGroup->FButtons;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

TCustomHTMLRadioGroup::TCustomHTMLRadioGroup(QWidget* parent) : QGroupBox(parent) {}

TCustomHTMLRadioGroup::~TCustomHTMLRadioGroup() {
    while (!FButtons.empty())
        delete FButtons.back();
}

void TCustomHTMLRadioGroup::SetItemIndex(int value) {
    if (FReading) {
        FItemIndex = value;
        return;
    }
    value = qBound(-1, value, ButtonCount() - 1);
    if (value == FItemIndex)
        return;
    if (FItemIndex >= 0 && FItemIndex < ButtonCount())
        FButtons[size_t(FItemIndex)]->SetChecked(false);
    FItemIndex = value;
    // Checking the button clicks it, which stores ItemIndex again and fires OnClick.
    if (FItemIndex >= 0)
        FButtons[size_t(FItemIndex)]->SetChecked(true);
}

void TCustomHTMLRadioGroup::SetItems(const QStringList& value) {
    FItems = value;
    ItemsChanged();
}

void TCustomHTMLRadioGroup::AddItem(const QString& item) {
    FItems.append(item);
    ItemsChanged();
}

void TCustomHTMLRadioGroup::DeleteItem(int index) {
    if (index < 0 || index >= FItems.size())
        return;
    FItems.removeAt(index);
    ItemsChanged();
}

void TCustomHTMLRadioGroup::ClearItems() {
    FItems.clear();
    ItemsChanged();
}

void TCustomHTMLRadioGroup::ItemsChanged() {
    if (FReading)
        return;
    if (FItemIndex >= FItems.size())
        FItemIndex = int(FItems.size()) - 1;
    UpdateItemButtons();
}

void TCustomHTMLRadioGroup::EndReading() {
    FReading = false;
    if (FItemIndex >= FItems.size())
        FItemIndex = int(FItems.size()) - 1;
    FItemIndex = qMax(-1, FItemIndex);
    UpdateItemButtons();
}

void TCustomHTMLRadioGroup::AdjustButtonCount(int count) {
    while (ButtonCount() < count)
        new TGroupButton(this);
    while (ButtonCount() > count)
        delete FButtons.back();
}

void TCustomHTMLRadioGroup::UpdateItemButtons() {
    AdjustButtonCount(int(FItems.size()));
    for (int i = 0; i < ButtonCount(); ++i)
        FButtons[size_t(i)]->SetCaption(FItems[i]);
    if (FItemIndex >= 0) {
        FUpdating = true;
        FButtons[size_t(FItemIndex)]->SetChecked(true);
        FUpdating = false;
    }
    ArrangeItemButtons();
    update();
}

void TCustomHTMLRadioGroup::ArrangeItemButtons() {
    if (FReading || FButtons.empty())
        return;
    const int count = ButtonCount();
    const int h = CellMetrics(font()).Height();
    const int perColumn = (count + FColumns - 1) / FColumns;
    const int buttonWidth = (width() - 10) / FColumns;
    const int room = height() - h - 5;
    const int buttonHeight = room / perColumn;
    const int topMargin = h + 1 + (room % perColumn) / 2;
    const bool mirrored = layoutDirection() == Qt::RightToLeft;
    for (int i = 0; i < count; ++i) {
        TGroupButton* b = FButtons[size_t(i)];
        b->setLayoutDirection(layoutDirection());
        b->SetAlignment(FAlignment);
        b->SetButtonType(FButtonType);
        b->SetButtonVertAlign(FButtonVertAlign);
        b->SetCheckColor(FCheckColor);
        b->SetImages(FImages);
        b->SetPictureContainer(FPictureContainer);
        b->SetEllipsis(FEllipsis);
        b->SetShadowOffset(FShadowOffset);
        b->SetShadowColor(FShadowColor);
        bool enabled = isEnabled();
        if (OnIsEnabled)
            OnIsEnabled(this, i, enabled);
        b->setEnabled(enabled);
        int left = (i / perColumn) * buttonWidth + 8;
        if (mirrored)
            left = width() - left - buttonWidth;
        const int top = (i % perColumn) * buttonHeight + topMargin;
        b->setGeometry(left, top, qMax(0, buttonWidth), qMax(0, buttonHeight));
        b->show();
    }
}

void TCustomHTMLRadioGroup::ButtonClick(QObject* Sender) {
    if (FUpdating)
        return;
    const auto it = std::find(FButtons.begin(), FButtons.end(), Sender);
    if (it == FButtons.end())
        return;
    FItemIndex = int(it - FButtons.begin());
    if (OnChange)
        OnChange(this);
    if (OnClick)
        OnClick(this);
}

#define HTMLCTL_GROUP_SETTER(Name, Type)                                                                     \
    void TCustomHTMLRadioGroup::Set##Name(Type value) {                                                      \
        F##Name = value;                                                                                     \
        ArrangeItemButtons();                                                                                \
    }

HTMLCTL_GROUP_SETTER(ButtonType, TButtonType)
HTMLCTL_GROUP_SETTER(CheckColor, const QColor&)
HTMLCTL_GROUP_SETTER(Alignment, TAlignment)
HTMLCTL_GROUP_SETTER(ButtonVertAlign, TTextLayout)
HTMLCTL_GROUP_SETTER(Images, TImageList*)
HTMLCTL_GROUP_SETTER(PictureContainer, TPictureContainer*)
HTMLCTL_GROUP_SETTER(Ellipsis, bool)
HTMLCTL_GROUP_SETTER(ShadowOffset, int)
HTMLCTL_GROUP_SETTER(ShadowColor, const QColor&)
#undef HTMLCTL_GROUP_SETTER

void TCustomHTMLRadioGroup::SetColumns(int value) {
    value = qBound(1, value, 16);
    if (value == FColumns)
        return;
    FColumns = value;
    ArrangeItemButtons();
    update();
}

void TCustomHTMLRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    ArrangeItemButtons();
}

void TCustomHTMLRadioGroup::showEvent(QShowEvent* event) {
    // A hidden group gets its resize events only when shown.
    QGroupBox::showEvent(event);
    ArrangeItemButtons();
}

void TCustomHTMLRadioGroup::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        ArrangeItemButtons();
    } else if (event->type() == QEvent::EnabledChange) {
        for (TGroupButton* b : FButtons)
            b->setEnabled(isEnabled());
    }
}

void TCustomHTMLRadioGroup::paintEvent(QPaintEvent*) {
    // The classic etched frame with the caption set into its top edge.
    QPainter p(this);
    const TCellMetrics cell = CellMetrics(font());
    const int top = cell.Height() / 2;
    const QPalette& pal = palette();
    const int w = width(), h = height();
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(0, top, w - 2, h - top - 2);
    p.setPen(pal.color(QPalette::Light));
    p.drawLine(1, top + 1, w - 3, top + 1);
    p.drawLine(1, top + 1, 1, h - 3);
    p.drawLine(0, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, top, w - 1, h - 1);
    const QString caption = title();
    if (caption.isEmpty())
        return;
    p.setFont(font());
    const QFontMetrics fm(font());
    const int tw = fm.horizontalAdvance(QString(caption).remove(QLatin1Char('&')));
    const QRect text(8, 0, tw, cell.Height());
    p.fillRect(text, pal.color(backgroundRole()));
    p.setPen(isEnabled() ? pal.color(QPalette::WindowText)
                         : pal.color(QPalette::Disabled, QPalette::WindowText));
    // Baseline where the classic cell puts it, whatever Qt's own ascent of the face.
    p.drawText(text.translated(0, cell.Ascent - fm.ascent()),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine, caption);
}

} // namespace htmlctl
