#pragma once
// The command line as values: every setting starts where the window starts.

#include "core/conversion/settings.h"

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
    // Every setting, from the core's table, starting where the window starts.
    Settings settings;
    // Read a code back instead of writing one.
    bool decode = false;
    // --list: the names of one list, one a line.
    std::optional<std::string> list;
    bool stats = false;
    // Standard input when empty.
    std::optional<std::string> file;
    // Names of the settings given, in order: for the notes about ones that do not apply.
    std::vector<std::string_view> given;

    const ConversionRequest& Request() const { return settings.request; }
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
