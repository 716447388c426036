#include "cli/run.h"

#include "cli/convert.h"
#include "cli/options.h"
#include "cli/utf8.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace velmorant::cli {

namespace {

// The whole stream into bytes: one read when the size is known, doubling chunks otherwise.
bool ReadAll(std::FILE* stream, std::size_t sizeHint, std::string& bytes) {
    // One spare byte shows the end of the stream without a second grow.
    bytes.resize(sizeHint > 0 ? sizeHint + 1 : std::size_t{1} << 16);
    std::size_t used = 0;
    for (;;) {
        used += std::fread(bytes.data() + used, 1, bytes.size() - used, stream);
        if (used < bytes.size())
            break;
        bytes.resize(bytes.size() * 2);
    }
    bytes.resize(used);
    return !std::ferror(stream);
}

// Standard input redirected from a file can be measured; a pipe cannot and is read in chunks.
std::size_t StreamSize(std::FILE* stream) {
    if (std::fseek(stream, 0, SEEK_END) != 0)
        return 0;
    const long size = std::ftell(stream);
    if (size <= 0 || std::fseek(stream, 0, SEEK_SET) != 0)
        return 0;
    return static_cast<std::size_t>(size);
}

bool ReadInput(const Options& options, std::FILE* in, std::string& bytes) {
    if (!options.file)
        return ReadAll(in, StreamSize(in), bytes);
    const std::filesystem::path path(*options.file);
    std::error_code ignored;
    // A directory opens fine but has no sensible size, so it is refused before the read.
    if (std::filesystem::is_directory(path, ignored)) {
        errno = EISDIR;
        return false;
    }
    std::FILE* file = std::fopen(options.file->c_str(), "rb");
    if (!file)
        return false;
    const bool regular = std::filesystem::is_regular_file(path, ignored);
    const std::size_t size = regular ? static_cast<std::size_t>(std::filesystem::file_size(path, ignored)) : 0;
    const bool ok = ReadAll(file, size == static_cast<std::size_t>(-1) ? 0 : size, bytes);
    const int readErrno = errno;
    std::fclose(file);
    errno = readErrno;
    return ok;
}

} // namespace

int Run(std::span<const std::string_view> args, std::FILE* in, std::FILE* out, std::FILE* err) {
    auto parsed = ParseOptions(args);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        std::fprintf(err, "velmorant-cli: %s\nTry 'velmorant-cli --help'.\n", usage->message.c_str());
        return kBadUsage;
    }
    const Options& options = std::get<Options>(parsed);
    if (options.help) {
        std::fwrite(kUsage.data(), 1, kUsage.size(), out);
        return kSuccess;
    }
    if (options.version) {
        std::fprintf(out, "velmorant-cli %s\n", VELMORANT_VERSION);
        return kSuccess;
    }

    const std::string inputName = options.file.value_or("standard input");
    std::string bytes;
    errno = 0;
    if (!ReadInput(options, in, bytes)) {
        std::fprintf(err, "velmorant-cli: cannot read %s: %s\n", inputName.c_str(),
                     errno ? std::strerror(errno) : "read error");
        return kBadInput;
    }
    Utf8Decoded input = DecodeInput(bytes);
    if (input.badByte) {
        std::fprintf(err, "velmorant-cli: %s is not valid UTF-8: bad byte at offset %zu\n", inputName.c_str(),
                     *input.badByte);
        return kBadInput;
    }
    std::string().swap(bytes);

    ConvertedText converted = ConvertText(input.text, options);
    std::u16string().swap(input.text);
    // Fresh pages are what costs here: the buffer's untouched tail is never faulted in.
    const std::size_t units = converted.before.size() + converted.code.size() + converted.after.size();
    auto encoded = std::make_unique_for_overwrite<char[]>(MaxUtf8Bytes(units));
    char* end = EncodeUtf8(converted.before, encoded.get());
    end = EncodeUtf8(converted.code, end);
    end = EncodeUtf8(converted.after, end);
    const std::size_t length = static_cast<std::size_t>(end - encoded.get());
    if (std::fwrite(encoded.get(), 1, length, out) != length || std::fflush(out) != 0) {
        std::fprintf(err, "velmorant-cli: cannot write the output: %s\n", std::strerror(errno));
        return kBadInput;
    }
    return kSuccess;
}

} // namespace velmorant::cli
