#pragma once
// Everything the front ends list, as one JSON description: formats, blends,
// palettes, start-up values, sizes and fonts. The page reads it from the module;
// the CLI's help, completion and manual list the same rows.

#include "core/conversion/settings.h"

#include <span>
#include <string>

namespace velmorant {

std::string DescriptionJson();

// A JSON string of UTF-8 text: quotes, backslashes and controls escaped.
std::string JsonQuoted(std::string_view text);
std::string JsonQuoted(std::u16string_view text);

// Problems as the module answers them: [{"setting":…,"problem":…,"value":…,"stop":n}],
// "stop" only where one stop is at fault.
std::string SettingProblemsJson(std::span<const SettingProblem> problems);

} // namespace velmorant
