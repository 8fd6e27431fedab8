#pragma once
// Keyboard letters for menus whose entries come without one.

class QMenu;

namespace report {

// Gives every entry of the menu without an "&" the first free letter of its caption, a word's
// first letter before the others, so Alt-free letter keys choose entries in the open menu.
// Letters the menu's own "&"s claim stay theirs; an entry with no free letter keeps none.
void AssignMnemonics(QMenu* menu);

} // namespace report
