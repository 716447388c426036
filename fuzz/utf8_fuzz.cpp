// The command line's strict UTF-8 reading, whole and in pieces, checked against a
// plain decoder that follows the code point rules directly, and the way back from
// any UTF-16, cut into units of whole grapheme clusters.

#include "cli/read_input.h"
#include "core/text/graphemes.h"
#include "core/text/utf8.h"
#include "fuzz/fuzz_input.h"

#include <cstdio>
#include <optional>

namespace {

using namespace velmorant;
using namespace velmorant::cli;

struct Reference {
    std::u32string codePoints;
    std::optional<std::size_t> badByte;
};

// Reads the lead byte's length, then rejects overlong forms, surrogates and values above U+10FFFF.
Reference DecodeByCodePoints(std::string_view bytes) {
    Reference result;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length;
        char32_t cp;
        char32_t least;
        if (lead < 0x80) {
            length = 1, cp = lead, least = 0;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, cp = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, cp = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, cp = lead & 0x07, least = 0x10000;
        } else {
            result.badByte = i;
            return result;
        }
        bool ok = i + length <= bytes.size();
        for (std::size_t k = 1; ok && k < length; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + k]);
            ok = (b & 0xC0) == 0x80;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (!ok || cp < least || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            result.badByte = i;
            return result;
        }
        result.codePoints.push_back(cp);
        i += length;
    }
    return result;
}

std::u32string CodePoints(std::u16string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (velmorant::fuzz::IsHigh(c) && i + 1 < text.size() && velmorant::fuzz::IsLow(text[i + 1])) {
            out.push_back(0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (velmorant::fuzz::IsHigh(c) || velmorant::fuzz::IsLow(c)) {
            out.push_back(0xFFFD);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

void CheckDecoding(std::string_view bytes) {
    const Utf8Decoded decoded = DecodeUtf8(bytes);
    const Reference reference = DecodeByCodePoints(bytes);
    FUZZ_CHECK(decoded.badByte == reference.badByte);
    if (decoded.badByte) {
        // Nothing is handed on from a bad text; everything before the bad sequence reads cleanly.
        FUZZ_CHECK(decoded.text.empty());
        FUZZ_CHECK(*decoded.badByte < bytes.size());
        const std::string_view prefix = bytes.substr(0, *decoded.badByte);
        const Utf8Decoded before = DecodeUtf8(prefix);
        FUZZ_CHECK(!before.badByte);
        FUZZ_CHECK(EncodeUtf8(before.text) == prefix);
    } else {
        FUZZ_CHECK(velmorant::fuzz::CountLoneSurrogates(decoded.text) == 0);
        FUZZ_CHECK(CodePoints(decoded.text) == reference.codePoints);
        FUZZ_CHECK(EncodeUtf8(decoded.text) == bytes);
    }

    // Read as the CLI reads, in small pieces and blocks: a byte-order mark in front
    // is dropped and counted in the offsets, and no cut changes the result.
    std::string withMark = "\xEF\xBB\xBF" + std::string(bytes);
    std::FILE* stream = fmemopen(withMark.data(), withMark.size(), "rb");
    FUZZ_CHECK(stream != nullptr);
    const InputText read = ReadInputText(stream, kMaxInputChar16s, 4 + bytes.size() % 7, 4 + bytes.size() % 11);
    std::fclose(stream);
    FUZZ_CHECK(read.status == (decoded.badByte ? InputText::Status::kNotUtf8 : InputText::Status::kRead));
    FUZZ_CHECK(read.text == decoded.text);
    if (decoded.badByte)
        FUZZ_CHECK(read.badByte == *decoded.badByte + 3);
}

// Any UTF-16, lone surrogates included, encodes to well-formed UTF-8 within the bound.
void CheckEncoding(std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    const std::string encoded = EncodeUtf8(text);
    FUZZ_CHECK(encoded.size() <= MaxUtf8Bytes(text.size()));
    const Utf8Decoded back = DecodeUtf8(encoded);
    FUZZ_CHECK(!back.badByte);
    FUZZ_CHECK(CodePoints(back.text) == CodePoints(text));

    // Units of whole clusters cover any UTF-16 in order and never cut a pair or CR LF.
    std::size_t at = 0;
    ForEachGraphemeUnit(text, 1 + static_cast<std::int32_t>(bytes.size() % 3), [&](Unit unit) {
        FUZZ_CHECK(!unit.text.empty() && unit.position == static_cast<std::int32_t>(at + 1));
        at += unit.text.size();
        FUZZ_CHECK(at == text.size() ||
                   !(IsSurrogatePair(text[at - 1], text[at]) || text.substr(at - 1, 2) == u"\r\n"));
    });
    FUZZ_CHECK(at == text.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckDecoding(bytes);
    CheckEncoding(bytes);
    return 0;
}
