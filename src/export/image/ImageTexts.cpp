#include "export/image/ImageTexts.h"

#include "report/EngineTexts.h"

namespace exports {

namespace {

const char* const kTexts = R"(=== Picture exports
8600=Экспорт в рисунок
8601= Опции
8602=Качество JPEG
8603=Разрешение (dpi)
8604=Раздельные файлы
8605=Обрезать страницу
8606=Монохромный
BMPexport=Рисунок BMP
BMPexportFilter=Рисунок BMP (*.bmp)|*.bmp
JPEGexport=Рисунок JPEG
JPEGexportFilter=Рисунок JPEG (*.jpg)|*.jpg
TIFFexport=Рисунок TIFF
TIFFexportFilter=Рисунок TIFF (*.tif)|*.tif
GIFexport=Рисунок Gif
GifexportFilter=Рисунок Gif (*.gif)|*.gif
exGifEmpty=Пустой рисунок нельзя записать в формате GIF
exGifTooLarge=Рисунок %1 × %2 точек слишком велик для формата GIF: ширина и высота не больше 65535 точек
exTiffEmpty=Пустой рисунок нельзя записать в формате TIFF
exNotInteger=%1: «%2» — не целое число
exOutOfRange=%1: допустимы значения от %2 до %3
exBadResolution=Разрешение %1 dpi недопустимо: нужно целое число больше нуля
exPictureTooLarge=Рисунок %1 × %2 точек при разрешении %3 dpi слишком велик: ширина и высота не больше %4 точек
exPictureNoMemory=Не хватает памяти для рисунка %1 × %2 точек
)";

} // namespace

void AddImageExportTexts() {
    report::TrpResources::Instance().AddStringsOnce(kTexts);
}

} // namespace exports
