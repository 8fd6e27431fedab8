#pragma once

namespace exports {

// Adds the e-mail export's texts to the engine text table (done by its constructors).
void AddMailExportTexts();

} // namespace exports
