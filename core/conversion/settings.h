#pragma once
// Every setting a front end offers, one row each: its name, what kind of value it
// takes, its start-up value, a caption and a line of help in English and Chinese,
// and how it changes the request. The CLI's options and help, the module's setter,
// the description and so the page, the completion and the manual all come from
// these rows: a new setting is one more row.

#include "core/colour/css_colour.h"
#include "core/conversion/conversion.h"
#include "core/text/words.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmorant {

// What the settings fill: the request, and the limits that choose its step.
struct Settings {
    ConversionRequest request = ConversionRequest::Startup();
    std::optional<std::uint64_t> fit;     // largest code, in the request's count
    std::optional<std::uint64_t> maxTags; // most colour tags the code may open
};

// The limits that hold: those given, else the destination's.
std::optional<std::uint64_t> LengthLimit(const Settings& settings);
std::optional<std::uint64_t> TagLimit(const Settings& settings);

enum class SettingKind {
    Colour, // one CSS colour
    Stops,  // two or more CSS colours, each with an optional position
    Blend,  // a blend as color-mix() names it
    List,   // a name from one of the description's lists
    Text,   // any text without a line break
    Step,   // characters per colour, read as the window reads its step box
    Limit,  // a whole number, none when empty
    Flag,   // on or off
};

// Where a setting sits in the help and on the page.
enum class SettingGroup { Colours, Code, Styles };

// Why a value was not taken, by name, so each front end words it its own way.
struct SettingProblem {
    std::string setting; // the name as written
    std::string problem; // "unknown-setting", "not-colour", "not-stop", ...
    std::u16string value;
    std::optional<std::int32_t> stop; // the stop that could not be read, from 0
    friend bool operator==(const SettingProblem&, const SettingProblem&) = default;
};

struct Setting {
    std::string_view name; // the CLI's long option, the module's and the page's key
    SettingKind kind;
    SettingGroup group;
    std::string_view list;     // List: which of the description's lists
    std::string_view argument; // the CLI's word for the value; none for flags
    Words caption, help;
    // Takes a value into settings, or says why not (the setting's name left empty).
    std::optional<SettingProblem> (*apply)(Settings&, std::u16string_view value);
    // The value as the row would take it back.
    std::u16string (*read)(const Settings&);
};

// Every row, in the order they apply: a format or destination's template before
// the texts that edit it, a palette before the colours and blend that override it.
std::span<const Setting> SettingRows();
const Setting* FindSetting(std::string_view name);

// The row's value in the start-up settings.
std::u16string StartupText(const Setting& setting);

// The longest value a line may give one setting, in char16s: room for kMaxStops
// stops of 64 characters. A longer value is refused unread, so a stored or linked
// value of megabytes costs nothing.
inline constexpr std::size_t kMaxSettingLength = kMaxStops * 64;

// Applies "name=value" lines (LF or CRLF, empty lines skipped; the value is all
// after the first '=') in the rows' order, whatever the lines' order; a later
// line of one name wins. Lines that cannot apply change nothing and come back.
std::vector<SettingProblem> ApplySettings(Settings& settings, std::u16string_view lines);

// The same for values already split from their names, such as a command line's,
// which may hold line breaks.
struct SettingValue {
    const Setting* setting;
    std::u16string value;
};
std::vector<SettingProblem> ApplySettings(Settings& settings, std::span<const SettingValue> values);

// One English sentence for a problem, the value put in quotes by quote (a shell's
// quoting, say, so that no control character reaches a terminal).
std::string SettingProblemText(const SettingProblem& problem, std::string (*quote)(std::string_view) = nullptr);

// The kind as the description names it: "colour", "stops", ...
std::string_view SettingKindName(SettingKind kind);
std::string_view SettingGroupName(SettingGroup group);

} // namespace velmorant
