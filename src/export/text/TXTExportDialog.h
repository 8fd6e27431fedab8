#pragma once
// The options dialog of the printer-text export, with a preview pane that shows one page as
// the current settings export it.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace exports {

class TrpTXTExport;

class TrpTXTExportDialog : public QDialog {
public:
    explicit TrpTXTExportDialog(const TrpTXTExport& filter, QWidget* parent = nullptr);
    // The dialog's choices into a filter (the export's own, or the preview's).
    void Store(TrpTXTExport& filter) const;

    QGroupBox* GroupOptions;
    QCheckBox* PageBreaksCB;
    QCheckBox* OEMCB;
    QCheckBox* EmptyLinesCB;
    QCheckBox* LeadSpacesCB;
    QLabel* PagesL;
    QLineEdit* PagesE;
    QLabel* PagesHintL;
    QGroupBox* GroupScale;
    QSpinBox* ScaleX;
    QSpinBox* ScaleY;
    QGroupBox* GroupFrames;
    QRadioButton* FramesNoneRB;
    QRadioButton* FramesTextRB;
    QRadioButton* FramesGraphicRB;
    QCheckBox* PrintAfterCB;
    QPushButton* PreviewB;
    QPushButton* OkB;
    QPushButton* CancelB;
    // The preview pane.
    QPlainTextEdit* PreviewText;
    QPushButton* FontBiggerB;
    QPushButton* FontSmallerB;
    QLabel* PreviewSizeL;

    // Opens or closes the preview pane.
    void SetPreviewShown(bool shown);
    bool PreviewShown() const { return FPreviewShown; }
    // Exports the page in the page box with the current settings into the pane.
    void RefreshPreview();

private:
    void SetPreviewFontSize(int points);

    const TrpTXTExport& FFilter;
    bool FPreviewShown = false;
    int FPreviewFontSize = 10;
};

} // namespace exports
