#pragma once
// The command line as values: every setting starts where the window starts.

#include "codegen/colour.h"
#include "codegen/gradient_stops.h"
#include "codegen/style_wrap.h"

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
    // Two stops are the window's colour pair; --colours gives more.
    Gradient gradient{{{255, 0, 255}, {0, 255, 0}}, Blend::Srgb};
    // Dialect list index; without one the start-up template applies.
    std::optional<std::int16_t> dialect;
    // --dialect ansi: terminal colours instead of a tag template.
    bool ansi = false;
    // Replace one text of the template, whichever template was chosen.
    std::optional<std::u16string> open;
    std::optional<std::u16string> middle;
    std::optional<std::u16string> close;
    std::u16string step = u"1";
    StyleOptions styles{false, false, false, false, u"1", u"宋体"};
    bool merge = false;
    // Largest output, in code points, that --fit chooses a step for.
    std::optional<std::uint64_t> fit;
    bool stats = false;
    // Standard input when empty.
    std::optional<std::string> file;
    // Long names of the options given, in order: for the notes about ones that do not apply.
    std::vector<std::string_view> given;
};

struct UsageError {
    std::string message;
};

// args excludes the program name.
std::variant<Options, UsageError> ParseOptions(std::span<const std::string_view> args);

extern const std::string_view kUsage;

} // namespace velmorant::cli
