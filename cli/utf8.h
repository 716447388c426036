#pragma once
// Strict UTF-8 <-> UTF-16 for the command line: the whole text in one pass each way.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmorant::cli {

struct Utf8Decoded {
    std::u16string text;
    // Offset of the first byte of the first sequence that is not well-formed UTF-8
    // (overlong, surrogate, above U+10FFFF, truncated or a stray byte); text is empty then.
    std::optional<std::size_t> badByte;
};

// Rejects everything Unicode calls ill-formed; nothing is replaced or skipped.
Utf8Decoded DecodeUtf8(std::string_view bytes);

// As DecodeUtf8, dropping one byte-order mark at the very start; offsets still count it.
Utf8Decoded DecodeInput(std::string_view bytes);

// Every UTF-16 unit takes at most three bytes (a pair takes four for its two units).
constexpr std::size_t MaxUtf8Bytes(std::size_t units) { return units * 3; }

// Writes text to out, which must hold MaxUtf8Bytes(text.size()) bytes, and returns the end.
// A lone surrogate becomes U+FFFD, as valid input never yields one.
char* EncodeUtf8(std::u16string_view text, char* out);
std::string EncodeUtf8(std::u16string_view text);

} // namespace velmorant::cli
