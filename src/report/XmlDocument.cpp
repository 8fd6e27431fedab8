#include "report/XmlDocument.h"

#include "report/Attributes.h"

#include <QBuffer>
#include <QIODevice>

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

size_t TrpXMLItem::MemorySize() const {
    size_t size = sizeof(TrpXMLItem) + size_t(FName.capacity() + FText.capacity()) * 2 + 64 +
                  FItems.capacity() * sizeof(void*);
    for (const auto& item : FItems)
        size += item->MemorySize();
    return size;
}

namespace {

void WriteItem(const TrpXMLItem& item, QByteArray& out, bool indent, int level) {
    if (indent)
        out += QByteArray(level * 2, ' ');
    out += '<';
    out += item.Name().toUtf8();
    if (!item.Text().isEmpty()) {
        if (!item.Text().startsWith(QLatin1Char(' ')))
            out += ' ';
        out += item.Text().toUtf8();
    }
    if (item.Count() == 0) {
        out += "/>";
        if (indent)
            out += "\r\n";
        return;
    }
    out += '>';
    if (indent)
        out += "\r\n";
    for (int i = 0; i < item.Count(); ++i)
        WriteItem(*item.Items(i), out, indent, level + 1);
    if (indent)
        out += QByteArray(level * 2, ' ');
    out += "</" + item.Name().toUtf8() + '>';
    if (indent)
        out += "\r\n";
}

} // namespace

QByteArray TrpXMLDocument::SaveToBytes() const {
    QByteArray out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    if (AutoIndent)
        out += "\r\n";
    WriteItem(*FRoot, out, AutoIndent, 0);
    return out;
}

void TrpXMLDocument::SaveToDevice(QIODevice& device) const {
    device.write(SaveToBytes());
}

bool TrpXMLDocument::LoadFromBytes(const QByteArray& data, QString& error) {
    const QString text = QString::fromUtf8(data);
    const QString invalid = QStringLiteral("Invalid file format");
    std::vector<TrpXMLItem*> stack;
    auto root = std::make_unique<TrpXMLItem>();
    bool seenHeader = false, seenRoot = false;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype lt = text.indexOf(QLatin1Char('<'), i);
        if (lt < 0)
            break;
        if (QStringView(text).mid(lt).startsWith(u"<!--")) {
            const qsizetype end = text.indexOf(QStringLiteral("-->"), lt + 4);
            if (end < 0) {
                error = invalid;
                return false;
            }
            i = end + 3;
            continue;
        }
        const qsizetype gt = text.indexOf(QLatin1Char('>'), lt + 1);
        const qsizetype nextLt = text.indexOf(QLatin1Char('<'), lt + 1);
        if (gt < 0 || (nextLt >= 0 && nextLt < gt)) {
            error = invalid;
            return false;
        }
        QString tag = text.mid(lt + 1, gt - lt - 1);
        i = gt + 1;
        if (!seenHeader) {
            if (!tag.startsWith(QStringLiteral("?xml"))) {
                error = invalid;
                return false;
            }
            seenHeader = true;
            continue;
        }
        if (tag.startsWith(QLatin1Char('?')))
            continue;
        if (tag.startsWith(QLatin1Char('/'))) {
            const QString name = tag.mid(1).trimmed();
            if (stack.empty() || stack.back()->Name().compare(name, Qt::CaseInsensitive) != 0) {
                error = invalid;
                return false;
            }
            stack.pop_back();
            continue;
        }
        bool selfClosing = tag.endsWith(QLatin1Char('/'));
        if (selfClosing)
            tag.chop(1);
        const qsizetype space = tag.indexOf(QLatin1Char(' '));
        QString name = space < 0 ? tag : tag.left(space);
        QString attrs = space < 0 ? QString() : tag.mid(space);
        if (name.isEmpty()) {
            error = invalid;
            return false;
        }
        TrpXMLItem* item;
        if (stack.empty()) {
            if (seenRoot) {
                error = invalid;
                return false;
            }
            seenRoot = true;
            item = root.get();
            item->SetName(name);
        } else {
            item = stack.back()->Add(name);
        }
        if (attrs.contains(QStringLiteral(" ld=\"0\""))) {
            attrs.remove(QStringLiteral(" ld=\"0\""));
            item->SetLoaded(false);
        }
        item->SetText(attrs);
        if (!selfClosing)
            stack.push_back(item);
    }
    if (!stack.empty() || !seenRoot) {
        error = invalid;
        return false;
    }
    FRoot = std::move(root);
    return true;
}

} // namespace report
