#pragma once

#include <QString>

namespace platform {

// The toolkit's own texts (file, print and page dialogs, standard buttons, edit menus) in
// Russian, the program's language whatever the locale: Qt's translation catalogue from the
// system's translations folder. Needs the application object; a second call does nothing.
// Returns false, with the reason in *error, when the catalogue cannot be loaded; the
// dialogs then stay in English.
bool InstallToolkitTranslations(QString* error = nullptr);

} // namespace platform
