#pragma once
// The bonus-malus class table: reference only, opened modally from the class page.

#include <QDialog>
#include <vector>

class QPushButton;

class TfmOSAGO_CalcClass : public QDialog {
public:
    explicit TfmOSAGO_CalcClass(QWidget* parent = nullptr);

    QPushButton* BitBtn1() const { return FBitBtn1; }

    // The table's geometry, in window pixels.
    static constexpr int RowCount = 15;
    static QRect HeaderCell(int index); // 0..7: the eight header cells
    static QRect BodyCell(int row, int column);
    // The captions of the cells: where each is drawn, its text and alignment flags.
    struct Label {
        QRect Rect;
        QString Text;
        int Flags;
    };
    static std::vector<Label> Labels();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPushButton* FBitBtn1;
};
