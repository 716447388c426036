#pragma once
// How a place counts a post's length: in code points, in bytes of its encoding,
// or after its own escaping. Every rule is a weight per code point, with a CR LF
// pair weighed as one: a browser posts every line break as CR LF, and a place
// either keeps both, turns them into one LF, or counts the pair its own way.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmorant {

struct LengthRule {
    std::string_view name;               // for the description and --stats: "code points", "UTF-8 bytes", ...
    std::uint64_t (*weight)(char32_t c); // a lone surrogate is weighed as U+FFFD
    std::uint64_t crlf;                  // a CR followed by LF, instead of weight(CR) + weight(LF)
};

// Unicode code points, CR LF as two: the count used when no place is named.
extern const LengthRule kCodePoints;
// UTF-8 bytes, CR LF as two: PHP's strlen() on a UTF-8 site.
extern const LengthRule kUtf8Bytes;
// Code points with every line break one: a chat program's editor posts each as one LF.
extern const LengthRule kLfCodePoints;

// As a textarea posts the code, every line break as CR LF: characters (code
// points), UTF-8 bytes, or the bytes of a GBK page, where a character GBK
// lacks goes as the decimal reference "&#N;".
extern const LengthRule kPostedCodePoints;
extern const LengthRule kPostedUtf8Bytes;
extern const LengthRule kPostedGbkBytes;
// Discuz!'s cutstr(): a printable ASCII character, tab or LF 1, any character
// beyond ASCII 2, other controls (CR among them) nothing.
extern const LengthRule kCutstrWidth;

// Whether a GBK page posts the character in two bytes (one for ASCII and the euro sign).
bool InGbk(char32_t c);

// Adds up the weights of the pieces it is given, a surrogate pair or a CR LF
// split between two pieces counted as it would be in one.
class LengthCounter {
public:
    explicit LengthCounter(const LengthRule& rule) : rule_(&rule) {}

    void Add(std::u16string_view piece);
    // The count so far, a pending high surrogate or CR included.
    std::uint64_t Total() const;

private:
    const LengthRule* rule_;
    std::uint64_t total_ = 0;
    char16_t pending_ = 0; // a high surrogate or CR whose weight depends on what follows
};

// The whole count of one text.
std::uint64_t CountLength(const LengthRule& rule, std::u16string_view text);

} // namespace velmorant
