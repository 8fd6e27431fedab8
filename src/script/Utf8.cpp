#include "script/Utf8.h"

namespace script::utf8 {

char32_t Next(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return 0xFFFD;
    }
    if (pos + extra >= text.size()) {
        ++pos;
        return 0xFFFD;
    }
    for (int i = 1; i <= extra; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++pos;
        return 0xFFFD;
    }
    pos += extra + 1;
    return code;
}

void Append(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

std::size_t Length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count)
        Next(text, pos);
    return count;
}

std::size_t Offset(std::string_view text, std::size_t charIndex) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < charIndex && pos < text.size(); ++i)
        Next(text, pos);
    return pos;
}

bool IsCyrillic(char32_t c) {
    return c >= 0x0400 && c <= 0x04FF;
}

char32_t Upper(char32_t c) {
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if (c >= 0x0430 && c <= 0x044F) // а..я
        return c - 0x20;
    if (c >= 0x0450 && c <= 0x045F) // ѐ..џ, ё among them
        return c - 0x50;
    // Historic and non-Russian Cyrillic letters come in upper/lower pairs.
    if ((c >= 0x0460 && c <= 0x0481) || (c >= 0x048A && c <= 0x04BF) || (c >= 0x04D0 && c <= 0x04FF))
        return (c & 1) ? c - 1 : c;
    if (c >= 0x04C1 && c <= 0x04CE)
        return (c & 1) ? c : c - 1;
    if (c == 0x04CF)
        return 0x04C0;
    return c;
}

char32_t Lower(char32_t c) {
    if (c >= 'A' && c <= 'Z')
        return c + 0x20;
    if (c >= 0x0410 && c <= 0x042F)
        return c + 0x20;
    if (c >= 0x0400 && c <= 0x040F)
        return c + 0x50;
    if ((c >= 0x0460 && c <= 0x0481) || (c >= 0x048A && c <= 0x04BF) || (c >= 0x04D0 && c <= 0x04FF))
        return (c & 1) ? c : c + 1;
    if (c >= 0x04C1 && c <= 0x04CE)
        return (c & 1) ? c + 1 : c;
    if (c == 0x04C0)
        return 0x04CF;
    return c;
}

namespace {
template <typename Map> std::string Transform(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t c = Next(text, pos);
        if (c == 0xFFFD && pos == start + 1 && static_cast<unsigned char>(text[start]) >= 0x80)
            out += text[start]; // keep malformed bytes as they are
        else
            Append(out, map(c));
    }
    return out;
}
} // namespace

std::string ToUpper(std::string_view text) {
    return Transform(text, Upper);
}
std::string ToLower(std::string_view text) {
    return Transform(text, Lower);
}

} // namespace script::utf8
