#include "export/image/PictureOutput.h"

#include "export/image/ImageTexts.h"
#include "report/EngineTexts.h"
#include "report/Report.h"

#include <QIODevice>

namespace exports {

void WriteAll(QIODevice& out, const QByteArray& data) {
    for (qint64 done = 0; done < data.size();) {
        const qint64 n = out.write(data.constData() + done, data.size() - done);
        if (n <= 0) {
            AddImageExportTexts();
            throw report::TrpReportError(
                report::rpGet(QStringLiteral("exWriteFailed")).arg(out.errorString()));
        }
        done += n;
    }
}

} // namespace exports
