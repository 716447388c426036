#pragma once
// Choosing the step for a length limit: the whole output's length for a step k
// is counted unit by unit without writing anything, O(n / k) per step, so an
// exact scan of every step costs O(n log n) in all.

#include "core/colour/colour_sets.h"
#include "core/colour/gradient.h"
#include "core/markup/output_shape.h"
#include "core/text/length_rule.h"
#include "core/text/units.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace velmorant {

// A code's length, in the count it was measured by, and the colour tags it opens.
struct CodeMeasure {
    std::uint64_t length = 0;
    std::uint64_t tags = 0;
    // Uses of the tag that breaks a "[" off a tag, the style tags of that name
    // included: a place that limits uses per tag name limits these too.
    std::uint64_t breakTags = 0;
    // The uses of the most used tag name, for a limit per name.
    std::uint64_t MostOfOneTag() const { return tags > breakTags ? tags : breakTags; }
};

class OutputLengths {
public:
    // text is already trimmed and must outlive this object. The shape and how units
    // are cut and coloured are everything besides the step that the length depends
    // on; rule says how a length is counted.
    OutputLengths(std::u16string_view text, const Gradient& gradient, const OutputShape& shape,
                  const LengthRule& rule = kCodePoints, const UnitRule& units = {});

    // Length of the whole output at step k (1 <= k, any k <= n - 1 or k = 1).
    std::uint64_t For(std::int32_t k) const { return Measure(k).length; }
    CodeMeasure Measure(std::int32_t k) const;

private:
    bool IsRaw(std::size_t from, std::size_t end) const;
    // Visits each unit at step k as visit(from, end, position), as the writer cuts them.
    template <bool Graphemes, class Visit> void ForEachRange(std::int32_t k, Visit&& visit) const;
    // Made once for each way of cutting, so that the unit loop has one body to inline.
    template <bool Graphemes> CodeMeasure MeasureBy(std::int32_t k) const;
    std::uint32_t ColourFor(const GradientWalker& walker, std::optional<NearestCode>& nearest) const;
    // One unit's colour code, counted: a named code's, six hex digits, or decimal digits and ';'s.
    std::uint64_t CodeLength(std::uint32_t colour) const;

    std::u16string_view text_;
    UnitRule units_;
    Gradient gradient_; // walked anew for each step with end stops
    bool merge_;
    bool needColours_; // merging, decimal and named codes: six hex digits are six for every colour
    CodeStyle code_;
    std::uint64_t fixed_;             // style tags and the escaped text: the same for every step
    std::uint64_t breakTags_ = 0;     // the same for every step too
    std::uint64_t frame_;             // Open + Middle + Close and the styles each unit repeats
    std::uint64_t hexDigits_;         // a colour code's length unless decimal
    std::uint64_t digit_;             // one decimal digit or ';' of a decimal code
    std::uint64_t firstRestated_ = 0; // two colour codes written again after a first unit ending in "&"
    // A tag whose text ends at "]": its escape of "]" depends on where units start.
    bool tagText_ = false;
    bool codeBlock_ = false;                 // a code block's colour holds over white space, so runs do too
    std::uint64_t reopen_ = 0;               // "]" and a unit's head, written before a "]" that does not start a tag
    std::vector<std::int32_t> blanksBefore_; // blanks in text[0, i), for raw units in O(1)
    // In units of clusters, where each cluster starts and then the text's end: a
    // step's units are found without segmenting the text again.
    std::vector<std::uint32_t> clusterAt_;
    // The colour of every position, 0xRRGGBB, when the length depends on colours and
    // they are placed by position: it does not depend on the step, so each step only
    // looks its units up.
    // For named codes, the index of the set's member instead.
    std::vector<std::uint32_t> colourAt_;
    const ColourSet* set_ = nullptr;            // named codes: the set the colours are taken from
    std::vector<std::uint64_t> codeLengths_;    // named codes: each member's code, counted
    std::vector<std::uint64_t> restatedBefore_; // named codes restated: restatements in text[0, i)
};

struct StepFit {
    std::optional<std::int32_t> step; // the smallest step that fits, if any
    std::uint64_t length = 0;         // its length, or the shortest length any step reaches
    std::uint64_t tags = 0;           // its colour tags, or those at the shortest step
    std::int32_t shortestStep = 1;    // the step reaching that shortest length
};

// What the limits say of a code made: over the length, over the colour tags. A
// limit not given is never passed.
struct LimitVerdict {
    bool length = false;
    bool tags = false;
};
LimitVerdict OverLimits(const CodeMeasure& code, std::optional<std::uint64_t> length,
                        std::optional<std::uint64_t> tags);

// Scans k = 1, 2, ... up to n - 1 (just 1 for n <= 2) and stops at the first
// step within both the length limit and the tag count (the most used tag name's).
StepFit FitStep(const OutputLengths& lengths, std::int32_t n, std::uint64_t limit, std::uint64_t maxTags = UINT64_MAX);

} // namespace velmorant
