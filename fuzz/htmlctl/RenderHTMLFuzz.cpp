// Any caption, laid out, drawn and hit-tested, must neither crash nor hang.
// Input: one byte of flags, one of box width, one of box height, then the caption in UTF-8.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

#include "htmlctl/HTMLRender.h"
#include "htmlctl/PictureContainer.h"
#include "platform/FontSetup.h"
#include "platform/ImageList.h"

namespace {

struct Fixture {
    htmlctl::TPictureContainer Container;
    htmlctl::TImageList Images{16, 16};
    htmlctl::THTMLPictureCache Cache;
    QImage Canvas{240, 120, QImage::Format_ARGB32_Premultiplied};

    Fixture() {
        QImage pic(7, 5, QImage::Format_RGB32);
        pic.fill(Qt::green);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        pic.save(&buffer, "PNG");
        Container.Add("pic").Picture().LoadFromBytes(png);
        Images.Add(pic);
    }
};

Fixture* TheFixture = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: the fuzzer leaves through exit(), after Qt's own statics are gone.
    new QApplication(*argc, *argv);
    platform::InstallApplicationFonts();
    TheFixture = new Fixture;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    Fixture& f = *TheFixture;
    const uint8_t flags = data[0];
    htmlctl::THTMLRenderIn in;
    in.Font = QFont(QStringLiteral("Tahoma"));
    in.Font.setPixelSize(9 + (flags >> 5));
    in.Text = QString::fromUtf8(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3));
    in.Rect = QRect(flags & 8 ? -5 : 3, 2, data[1] % 240, data[2] % 120);
    in.WordWrap = !(flags & 1);
    in.LineSpacing = flags & 16 ? 2 : 0;
    in.Images = &f.Images;
    in.PictureContainer = &f.Container;
    in.PictureCache = &f.Cache;
    in.FocusAnchor = flags & 2 ? 0 : -1;
    in.HoverAnchor = flags & 4 ? 1 : -1;
    in.HoverColor = Qt::yellow;
    in.BrushColor = Qt::white;

    in.MeasureOnly = true;
    const htmlctl::THTMLRenderOut measured = htmlctl::RenderHTML(in);

    in.MeasureOnly = false;
    f.Canvas.fill(Qt::white);
    {
        QPainter p(&f.Canvas);
        in.Canvas = &p;
        htmlctl::RenderHTML(in);
    }
    in.Canvas = nullptr;
    in.CheckHotSpot = true;
    in.Point = QPoint(data[1] % 240, data[2] % 120);
    htmlctl::RenderHTML(in);
    // The caption cache must not grow without bound across inputs.
    if (f.Cache.Count() > 64)
        f.Cache.Clear();
    return measured.YSize >= 0 ? 0 : 1;
}
