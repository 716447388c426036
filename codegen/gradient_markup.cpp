#include "codegen/gradient_markup.h"

#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "codegen/channel_stepper.h"
#include "codegen/text.h"
#include "codegen/text_to_number.h"
#include "codegen/units.h"

namespace velmorant {

namespace {

// Two upper-case hex digits for every byte: HexPair(HexText(v)) for v in 0..255.
constexpr std::array<std::array<char16_t, 2>, 256> MakeHexPairs() {
    constexpr char16_t digits[] = u"0123456789ABCDEF";
    std::array<std::array<char16_t, 2>, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[v] = {digits[v >> 4], digits[v & 0xF]};
    return table;
}
constexpr auto HexPairs = MakeHexPairs();

constexpr bool IsByte(std::int32_t v) { return v >= 0 && v <= 255; }
constexpr bool IsByte(const Rgb& c) { return IsByte(c.red) && IsByte(c.green) && IsByte(c.blue); }

// Outside 0..255 HexText has three or four digits, so HexPair gives nothing.
constexpr std::size_t CodeLength(std::int32_t r, std::int32_t g, std::int32_t b) {
    return (IsByte(r) ? 2 : 0) + (IsByte(g) ? 2 : 0) + (IsByte(b) ? 2 : 0);
}

// The three channels of the unit colours, stepping from unit to unit.
class ColourStepper {
public:
    ColourStepper(const ColourPair& pair, std::int32_t k, std::int32_t n)
        : red_(pair.start.red, pair.end.red, 1, k, n), green_(pair.start.green, pair.end.green, 1, k, n),
          blue_(pair.start.blue, pair.end.blue, 1, k, n), k_(k) {}

    // Positions only grow, by multiples of k (empty units are skipped, not reordered).
    void MoveTo(std::int32_t position) {
        while (position_ < position) {
            red_.Step();
            green_.Step();
            blue_.Step();
            position_ += k_;
        }
    }
    std::int32_t Red() const { return red_.Value(); }
    std::int32_t Green() const { return green_.Value(); }
    std::int32_t Blue() const { return blue_.Value(); }

private:
    ChannelStepper red_, green_, blue_;
    std::int64_t k_;
    std::int64_t position_ = 1;
};

// A lone character above U+0020 is never raw: spares the call for almost every unit.
inline bool IsRaw(std::u16string_view unit) { return !(unit.size() == 1 && unit[0] > u' ') && IsRawUnit(unit); }

inline char16_t* Put(char16_t* out, const char16_t* from, std::size_t length) {
    if (length == 1) {
        *out = *from;
    } else {
        std::memcpy(out, from, length * sizeof(char16_t));
    }
    return out + length;
}

// Copies whole blocks of eight code units: fixed-size moves instead of a memcpy
// call per piece. Reads and writes up to Slack - 1 units past the piece, so the
// source must be a Padded text and the output must end in Slack spare units.
constexpr std::size_t Slack = 8;

inline char16_t* PutBlocks(char16_t* out, const char16_t* from, std::size_t length) {
    for (std::size_t at = 0; at < length; at += Slack)
        std::memcpy(out + at, from + at, Slack * sizeof(char16_t));
    return out + length;
}

// A template text with room behind it for PutBlocks to read.
struct Padded {
    explicit Padded(std::u16string_view text) : length(text.size()) {
        storage.reserve(text.size() + Slack);
        storage.append(text).append(Slack, u'\0');
    }
    const char16_t* data() const { return storage.data(); }
    std::u16string storage;
    std::size_t length;
};

// Open, code and Middle kept as one block, rebuilt only when the colour changes.
class UnitHead {
public:
    explicit UnitHead(const TagTemplate& tags) : middle_(tags.Middle), codeAt_(tags.Open.size()) {
        block_.resize(codeAt_ + 6 + middle_.size() + Slack);
        std::memcpy(block_.data(), tags.Open.data(), codeAt_ * sizeof(char16_t));
    }

    void SetColour(std::int32_t r, std::int32_t g, std::int32_t b) {
        if (valid_ && r == red_ && g == green_ && b == blue_)
            return;
        valid_ = true;
        red_ = r;
        green_ = g;
        blue_ = b;
        char16_t* at = block_.data() + codeAt_;
        for (std::int32_t channel : {r, g, b}) {
            if (IsByte(channel)) {
                *at++ = HexPairs[channel][0];
                *at++ = HexPairs[channel][1];
            }
        }
        at = Put(at, middle_.data(), middle_.size());
        length_ = static_cast<std::size_t>(at - block_.data());
    }

    const char16_t* data() const { return block_.data(); }
    std::size_t size() const { return length_; }

private:
    std::u16string block_;
    std::u16string_view middle_;
    std::size_t codeAt_;
    std::size_t length_ = 0;
    std::int32_t red_ = 0, green_ = 0, blue_ = 0;
    bool valid_ = false;
};

// Gives the writer size + Slack units and keeps the first size of them. The one
// allocation holds the slack too. std::string::resize zero-fills first; C++23
// lets the writer fill the text itself.
template <class Write> void WriteExactly(std::u16string& out, std::size_t size, Write write) {
#if defined(__cpp_lib_string_resize_and_overwrite)
    out.resize_and_overwrite(size + Slack, [&](char16_t* data, std::size_t) {
        write(data);
        return size;
    });
#else
    out.resize(size + Slack);
    write(out.data());
    out.resize(size);
#endif
}

} // namespace

std::u16string ComposeGradientMarkup(std::u16string_view input, std::u16string_view stepText, const ColourPair& colours,
                                     const TagTemplate& tags) {
    const std::u16string_view text = TrimBlanks(input);
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("ComposeGradientMarkup: text longer than 32-bit positions can count");
    const auto n = static_cast<std::int32_t>(text.size());
    if (n == 0)
        return {};
    const std::int32_t k = EffectiveStep(stepText, n);

    // With both ends in 0..255 every unit colour is too, so every code has six digits.
    const bool byteColours = IsByte(colours.start) && IsByte(colours.end);
    const std::size_t frame = tags.Open.size() + tags.Middle.size() + tags.Close.size();
    std::size_t size = 0;
    {
        ColourStepper colour(colours, k, n);
        ForEachUnit(text, k, [&](const Unit& unit) {
            size += unit.text.size();
            if (IsRaw(unit.text))
                return;
            if (byteColours) {
                size += frame + 6;
            } else {
                colour.MoveTo(unit.position);
                size += frame + CodeLength(colour.Red(), colour.Green(), colour.Blue());
            }
        });
    }

    std::u16string markup;
    WriteExactly(markup, size, [&](char16_t* out) {
        ColourStepper colour(colours, k, n);
        UnitHead head(tags);
        const Padded close(tags.Close);
        ForEachUnit(text, k, [&](const Unit& unit) {
            if (IsRaw(unit.text)) {
                out = Put(out, unit.text.data(), unit.text.size());
                return;
            }
            colour.MoveTo(unit.position);
            head.SetColour(colour.Red(), colour.Green(), colour.Blue());
            out = PutBlocks(out, head.data(), head.size());
            out = Put(out, unit.text.data(), unit.text.size());
            out = PutBlocks(out, close.data(), close.length);
        });
    });
    return markup;
}

} // namespace velmorant
