#include "cli/read_input.h"

#include "core/text/utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <sys/stat.h>

namespace velmorant::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A sequence is at most four bytes: at most three wait for the next piece.
constexpr std::size_t kMaxCarry = 3;

// The bytes are kept as read, in blocks: growing never copies what is already
// there, UTF-8 takes less room than the text it decodes to, and each block is
// freed once decoded. A block holds whole sequences only, so it decodes alone.
struct Block {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    std::size_t char16s = 0; // what its bytes decode to
};

InputText Failed(InputText& input, InputText::Status status) {
    input.status = status;
    input.text = {};
    input.storage.reset();
    return std::move(input);
}

// Storage for units the text will be decoded into, not zero-filled. A long text
// takes huge pages where the system gives them: a few faults, not one per 4 KiB.
std::unique_ptr<char16_t[]> TextStorage(std::size_t char16s) {
    auto storage = std::make_unique_for_overwrite<char16_t[]>(char16s);
    constexpr std::uintptr_t kPage = 4096;
    const auto start = (reinterpret_cast<std::uintptr_t>(storage.get()) + kPage - 1) & ~(kPage - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(storage.get() + char16s);
    if (end > start)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    return storage;
}

// Decoded in one pass: nothing to check piece by piece, as each byte yields at
// most one unit and the caller has checked the size against the limit.
InputText DecodeWhole(std::string_view bytes, InputText& input) {
    input.bytesRead = bytes.size();
    const std::size_t skip = bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    bytes.remove_prefix(skip);
    // Room for the most units the bytes can make; pages never written stay unused.
    input.storage = TextStorage(bytes.size());
    std::size_t bad = 0;
    const char16_t* end = DecodeUtf8(bytes, input.storage.get(), bad);
    if (!end) {
        input.badByte = skip + bad;
        return Failed(input, InputText::Status::kNotUtf8);
    }
    input.text = {input.storage.get(), static_cast<std::size_t>(end - input.storage.get())};
    return std::move(input);
}

} // namespace

InputText ReadInputText(std::FILE* stream, std::size_t maxChar16s, std::size_t chunkBytes, std::size_t blockBytes) {
    chunkBytes = std::max<std::size_t>(chunkBytes, kByteOrderMark.size() + 1);
    blockBytes = std::max(blockBytes, chunkBytes + kMaxCarry);
    InputText input;
    try {
        struct stat info {};
        if (::fstat(fileno(stream), &info) == 0) {
            // A directory may open, but reading it fails and its size means nothing.
            if (S_ISDIR(info.st_mode)) {
                input.error = EISDIR;
                return Failed(input, InputText::Status::kUnreadable);
            }
            // A regular file of known size is read in one go and decoded once.
            // Read, not mapped: a mapped file that another program shortens
            // meanwhile would end the program with SIGBUS.
            // Where the stream stands, not its descriptor: stdio may have read ahead.
            const off_t at = ::ftello(stream);
            if (S_ISREG(info.st_mode) && at >= 0 && at < info.st_size &&
                static_cast<std::size_t>(info.st_size - at) <= maxChar16s) {
                const auto size = static_cast<std::size_t>(info.st_size - at);
                const auto bytes = std::make_unique_for_overwrite<char[]>(size);
                errno = 0;
                const std::size_t got = std::fread(bytes.get(), 1, size, stream);
                if (std::ferror(stream)) {
                    input.bytesRead = got;
                    input.error = errno ? errno : EIO;
                    return Failed(input, InputText::Status::kUnreadable);
                }
                return DecodeWhole({bytes.get(), got}, input);
            }
        }

        std::vector<Block> blocks;
        std::size_t blockOffset = 0; // stream offset of the last block's first byte
        std::size_t checked = 0;     // bytes of the last block decoded once already
        std::size_t skip = 0;        // a leading byte-order mark
        std::size_t char16s = 0;
        std::u16string scratch(chunkBytes + kMaxCarry, u'\0');
        for (bool atEnd = false; !atEnd;) {
            if (blocks.empty() || blockBytes - blocks.back().size < chunkBytes) {
                Block next{std::make_unique_for_overwrite<char[]>(blockBytes)};
                if (!blocks.empty()) {
                    // An unfinished sequence moves on with the bytes that complete it.
                    Block& last = blocks.back();
                    next.size = last.size - checked;
                    std::memcpy(next.bytes.get(), last.bytes.get() + checked, next.size);
                    last.size = checked;
                    blockOffset += checked;
                }
                blocks.push_back(std::move(next));
                checked = 0;
            }
            Block& block = blocks.back();
            errno = 0;
            const std::size_t got = std::fread(block.bytes.get() + block.size, 1, chunkBytes, stream);
            if (std::ferror(stream)) {
                input.error = errno ? errno : EIO;
                return Failed(input, InputText::Status::kUnreadable);
            }
            input.bytesRead += got;
            block.size += got;
            atEnd = got < chunkBytes;

            if (blocks.size() == 1 && checked == 0 &&
                std::string_view(block.bytes.get(), block.size).starts_with(kByteOrderMark))
                checked = skip = kByteOrderMark.size();
            // Decoded once here to find bad bytes and count the text as it comes.
            // At the end an unfinished sequence is decoded too, so that it is reported.
            const std::string_view fresh(block.bytes.get() + checked, block.size - checked);
            const std::size_t complete = atEnd ? fresh.size() : CompleteUtf8Prefix(fresh);
            std::size_t bad = 0;
            const char16_t* end = DecodeUtf8(fresh.substr(0, complete), scratch.data(), bad);
            if (!end) {
                input.badByte = blockOffset + checked + bad;
                return Failed(input, InputText::Status::kNotUtf8);
            }
            const auto decoded = static_cast<std::size_t>(end - scratch.data());
            if (decoded > maxChar16s - char16s)
                return Failed(input, InputText::Status::kTooLong);
            char16s += decoded;
            block.char16s += decoded;
            checked += complete;
        }

        input.storage = TextStorage(char16s + kDecodeAhead);
        char16_t* at = input.storage.get();
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            Block& block = blocks[b];
            std::size_t bad = 0;
            // Valid bytes yield exactly block.char16s char16s; stores ahead of them stay within kDecodeAhead.
            const std::size_t from = b == 0 ? skip : 0;
            at = DecodeUtf8({block.bytes.get() + from, block.size - from}, at, bad);
            block.bytes.reset();
        }
        input.text = {input.storage.get(), char16s};
        return input;
    } catch (const std::bad_alloc&) {
        return Failed(input, InputText::Status::kOutOfMemory);
    }
}

} // namespace velmorant::cli
