#pragma once
// The exports' temporary files are the process-named ones of the platform layer.

#include "platform/TempFiles.h"

namespace exports {

using platform::NewTemporaryFile;
using platform::ProcessTempTemplate;
using platform::RemoveStaleTempFiles;

} // namespace exports
