#include "core/text/length_rule.h"

#include "core/text/code_points.h"

namespace velmorant {

namespace {

std::uint64_t One(char32_t) { return 1; }

std::uint64_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

std::uint64_t Utf16Length(char32_t c) { return c < 0x10000 ? 1 : 2; }

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

const LengthRule kCodePoints{"code points", One, 2};
const LengthRule kUtf8Bytes{"UTF-8 bytes", Utf8Length, 2};
const LengthRule kChar16s{"UTF-16 units", Utf16Length, 2};

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
