#include "export/html/HtmlTexts.h"

#include "report/EngineTexts.h"

namespace exports {

namespace {

const char* const kTexts = R"(=== HTML export
8200=Экспорт в HTML (табличный)
8201=Открыть после экспорта
8202=Стили
8203=Картинки
8204=Все в одной папке
8205=Фикс.ширина
8206=Навигатор
8207=Многостраничный
8209=Фон
8210=Файл HTML (*.html)|*.html
8211=.html
8313=Нет
HTMLexport=Документ HTML (табличный)
HTMLNavFirst=Начало
HTMLNavPrev=Пред.
HTMLNavNext=След.
HTMLNavLast=Конец
HTMLNavRefresh=Обновить
HTMLNavPrint=Печать
HTMLNavTotal=Всего страниц
exCannotMakeFolder=Не удалось создать папку %1: %2
)";

} // namespace

void AddHtmlExportTexts() {
    report::TrpResources::Instance().AddStringsOnce(kTexts);
}

} // namespace exports
