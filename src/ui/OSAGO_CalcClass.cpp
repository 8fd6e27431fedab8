#include "ui/OSAGO_CalcClass.h"

#include <QPainter>
#include <QPushButton>

#include "calc/ClassTable.h"
#include "ui/Accessible.h"
#include "ui/Pictures.h"
#include "wizard/KCommon.h"

using wizard::ColorToQColor;

namespace {

struct HeaderCellSpec {
    QRect Rect;
    const char* Text;
};

const HeaderCellSpec kHeader[] = {
    {{10, 10, 105, 31}, "Класс на начало срока страхования"},
    {{114, 10, 47, 31}, "Коэфф."},
    {{160, 10, 496, 15},
     "Класс по окончании срока страхования с учетом наличия страх. случаев по вине страхователя"},
    {{160, 24, 100, 17}, "0 страх. выплат"},
    {{259, 24, 100, 17}, "1 страх. выплата"},
    {{358, 24, 100, 17}, "2 страх. выплаты"},
    {{457, 24, 100, 17}, "3 страх. выплаты"},
    {{556, 24, 100, 17}, "4 страх. выплаты"},
};

constexpr int kColumnLeft[] = {10, 114, 160, 259, 358, 457, 556};
constexpr int kColumnWidth[] = {105, 47, 100, 100, 100, 100, 100};
constexpr int kFirstRowTop = 40, kRowStep = 16, kRowHeight = 17;

QString BodyText(int row, int column) {
    const calc::ClassTransition& t = calc::ClassTransitions[row];
    const std::string_view text = column == 0   ? t.Class
                                  : column == 1 ? t.Coefficient
                                                : t.NextClass[column - 2];
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A rectangle with a 1-pixel outline covering exactly the given pixels.
void Cell(QPainter& p, const QRect& r, const QColor& fill) {
    p.fillRect(r, fill);
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

} // namespace

TfmOSAGO_CalcClass::TfmOSAGO_CalcClass(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint) {
    ui::InstallAccessibility();
    setWindowTitle(QStringLiteral("Класс страхователя"));
    setFixedSize(667, 316);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorToQColor(wizard::clWindow));
    setPalette(pal);
    setModal(true);

    // Default (Enter) and cancel (Esc) at once; either way the window closes as cancelled.
    FBitBtn1 =
        new QPushButton(QIcon(ui::Picture(QStringLiteral("close"), 16)), QStringLiteral("&Закрыть"), this);
    FBitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    FBitBtn1->setGeometry(566, 286, 90, 25);
    FBitBtn1->setDefault(true);
    FBitBtn1->setAutoDefault(true);
    connect(FBitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

QRect TfmOSAGO_CalcClass::HeaderCell(int index) {
    return kHeader[index].Rect;
}

QRect TfmOSAGO_CalcClass::BodyCell(int row, int column) {
    return {kColumnLeft[column], kFirstRowTop + row * kRowStep, kColumnWidth[column], kRowHeight};
}

std::vector<TfmOSAGO_CalcClass::Label> TfmOSAGO_CalcClass::Labels() {
    std::vector<Label> labels;
    for (int i = 0; i < int(std::size(kHeader)); ++i) {
        // The first cell wraps its caption over two lines in a 98 x 27 label.
        const QRect rect = i == 0 ? QRect(14, 12, 98, 27) : kHeader[i].Rect.adjusted(1, 1, -1, -1);
        labels.push_back({rect, QString::fromUtf8(kHeader[i].Text), Qt::AlignCenter | Qt::TextWordWrap});
    }
    for (int row = 0; row < RowCount; ++row)
        for (int column = 0; column < 7; ++column) {
            const QRect r = BodyCell(row, column);
            labels.push_back({QRect(r.left(), r.top() + 2, r.width(), r.height() - 2), BodyText(row, column),
                              Qt::AlignHCenter | Qt::AlignTop});
        }
    return labels;
}

void TfmOSAGO_CalcClass::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    // The header in the button face, the body in the window colour, as the desktop scheme
    // of the calculator's window paints them.
    for (const HeaderCellSpec& cell : kHeader)
        Cell(p, cell.Rect, ColorToQColor(wizard::clBtnFace));
    for (int row = 0; row < RowCount; ++row)
        for (int column = 0; column < 7; ++column)
            Cell(p, BodyCell(row, column), ColorToQColor(wizard::clWindow));
    // The labels are transparent: the cells show through.
    p.setPen(palette().color(QPalette::WindowText));
    for (const Label& label : Labels())
        p.drawText(label.Rect, label.Flags, label.Text);
}
