#pragma once
// Where the generator writes. It hands over the markup in pieces, in order, so a
// caller can keep it whole (the window) or pass it on as it comes (the CLI).

#include <string>
#include <string_view>

namespace velmorant {

class MarkupSink {
public:
    virtual ~MarkupSink() = default;
    // The piece is only valid during the call. Pieces may end anywhere, even
    // between the two halves of a surrogate pair.
    virtual void Write(std::u16string_view piece) = 0;
};

// Keeps the whole markup in one string.
class StringSink final : public MarkupSink {
public:
    void Write(std::u16string_view piece) override { text.append(piece); }
    std::u16string text;
};

} // namespace velmorant
