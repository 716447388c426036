#include "core/markup/gradient_markup.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>

#include "core/colour/colour_sets.h"
#include "core/markup/escaping.h"
#include "core/text/graphemes.h"
#include "core/text/text.h"
#include "core/text/text_to_number.h"
#include "core/text/units.h"

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

// A lone character above U+0020 is never raw: spares the call for almost every unit.
inline bool IsRaw(std::u16string_view unit) { return !(unit.size() == 1 && unit[0] > u' ') && IsRawUnit(unit); }

// The pieces the loop owns (head and Close) are padded by this many units, so
// that they can be copied in fixed-size blocks.
constexpr std::size_t kSlack = 8;

// A text with kSlack readable units behind it.
struct Padded {
    explicit Padded(std::u16string_view text) : storage(text), size(text.size()) { storage.append(kSlack, u'\0'); }
    std::u16string_view view() const { return {storage.data(), size}; }
    std::u16string storage;
    std::size_t size;
};

// "0;" to "255;" for the decimal form.
constexpr std::array<std::array<char16_t, 4>, 256> MakeDecimals() {
    std::array<std::array<char16_t, 4>, 256> table{};
    for (int v = 0; v < 256; ++v) {
        int at = 0;
        if (v >= 100)
            table[v][at++] = static_cast<char16_t>(u'0' + v / 100);
        if (v >= 10)
            table[v][at++] = static_cast<char16_t>(u'0' + v / 10 % 10);
        table[v][at++] = static_cast<char16_t>(u'0' + v % 10);
        table[v][at] = u';';
    }
    return table;
}
constexpr auto Decimals = MakeDecimals();

// Open, code and Middle kept as one piece, rebuilt only when the colour changes.
class UnitHead {
public:
    UnitHead(const TagTemplate& tags, const MarkupForm& form)
        : head_(tags.Open), middle_(tags.Middle + form.eachUnit), codeAt_(tags.Open.size()), code_(form.code) {}

    // Followed by kSlack readable units. member: the set's member the colour was
    // taken from, for named codes.
    std::u16string_view For(const Rgb& colour, const NamedCode* member = nullptr) {
        if (valid_ && colour == colour_ && member == member_)
            return {head_.data(), size_};
        valid_ = true;
        colour_ = colour;
        member_ = member;
        head_.resize(codeAt_);
        if (member) {
            head_.append(member->code);
        } else if (code_ == CodeStyle::Decimal) {
            // Terminal colours are always bytes: "R;G;B".
            for (const Channel channel : {colour.red, colour.green, colour.blue}) {
                const auto& digits = Decimals[static_cast<std::uint8_t>(channel)];
                head_.append(digits.data(), channel >= 100 ? 4 : channel >= 10 ? 3 : 2);
            }
            head_.pop_back();
        } else {
            // Outside 0..255 HexText has three or four digits, so HexPair gives nothing.
            for (const Channel channel : {colour.red, colour.green, colour.blue})
                if (channel >= 0 && channel <= 255)
                    AppendHex(HexPairs[channel]);
        }
        head_.append(middle_);
        size_ = head_.size();
        head_.append(kSlack, u'\0');
        return {head_.data(), size_};
    }

private:
    void AppendHex(const std::array<char16_t, 2>& pair) {
        for (const char16_t digit : pair) {
            if (code_ == CodeStyle::SectionDigits)
                head_.push_back(u'\u00a7');
            head_.push_back(code_ == CodeStyle::HexLower && digit >= u'A' ? static_cast<char16_t>(digit + 32) : digit);
        }
    }

    std::u16string head_;
    std::size_t size_ = 0;
    std::u16string middle_; // Middle and the styles each unit repeats
    std::size_t codeAt_;
    CodeStyle code_;
    Rgb colour_;
    const NamedCode* member_ = nullptr;
    bool valid_ = false;
};

