#include "core/text/length_rule.h"

#include "core/text/code_points.h"

#include <algorithm>
#include <iterator>

namespace velmorant {

namespace {

std::uint64_t One(char32_t) { return 1; }

std::uint64_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

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
const LengthRule kLfCodePoints{"code points, a line break one", One, 1};
const LengthRule kPostedCodePoints{"characters", PostedOne, 2};
const LengthRule kPostedUtf8Bytes{"UTF-8 bytes", PostedUtf8, 2};
const LengthRule kPostedGbkBytes{"GBK bytes", PostedGbk, 2};
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
