#pragma once
// The markup as UTF-8, handed on in chunks as it is made: the CLI never holds
// its whole output.

#include "core/markup/markup_sink.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace velmorant {

class Utf8ChunkSink final : public MarkupSink {
public:
    // Passes one chunk of bytes on; throws to stop the conversion.
    using Flush = std::function<void(std::string_view)>;

    // A chunk goes out once it holds chunkBytes bytes (a few more where a character straddles the mark).
    Utf8ChunkSink(std::size_t chunkBytes, Flush flush);

    void Write(std::u16string_view piece) override;

    // Passes on the rest. All the chunks together are exactly EncodeUtf8 of all
    // the pieces joined, wherever the pieces were cut.
    void Finish();

private:
    void Encode(std::u16string_view char16s);
    void FlushChunk();

    std::size_t chunkBytes_;
    Flush flush_;
    std::string buffer_;
    std::size_t used_ = 0;
    // A high surrogate ending a piece waits for the next one: it may be half of a pair.
    char16_t heldHigh_ = 0;
};

} // namespace velmorant
