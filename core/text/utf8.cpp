#include "core/text/utf8.h"

#include "core/text/code_points.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmorant {

namespace {

// The length of the sequence a lead byte starts; 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

Utf8Decoded DecodeUtf8(std::string_view bytes) {
    Utf8Decoded result;
    // One byte never yields more than one char16, so this size is an upper bound.
    result.text.resize(bytes.size());
    std::size_t badByte = 0;
    char16_t* end = DecodeUtf8(bytes, result.text.data(), badByte);
    if (!end)
        return Utf8Decoded{{}, badByte};
    result.text.resize(static_cast<std::size_t>(end - result.text.data()));
    return result;
}

std::size_t CompleteUtf8Prefix(std::string_view bytes) {
    // Only the last three bytes can belong to an unfinished sequence.
    const std::size_t stop = bytes.size() > 3 ? bytes.size() - 3 : 0;
    for (std::size_t i = bytes.size(); i > stop; --i) {
        const auto byte = static_cast<unsigned char>(bytes[i - 1]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: its lead is further back
        const std::size_t length = SequenceLength(byte);
        return length > bytes.size() - (i - 1) ? i - 1 : bytes.size();
    }
    return bytes.size();
}

char16_t* DecodeUtf8(std::string_view bytes, char16_t* out, std::size_t& badByte) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    const auto Failure = [&](std::size_t offset) -> char16_t* {
        badByte = offset;
        return nullptr;
    };

    std::size_t i = 0;
    while (i < n) {
        const unsigned lead = in[i];
        if (lead < 0x80) {
#if defined(__SSE2__)
            // ASCII sixteen bytes at a time, widened in two instructions; the char16s
            // from the first other byte on are stored too, then overwritten.
            if (n - i >= 16) {
                const __m128i bytes16 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes16, _mm_setzero_si128()));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes16, _mm_setzero_si128()));
                const auto run = static_cast<std::size_t>(
                    std::countr_zero(static_cast<unsigned>(_mm_movemask_epi8(bytes16)) | 0x10000u));
                out += run;
                i += run;
                continue;
            }
#else
            // ASCII eight bytes at a time while it lasts.
            std::uint64_t eight;
            if (n - i >= 8 && (std::memcpy(&eight, in + i, 8), (eight & 0x8080'8080'8080'8080) == 0)) {
                for (int b = 0; b < 8; ++b)
                    out[b] = in[i + b];
                out += 8;
                i += 8;
                continue;
            }
#endif
            *out++ = static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        // Most Chinese takes three bytes with no further bound on the second.
        if (n - i >= 3 && ((lead >= 0xE1 && lead <= 0xEC) || lead >= 0xEE) && lead <= 0xEF &&
            (in[i + 1] & 0xC0) == 0x80 && (in[i + 2] & 0xC0) == 0x80) {
            *out++ = static_cast<char16_t>(((lead & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F));
            i += 3;
            continue;
        }
        // The bounds on the second byte exclude overlong forms, surrogates and values past U+10FFFF.
        std::size_t length = 0;
        unsigned low = 0x80, high = 0xBF;
        char32_t cp = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0F;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return Failure(i);
        }
        if (n - i < length || in[i + 1] < low || in[i + 1] > high)
            return Failure(i);
        cp = (cp << 6) | (in[i + 1] & 0x3F);
        for (std::size_t k = 2; k < length; ++k) {
            if ((in[i + k] & 0xC0) != 0x80)
                return Failure(i);
            cp = (cp << 6) | (in[i + k] & 0x3F);
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            *out++ = static_cast<char16_t>(cp);
        }
        i += length;
    }
    return out;
}

char* EncodeUtf8(std::u16string_view text, char* out) {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        // Markup is mostly ASCII, in runs between single characters that are not:
        // sixteen char16s are narrowed at once and the ASCII ones before the first
        // other one kept, so each char16 is looked at about once.
#if defined(__SSE2__)
        while (i + 16 <= n) {
            const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
            const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i + 8));
            const __m128i above = _mm_set1_epi16(static_cast<short>(0xFF80));
            const __m128i asciiLow = _mm_cmpeq_epi16(_mm_and_si128(low, above), _mm_setzero_si128());
            const __m128i asciiHigh = _mm_cmpeq_epi16(_mm_and_si128(high, above), _mm_setzero_si128());
            const auto ascii = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(asciiLow, asciiHigh)));
            // Sixteen bytes fit: out has room for three per char16 left.
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(low, high));
            const auto run = static_cast<std::size_t>(std::countr_one(ascii));
            out += run;
            i += run;
            if (run < 16)
                break;
        }
#else
        while (i + 8 <= n) {
            std::uint64_t words[2];
            std::memcpy(words, text.data() + i, sizeof words);
            if (((words[0] | words[1]) & 0xFF80'FF80'FF80'FF80) != 0)
                break;
            for (int u = 0; u < 8; ++u)
                out[u] = static_cast<char>(text[i + u]);
            out += 8;
            i += 8;
        }
#endif
        if (i == n)
            break;
        char32_t cp = text[i];
        if (cp < 0x80) {
            *out++ = static_cast<char>(cp);
            continue;
        }
        if (IsSurrogate(text[i])) {
            if (i + 1 < n && IsSurrogatePair(text[i], text[i + 1])) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
            } else {
                cp = 0xFFFD;
            }
        }
        if (cp < 0x800) {
            *out++ = static_cast<char>(0xC0 | (cp >> 6));
        } else if (cp < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (cp >> 12));
            *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (cp >> 18));
            *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        }
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

std::string EncodeUtf8(std::u16string_view text) {
    std::string bytes(MaxUtf8Bytes(text.size()), '\0');
    bytes.resize(static_cast<std::size_t>(EncodeUtf8(text, bytes.data()) - bytes.data()));
    return bytes;
}

} // namespace velmorant
