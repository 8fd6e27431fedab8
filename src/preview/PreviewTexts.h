#pragma once
// The preview's and the print dialogs' texts in the engine text table.

namespace preview {

// Adds the preview's block of texts to the engine text table (once per process).
void AddPreviewTexts();

} // namespace preview
