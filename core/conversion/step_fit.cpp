#include "core/conversion/step_fit.h"

#include "core/colour/colour_sets.h"
#include "core/markup/escaping.h"
#include "core/text/code_points.h"
#include "core/text/graphemes.h"
#include "core/text/text.h"
#include "core/text/units.h"

#include <algorithm>
#include <optional>

namespace velmorant {

namespace {

constexpr std::uint64_t Digits(std::uint32_t v) { return v >= 100 ? 3 : v >= 10 ? 2 : 1; }

} // namespace

OutputLengths::OutputLengths(std::u16string_view text, const Gradient& gradient, const OutputShape& shape,
                             const LengthRule& rule, const UnitRule& units)
    : text_(text), units_(units), gradient_(gradient), merge_(shape.form.merge),
      needColours_(merge_ || shape.form.code == CodeStyle::Decimal || shape.form.code == CodeStyle::Named),
      code_(shape.form.code), fixed_(CountLength(rule, shape.style.before) + CountLength(rule, shape.style.after)),
      frame_(CountLength(rule, shape.tags.Open) + CountLength(rule, shape.tags.Middle) +
             CountLength(rule, shape.tags.Close) + CountLength(rule, shape.form.eachUnit)),
      hexDigits_(CountLength(rule, code_ == CodeStyle::SectionDigits ? u"\u00a70\u00a70\u00a70\u00a70\u00a70\u00a70"
                                                                     : u"000000")),
      digit_(rule.weight(U'0')), blanksBefore_(text.size() + 1) {
    set_ = code_ == CodeStyle::Named ? shape.form.colours : nullptr;
    needColours_ = needColours_ && (code_ != CodeStyle::Named || set_);
    if (set_) {
        hexDigits_ = 0;
        for (const NamedCode& member : set_->colours)
            codeLengths_.push_back(CountLength(rule, member.code));
    }
    // Escapes depend on the characters alone, never on the step.
    TextEscaper escaper(shape.form);
    LengthCounter counted(rule);
    if (escaper.Active()) {
        const std::uint64_t head = CountLength(rule, shape.tags.Open) + hexDigits_ +
                                   CountLength(rule, shape.tags.Middle) + CountLength(rule, shape.form.eachUnit);
        // The text is escaped here as if one unit; a "]" that starts a unit at the
        // step measured is given back its reopened tag then, a code block's runs kept.
        tagText_ = shape.form.escaping == Escaping::TagText;
        codeBlock_ = shape.form.escaping == Escaping::CodeBlock;
        reopen_ = rule.weight(U']') + head;
        // The restated colour code stands in as a piece known by its address; a
        // named code's length depends on the unit, so where it is restated is kept.
        static constexpr char16_t kHead[] = u"#";
        if (set_)
            restatedBefore_.assign(text.size() + 1, 0);
        std::size_t at = 0; // char16s of text handed over so far
        const auto count = [&](std::u16string_view piece) {
            if (piece.data() != kHead) {
                counted.Add(piece);
                breakTags_ += !piece.empty() && piece.data() == shape.form.tagBreak.data();
                if (piece.data() >= text.data() && piece.data() < text.data() + text.size())
                    at = static_cast<std::size_t>(piece.data() - text.data()) + piece.size();
                return;
            }
            fixed_ += head;
            if (set_)
                ++restatedBefore_[at];
        };
        escaper.Write(text, kHead, count);
        escaper.Finish(count);
        for (std::size_t i = 0; set_ && i < text.size(); ++i)
            restatedBefore_[i + 1] += restatedBefore_[i];
        if (shape.form.escaping == Escaping::Essentials)
            firstRestated_ = 2 * head;
        // A style tag of the break's name is one more use of it.
        if (const std::u16string_view tag = shape.form.tagBreak.substr(0, shape.form.tagBreak.find(u']') + 1);
            breakTags_ > 0 && !tag.empty())
            for (std::size_t at = shape.style.before.find(tag); at != std::u16string::npos;
                 at = shape.style.before.find(tag, at + 1))
                ++breakTags_;
    } else {
        counted.Add(text);
    }
    fixed_ += counted.Total();
    // Where units of only white space go untagged, they count as blanks do.
    const auto blank = units.whiteSpace ? IsAsciiWhiteSpace : IsBlank;
    for (std::size_t i = 0; i < text.size(); ++i)
        blanksBefore_[i + 1] = blanksBefore_[i] + (blank(text[i]) ? 1 : 0);
    if (units.graphemes) {
        clusterAt_.push_back(0);
        ForEachGrapheme(text, [&](std::u16string_view cluster) {
            clusterAt_.push_back(static_cast<std::uint32_t>(cluster.data() + cluster.size() - text.data()));
        });
    }
    if (text.empty() || !needColours_ || units.endStops)
        return;
    const auto n = static_cast<std::int32_t>(units.graphemes ? clusterAt_.size() - 1 : text.size());
    colourAt_.resize(static_cast<std::size_t>(n));
    GradientWalker walker(gradient, 1, n);
    std::optional<NearestCode> nearest;
    if (set_)
        nearest.emplace(*set_);
    for (std::int32_t position = 1; position <= n; ++position) {
        walker.MoveTo(position);
        colourAt_[static_cast<std::size_t>(position - 1)] = ColourFor(walker, nearest);
    }
}

// The walker's colour as a measure compares it: 0xRRGGBB, or the index of the
// nearest member for named codes.
std::uint32_t OutputLengths::ColourFor(const GradientWalker& walker, std::optional<NearestCode>& nearest) const {
    if (nearest)
        return static_cast<std::uint32_t>(&(*nearest)(walker.Colour()) - set_->colours.data());
    return static_cast<std::uint32_t>(Pack(walker.Colour()));
}

// IsRawUnit for text[from, end) without looking at every character.
bool OutputLengths::IsRaw(std::size_t from, std::size_t end) const {
    if (end - from == 1 && IsRawAlone(text_[from]))
        return true;
    return static_cast<std::size_t>(blanksBefore_[end] - blanksBefore_[from]) == end - from;
}

template <bool Graphemes, class Visit> void OutputLengths::ForEachRange(std::int32_t k, Visit&& visit) const {
    if constexpr (!Graphemes) {
        ForEachUnit(text_, k, [&](const Unit& unit) {
            const auto from = static_cast<std::size_t>(unit.text.data() - text_.data());
            visit(from, from + unit.text.size(), unit.position);
        });
    } else {
        const std::size_t clusters = clusterAt_.size() - 1, step = static_cast<std::size_t>(k);
        for (std::size_t c = 0; c < clusters; c += step)
            visit(std::size_t{clusterAt_[c]}, std::size_t{clusterAt_[std::min(c + step, clusters)]},
                  static_cast<std::int32_t>(c + 1));
    }
}

std::uint64_t OutputLengths::CodeLength(std::uint32_t colour) const {
    if (set_)
        return codeLengths_[colour];
    if (code_ != CodeStyle::Decimal)
        return hexDigits_;
    return digit_ * (Digits(colour >> 16) + Digits(colour >> 8 & 0xFF) + Digits(colour & 0xFF) + 2);
}

CodeMeasure OutputLengths::Measure(std::int32_t k) const {
    if (text_.empty())
        return {fixed_, 0, breakTags_};
    if (units_.graphemes || units_.endStops || set_ || tagText_ || codeBlock_ || firstRestated_ > 0 ||
        !restatedBefore_.empty())
        return units_.graphemes ? MeasureBy<true>(k) : MeasureBy<false>(k);
    // The window's rule, the one --fit scans most: its own loop, kept lean.
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
        if (!needColours_) {
            length += frame_ + hexDigits_;
            ++tags;
            return;
        }
        const std::uint32_t colour = colourAt_[static_cast<std::size_t>(unit.position - 1)];
        if (merge_ && runOpen && colour == runColour)
            return;
        runOpen = true;
        runColour = colour;
        ++tags;
        length += frame_ + CodeLength(colour);
    });
    return {length, tags, breakTags_};
}

