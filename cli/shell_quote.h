#pragma once
// File names and option values in messages, quoted as GNU tools quote them
// (shell-escape style, always quoted): what reaches the terminal can be pasted
// back into a shell, and no control character in it reaches the terminal raw.

#include <string>
#include <string_view>

namespace velmorant::cli {

// 'text', a ' written as '\'' and every control character, invalid UTF-8 byte
// or bidi control as a $'\ooo' segment ($'\n' style for the usual escapes):
// "a\033b" gives 'a'$'\033''b'.
std::string ShellQuote(std::string_view text);

} // namespace velmorant::cli
