#include "export/Jpeg.h"

#include "report/Report.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace exports {

namespace {

struct ErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, err->Message);
    std::longjmp(err->Jump, 1);
}

} // namespace

QByteArray EncodeJpeg(const QImage& source, int quality, int dpi) {
    if (source.isNull())
        return {};
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.Base);
    err.Base.error_exit = OnError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    // Everything libjpeg allocates is released by jpeg_destroy_compress, also after an error.
    if (setjmp(err.Jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw report::TrpReportError(QString::fromLocal8Bit(err.Message));
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (dpi > 0 && dpi <= 65535) {
        info.density_unit = 1; // dots per inch
        info.X_density = info.Y_density = UINT16(dpi);
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

} // namespace exports