template <bool Graphemes> CodeMeasure OutputLengths::MeasureBy(std::int32_t k) const {
    // In units of clusters CR LF alone is raw too.
    const auto isRaw = [&](std::size_t from, std::size_t end) {
        return IsRaw(from, end) || (Graphemes && end - from == 2 && IsLineBreakPair(text_, from));
    };
    // With end stops the colours hang on the step: walked for it, as the writer walks them.
    std::optional<GradientWalker> walker;
    std::optional<NearestCode> nearest;
    if (set_)
        nearest.emplace(*set_);
    std::int32_t firstUnit = 0;
    if (needColours_ && units_.endStops) {
        std::int32_t index = 0, first = -1, last = 0;
        ForEachRange<Graphemes>(k, [&](std::size_t from, std::size_t end, std::int32_t) {
            if (!isRaw(from, end)) {
                first = first < 0 ? index : first;
                last = index;
            }
            ++index;
        });
        firstUnit = std::max(first, 0);
        walker.emplace(gradient_, 1, std::max(last - firstUnit, 1), 0);
    }
    std::uint64_t length = fixed_;
    if (firstRestated_ > 0) {
        // The first unit's code and the next unit's again, when the "&"s that end
        // the first unit wait for the next unit that is not all "&".
        enum { First, Waiting, Done } state = First;
        ForEachRange<Graphemes>(k, [&](std::size_t from, std::size_t end, std::int32_t) {
            const std::u16string_view unit = text_.substr(from, end - from);
            if (state == First)
                state = unit.back() == u'&' ? Waiting : Done;
            else if (state == Waiting && unit.find_first_not_of(u'&') != std::u16string_view::npos) {
                if (!isRaw(from, end))
                    length += firstRestated_;
                state = Done;
            }
        });
    }
    std::uint64_t tags = 0;
    bool runOpen = false;
    std::uint32_t runColour = 0;
    std::int32_t index = 0;
    ForEachRange<Graphemes>(k, [&](std::size_t from, std::size_t end, std::int32_t position) {
        const std::int32_t place = index++ - firstUnit;
        if (isRaw(from, end)) {
            runOpen = runOpen && codeBlock_;
            return;
        }
        // A "]" starting a unit starts its tag as it is.
        if (tagText_ && from > 0 && text_[from] == u']')
            length -= reopen_;
        if (!needColours_) {
            length += frame_ + hexDigits_;
            ++tags;
            return;
        }
        std::uint32_t colour = 0;
        if (walker) {
            walker->MoveTo(place);
            colour = ColourFor(*walker, nearest);
        } else {
            colour = colourAt_[static_cast<std::size_t>(position - 1)];
        }
        // Each restated code inside the unit is the unit's own.
        if (!restatedBefore_.empty())
            length += (restatedBefore_[end] - restatedBefore_[from]) * codeLengths_[colour];
        if (merge_ && runOpen && colour == runColour)
            return;
        runOpen = true;
        runColour = colour;
        ++tags;
        length += frame_ + CodeLength(colour);
    });
    return {length, tags, breakTags_};
}

LimitVerdict OverLimits(const CodeMeasure& code, std::optional<std::uint64_t> length,
                        std::optional<std::uint64_t> tags) {
    return {length && code.length > *length, tags && code.MostOfOneTag() > *tags};
}

StepFit FitStep(const OutputLengths& lengths, std::int32_t n, std::uint64_t limit, std::uint64_t maxTags) {
    StepFit fit;
    fit.length = UINT64_MAX;
    for (std::int32_t k = 1; k <= std::max(1, n - 1); ++k) {
        const CodeMeasure measure = lengths.Measure(k);
        if (measure.length <= limit && measure.MostOfOneTag() <= maxTags)
            return {k, measure.length, measure.MostOfOneTag(), k};
        if (measure.length < fit.length) {
            fit.length = measure.length;
            fit.tags = measure.MostOfOneTag();
            fit.shortestStep = k;
        }
    }
    return fit;
}

} // namespace velmorant
