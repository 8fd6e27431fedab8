#include "app/cli/Messages.h"

#include <cstdio>

namespace cli {

namespace {

// The length of the UTF-8 sequence at text[i], 0 when it is none.
size_t SequenceLength(const std::string& text, size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > text.size())
        return 0;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2)
            return 0;
    return n;
}

std::string Escape(unsigned char c) {
    switch (c) {
    case '\n':
        return "\\n";
    case '\t':
        return "\\t";
    case '\r':
        return "\\r";
    default:
        break;
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    return hex;
}

} // namespace

std::string Printable(const std::string& text, bool keepLineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t n = SequenceLength(text, i);
        // C1 controls are U+0080..U+009F: C2 80 .. C2 9F.
        const bool c1 = n == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        // Bytes that are no UTF-8 stay as typed: a name in the terminal's own single-byte code
        // page shows as the user knows it.
        if (n == 0) {
            out += text[i++];
            continue;
        }
        if (c1 || (n == 1 && (c < 0x20 || c == 0x7F) && !(keepLineBreaks && c == '\n'))) {
            for (size_t k = 0; k < (c1 ? 2 : 1); ++k)
                out += Escape(static_cast<unsigned char>(text[i + k]));
            i += c1 ? 2 : 1;
            continue;
        }
        out.append(text, i, n);
        i += n;
    }
    return out;
}

std::string Quoted(const std::string& typed) {
    return "'" + Printable(typed) + "'";
}

} // namespace cli
