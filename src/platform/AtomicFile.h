#pragma once
// Writing a file whole or not at all.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

namespace platform {

// Writes through a temporary file beside the target that takes the target's name only when
// every write, the final flush and the sync to disk have succeeded; on any failure the
// temporary goes and an existing file of that name stays as it was. The device `write` gets
// is unbuffered and may take fewer bytes than offered, as a system call does: write the rest
// again. `write` returns "" on success, else its reason. Returns "" on success, else the reason in the system's words
// ("No space left on device", "File too large").
QString WriteFileAtomically(const QString& fileName, const std::function<QString(QIODevice&)>& write);
QString WriteFileAtomically(const QString& fileName, const QByteArray& data);

} // namespace platform
