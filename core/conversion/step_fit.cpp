#include "core/conversion/step_fit.h"

#include "core/colour/colour_sets.h"
#include "core/markup/escaping.h"
#include "core/text/code_points.h"
#include "core/text/text.h"
#include "core/text/units.h"

#include <algorithm>

namespace velmorant {

namespace {

constexpr std::uint64_t Digits(std::uint32_t v) { return v >= 100 ? 3 : v >= 10 ? 2 : 1; }

} // namespace

OutputLengths::OutputLengths(std::u16string_view text, const Gradient& gradient, const OutputShape& shape,
                             const LengthRule& rule)
    : text_(text), merge_(shape.form.merge), code_(shape.form.code),
      fixed_(CountLength(rule, shape.style.before) + CountLength(rule, shape.style.after)),
      frame_(CountLength(rule, shape.tags.Open) + CountLength(rule, shape.tags.Middle) +
             CountLength(rule, shape.tags.Close) + CountLength(rule, shape.form.eachUnit)),
      hexDigits_(CountLength(rule, code_ == CodeStyle::SectionDigits ? u"\u00a70\u00a70\u00a70\u00a70\u00a70\u00a70"
                                                                     : u"000000")),
      digit_(rule.weight(U'0')), blanksBefore_(text.size() + 1) {
    const ColourSet* set = code_ == CodeStyle::Named ? shape.form.colours : nullptr;
    if (set) {
        hexDigits_ = 0;
        for (const NamedCode& member : set->colours)
            codeLengths_.push_back(CountLength(rule, member.code));
    }
    // Escapes depend on the characters alone, never on the step.
    TextEscaper escaper(shape.form);
    LengthCounter counted(rule);
    if (escaper.Active()) {
        const std::uint64_t head = CountLength(rule, shape.tags.Open) + hexDigits_ +
                                   CountLength(rule, shape.tags.Middle) + CountLength(rule, shape.form.eachUnit);
        // The restated colour code stands in as a piece known by its address; a
        // named code's length depends on the unit, so where it is restated is kept.
        static constexpr char16_t kHead[] = u"#";
        if (set)
            restatedBefore_.assign(text.size() + 1, 0);
        std::size_t at = 0; // char16s of text handed over so far
        escaper.Write(text, kHead, [&](std::u16string_view piece) {
            if (piece.data() != kHead) {
                counted.Add(piece);
                if (piece.data() >= text.data() && piece.data() < text.data() + text.size())
                    at = static_cast<std::size_t>(piece.data() - text.data()) + piece.size();
                return;
            }
            fixed_ += head;
            if (set)
                ++restatedBefore_[at];
        });
        for (std::size_t i = 0; set && i < text.size(); ++i)
            restatedBefore_[i + 1] += restatedBefore_[i];
    } else {
        counted.Add(text);
    }
    fixed_ += counted.Total();
    // Where units of only white space go untagged, they count as blanks do.
    const auto blank = shape.form.rawWhiteSpace ? IsAsciiWhiteSpace : IsBlank;
    for (std::size_t i = 0; i < text.size(); ++i)
        blanksBefore_[i + 1] = blanksBefore_[i] + (blank(text[i]) ? 1 : 0);
    // Only merging, decimal and named codes need the colours; six hex digits are six for every colour.
    if (text.empty() || !(merge_ || code_ == CodeStyle::Decimal || set))
        return;
    const auto n = static_cast<std::int32_t>(text.size());
    colourAt_.resize(text.size());
    GradientWalker walker(gradient, 1, n);
    std::optional<NearestCode> nearest;
    if (set)
        nearest.emplace(*set);
    for (std::int32_t position = 1; position <= n; ++position) {
        walker.MoveTo(position);
        // A named code: the index of the nearest member, which the unit wears.
        colourAt_[static_cast<std::size_t>(position - 1)] =
            nearest ? static_cast<std::uint32_t>(&(*nearest)(walker.Colour()) - set->colours.data())
                    : static_cast<std::uint32_t>(walker.Red() << 16 | walker.Green() << 8 | walker.Blue());
    }
}

// IsRawUnit for text[from, end) without looking at every character.
bool OutputLengths::IsRaw(std::size_t from, std::size_t end) const {
    if (end - from == 1 && IsRawAlone(text_[from]))
        return true;
    return static_cast<std::size_t>(blanksBefore_[end] - blanksBefore_[from]) == end - from;
}

CodeMeasure OutputLengths::Measure(std::int32_t k) const {
    const auto n = static_cast<std::int32_t>(text_.size());
    if (n == 0)
        return {fixed_, 0};
    const bool needColours = !colourAt_.empty();
    std::uint64_t length = fixed_;
    std::uint64_t tags = 0;
    bool runOpen = false;
    std::uint32_t runColour = 0;
    ForEachUnit(text_, k, [&](const Unit& unit) {
        const auto from = static_cast<std::size_t>(unit.text.data() - text_.data());
        if (IsRaw(from, from + unit.text.size())) {
            runOpen = false;
            return;
        }
        if (!needColours) {
            length += frame_ + hexDigits_;
            ++tags;
            return;
        }
        const std::uint32_t colour = colourAt_[static_cast<std::size_t>(unit.position - 1)];
        // Each restated code inside the unit is the unit's own.
        if (!restatedBefore_.empty())
            length += (restatedBefore_[from + unit.text.size()] - restatedBefore_[from]) * codeLengths_[colour];
        if (merge_ && runOpen && colour == runColour)
            return;
        runOpen = true;
        runColour = colour;
        ++tags;
        length +=
            frame_ + (code_ == CodeStyle::Named ? codeLengths_[colour]
                      : code_ != CodeStyle::Decimal
                          ? hexDigits_
                          : digit_ * (Digits(colour >> 16) + Digits(colour >> 8 & 0xFF) + Digits(colour & 0xFF) + 2));
    });
    return {length, tags};
}

LimitVerdict OverLimits(const CodeMeasure& code, std::optional<std::uint64_t> length,
                        std::optional<std::uint64_t> tags) {
    return {length && code.length > *length, tags && code.tags > *tags};
}

StepFit FitStep(const OutputLengths& lengths, std::int32_t n, std::uint64_t limit, std::uint64_t maxTags) {
    StepFit fit;
    fit.length = UINT64_MAX;
    for (std::int32_t k = 1; k <= std::max(1, n - 1); ++k) {
        const CodeMeasure measure = lengths.Measure(k);
        if (measure.length <= limit && measure.tags <= maxTags)
            return {k, measure.length, measure.tags, k};
        if (measure.length < fit.length) {
            fit.length = measure.length;
            fit.tags = measure.tags;
            fit.shortestStep = k;
        }
    }
    return fit;
}

} // namespace velmorant
