#pragma once
// Reading the whole input as text: UTF-8 decoded piece by piece as it arrives,
// so memory grows with the text only and a limit is checked as it goes.

#include "core/text/text.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <string_view>

namespace velmorant::cli {

// No longer text can be converted: unit positions are 32-bit.
constexpr std::size_t kMaxInputChar16s = kMaxTextChar16s;

struct InputText {
    enum class Status { kRead, kUnreadable, kNotUtf8, kTooLong, kOutOfMemory };
    Status status = Status::kRead;
    // The decoded text, one leading byte-order mark dropped; empty unless read.
    std::u16string_view text;
    // Where text lives: decoded into without being zero-filled first.
    std::unique_ptr<char16_t[]> storage;
    // Bytes taken from the stream so far, the byte-order mark included.
    std::size_t bytesRead = 0;
    // kNotUtf8: offset of the first bad sequence. kUnreadable: the errno.
    std::size_t badByte = 0;
    int error = 0;
};

// Reads in pieces of chunkBytes (at least 4) until the end of the stream, stopping
// at the first fault; a directory is refused before any read. The bytes wait in
// blocks of blockBytes and are decoded whole at the end, each block freed as it
// is decoded: memory holds the bytes not yet decoded, the text so far and one block.
// A regular file of known size (at most maxChar16s bytes) is read in one go and
// decoded once, as far as the size it had when the reading began.
InputText ReadInputText(std::FILE* stream, std::size_t maxChar16s = kMaxInputChar16s,
                        std::size_t chunkBytes = 64 * 1024, std::size_t blockBytes = 16 * 1024 * 1024);

} // namespace velmorant::cli
