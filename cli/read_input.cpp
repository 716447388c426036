#include "cli/read_input.h"

#include "cli/utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>

#include <sys/stat.h>

namespace velmorant::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A sequence is at most four bytes: at most three wait for the next piece.
constexpr std::size_t kMaxCarry = 3;

InputText Failed(InputText& input, InputText::Status status) {
    input.status = status;
    std::u16string().swap(input.text);
    return std::move(input);
}

} // namespace

InputText ReadInputText(std::FILE* stream, std::size_t maxUnits, std::size_t chunkBytes) {
    chunkBytes = std::max<std::size_t>(chunkBytes, kByteOrderMark.size() + 1);
    InputText input;
    try {
        struct stat info {};
        if (::fstat(fileno(stream), &info) == 0) {
            // A directory may open, but its size means nothing and reading it fails.
            if (S_ISDIR(info.st_mode)) {
                input.error = EISDIR;
                return Failed(input, InputText::Status::kUnreadable);
            }
            // One byte never yields more than one unit: a known size spares regrowing the text.
            if (S_ISREG(info.st_mode) && info.st_size > 0)
                input.text.reserve(std::min(static_cast<std::size_t>(info.st_size), maxUnits));
        }

        std::string bytes(kMaxCarry + chunkBytes, '\0');
        std::u16string units(bytes.size(), u'\0');
        std::size_t carried = 0;
        for (;;) {
            errno = 0;
            const std::size_t got = std::fread(bytes.data() + carried, 1, chunkBytes, stream);
            if (std::ferror(stream)) {
                input.error = errno ? errno : EIO;
                return Failed(input, InputText::Status::kUnreadable);
            }
            const std::size_t offset = input.bytesRead - carried; // stream offset of bytes[0]
            input.bytesRead += got;
            const bool atEnd = got < chunkBytes;
            std::string_view piece(bytes.data(), carried + got);
            const std::size_t skip = offset == 0 && piece.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
            // At the end an unfinished sequence is decoded too, so that it is reported.
            const std::size_t complete = atEnd ? piece.size() : std::max(CompleteUtf8Prefix(piece), skip);

            std::size_t bad = 0;
            const char16_t* end = DecodeUtf8(piece.substr(skip, complete - skip), units.data(), bad);
            if (!end) {
                input.badByte = offset + skip + bad;
                return Failed(input, InputText::Status::kNotUtf8);
            }
            const auto decoded = static_cast<std::size_t>(end - units.data());
            if (decoded > maxUnits - input.text.size())
                return Failed(input, InputText::Status::kTooLong);
            input.text.append(units.data(), decoded);

            if (atEnd)
                return input;
            carried = piece.size() - complete;
            std::memmove(bytes.data(), bytes.data() + complete, carried);
        }
    } catch (const std::bad_alloc&) {
        return Failed(input, InputText::Status::kOutOfMemory);
    }
}

} // namespace velmorant::cli
