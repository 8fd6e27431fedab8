#pragma once
// Functions every script has without the host: string handling and conversions.

#include "script/Script.h"

#include <string>
#include <vector>

namespace script {

struct Builtin {
    const char* Name;
    int MinArgs;
    int MaxArgs;
    Variant (*Call)(const std::vector<Variant>& args);
};

// Case-insensitive; nullptr when there is no such built-in. IIF is not here: it evaluates only the
// branch it returns, so the compiler builds it as its own node.
const Builtin* FindBuiltin(const std::string& name);
// True, False, Null and Nil.
bool FindConstant(const std::string& name, Variant& value);

} // namespace script
