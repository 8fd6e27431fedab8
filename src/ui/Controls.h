#pragma once
// Small controls of the calculator's pages: framed cells, link labels, note buttons, and the
// helpers that place labels and options at their pixel positions.

#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <functional>

class QButtonGroup;
class QRadioButton;

namespace ui {

QFont PixelFont(int pixels, bool bold = false, const QString& family = QStringLiteral("Tahoma"));

// A rectangle with a white fill and a black 1-pixel outline, as the result table draws its cells.
class FramedCell : public QWidget {
public:
    FramedCell(QWidget* parent, const QRect& rect);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A label that reads as a link while the mouse is over it (pure blue, underlined) and opens
// its target when clicked.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, QWidget* parent);
    std::function<void()> OnClick;

protected:
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    void SetHovered(bool hovered);
};

// A flat 25 x 25 button with the note glyph; the hint reads "Примечание".
QToolButton* MakeNoteButton(QWidget* page, const QString& objectName);

// An option of an answer page at (left, top) with the window font.
QRadioButton* MakeOption(QWidget* page, const QString& caption, const QRect& rect);

// Only the checked option of the group is a tab stop (the arrow keys move the choice inside
// the group), so Tab never rests on an option where one Space would change the answer.
// Call once the group has all its options.
void KeepTabStopOnChecked(QButtonGroup* group);

// The grey 9-pixel information label under an option, sized to its text unless a width is given.
QLabel* MakeInfoLabel(QWidget* page, const QString& text, int left, int top, int width = 0);

// A note: the information picture and, beside it, a word-wrapping label of fixed size.
QLabel* MakeNote(QWidget* page, const QPoint& picture, const QRect& label, const QString& text);

// A label sized to its text at (left, top).
QLabel* MakeLabel(QWidget* page, const QString& text, int left, int top, const QFont& font);

} // namespace ui
