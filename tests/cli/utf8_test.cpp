#include "core/text/utf8.h"

#include "cli/read_input.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace velmorant::cli {
namespace {

// The CLI decodes its input piece by piece as it reads: the smallest pieces cut
// every sequence somewhere, the largest take a table's text at once. A regular
// file, whose size is known, is read whole instead.
constexpr std::size_t kRegularFile = 0;
constexpr std::size_t kChunkSizes[] = {4, 5, 6, 64 * 1024, kRegularFile};

InputText ReadInPieces(std::string_view bytes, std::size_t chunkBytes, std::size_t maxChar16s = kMaxInputChar16s) {
    std::string copy(bytes);
    std::FILE* stream = nullptr;
    if (chunkBytes == kRegularFile) {
        // Read from where the stream stands, not from the file's start.
        constexpr std::string_view kSkipped = "skipped";
        stream = std::tmpfile();
        std::fwrite(kSkipped.data(), 1, kSkipped.size(), stream);
        std::fwrite(copy.data(), 1, copy.size(), stream);
        std::fseek(stream, static_cast<long>(kSkipped.size()), SEEK_SET);
        chunkBytes = 64 * 1024;
    } else {
        stream = fmemopen(copy.data(), copy.size(), "rb");
    }
    // A block a piece: sequences cut by a piece also cross a block boundary.
    InputText input = ReadInputText(stream, maxChar16s, chunkBytes, chunkBytes);
    std::fclose(stream);
    return input;
}

struct ValidCase {
    const char* name;
    std::string_view bytes;
    std::u16string_view text;
};

TEST(Utf8, DecodesAndReencodesWellFormedText) {
    const std::vector<ValidCase> cases{
        {"empty", "", u""},
        {"ascii with line breaks kept", "a\r\nb\rc\n", u"a\r\nb\rc\n"},
        {"nul byte", std::string_view("a\0b", 3), std::u16string_view(u"a\0b", 3)},
        {"two-byte bounds", "\xC2\x80\xDF\xBF", u"\u0080\u07FF"},
        {"three-byte bounds", "\xE0\xA0\x80\xEF\xBF\xBF", u"\u0800\uFFFF"},
        {"just below the surrogates", "\xED\x9F\xBF", u"\uD7FF"},
        {"just above the surrogates", "\xEE\x80\x80", u"\uE000"},
        {"chinese", "宋体", u"宋体"},
        {"four-byte bounds", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", u"\U00010000\U0010FFFF"},
        {"emoji between letters", "a😀b", u"a\U0001F600b"},
        {"byte-order mark inside is a character", "a\xEF\xBB\xBF", u"a\uFEFF"},
    };
    for (const ValidCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Utf8Decoded decoded = DecodeUtf8(c.bytes);
        EXPECT_FALSE(decoded.badByte.has_value());
        EXPECT_EQ(decoded.text, c.text);
        EXPECT_EQ(EncodeUtf8(c.text), c.bytes);
        for (std::size_t chunk : kChunkSizes) {
            const InputText read = ReadInPieces(c.bytes, chunk);
            EXPECT_EQ(read.status, InputText::Status::kRead) << chunk;
            EXPECT_EQ(read.text, c.text) << chunk;
            EXPECT_EQ(read.bytesRead, c.bytes.size()) << chunk;
        }
    }
}

struct InvalidCase {
    const char* name;
    std::string_view bytes;
    std::size_t offset;
};

TEST(Utf8, RejectsIllFormedTextAtTheFirstBadSequence) {
    const std::vector<InvalidCase> cases{
        {"stray continuation", "ab\x80", 2},
        {"invalid lead FF", "\xFF", 0},
        {"lead F5 beyond U+10FFFF", "x\xF5\x80\x80\x80", 1},
        {"overlong two-byte C0", "\xC0\xAF", 0},
        {"overlong two-byte C1", "a\xC1\xBF", 1},
        {"overlong three-byte", "\xE0\x80\xAF", 0},
        {"overlong four-byte", "\xF0\x8F\xBF\xBF", 0},
        {"high surrogate encoded", "ab\xED\xA0\x80", 2},
        {"low surrogate encoded", "\xED\xBF\xBF", 0},
        {"above U+10FFFF", "\xF4\x90\x80\x80", 0},
        {"truncated two-byte at end", "abc\xC3", 3},
        {"truncated three-byte at end", "\xE5\xAE", 0},
        {"truncated four-byte at end", "a\xF0\x9F\x98", 1},
        {"truncated before ascii",
         "\xE5\xAE"
         "a",
         0},
        {"bad third byte", "\xE5\xAE\xC0", 0},
        {"first of two errors", "ok\xC3(\xFF", 2},
        {"after valid multibyte", "宋\x80", 3},
    };
    for (const InvalidCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Utf8Decoded decoded = DecodeUtf8(c.bytes);
        EXPECT_EQ(decoded.badByte, c.offset);
        EXPECT_TRUE(decoded.text.empty());
        for (std::size_t chunk : kChunkSizes) {
            const InputText read = ReadInPieces(c.bytes, chunk);
            EXPECT_EQ(read.status, InputText::Status::kNotUtf8) << chunk;
            EXPECT_EQ(read.badByte, c.offset) << chunk;
            EXPECT_TRUE(read.text.empty()) << chunk;
        }
    }
}

struct InputCase {
    const char* name;
    std::string_view bytes;
    std::u16string_view text;
    std::optional<std::size_t> badByte;
};

TEST(Utf8, DropsTheByteOrderMarkOnlyAtTheVeryStart) {
    const std::vector<InputCase> cases{
        {"leading mark dropped",
         "\xEF\xBB\xBF"
         "ab",
         u"ab", std::nullopt},
        {"mark alone", "\xEF\xBB\xBF", u"", std::nullopt},
        {"only the first of two", "\xEF\xBB\xBF\xEF\xBB\xBF", u"\uFEFF", std::nullopt},
        {"mark after a blank kept", " \xEF\xBB\xBF", u" \uFEFF", std::nullopt},
        {"offsets count the mark",
         "\xEF\xBB\xBF"
         "a\xFF",
         u"", 4},
        {"partial mark is invalid", "\xEF\xBB", u"", 0},
    };
    for (const InputCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (std::size_t chunk : kChunkSizes) {
            const InputText read = ReadInPieces(c.bytes, chunk);
            EXPECT_EQ(read.status, c.badByte ? InputText::Status::kNotUtf8 : InputText::Status::kRead) << chunk;
            EXPECT_EQ(read.badByte, c.badByte.value_or(0)) << chunk;
            EXPECT_EQ(read.text, c.text) << chunk;
        }
    }
}

struct LimitCase {
    const char* name;
    std::string_view bytes;
    std::size_t maxChar16s;
    InputText::Status status;
};

// The limit counts char16s after the mark, and is checked before the text grows past it.
TEST(ReadInputText, StopsAtTheLengthLimit) {
    using Status = InputText::Status;
    const std::vector<LimitCase> cases{
        {"at the limit", "abcd", 4, Status::kRead},
        {"one past", "abcde", 4, Status::kTooLong},
        {"mark not counted",
         "\xEF\xBB\xBF"
         "abcd",
         4, Status::kRead},
        {"pair counts two", "abc\xF0\x9F\x98\x80", 4, Status::kTooLong},
        {"three bytes, one unit", "\xE5\xAE\x8B\xE4\xBD\x93", 2, Status::kRead},
        {"long past the limit", std::string_view("\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16), 4, Status::kTooLong},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (std::size_t chunk : kChunkSizes) {
            const InputText read = ReadInPieces(c.bytes, chunk, c.maxChar16s);
            EXPECT_EQ(read.status, c.status) << chunk;
            EXPECT_LE(read.text.size(), c.maxChar16s) << chunk;
        }
    }
}

TEST(Utf8, EncodesLoneSurrogatesAsReplacementCharacter) {
    EXPECT_EQ(EncodeUtf8(u"a\xD800"
                         u"b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(EncodeUtf8(u"\xDC00"), "\xEF\xBF\xBD");
}

// ASCII is encoded and decoded many units at a time: a character of every other
// kind, and a stray byte, at every place in and around such a stretch must still
// come out whole, or be found where it is.
TEST(Utf8, OtherCharactersAnywhereInLongAscii) {
    const std::vector<ValidCase> others{
        {"first two-byte", "\xC2\x80", u"\u0080"},        {"highest byte", "\xC3\xBF", u"\u00FF"},
        {"first three-byte", "\xE0\xA0\x80", u"\u0800"},  {"chinese", "宋", u"宋"},
        {"last of the plane", "\xEF\xBF\xBF", u"\uFFFF"}, {"pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
    };
    const std::string ascii = "[color=#FF00AA]x[/color][color=#00FF00]y[/color]";
    const auto Around = [&](std::size_t at, std::string_view middle) {
        return ascii.substr(0, at) + std::string(middle) + ascii.substr(at);
    };
    for (const ValidCase& other : others) {
        SCOPED_TRACE(other.name);
        for (std::size_t at = 0; at <= ascii.size(); ++at) {
            const std::string bytes = Around(at, other.bytes);
            std::u16string text(ascii.begin(), ascii.end());
            text.insert(at, other.text);
            EXPECT_EQ(EncodeUtf8(text), bytes) << at;
            EXPECT_EQ(DecodeUtf8(bytes).text, text) << at;
        }
    }
    for (std::size_t at = 0; at <= ascii.size(); ++at) {
        EXPECT_EQ(DecodeUtf8(Around(at, "\x80")).badByte, at);
        EXPECT_EQ(DecodeUtf8(Around(at, "\xE5\xAE")).badByte, at);
    }
}

} // namespace
} // namespace velmorant::cli
