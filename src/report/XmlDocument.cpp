#include "report/XmlDocument.h"

#include "report/Attributes.h"
#include "report/Limits.h"

#include <QBuffer>
#include <QIODevice>
#include <QStringDecoder>

namespace report {

QString TrpXMLItem::Prop(const QString& name) const {
    QString v;
    return FindAttr(FText, name, v) ? v : QString();
}

void TrpXMLItem::SetProp(const QString& name, const QString& value) {
    const QString key = QLatin1Char(' ') + name + QLatin1String("=\"");
    const qsizetype at = FText.indexOf(key, 0, Qt::CaseInsensitive);
    const QString escaped = EscapeAttr(value);
    if (at < 0) {
        FText += key + escaped + QLatin1Char('"');
        return;
    }
    const qsizetype start = at + key.size();
    const qsizetype close = FText.indexOf(QLatin1Char('"'), start);
    FText.replace(start, (close < 0 ? FText.size() : close) - start, escaped);
}

TrpXMLItem* TrpXMLItem::Add(QString name, QString text) {
    FItems.push_back(std::make_unique<TrpXMLItem>(std::move(name), std::move(text)));
    return FItems.back().get();
}

TrpXMLItem* TrpXMLItem::FindItem(const QString& name) const {
    for (const auto& item : FItems)
        if (item->FName.compare(name, Qt::CaseInsensitive) == 0)
            return item.get();
    return nullptr;
}

int TrpXMLItem::IndexOf(const TrpXMLItem* child) const {
    // Pages are written in order: the search starts where the last one was found.
    const int n = Count();
    for (int k = 0; k < n; ++k) {
        const int i = (FLastIndex + k) % n;
        if (FItems[size_t(i)].get() == child) {
            FLastIndex = i;
            return i;
        }
    }
    return -1;
}

size_t TrpXMLItem::MemorySize() const {
    size_t size = sizeof(TrpXMLItem) + size_t(FName.capacity() + FText.capacity()) * 2 + 64 +
                  FItems.capacity() * sizeof(void*);
    for (const auto& item : FItems)
        size += item->MemorySize();
    return size;
}

namespace {

void OpenTag(const TrpXMLItem& item, QByteArray& out, bool empty) {
    out += '<';
    out += item.Name().toUtf8();
    if (!item.Text().isEmpty()) {
        if (!item.Text().startsWith(QLatin1Char(' ')))
            out += ' ';
        out += item.Text().toUtf8();
    }
    out += empty ? "/>" : ">";
}

void CloseTag(const TrpXMLItem& item, QByteArray& out) {
    out += "</" + item.Name().toUtf8() + '>';
}

void WriteIndented(const TrpXMLItem& item, QByteArray& out, int level) {
    out += QByteArray(level * 2, ' ');
    OpenTag(item, out, item.Count() == 0);
    out += "\r\n";
    if (item.Count() == 0)
        return;
    for (int i = 0; i < item.Count(); ++i)
        WriteIndented(*item.Items(i), out, level + 1);
    out += QByteArray(level * 2, ' ');
    CloseTag(item, out);
    out += "\r\n";
}

constexpr qsizetype WriteChunk = 1 << 20;

} // namespace

void WriteXMLItem(const TrpXMLItem& item, QByteArray& out, bool childrenOnly) {
    if (!childrenOnly)
        OpenTag(item, out, item.Count() == 0);
    if (item.Count() == 0)
        return;
    for (int i = 0; i < item.Count(); ++i)
        WriteXMLItem(*item.Items(i), out);
    if (!childrenOnly)
        CloseTag(item, out);
}

QByteArray TrpXMLDocument::SaveToBytes() const {
    QByteArray out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    if (AutoIndent) {
        out += "\r\n";
        WriteIndented(*FRoot, out, 0);
    } else {
        WriteXMLItem(*FRoot, out);
    }
    return out;
}

QString TrpXMLDocument::Write(const std::function<QString(const QByteArray&)>& sink,
                              const std::function<QString(const TrpXMLItem&, QByteArray&)>& children) const {
    QByteArray out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    QString error;
    auto flush = [&](bool always) {
        if (error.isEmpty() && (always || out.size() >= WriteChunk)) {
            error = sink(out);
            out.clear();
        }
        return error.isEmpty();
    };
    // Pages sit two levels down; deeper items are small and written whole.
    std::function<void(const TrpXMLItem&, int)> write = [&](const TrpXMLItem& item, int level) {
        if (!error.isEmpty())
            return;
        if (!item.Loaded()) {
            OpenTag(item, out, false);
            if (QString e = children(item, out); !e.isEmpty()) {
                error = e;
                return;
            }
            CloseTag(item, out);
        } else if (level >= 2) {
            WriteXMLItem(item, out);
        } else {
            OpenTag(item, out, item.Count() == 0);
            if (item.Count() == 0)
                return;
            for (int i = 0; i < item.Count() && error.isEmpty(); ++i)
                write(*item.Items(i), level + 1);
            CloseTag(item, out);
        }
        flush(false);
    };
    write(*FRoot, 0);
    flush(true);
    return error;
}

void TrpXMLDocument::SaveToDevice(QIODevice& device) const {
    device.write(SaveToBytes());
}

namespace {

QString Invalid(const QString& reason = {}) {
    const QString invalid = QStringLiteral("Invalid file format");
    return reason.isEmpty() ? invalid : invalid + QStringLiteral(": ") + reason;
}

// The value of `encoding` in the XML declaration (the bytes up to its ">"); empty when absent.
QByteArray DeclaredEncoding(QByteArrayView declaration) {
    const qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    qsizetype i = at + 8;
    auto skipSpaces = [&] {
        while (i < declaration.size() && (declaration[i] == ' ' || declaration[i] == '\t' ||
                                          declaration[i] == '\r' || declaration[i] == '\n'))
            ++i;
    };
    skipSpaces();
    if (i >= declaration.size() || declaration[i] != '=')
        return {};
    ++i;
    skipSpaces();
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\''))
        return {};
    const char quote = declaration[i++];
    const qsizetype close = declaration.indexOf(quote, i);
    return close < 0 ? QByteArray() : declaration.sliced(i, close - i).toByteArray();
}

