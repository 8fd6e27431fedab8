#include "preview/PreviewTexts.h"

#include "report/EngineTexts.h"

namespace preview {

using namespace report;

namespace {
const char* const kTexts = R"(=== Preview window
101=Печать
102=Печать
103=Открыть
104=Открыть
105=Сохранить
106=Сохранить
107=Экспорт
108=Экспорт
109=Найти
110=Найти
111=Целиком
112=Страница целиком
113=По ширине
114=По ширине
115=100%
116=100%
117=Две страницы
118=Две страницы
119=Масштаб
120=Поля
121=Свойства страницы
122=Дерево
123=Дерево отчета
124=Рука
125=Рука
126=Лупа
127=Лупа
128=Добавить
129=Добавить страницу
130=Удалить
131=Удалить страницу
132=Правка
133=Редактировать страницу
134=Первая
135=На первую страницу
136=Предыдущая
137=На предыдущую страницу
138=Следующая
139=На следующую страницу
140=Последняя
141=На последнюю страницу
142=Номер страницы
150=Во весь экран
151=Сохранить в PDF
152=Отослать по E-mail
clPreview=Предварительный просмотр
clSaveError=Не удалось сохранить файл %s
clOpenError=Не удалось открыть файл %s
=== Print dialog
9=Введите номера и/или диапазоны страниц, разделенные запятыми. Например, 1,3,5-12
prnCaption=Печать
prnPrinter= Принтер
prnName=Имя:
prnType=Тип:
prnWhere=Место:
prnProps=Свойства...
prnToFile=Печать в файл
prnReverse=В обратном порядке
prnPages= Страницы
prnAll=Все
prnCurrent=Текущая
prnNumbers=Номера:
prnCopies= Копии
prnCopiesCount=Количество
prnCollate=Разобрать по копиям
prnAllPages=Все страницы
prnOddPages=Нечетные страницы
prnEvenPages=Четные страницы
prnFileFilter=Файл PDF (*.pdf)|*.pdf
prnNoProps=Для этого принтера нет настраиваемых свойств
=== Page settings dialog
psCaption=Настройки страницы
psPaper= Размер бумаги
psWidth=Ширина
psHeight=Высота
psOrientation= Ориентация
psPortrait=Книжная
psLandscape=Альбомная
psMargins= Поля
psLeft=Левое
psTop=Верхнее
psRight=Правое
psBottom=Нижнее
psOther= Прочее
psApplyCurrent=Применить к текущей странице
psApplyAll=Применить ко всем страницам
psUserSize=Пользовательский
psBadNumber=Неверное значение размера бумаги или полей
clStrNotFound=Текст не найден
clFindWhat=Текст для поиска:
)";
} // namespace

void AddPreviewTexts() {
    TrpResources::Instance().AddStringsOnce(kTexts);
}

} // namespace preview
