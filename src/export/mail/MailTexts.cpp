#include "export/mail/MailTexts.h"

#include "report/EngineTexts.h"

namespace exports {

namespace {

const char* const kTexts = R"(=== E-mail export
8900=Отослать по E-mail
8901=E-mail
8902=Ящик
8903=Подключение
8904=Адрес
8905=Приложение
8906=Формат
8907=Адрес
8908=Автор
8909=Сервер
8910=Имя
8911=Письмо
8912=Сообщение
8913=Текст
8914=Организация
8915=Пароль
8916=Порт
8917=Запомнить настройки
8918=Необходимые поля не заполнены
8919=Расширенные настройки экспорта
8920=Подпись
8921=Собрать
8922=Тема
EmailExport=E-mail
TarifonFile=Tarifon файл
mlSecurity=Шифрование
mlSecurityNone=Нет
mlSecurityStartTLS=STARTTLS
mlSecurityImplicit=SSL/TLS
mlRegards=С уважением
mlFromName=Автор
mlSending=Отправка письма на
mlBadText=Поле «%1» не может содержать перевод строки или управляющие символы
mlBadAddress=«%1» не годится как адрес электронной почты: нужен адрес латинскими буквами вида имя@домен, без пробелов, кавычек и угловых скобок
mlBadPort=Порт должен быть целым числом от 1 до 65535
mlRefused=Сервер отклонил команду %1: %2
mlClosed=Сервер %1 закрыл соединение, не ответив; письмо не отправлено
mlClosedAfter=Сервер %1 закрыл соединение после команды %2; письмо не отправлено
mlCannotConnect=Не удалось соединиться с сервером %1 (порт %2): %3
mlConnectionLost=Соединение с сервером %1 прервано: %2
mlTimeOut=Сервер %1 не отвечает %2 с; письмо не отправлено
mlNotSmtp=Сервер %1 отвечает не по протоколу SMTP: «%2»
mlSent=Письмо на адрес %1 отправлено
mlNoStartTLS=Сервер %1 не предлагает шифрование (STARTTLS); письмо не отправлено
mlTlsFailed=Не удалось установить защищенное соединение с %1: %2
mlReplyTooLong=Ответ сервера длиннее %1 байт
mlReplyTimeOut=Сервер не закончил ответ за %1 с; письмо не отправлено
mlExchangeTimeOut=Обмен с сервером не закончился за %1 с; письмо не отправлено
mlPlainLogin=Пароль уйдет на сервер %1 без шифрования: его может прочитать любой, кто видит сеть. Выберите шифрование STARTTLS или SSL/TLS на вкладке «Ящик».
mlPlainLoginAsk=Отправить пароль без шифрования?
mlCannotRead=Не удалось прочитать файл %1: %2
mlCannotWriteLog=Не удалось записать журнал %1: %2
mlNoAttachment=Не удалось подготовить вложение
mlCannotSaveSettings=Не удалось сохранить настройки (%1): %2
)";

} // namespace

void AddMailExportTexts() {
    report::TrpResources::Instance().AddStringsOnce(kTexts);
}

} // namespace exports