// The whole text in the encoding its declaration names (UTF-8 when it names none). Encodings
// in which the declaration itself does not read as ASCII cannot be what the file is written in.
bool DecodeDocument(const QByteArray& data, QString& text, QString& error) {
    const qsizetype lt = data.indexOf('<');
    const qsizetype gt = lt < 0 ? -1 : data.indexOf('>', lt);
    if (gt < 0 || !QByteArrayView(data).sliced(lt).startsWith("<?xml")) {
        error = Invalid();
        return false;
    }
    const QByteArrayView declaration = QByteArrayView(data).sliced(lt, gt + 1 - lt);
    QByteArray name = DeclaredEncoding(declaration);
    const QString shownName = QString::fromLatin1(name);
    if (name.isEmpty() || name.compare("utf-8", Qt::CaseInsensitive) == 0 ||
        name.compare("utf8", Qt::CaseInsensitive) == 0)
        name = "UTF-8";
    QStringDecoder probe(name.constData());
    if (!probe.isValid() || QString(probe(declaration)) != QString::fromLatin1(declaration)) {
        error = Invalid(QStringLiteral("the encoding \"%1\" is not supported").arg(shownName));
        return false;
    }
    QStringDecoder decoder(name.constData());
    text = decoder(data);
    if (decoder.hasError()) {
        error = Invalid(QStringLiteral("the text is not valid %1").arg(QString::fromLatin1(name)));
        return false;
    }
    return true;
}

} // namespace

bool TrpXMLDocument::LoadFromBytes(const QByteArray& data, QString& error,
                                   const std::function<bool(TrpXMLItem&, TrpXMLItem*, QString&)>& closed) {
    QString text;
    if (!DecodeDocument(data, text, error))
        return false;
    // Depth is counted here, by the parser itself: nothing that comments or quoted text
    // contain can fool it, and the walks over the tree never go deeper than this.
    std::vector<TrpXMLItem*> stack;
    auto root = std::make_unique<TrpXMLItem>();
    bool seenHeader = false, seenRoot = false;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype lt = text.indexOf(QLatin1Char('<'), i);
        if (lt < 0)
            break;
        if (QStringView(text).sliced(lt).startsWith(u"<!--")) {
            const qsizetype end = text.indexOf(QStringLiteral("-->"), lt + 4);
            if (end < 0) {
                error = Invalid();
                return false;
            }
            i = end + 3;
            continue;
        }
        const qsizetype gt = text.indexOf(QLatin1Char('>'), lt + 1);
        const qsizetype nextLt = text.indexOf(QLatin1Char('<'), lt + 1);
        if (gt < 0 || (nextLt >= 0 && nextLt < gt)) {
            error = Invalid();
            return false;
        }
        QStringView tag = QStringView(text).sliced(lt + 1, gt - lt - 1);
        i = gt + 1;
        if (!seenHeader) {
            if (!tag.startsWith(u"?xml")) {
                error = Invalid();
                return false;
            }
            seenHeader = true;
            continue;
        }
        if (tag.startsWith(u'?'))
            continue;
        if (tag.startsWith(u'/')) {
            const QStringView name = tag.sliced(1).trimmed();
            if (stack.empty() || stack.back()->Name().compare(name, Qt::CaseInsensitive) != 0) {
                error = Invalid();
                return false;
            }
            TrpXMLItem* done = stack.back();
            stack.pop_back();
            if (closed && !closed(*done, stack.empty() ? nullptr : stack.back(), error))
                return false;
            continue;
        }
        const bool selfClosing = tag.endsWith(u'/');
        if (selfClosing)
            tag.chop(1);
        const qsizetype space = tag.indexOf(u' ');
        const QStringView name = space < 0 ? tag : tag.first(space);
        if (name.isEmpty()) {
            error = Invalid();
            return false;
        }
        TrpXMLItem* item;
        if (stack.empty()) {
            if (seenRoot) {
                error = Invalid();
                return false;
            }
            seenRoot = true;
            item = root.get();
            item->SetName(name.toString());
        } else {
            if (int(stack.size()) >= limits::MaxNesting) {
                error = Invalid(QStringLiteral("items nest deeper than %1 levels").arg(limits::MaxNesting));
                return false;
            }
            item = stack.back()->Add(name.toString());
        }
        QString attrs = space < 0 ? QString() : tag.sliced(space).toString();
        if (attrs.contains(QStringLiteral(" ld=\"0\""))) {
            attrs.remove(QStringLiteral(" ld=\"0\""));
            item->SetLoaded(false);
        }
        item->SetText(std::move(attrs));
        if (!selfClosing)
            stack.push_back(item);
        else if (closed && !closed(*item, stack.empty() ? nullptr : stack.back(), error))
            return false;
    }
    if (!stack.empty() || !seenRoot) {
        error = Invalid();
        return false;
    }
    FRoot = std::move(root);
    return true;
}

} // namespace report
