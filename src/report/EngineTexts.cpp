#include "report/EngineTexts.h"

namespace report {

// Generated at build time from assets/report/texts.txt.
extern const char* const kEngineTextsData;

TrpResources& TrpResources::Instance() {
    static TrpResources* instance = [] {
        auto* r = new TrpResources;
        r->AddStrings(QString::fromUtf8(kEngineTextsData));
        return r;
    }();
    return *instance;
}

QString TrpResources::Get(const QString& key) const {
    auto it = FKeys.find(key);
    return it == FKeys.end() ? key : FTexts[it->second];
}

void TrpResources::Add(const QString& key, const QString& text) {
    auto it = FKeys.find(key);
    if (it != FKeys.end()) {
        FTexts[it->second] = text;
        return;
    }
    FTexts.append(text);
    FKeys.emplace(key, int(FTexts.size()) - 1);
}

void TrpResources::AddStringsOnce(const char* utf8Block) {
    if (FBlocks.insert(utf8Block).second)
        AddStrings(QString::fromUtf8(utf8Block));
}

void TrpResources::AddStrings(const QString& block) {
    for (QString line : block.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || eq == line.size() - 1)
            continue;
        Add(line.left(eq), line.mid(eq + 1));
    }
}

QString rpFormat(const QString& text, const QStringList& args) {
    QString out;
    int next = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            const QChar c = text[i + 1];
            if (c == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (c == 's' || c == 'd') {
                out += next < args.size() ? args[next] : QString();
                ++next;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

QString rpGet(const QString& key) {
    return TrpResources::Instance().Get(key);
}
QString rpGet(int key) {
    return TrpResources::Instance().Get(key);
}

} // namespace report
