#include "report/XmlDocument.h"

#include "report/Attributes.h"
#include "report/Limits.h"

#include <QBuffer>
#include <QFileDevice>
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

TrpFileError Fault(TrpFileFault fault, QStringList names = {}, QList<double> numbers = {}) {
    return {fault, std::move(names), std::move(numbers)};
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

// The decoder for the encoding the declaration (its bytes up to the ">") names, UTF-8 when it
// names none; false with the error when it is not one the file can be written in: encodings in
// which the declaration itself does not read as ASCII cannot be.
bool MakeDecoder(QByteArrayView declaration, QStringDecoder& decoder, QByteArray& name, TrpFileError& error) {
    name = DeclaredEncoding(declaration);
    const QString shownName = QString::fromLatin1(name);
    if (name.isEmpty() || name.compare("utf-8", Qt::CaseInsensitive) == 0 ||
        name.compare("utf8", Qt::CaseInsensitive) == 0)
        name = "UTF-8";
    QStringDecoder probe(name.constData());
    if (!probe.isValid() || QString(probe(declaration)) != QString::fromLatin1(declaration)) {
        error = Fault(TrpFileFault::Encoding, {shownName});
        return false;
    }
    decoder = QStringDecoder(name.constData());
    return true;
}

// The file's bytes as they come from the device, a piece at a time: only the tag being read
// and what follows it in the last piece are held. Markup is found in the bytes ("<" and ">"
// are single bytes in every encoding a declaration can name), and every byte goes through
// the one decoder in file order, so the text reads as if the file had been decoded whole.
class TagReader {
public:
    TagReader(QIODevice& device, qint64 maxBytes) : FDevice(device), FMaxBytes(maxBytes) {}

    // The next "<" from the read position, the bytes before it passed to the decoder (when
    // there is one); -1 at the end of the file or on an error.
    qsizetype NextTagStart() {
        for (qsizetype from = FPos;;) {
            const qsizetype lt = FBuffer.indexOf('<', from);
            if (lt >= 0) {
                Skip(lt);
                return lt;
            }
            if (FDecoder.isValid()) {
                Skip(FBuffer.size()); // text outside tags is only decoded, never kept
                Compact();
            } else if (FBuffer.size() - FPos > MaxPrologue) {
                return -1; // the declaration comes first
            }
            from = FBuffer.size();
            if (!More())
                return -1;
        }
    }
    // Whether the bytes at `at` begin with `prefix` (reading on as needed).
    bool HasAt(qsizetype at, QByteArrayView prefix) {
        while (FBuffer.size() < at + prefix.size() && More()) {
        }
        return QByteArrayView(FBuffer).sliced(at).startsWith(prefix);
    }
    // The end (the index just past the last byte) of `close`, searched from `from`, for a tag
    // that began at `start`; -1 when the file or the bound of a tag ends first, or a byte of
    // `stop` comes before it.
    qsizetype Find(QByteArrayView close, qsizetype from, qsizetype start, char stop = 0) {
        for (;;) {
            const qsizetype at = FBuffer.indexOf(close, from);
            const qsizetype scanned = at >= 0 ? at : FBuffer.size();
            if (stop && QByteArrayView(FBuffer).sliced(from, scanned - from).contains(stop))
                return -1;
            if (at >= 0)
                return at + close.size();
            if (FBuffer.size() - start > limits::MaxTagBytes) {
                FError = Fault(TrpFileFault::TagTooLong, {}, {double(limits::MaxTagBytes)});
                return -1;
            }
            from = std::max(from, FBuffer.size() - (close.size() - 1));
            if (!More())
                return -1;
        }
    }
    // The bytes [start, end), decoded; the read position moves past them.
    QString Take(qsizetype start, qsizetype end) {
        const QString text = FDecoder(QByteArrayView(FBuffer).sliced(start, end - start));
        FPos = end;
        return text;
    }
    QByteArrayView Bytes(qsizetype start, qsizetype end) const {
        return QByteArrayView(FBuffer).sliced(start, end - start);
    }
    // Drops what was read, so that memory holds only what is still to come.
    void Compact() {
        if (FPos < ReadChunk)
            return;
        FBuffer.remove(0, FPos);
        if (FBuffer.capacity() > 4 * ReadChunk && FBuffer.size() < ReadChunk)
            FBuffer.squeeze();
        FPos = 0;
    }
    QStringDecoder& Decoder() { return FDecoder; }
    // A reason beyond plain syntax, when one ended the reading ("" otherwise).
    const TrpFileError& Error() const { return FError; }

private:
    static constexpr qsizetype ReadChunk = 1 << 20;
    static constexpr qsizetype MaxPrologue = 1 << 16;

    void Skip(qsizetype to) {
        if (FDecoder.isValid() && to > FPos)
            (void)FDecoder(QByteArrayView(FBuffer).sliced(FPos, to - FPos));
        FPos = std::max(FPos, to);
    }
    bool More() {
        if (FEnd)
            return false;
        const qsizetype old = FBuffer.size();
        FBuffer.resize(old + ReadChunk);
        const qint64 n = FDevice.read(FBuffer.data() + old, ReadChunk);
        FBuffer.resize(old + std::max<qint64>(n, 0));
        FRead += std::max<qint64>(n, 0);
        // -1 is also the end of some devices; only a file says when it was an error.
        if (const auto* file = qobject_cast<const QFileDevice*>(&FDevice);
            n < 0 && file && file->error() != QFileDevice::NoError)
            FError = Fault(TrpFileFault::ReadFailed, {file->errorString()});
        else if (FRead > FMaxBytes)
            FError = Fault(TrpFileFault::FileTooLong, {}, {double(FMaxBytes)});
        FEnd = n <= 0 || FRead > FMaxBytes;
        return !FEnd;
    }

    QIODevice& FDevice;
    const qint64 FMaxBytes;
    QByteArray FBuffer;
    qsizetype FPos = 0;
    qint64 FRead = 0;
    bool FEnd = false;
    QStringDecoder FDecoder;
    TrpFileError FError;
};

} // namespace

