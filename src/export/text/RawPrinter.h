#pragma once
// Raw printing through CUPS: bytes handed to a queue as they are (document format
// "application/vnd.cups-raw"), never through a rasterising driver.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace exports {

// The queues of the print system, and the default one ("" when there is none).
QStringList RawPrinterNames();
QString DefaultRawPrinter();

// Sends the data to the queue as one job per copy, in blocks of 1024 bytes. Returns "" on
// success, else the print system's reason.
QString PrintRaw(const QString& printer, const QString& title, const QByteArray& data, int copies);

} // namespace exports
