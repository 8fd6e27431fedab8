#pragma once
// Writing a picture's bytes to a device that may take fewer bytes than offered at a time.

#include <QByteArray>

class QIODevice;

namespace exports {

// Writes all of `data`, again and again until it is taken; throws report::TrpReportError with
// the device's reason when it takes nothing.
void WriteAll(QIODevice& out, const QByteArray& data);

} // namespace exports
