#pragma once
// Temporary files carry the id of the process that made them ("tarifon-<pid>-XXXXXX"), so
// that those a killed process left behind can be told from those of processes still
// running, and removed.

#include <QString>

namespace platform {

// A QTemporaryFile template in the folder for this process. The first call for a folder
// removes the files there whose process is gone.
QString ProcessTempTemplate(const QString& folder, const QString& suffix = {});

// A new, empty temporary file of this process with the suffix, left in place for the caller;
// "" when none can be made.
QString NewTemporaryFile(const QString& suffix);

// Removes the temporary files and folders of processes that no longer run (the command line's
// runtime folders and stand-in outputs included); returns how many went.
int RemoveStaleTempFiles(const QString& folder);

} // namespace platform
