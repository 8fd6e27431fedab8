#pragma once
// Keyboard letters for menus and dialogs whose captions come without one.

#include <QString>

class QMenu;
class QWidget;

namespace exports {

// Gives every entry of the menu without an "&" the first free letter of its caption, a word's
// first letter before the others, so letter keys choose entries in the open menu. Letters the
// menu's own "&"s claim stay theirs; an entry with no free letter keeps none.
void AssignMnemonics(QMenu* menu);

// The same for a dialog's buttons, check boxes, radio buttons and the labels of its fields, in
// the order they were made: Alt and the letter press the button or focus the field.
void AssignMnemonics(QWidget* dialog);

// A caption as it reads in a message: its letter's "&" dropped, a doubled "&&" one "&".
QString WithoutMnemonic(const QString& caption);

} // namespace exports
