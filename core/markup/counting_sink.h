#pragma once
// Counts what passes on to another sink, for --stats and the page: UTF-16 units and code
// points, a pair split between two pieces counted once.

#include "core/markup/markup_sink.h"
#include "core/text/code_points.h"

#include <cstddef>

namespace velmorant {

class CountingSink final : public MarkupSink {
public:
    explicit CountingSink(MarkupSink& next) : next_(next) {}

    void Write(std::u16string_view piece) override {
        for (const char16_t unit : piece) {
            if (IsSurrogatePair(last_, unit)) {
                ++pairs_;
                last_ = 0; // a low surrogate right after completes at most one pair
            } else {
                last_ = unit;
            }
        }
        codeUnits_ += piece.size();
        next_.Write(piece);
    }

    std::size_t CodeUnits() const { return codeUnits_; }
    std::size_t CodePoints() const { return codeUnits_ - pairs_; }

private:
    MarkupSink& next_;
    std::size_t codeUnits_ = 0;
    std::size_t pairs_ = 0;
    char16_t last_ = 0;
};

} // namespace velmorant
