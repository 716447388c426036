#pragma once
// Counts what passes on to another sink, for --stats and the page: char16s, code
// points (a pair split between two pieces counted once), and the length as the
// place the code is posted to counts it.

#include "core/markup/markup_sink.h"
#include "core/text/code_points.h"
#include "core/text/length_rule.h"

#include <cstddef>

namespace velmorant {

class CountingSink final : public MarkupSink {
public:
    explicit CountingSink(MarkupSink& next, const LengthRule& rule = kCodePoints) : next_(next), counted_(rule) {}

    void Write(std::u16string_view piece) override {
        for (const char16_t c : piece) {
            if (IsSurrogatePair(last_, c)) {
                ++pairs_;
                last_ = 0; // a low surrogate right after completes at most one pair
            } else {
                last_ = c;
            }
        }
        char16s_ += piece.size();
        counted_.Add(piece);
        next_.Write(piece);
    }

    std::size_t Char16s() const { return char16s_; }
    std::size_t CodePoints() const { return char16s_ - pairs_; }
    std::uint64_t Counted() const { return counted_.Total(); }

private:
    MarkupSink& next_;
    LengthCounter counted_;
    std::size_t char16s_ = 0;
    std::size_t pairs_ = 0;
    char16_t last_ = 0;
};

} // namespace velmorant