bool TrpXMLDocument::LoadFromBytes(
    const QByteArray& data, TrpFileError& error,
    const std::function<bool(TrpXMLItem&, TrpXMLItem*, TrpFileError&)>& closed) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return LoadFromDevice(buffer, error, closed);
}

bool TrpXMLDocument::LoadFromDevice(
    QIODevice& device, TrpFileError& error,
    const std::function<bool(TrpXMLItem&, TrpXMLItem*, TrpFileError&)>& closed, qint64 maxBytes) {
    TagReader reader(device, maxBytes);
    // The reader's own reason (a bound, a failed read, undecodable text) says more than syntax.
    auto fail = [&](const TrpFileError& syntax = Fault(TrpFileFault::Syntax)) {
        error = reader.Error().IsError() ? reader.Error() : syntax;
        return false;
    };
    QByteArray encoding;
    auto undecodable = [&] {
        return fail(Fault(TrpFileFault::Undecodable, {QString::fromLatin1(encoding)}));
    };
    {
        const qsizetype lt = reader.NextTagStart();
        if (lt < 0 || !reader.HasAt(lt, "<?xml"))
            return fail();
        const qsizetype end = reader.Find(">", lt + 1, lt, '<');
        if (end < 0)
            return fail();
        if (!MakeDecoder(reader.Bytes(lt, end), reader.Decoder(), encoding, error))
            return false;
        // Everything from the file's start goes through the decoder, as if it were decoded whole.
        (void)reader.Take(0, end);
        if (reader.Decoder().hasError())
            return undecodable();
    }
    // Depth is counted here, by the parser itself: nothing that comments or quoted text
    // contain can fool it, and the walks over the tree never go deeper than this.
    std::vector<TrpXMLItem*> stack;
    auto root = std::make_unique<TrpXMLItem>();
    bool seenRoot = false;
    for (;;) {
        reader.Compact();
        const qsizetype lt = reader.NextTagStart();
        if (reader.Decoder().hasError())
            return undecodable();
        if (lt < 0) {
            if (reader.Error().IsError())
                return fail();
            break;
        }
        if (reader.HasAt(lt, "<!--")) {
            const qsizetype end = reader.Find("-->", lt + 4, lt);
            if (end < 0)
                return fail();
            (void)reader.Take(lt, end);
            continue;
        }
        const qsizetype end = reader.Find(">", lt + 1, lt, '<');
        if (end < 0)
            return fail();
        QString text = reader.Take(lt, end);
        if (reader.Decoder().hasError())
            return undecodable();
        // Without its "<" and ">".
        QStringView tag = QStringView(text).sliced(1, text.size() - 2);
        if (tag.startsWith(u'?'))
            continue;
        if (tag.startsWith(u'/')) {
            const QStringView name = tag.sliced(1).trimmed();
            if (stack.empty() || stack.back()->Name().compare(name, Qt::CaseInsensitive) != 0)
                return fail();
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
        if (name.isEmpty())
            return fail();
        QString itemName = name.toString();
        // The attribute text is cut out of the tag's text in place: a picture's data can be most
        // of a file.
        QString attrs;
        if (space >= 0) {
            text.chop(selfClosing ? 2 : 1);
            text.remove(0, 1 + space);
            attrs = std::move(text);
        }
        TrpXMLItem* item;
        if (stack.empty()) {
            if (seenRoot)
                return fail();
            seenRoot = true;
            item = root.get();
            item->SetName(std::move(itemName));
        } else {
            if (int(stack.size()) >= limits::MaxNesting)
                return fail(Fault(TrpFileFault::TooDeep, {}, {double(limits::MaxNesting)}));
            item = stack.back()->Add(std::move(itemName));
        }
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
    if (!stack.empty() || !seenRoot)
        return fail();
    FRoot = std::move(root);
    return true;
}

} // namespace report
