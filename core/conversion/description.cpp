#include "core/conversion/description.h"

#include "core/colour/colour_names.h"
#include "core/colour/colour_text.h"
#include "core/colour/css_colour.h"
#include "core/colour/mixing.h"
#include "core/colour/palettes.h"
#include "core/colour/spaces.h"
#include "core/conversion/choices.h"
#include "core/conversion/conversion.h"
#include "core/conversion/destinations.h"
#include "core/conversion/settings.h"
#include "core/markup/formats.h"
#include "core/text/utf8.h"

#include <array>
#include <cstdio>
#include <optional>
#include <vector>

namespace velmorant {

std::string JsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string JsonQuoted(std::u16string_view text) { return JsonQuoted(EncodeUtf8(text)); }

namespace {

template <class Text> std::string Quoted(const Text& text) { return JsonQuoted(text); }

// The page's words: ,"caption":{"en":…,"zh":…},"help":{…}; an empty English help is the summary.
std::string Worded(std::optional<Words> caption, Words help, std::string_view summary) {
    const auto both = [](std::string_view en, std::string_view zh) {
        return "{\"en\":" + Quoted(en) + ",\"zh\":" + Quoted(zh) + "}";
    };
    return (caption ? ",\"caption\":" + both(caption->en, caption->zh) : std::string()) +
           ",\"help\":" + both(help.en.empty() ? summary : help.en, help.zh);
}

template <class List, class Write> std::string Array(const List& list, Write write) {
    std::string out = "[";
    for (const auto& item : list) {
        if (out.size() > 1)
            out += ',';
        out += write(item);
    }
    out += ']';
    return out;
}

} // namespace

std::string DescriptionJson() {
    const ConversionRequest startup = ConversionRequest::Startup();
    const std::string formats = Array(Formats(), [](const Format& f) {
        std::string styles;
        const std::pair<const char*, const StyleSpelling&> spelled[] = {
            {"bold", f.bold},     {"italic", f.italic}, {"underline", f.underline},
            {"strike", f.strike}, {"size", f.size},     {"font", f.font}};
        for (const auto& [name, spelling] : spelled)
            if (spelling.Available())
                styles.append(styles.empty() ? "" : ",").append(Quoted(std::string_view(name)));
        return "{\"name\":" + Quoted(f.name) + ",\"summary\":" + Quoted(f.summary) +
               Worded(f.caption, f.help, f.summary) + ",\"open\":" + Quoted(f.open) +
               ",\"middle\":" + Quoted(f.middle) + ",\"close\":" + Quoted(f.close) +
               ",\"window\":" + (f.window ? "true" : "false") + ",\"styles\":[" + styles + "]}";
    });
    const std::string blends = Array(Spaces(), [](Space s) {
        return "{\"name\":" + Quoted(SpaceName(s)) + ",\"polar\":" + (IsPolar(s) ? "true" : "false") +
               ",\"summary\":" + Quoted(BlendSummary(s)) + Worded(std::nullopt, BlendHelp(s), BlendSummary(s)) + "}";
    });
    const std::string hues = Array(HueMethods(), [](HueMethod h) {
        return "{\"name\":" + Quoted(HueMethodName(h)) + ",\"summary\":" + Quoted(HueMethodSummary(h)) +
               Worded(HueMethodCaption(h), HueMethodHelp(h), HueMethodSummary(h)) + "}";
    });
    const std::string palettes = Array(Palettes(), [](const Palette& p) {
        return "{\"name\":" + Quoted(p.name) + ",\"colours\":" + Quoted(p.stops) + ",\"blend\":" + Quoted(p.blend) +
               ",\"summary\":" + Quoted(p.description) +
               ",\"background\":" + Quoted(std::u16string_view(u"#" + ColourCode(p.background))) +
               Worded(p.caption, p.help, p.description) + "}";
    });
    const std::string destinations = Array(Destinations(), [](const Destination& d) {
        char background[8];
        std::snprintf(background, sizeof background, "#%06x", static_cast<unsigned>(d.background));
        return "{\"name\":" + Quoted(d.name) + Worded(d.caption, d.help, d.help.en) +
               ",\"format\":" + Quoted(d.format) + ",\"count\":" + Quoted(d.count->name) +
               ",\"length\":" + (d.length != kNoLength ? std::to_string(d.length) : std::string("null")) +
               ",\"tags\":" + (d.tagsPerName ? std::to_string(*d.tagsPerName) : std::string("null")) +
               ",\"background\":" + Quoted(std::string_view(background)) + ",\"source\":" + Quoted(d.source) + "}";
    });
    const auto words = [](const Words& w) { return "{\"en\":" + Quoted(w.en) + ",\"zh\":" + Quoted(w.zh) + "}"; };
    const std::string settings = Array(SettingRows(), [&](const Setting& row) {
        std::string out = "{\"name\":" + Quoted(row.name) + ",\"kind\":" + Quoted(SettingKindName(row.kind)) +
                          ",\"group\":" + Quoted(SettingGroupName(row.group));
        if (!row.list.empty())
            out += ",\"list\":" + Quoted(row.list);
        if (!row.argument.empty())
            out += ",\"argument\":" + Quoted(row.argument);
        return out + ",\"startup\":" + Quoted(StartupText(row)) + ",\"caption\":" + words(row.caption) +
               ",\"help\":" + words(row.help) + "}";
    });
    const auto text = [](std::u16string_view t) { return Quoted(t); };
    std::string colourNames = "[";
    for (std::size_t i = 0; i < NamedColourCount(); ++i)
        colourNames += (i ? "," : "") + Quoted(NamedColourName(i));
    colourNames += ']';
    const std::string blend = Quoted(BlendText(startup.gradient.blend));
    const std::string colours =
        Array(startup.gradient.stops, [](const Rgb& c) { return Quoted(std::u16string_view(ColourCode(c))); });
    return "{\"formats\":" + formats + ",\"blends\":" + blends + ",\"hueMethods\":" + hues +
           ",\"palettes\":" + palettes + ",\"destinations\":" + destinations +
           ",\"startup\":{\"text\":" + Quoted(kStartupText) + ",\"format\":" + Quoted(startup.format->name) +
           ",\"colours\":" + colours + ",\"blend\":" + blend + ",\"step\":" + Quoted(startup.step) +
           ",\"size\":" + Quoted(startup.styles.size) + ",\"font\":" + Quoted(startup.styles.font) +
           ",\"merge\":" + (startup.merge ? "true" : "false") + "},\"sizes\":" + Array(SizeChoices(), text) +
           ",\"fonts\":" + Array(FontChoices(), text) + ",\"goals\":" + Array(ReadableChoices(), text) +
           ",\"settings\":" + settings + ",\"colourNames\":" + colourNames + "}";
}

std::string SettingProblemsJson(std::span<const SettingProblem> problems) {
    return Array(problems, [](const SettingProblem& p) {
        // A bound passed is said with the problem; a value is repeated only as far as it is recognised.
        const std::size_t bound = p.problem == "too-many-stops" ? kMaxStops
                                  : p.problem == "too-long"     ? kMaxSettingLength
                                                                : 0;
        return "{\"setting\":" + Quoted(p.setting) + ",\"problem\":" + Quoted(p.problem) +
               ",\"value\":" + Quoted(std::u16string_view(p.value).substr(0, 40)) +
               (p.stop ? ",\"stop\":" + std::to_string(*p.stop) : "") +
               (bound ? ",\"bound\":" + std::to_string(bound) : "") + "}";
    });
}

} // namespace velmorant
