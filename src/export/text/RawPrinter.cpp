#include "export/text/RawPrinter.h"

#include <cups/cups.h>

namespace exports {

namespace {

QString LastError() {
    return QString::fromUtf8(cupsLastErrorString());
}

} // namespace

QStringList RawPrinterNames() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QStringList names;
    for (int i = 0; i < count; ++i)
        if (!dests[i].instance)
            names << QString::fromUtf8(dests[i].name);
    cupsFreeDests(count, dests);
    return names;
}

QString DefaultRawPrinter() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QString name;
    if (cups_dest_t* dest = cupsGetDest(nullptr, nullptr, count, dests))
        name = QString::fromUtf8(dest->name);
    cupsFreeDests(count, dests);
    return name;
}

QString PrintRaw(const QString& printer, const QString& title, const QByteArray& data, int copies) {
    const QByteArray queue = printer.toUtf8(), name = title.toUtf8();
    for (int copy = 0; copy < copies; ++copy) {
        const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), name.constData(), 0, nullptr);
        if (job <= 0)
            return LastError();
        if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, name.constData(), CUPS_FORMAT_RAW,
                              1) != HTTP_STATUS_CONTINUE) {
            const QString error = LastError();
            cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), job, 0);
            return error;
        }
        for (qsizetype done = 0; done < data.size(); done += 1024) {
            const size_t block = size_t(std::min<qsizetype>(1024, data.size() - done));
            if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, data.constData() + done, block) !=
                HTTP_STATUS_CONTINUE) {
                const QString error = LastError();
                cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData());
                cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), job, 0);
                return error;
            }
        }
        if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) != IPP_STATUS_OK)
            return LastError();
    }
    return {};
}

} // namespace exports
