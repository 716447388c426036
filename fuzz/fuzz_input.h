#pragma once
// Shared by the fuzzers: reading fields out of the raw bytes, and a check that
// stops the run with a message instead of going on with a broken invariant.
//
// Byte layout: a fixed header read with Take*, then texts separated by NUL bytes.
// A text byte stands for the char16 of the same value (Latin-1), except 0xFF,
// which takes the next two bytes as one char16, low byte first (an escaped NUL
// separates nothing): so a seed can be mostly readable ASCII and still reach any
// char16, lone surrogates too.

#include "core/colour/colour.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                         \
            __builtin_trap();                                                                                          \
        }                                                                                                              \
    } while (false)

namespace velmorant::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(reinterpret_cast<const char*>(data), size) {}

    // Missing bytes read as 0, so every input has a header.
    std::uint8_t TakeByte() {
        if (bytes_.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(bytes_.front());
        bytes_.remove_prefix(1);
        return b;
    }

    // Both ends of a gradient, a byte a channel.
    ColourPair TakeColours() {
        ColourPair colours;
        for (Channel* channel : {&colours.start.red, &colours.start.green, &colours.start.blue, &colours.end.red,
                                 &colours.end.green, &colours.end.blue})
            *channel = TakeByte();
        return colours;
    }

    template <class T> T Take() {
        unsigned char raw[sizeof(T)];
        for (unsigned char& b : raw)
            b = TakeByte();
        T value;
        std::memcpy(&value, raw, sizeof(T));
        return value;
    }

    // The rest of the bytes as texts split at NUL; always at least one.
    std::vector<std::u16string> TakeTexts() {
        std::vector<std::u16string> texts(1);
        Decode(Rest(), [&](char16_t unit, bool separator) {
            if (separator)
                texts.emplace_back();
            else
                texts.back().push_back(unit);
        });
        return texts;
    }

    // The rest of the bytes as one text: a NUL byte is U+0000 here.
    std::u16string TakeText() {
        std::u16string text;
        Decode(Rest(), [&](char16_t unit, bool) { text.push_back(unit); });
        return text;
    }

    std::string_view Rest() {
        const std::string_view rest = bytes_;
        bytes_ = {};
        return rest;
    }

private:
    template <class Emit> static void Decode(std::string_view bytes, Emit emit) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b == 0xFF && i + 2 < bytes.size()) {
                const auto lo = static_cast<unsigned char>(bytes[i + 1]);
                const auto hi = static_cast<unsigned char>(bytes[i + 2]);
                emit(static_cast<char16_t>(lo | (hi << 8)), false);
                i += 2;
            } else {
                emit(static_cast<char16_t>(b), b == 0);
            }
        }
    }

    std::string_view bytes_;
};

constexpr bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Surrogates not part of a high-low pair.
inline std::size_t CountLoneSurrogates(std::u16string_view text) {
    std::size_t lone = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1]))
            ++i;
        else if (IsHigh(text[i]) || IsLow(text[i]))
            ++lone;
    }
    return lone;
}

} // namespace velmorant::fuzz
