#pragma once
// Typed values in the tool's messages. A name or value may hold any bytes; what reaches the
// terminal never holds a control character it would obey (ESC sequences, line ends that forge
// another message).

#include <string>

namespace cli {

// The text with control characters (C0, DEL, C1) written as \n, \t, \r or \xNN; line breaks
// kept when asked. Bytes that are no UTF-8 (a name typed in another code page) stay as they are.
std::string Printable(const std::string& text, bool keepLineBreaks = false);

// A typed value in single quotes, printable.
std::string Quoted(const std::string& typed);

} // namespace cli
