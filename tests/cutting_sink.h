#pragma once
// Shared by the unit tests and the fuzzers that check streamed code against the whole.

#include "core/markup/markup_sink.h"

#include <cstddef>
#include <string_view>

namespace velmorant {

// Hands each piece on in slices of `cut` units: boundaries anywhere, inside pairs too.
class CuttingSink final : public MarkupSink {
public:
    CuttingSink(MarkupSink& next, std::size_t cut) : next_(next), cut_(cut) {}
    void Write(std::u16string_view piece) override {
        for (std::size_t at = 0; at < piece.size(); at += cut_)
            next_.Write(piece.substr(at, cut_));
    }

private:
    MarkupSink& next_;
    std::size_t cut_;
};

} // namespace velmorant
