#include "core/markup/utf8_sink.h"

#include "core/text/code_points.h"
#include "core/text/utf8.h"

#include <algorithm>

namespace velmorant {

namespace {

// A slice of at most free / 3 char16s, one more to keep a pair whole, fits in free
// bytes plus this much.
constexpr std::size_t kOverrun = 6;

} // namespace

Utf8ChunkSink::Utf8ChunkSink(std::size_t chunkBytes, Flush flush)
    : chunkBytes_(std::max<std::size_t>(chunkBytes, 1)), flush_(std::move(flush)),
      buffer_(chunkBytes_ + kOverrun, '\0') {}

void Utf8ChunkSink::Write(std::u16string_view piece) {
    if (piece.empty())
        return;
    if (heldHigh_ != 0) {
        const char16_t held[2] = {heldHigh_, piece.front()};
        heldHigh_ = 0;
        if (IsLowSurrogate(piece.front())) {
            Encode({held, 2});
            piece.remove_prefix(1);
        } else {
            Encode({held, 1});
        }
    }
    if (!piece.empty() && IsHighSurrogate(piece.back())) {
        heldHigh_ = piece.back();
        piece.remove_suffix(1);
    }
    Encode(piece);
}

void Utf8ChunkSink::Finish() {
    if (heldHigh_ != 0) {
        Encode({&heldHigh_, 1});
        heldHigh_ = 0;
    }
    FlushChunk();
}

void Utf8ChunkSink::Encode(std::u16string_view char16s) {
    while (!char16s.empty()) {
        if (used_ >= chunkBytes_)
            FlushChunk();
        std::size_t take = std::min(char16s.size(), std::max<std::size_t>((chunkBytes_ - used_) / 3, 1));
        if (take < char16s.size() && IsSurrogatePair(char16s[take - 1], char16s[take]))
            ++take;
        char* end = EncodeUtf8(char16s.substr(0, take), buffer_.data() + used_);
        used_ = static_cast<std::size_t>(end - buffer_.data());
        char16s.remove_prefix(take);
    }
}

void Utf8ChunkSink::FlushChunk() {
    if (used_ > 0)
        flush_({buffer_.data(), used_});
    used_ = 0;
}

} // namespace velmorant