// Gathers the many small pieces of the loop and hands them to the sink in
// blocks: one virtual call per block instead of several per unit.
class BlockWriter {
public:
    explicit BlockWriter(MarkupSink& sink) : sink_(sink) {}

    void Put(std::u16string_view piece) {
        if (piece.size() > kBlock - used_)
            return PutLong(piece);
        if (piece.size() == 1)
            block_[used_] = piece[0];
        else
            std::memcpy(block_.data() + used_, piece.data(), piece.size() * sizeof(char16_t));
        used_ += piece.size();
    }

    // Copies whole blocks of kSlack units: fixed-size moves instead of a memcpy call
    // per piece. The piece must be followed by kSlack - 1 readable units.
    void PutPadded(std::u16string_view piece) {
        if (piece.size() > kBlock - used_)
            return PutLong(piece);
        for (std::size_t at = 0; at < piece.size(); at += kSlack)
            std::memcpy(block_.data() + used_ + at, piece.data() + at, kSlack * sizeof(char16_t));
        used_ += piece.size();
    }

    void Flush() {
        if (used_ > 0)
            sink_.Write({block_.data(), used_});
        used_ = 0;
    }

private:
    // A piece larger than a block (a long unit or template) goes to the sink as it is.
    void PutLong(std::u16string_view piece) {
        Flush();
        if (piece.size() >= kBlock)
            return sink_.Write(piece);
        std::memcpy(block_.data(), piece.data(), piece.size() * sizeof(char16_t));
        used_ = piece.size();
    }

    static constexpr std::size_t kBlock = 8192;
    MarkupSink& sink_;
    std::array<char16_t, kBlock + kSlack> block_;
    std::size_t used_ = 0;
};

} // namespace

GradientText PrepareGradientText(std::u16string_view input, std::u16string_view stepText, const UnitRule& rule) {
    const std::u16string_view text = TrimBlanks(input);
    std::int32_t n = PositionCount(text);
    if (rule.graphemes)
        n = static_cast<std::int32_t>(CountGraphemes(text));
    return {text, n, n > 0 ? EffectiveStep(stepText, n) : 1, rule};
}

ColourScale ScaleOf(const GradientText& text) {
    if (!text.rule.endStops)
        return {text.length, text.step, 1, 0};
    std::int32_t index = 0, first = -1, last = 0;
    ForEachUnit(text.text, text.step, text.rule, [&](const Unit& unit) {
        if (!IsRawUnit(unit.text, text.rule)) {
            first = first < 0 ? index : first;
            last = index;
        }
        ++index;
    });
    first = std::max(first, 0);
    // One coloured unit alone wears the first stop.
    return {std::max(last - first, 1), 1, 0, first};
}

