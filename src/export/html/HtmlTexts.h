#pragma once

namespace exports {

// Adds the HTML export's texts to the engine text table (done by the filter's constructor).
void AddHtmlExportTexts();

} // namespace exports
