#include "export/text/TextTexts.h"

#include "report/EngineTexts.h"

namespace exports {

namespace {

const char* const kTexts = R"(=== Text exports
8850=Экспорт в CSV
8851=CSV файл (*.csv)|*.csv
8852=.csv
8853=Разделитель
CSVExport=CSV файл
8800=Экспорт в текст
8801=Текстовый файл (*.txt)|*.txt
8802=.txt
SimpleTextExport=Текстовый файл
8300=Экспорт в текст
8302= Опции
8304=OEM-кодировка
8305=Пустые строки
8307=Номера
8308=Введите номера и/или диапазоны страниц, разделенные запятыми. Например, 1,3,5-12
8312= Рамки
8325=Текстовый файл (*.txt)|*.txt
8326=.txt
TextExport=Текстовый файл (prn)
8706=Открыть после экспорта
exPageBreaks=Разрывы страниц
exLeadSpaces=Пробелы слева
exScale= Масштаб
exFramesNone=Нет
exFramesText=Текстовые
exFramesGraphic=Графические
exPrintAfter=Печать после экспорта
exPreview=Просмотр
exPreviewSize=Ширина: %1, высота: %2
8400=Печать
8401=Принтер
8402=Настройки...
8403=Копии
8404=Тип принтера
8405=Команды
8406=Загрузить...
8407=Сохранить...
8409=Настройки принтера (*.rpi)|*.rpi
exBadScale=Масштаб %1: допустимы значения от 10 до 500
rpiCannotRead=Не удалось прочитать файл настроек принтера %1: %2
rpiMalformed=Файл %1 не является файлом настроек принтера: %2
rpiTooLarge=файл слишком велик
rpiNoType=первая строка должна содержать номер типа принтера
rpiBadType=типа принтера с номером %1 нет (допустимо от 0 до %2)
rpiMissingLines=для типа «%1» нужно строк с флагами: %2, в файле: %3
rpiBadFlag=строка %1 должна содержать True или False
rpiExtraLines=после строки %1 есть лишний текст
prnFailed=Не удалось напечатать на принтере %1: %2
)";

} // namespace

void AddTextExportTexts() {
    report::TrpResources::Instance().AddStringsOnce(kTexts);
}

} // namespace exports
