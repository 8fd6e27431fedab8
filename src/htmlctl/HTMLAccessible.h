#pragma once
// What screen readers read of the HTML radio buttons: a radio button named with its caption's
// plain text, its checked state and the check action a click performs.

#include <QString>

namespace htmlctl {

class THTMLRadioButton;

// Installs the interface with the toolkit; every radio button does it when it is made.
void InstallHTMLAccessibility();

// The caption as read aloud: tags dropped, accelerator markers removed ("&&" is one "&").
QString AccessibleCaption(const THTMLRadioButton& button);

// Tells screen readers that the button's checked state changed.
void AnnounceChecked(THTMLRadioButton* button);

} // namespace htmlctl
