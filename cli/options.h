#pragma once
// The command line as values: every setting starts where the window starts.

#include "core/conversion/conversion.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmorant::cli {

struct Options {
    bool help = false; // wins over everything else but a usage error
    bool version = false;
    // The pieces of the conversion request, each starting at the window's value.
    // Two stops are the window's colour pair; --colours gives more.
    Gradient gradient = ConversionRequest::Startup().gradient;
    const Format* format = ConversionRequest::Startup().format;
    // Replace one text of the template, whichever forum dialect was chosen.
    std::optional<std::u16string> open;
    std::optional<std::u16string> middle;
    std::optional<std::u16string> close;
    std::u16string step = ConversionRequest::Startup().step;
    StyleOptions styles = ConversionRequest::Startup().styles;
    bool merge = ConversionRequest::Startup().merge;
    // Largest output, in code points, that --fit chooses a step for.
    std::optional<std::uint64_t> fit;
    // Most colour tags the code may open.
    std::optional<std::uint64_t> maxTags;
    // --forum: its limits, for those of --fit and --max-tags not given.
    std::optional<std::uint64_t> forumLength, forumTags;
    // Read a code back instead of writing one.
    bool decode = false;
    // --list: the names of one list, one a line.
    std::optional<std::string> list;
    bool stats = false;
    // Standard input when empty.
    std::optional<std::string> file;
    // Long names of the options given, in order: for the notes about ones that do not apply.
    std::vector<std::string_view> given;

    // The request the pieces make: the dialect's template with the replacements on
    // top (none for ansi, whose escapes are not a template to edit).
    ConversionRequest Request() const;
};

struct UsageError {
    std::string message;
};

// args excludes the program name.
std::variant<Options, UsageError> ParseOptions(std::span<const std::string_view> args);

// The --help text, its defaults taken from the start-up request.
std::string Usage();

// The lines --list=WHAT prints, or nothing for an unknown list.
std::optional<std::string> ListText(std::string_view what);

} // namespace velmorant::cli
