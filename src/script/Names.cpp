#include "script/Script.h"
#include "script/Utf8.h"

namespace script {

std::string NameKey(const std::string& name) {
    return utf8::ToUpper(name);
}

bool SameName(const std::string& a, const std::string& b) {
    // Equal bytes need no case folding.
    if (a == b)
        return true;
    return NameKey(a) == NameKey(b);
}

} // namespace script
