#include "script/Script.h"
#include "script/Utf8.h"

#include <string_view>

namespace script {

std::string NameKey(const std::string& name) {
    return utf8::ToUpper(name);
}

bool SameName(const std::string& a, const std::string& b) {
    // Compared character by character without building keys: the report looks names up often.
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
        if (x < 0x80 && y < 0x80) {
            if (x != y && utf8::Upper(x) != utf8::Upper(y))
                return false;
            ++i, ++j;
            continue;
        }
        const std::size_t startA = i, startB = j;
        const char32_t ca = utf8::Next(a, i), cb = utf8::Next(b, j);
        if (ca == 0xFFFD || cb == 0xFFFD) {
            // Malformed bytes match only themselves.
            if (std::string_view(a).substr(startA, i - startA) !=
                std::string_view(b).substr(startB, j - startB))
                return false;
        } else if (ca != cb && utf8::Upper(ca) != utf8::Upper(cb)) {
            return false;
        }
    }
    return i == a.size() && j == b.size();
}

} // namespace script
