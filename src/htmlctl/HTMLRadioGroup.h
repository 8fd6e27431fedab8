#pragma once

#include <QGroupBox>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <vector>

#include "htmlctl/HTMLRadioButton.h"

namespace htmlctl {

class TCustomHTMLRadioGroup;

using TEnabledEvent = std::function<void(QObject* Sender, int ItemIndex, bool& Enabled)>;

// One line of a radio group; created and positioned by the group from its Items.
class TGroupButton : public THTMLRadioButton {
    Q_OBJECT
public:
    explicit TGroupButton(TCustomHTMLRadioGroup* group);
    ~TGroupButton() override;

private:
    TCustomHTMLRadioGroup* FGroup;
};

// A framed group of mutually exclusive options, one HTML radio button per line of Items.
// Every user choice, and every change of ItemIndex in code, fires OnClick.
class TCustomHTMLRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TCustomHTMLRadioGroup(QWidget* parent = nullptr);
    ~TCustomHTMLRadioGroup() override;

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    const QStringList& Items() const { return FItems; }
    void SetItems(const QStringList& value);
    void AddItem(const QString& item);
    void DeleteItem(int index);
    void ClearItems();

    QString Caption() const { return title(); }
    void SetCaption(const QString& value) { setTitle(value); }
    void SetEnabled(bool value) { setEnabled(value); }
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    TButtonType ButtonType() const { return FButtonType; }
    void SetButtonType(TButtonType value);
    QColor CheckColor() const { return FCheckColor; }
    void SetCheckColor(const QColor& value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout ButtonVertAlign() const { return FButtonVertAlign; }
    void SetButtonVertAlign(TTextLayout value);
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* value);
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int value);
    QColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(const QColor& value);
    QString Version() const { return QStringLiteral("1.4.5.2"); }

    int ButtonCount() const { return int(FButtons.size()); }
    TGroupButton* Buttons(int index) const { return FButtons.at(size_t(index)); }

    // Setting up a group without events: between these calls Items and ItemIndex are only
    // stored; the end builds the buttons and checks the selected one silently.
    void BeginReading() { FReading = true; }
    void EndReading();

    void UpdateItemButtons();
    void ArrangeItemButtons();
    // The item buttons' click: the clicked item becomes ItemIndex and OnClick fires.
    void ButtonClick(QObject* Sender);

    TNotifyEvent OnClick;
    TNotifyEvent OnChange;
    TEnabledEvent OnIsEnabled;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TGroupButton;
    void ItemsChanged();
    void AdjustButtonCount(int count);

    std::vector<TGroupButton*> FButtons;
    QStringList FItems;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FReading = false;
    bool FUpdating = false;
    TButtonType FButtonType = btClassic;
    QColor FCheckColor = Qt::black;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FButtonVertAlign = tlTop;
    QPointer<TImageList> FImages;
    QPointer<TPictureContainer> FPictureContainer;
    bool FEllipsis = false;
    int FShadowOffset = 1;
    QColor FShadowColor = Qt::lightGray;
};

class THTMLRadioGroup : public TCustomHTMLRadioGroup {
    Q_OBJECT
public:
    using TCustomHTMLRadioGroup::TCustomHTMLRadioGroup;
};

} // namespace htmlctl
