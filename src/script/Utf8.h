#pragma once
// Small UTF-8 helpers for the script language: identifiers, string functions and error columns
// all count characters, not bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace script::utf8 {

// Decodes the character at pos and advances pos past it. A malformed byte decodes as U+FFFD and
// advances by one, so every input makes progress.
char32_t Next(std::string_view text, std::size_t& pos);
void Append(std::string& out, char32_t code);
std::size_t Length(std::string_view text);
// Byte offset of the character with the given 0-based index (text.size() when past the end).
std::size_t Offset(std::string_view text, std::size_t charIndex);

// Cyrillic and ASCII letters; other scripts keep their case.
char32_t Upper(char32_t c);
char32_t Lower(char32_t c);
bool IsCyrillic(char32_t c);
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);

} // namespace script::utf8
