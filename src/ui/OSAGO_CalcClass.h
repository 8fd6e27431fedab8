#pragma once
// The bonus-malus class table: reference only, opened modally from the class page.

#include <QDialog>

class QPushButton;

class TfmOSAGO_CalcClass : public QDialog {
public:
    explicit TfmOSAGO_CalcClass(QWidget* parent = nullptr);

    QPushButton* BitBtn1() const { return FBitBtn1; }

    // The table's geometry, in window pixels.
    static constexpr int RowCount = 15;
    static QRect HeaderCell(int index); // 0..7: the eight header cells
    static QRect BodyCell(int row, int column);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPushButton* FBitBtn1;
};