namespace {

// The unit loop, made with escaping and without, cutting by char16 or by
// cluster, placing colours by position or by unit, so that the common unescaped
// code by char16 and position pays no test per unit.
template <bool Escaped, bool Graphemes, bool EndStops>
std::size_t WriteUnits(const GradientText& text, GradientWalker& colours, std::int32_t firstUnit,
                       const TagTemplate& tags, const MarkupForm& form, MarkupSink& sink, double& largestDistance) {
    UnitHead head(tags, form);
    TextEscaper escaper(form, text.text);
    const Padded close(tags.Close);
    BlockWriter out(sink);
    std::size_t pairs = 0;
    bool runOpen = false; // a merged run whose Close is still owed
    Rgb runColour;
    const NamedCode* runMember = nullptr;
    std::optional<NearestCode> nearest;
    if (form.code == CodeStyle::Named && form.colours)
        nearest.emplace(*form.colours);
    std::int32_t index = 0; // units so far, for end stops
    const auto each = [&](const Unit& unit) {
        std::int32_t place = unit.position;
        if constexpr (EndStops)
            place = index++ - firstUnit;
        const auto putText = [&](std::u16string_view unitHead) {
            if constexpr (Escaped)
                escaper.Write(unit.text, unitHead, [&](std::u16string_view piece) { out.Put(piece); });
            else
                out.Put(unit.text);
        };
        if (IsRaw(unit.text) || (Graphemes && unit.text == u"\r\n") ||
            (text.rule.whiteSpace && std::all_of(unit.text.begin(), unit.text.end(), IsAsciiWhiteSpace))) {
            // A code block's colour holds until the next code: white space keeps the run.
            if (runOpen && form.escaping != Escaping::CodeBlock) {
                out.PutPadded(close.view());
                runOpen = false;
            }
            putText({});
            return;
        }
        colours.MoveTo(place);
        Rgb colour = colours.Colour();
        // A set's member stands for the unit's colour from here on.
        const NamedCode* member = nearest ? &(*nearest)(colour) : nullptr;
        if (member) {
            colour = UnpackRgb(member->rgb);
            largestDistance = std::max(largestDistance, nearest->LastDistance());
        }
        if (runOpen && colour == runColour && member == runMember) {
            if constexpr (Escaped)
                putText(head.For(colour, member));
            else
                out.Put(unit.text);
            return;
        }
        if (runOpen)
            out.PutPadded(close.view());
        const std::u16string_view unitHead = head.For(colour, member);
        out.PutPadded(unitHead);
        putText(unitHead);
        ++pairs;
        if (form.merge) {
            runOpen = true;
            runColour = colour;
            runMember = member;
        } else {
            out.PutPadded(close.view());
        }
    };
    if constexpr (Graphemes)
        ForEachClusterUnit(text.text, text.step, each);
    else
        ForEachUnit(text.text, text.step, each);
    if constexpr (Escaped)
        escaper.Finish([&](std::u16string_view piece) { out.Put(piece); });
    if (runOpen)
        out.PutPadded(close.view());
    out.Flush();
    return pairs;
}

template <bool Escaped>
std::size_t WriteUnitsBy(const GradientText& text, GradientWalker& colours, std::int32_t firstUnit,
                         const TagTemplate& tags, const MarkupForm& form, MarkupSink& sink, double& largest) {
    const UnitRule& rule = text.rule;
    if (!rule.graphemes && !rule.endStops)
        return WriteUnits<Escaped, false, false>(text, colours, firstUnit, tags, form, sink, largest);
    if (!rule.graphemes)
        return WriteUnits<Escaped, false, true>(text, colours, firstUnit, tags, form, sink, largest);
    if (!rule.endStops)
        return WriteUnits<Escaped, true, false>(text, colours, firstUnit, tags, form, sink, largest);
    return WriteUnits<Escaped, true, true>(text, colours, firstUnit, tags, form, sink, largest);
}

std::size_t WriteWith(const GradientText& text, GradientWalker& colours, std::int32_t firstUnit,
                      const TagTemplate& tags, const MarkupForm& form, MarkupSink& sink, double* largestDistance) {
    double largest = 0;
    const std::size_t pairs = TextEscaper(form).Active()
                                  ? WriteUnitsBy<true>(text, colours, firstUnit, tags, form, sink, largest)
                                  : WriteUnitsBy<false>(text, colours, firstUnit, tags, form, sink, largest);
    if (largestDistance)
        *largestDistance = largest;
    return pairs;
}

} // namespace

std::size_t WriteGradientMarkup(const GradientText& text, GradientWalker& colours, const TagTemplate& tags,
                                const MarkupForm& form, MarkupSink& sink, double* largestDistance) {
    return WriteWith(text, colours, text.rule.endStops ? ScaleOf(text).firstUnit : 0, tags, form, sink,
                     largestDistance);
}

std::size_t WriteGradientMarkup(const GradientText& text, const Gradient& gradient, const TagTemplate& tags,
                                const MarkupForm& form, MarkupSink& sink, double* largestDistance) {
    const ColourScale scale = ScaleOf(text);
    GradientWalker colours(gradient, scale.k, scale.n, scale.first);
    return WriteWith(text, colours, scale.firstUnit, tags, form, sink, largestDistance);
}

} // namespace velmorant
