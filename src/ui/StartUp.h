#pragma once
// What the calculator sets up once its application object exists, before the main window.

namespace ui {

// The application's name, the program's fonts, the progress window of long jobs and the
// toolkit's dialogs in Russian. No application-wide display name: the toolkit would append it
// to every window's caption.
void SetUpApplication();

// One family throughout: message boxes, menus, the preview and the engine's dialogs take the
// face of the calculator's window (Tahoma, 11 pixels), not the desktop's default.
void UseTheWindowFace();

// Every message box, whoever makes it, gives its buttons a letter each as it is shown, so Alt
// and the letter answer it as in the program's own dialogs. A second call does nothing.
void GiveMessageBoxesLetters();

} // namespace ui
