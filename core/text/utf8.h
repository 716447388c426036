#pragma once
// Strict UTF-8 <-> UTF-16 for the front ends that take and give bytes (the CLI,
// the page): the whole text in one pass each way.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmorant {

struct Utf8Decoded {
    std::u16string text;
    // Offset of the first byte of the first sequence that is not well-formed UTF-8
    // (overlong, surrogate, above U+10FFFF, truncated or a stray byte); text is empty then.
    std::optional<std::size_t> badByte;
};

// Rejects everything Unicode calls ill-formed; nothing is replaced or skipped.
Utf8Decoded DecodeUtf8(std::string_view bytes);

// The same into out, which must hold bytes.size() char16s: returns the end of the
// text, or nullptr with badByte set to the offset of the first bad sequence.
// For bytes known to be valid, the char16s they make plus kDecodeAhead are enough:
// ASCII is stored in blocks that may reach that far past the text.
constexpr std::size_t kDecodeAhead = 16;
char16_t* DecodeUtf8(std::string_view bytes, char16_t* out, std::size_t& badByte);

// The length of bytes without a last sequence that more bytes could still
// complete: where a text read in pieces can be cut and decoded so far.
std::size_t CompleteUtf8Prefix(std::string_view bytes);

// Every char16 takes at most three bytes (a pair takes four for its two).
constexpr std::size_t MaxUtf8Bytes(std::size_t char16s) { return char16s * 3; }

// Writes text to out, which must hold MaxUtf8Bytes(text.size()) bytes, and returns the end.
// A lone surrogate becomes U+FFFD, as valid input never yields one.
char* EncodeUtf8(std::u16string_view text, char* out);
std::string EncodeUtf8(std::u16string_view text);

} // namespace velmorant
