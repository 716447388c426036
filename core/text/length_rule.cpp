#include "core/text/length_rule.h"

#include "core/text/code_points.h"

#include <algorithm>
#include <iterator>

namespace velmorant {

namespace {

std::uint64_t One(char32_t) { return 1; }

std::uint64_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

std::uint64_t Utf16Length(char32_t c) { return c < 0x10000 ? 1 : 2; }

// The characters NFC takes apart into two or three code points (composition
// exclusions and singletons; a closed list, Unicode keeps it stable): first,
// last, code points each.
struct Decomposing {
    char32_t first, last;
    std::uint64_t length;
};
constexpr Decomposing kDecomposing[] = {
    {0x0344, 0x0344, 2}, {0x0958, 0x095F, 2},   {0x09DC, 0x09DD, 2},   {0x09DF, 0x09DF, 2},   {0x0A33, 0x0A33, 2},
    {0x0A36, 0x0A36, 2}, {0x0A59, 0x0A5B, 2},   {0x0A5E, 0x0A5E, 2},   {0x0B5C, 0x0B5D, 2},   {0x0F43, 0x0F43, 2},
    {0x0F4D, 0x0F4D, 2}, {0x0F52, 0x0F52, 2},   {0x0F57, 0x0F57, 2},   {0x0F5C, 0x0F5C, 2},   {0x0F69, 0x0F69, 2},
    {0x0F73, 0x0F73, 2}, {0x0F75, 0x0F76, 2},   {0x0F78, 0x0F78, 2},   {0x0F81, 0x0F81, 2},   {0x0F93, 0x0F93, 2},
    {0x0F9D, 0x0F9D, 2}, {0x0FA2, 0x0FA2, 2},   {0x0FA7, 0x0FA7, 2},   {0x0FAC, 0x0FAC, 2},   {0x0FB9, 0x0FB9, 2},
    {0x2ADC, 0x2ADC, 2}, {0xFB1D, 0xFB1D, 2},   {0xFB1F, 0xFB1F, 2},   {0xFB2A, 0xFB2B, 2},   {0xFB2C, 0xFB2D, 3},
    {0xFB2E, 0xFB36, 2}, {0xFB38, 0xFB3C, 2},   {0xFB3E, 0xFB3E, 2},   {0xFB40, 0xFB41, 2},   {0xFB43, 0xFB44, 2},
    {0xFB46, 0xFB4E, 2}, {0x1D15E, 0x1D15F, 2}, {0x1D160, 0x1D164, 3}, {0x1D1BB, 0x1D1BC, 2}, {0x1D1BD, 0x1D1C0, 3},
};

std::uint64_t PhpbbLength(char32_t c) {
    switch (c) {
    case U'&':
        return 5; // &amp;
    case U'"':
        return 6; // &quot;
    case U'<':
    case U'>':
        return 4; // &lt; &gt;
    case 0:
    case 0xFEFF:
        return 0;
    default:
        break;
    }
    if (c >= 0x0344)
        for (const Decomposing& d : kDecomposing)
            if (c >= d.first && c <= d.last)
                return d.length;
    return 1;
}

constexpr char32_t kReplacement = 0xFFFD;

#include "core/text/gbk_table.inc"

// A lone CR or LF goes as CR LF too.
constexpr bool LineBreak(char32_t c) { return c == U'\r' || c == U'\n'; }

std::uint64_t PostedOne(char32_t c) { return LineBreak(c) ? 2 : 1; }
std::uint64_t PostedUtf8(char32_t c) { return LineBreak(c) ? 2 : Utf8Length(c); }

std::uint64_t DecimalDigits(char32_t c) {
    std::uint64_t digits = 1;
    for (; c >= 10; c /= 10)
        ++digits;
    return digits;
}

std::uint64_t PostedGbk(char32_t c) {
    if (LineBreak(c))
        return 2;
    if (c < 0x80 || c == 0x20AC)
        return 1;
    return InGbk(c) ? 2 : 3 + DecimalDigits(c); // "&#" digits ";"
}

std::uint64_t CutstrWidth(char32_t c) {
    if (LineBreak(c))
        return 1; // CR LF: the LF 1, the CR nothing
    return c >= 0x80 ? 2 : c == U'\t' || (c >= 0x20 && c <= 0x7E) ? 1 : 0;
}

} // namespace

const LengthRule kCodePoints{"code points", One, 2};
const LengthRule kUtf8Bytes{"UTF-8 bytes", Utf8Length, 2};
const LengthRule kChar16s{"UTF-16 units", Utf16Length, 2};
const LengthRule kPostedCodePoints{"characters", PostedOne, 2};
const LengthRule kPostedUtf8Bytes{"UTF-8 bytes", PostedUtf8, 2};
const LengthRule kPostedGbkBytes{"GBK bytes", PostedGbk, 2};
const LengthRule kPhpbbLength{"characters", PhpbbLength, 1};
const LengthRule kLfCodePoints{"characters", One, 1};
const LengthRule kCutstrWidth{"half-width characters", CutstrWidth, 1};

bool InGbk(char32_t c) {
    if (c < 0x80 || c == 0x20AC)
        return true;
    // The one character the encoder refuses although its index holds it.
    if (c == 0xE5E5 || c > 0xFFFF)
        return false;
    const auto key = static_cast<std::uint32_t>(c) << 16 | 0xFFFF;
    const auto* run = std::upper_bound(std::begin(kGbkRuns), std::end(kGbkRuns), key);
    return run != std::begin(kGbkRuns) && (run[-1] & 0xFFFF) >= c;
}

void LengthCounter::Add(std::u16string_view piece) {
    for (const char16_t c : piece) {
        if (pending_ != 0) {
            const char16_t before = pending_;
            pending_ = 0;
            if (IsSurrogatePair(before, c)) {
                total_ += rule_->weight(0x10000 + ((char32_t(before) - 0xD800) << 10) + (char32_t(c) - 0xDC00));
                continue;
            }
            if (before == u'\r' && c == u'\n') {
                total_ += rule_->crlf;
                continue;
            }
            total_ += rule_->weight(before == u'\r' ? U'\r' : kReplacement);
        }
        if (c == u'\r' || IsHighSurrogate(c))
            pending_ = c;
        else
            total_ += rule_->weight(IsLowSurrogate(c) ? kReplacement : char32_t(c));
    }
}

std::uint64_t LengthCounter::Total() const {
    if (pending_ == 0)
        return total_;
    return total_ + rule_->weight(pending_ == u'\r' ? U'\r' : kReplacement);
}

std::uint64_t CountLength(const LengthRule& rule, std::u16string_view text) {
    LengthCounter counter(rule);
    counter.Add(text);
    return counter.Total();
}

} // namespace velmorant
