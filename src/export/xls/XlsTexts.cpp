#include "export/xls/XlsTexts.h"

#include "report/EngineTexts.h"

namespace exports {

namespace {

const char* const kTexts = R"(=== Excel export
6=Разрывы страниц
8000=Экспорт в Excel
8002=Картинки
8003=Объединять ячейки
8004=Быстрый экспорт
8005=WYSIWYG
8006=Как текст
8007=Фон
8008=Открыть Excel после экспорта
8009=Файл Excel (*.xls)|*.xls
8010=.xls
8950=Неразрывный
XlsOLEexport=Документ Excel (OLE)
ProgressStyles=Настройка стилей
ProgressColumns=Настройка колонок
ProgressRows=Настройка строк
ProgressObjects=Экспорт объектов
xlsNoOffice=Табличный процессор LibreOffice Calc недоступен (%1). Установите LibreOffice, чтобы сохранять документы Excel; файл не записан.
xlsNotFound=программа %1 не найдена
xlsNotStarted=программа %1 не запускается: %2
xlsNoAnswer=программа не ответила за %1 с
xlsEnded=программа завершилась с кодом %1
xlsLost=Табличный процессор LibreOffice Calc прервал работу во время экспорта; файл не записан.
xlsHung=Табличный процессор LibreOffice Calc не отвечал %1 с и был остановлен; файл не записан.
xlsRejected=Табличный процессор отклонил действие: %1
xlsCannotSave=Не удалось сохранить книгу Excel %1: %2
xlsNotWorkbook=табличный процессор не записал книгу
)";

} // namespace

void AddXlsExportTexts() {
    report::TrpResources::Instance().AddStringsOnce(kTexts);
}

} // namespace exports
