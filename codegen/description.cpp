#include "codegen/description.h"

#include "codegen/blend_names.h"
#include "codegen/choices.h"
#include "codegen/colour_text.h"
#include "codegen/conversion.h"
#include "codegen/formats.h"
#include "codegen/forum_limits.h"
#include "codegen/palette_names.h"
#include "codegen/utf8.h"

#include <cstdio>

namespace velmorant {

namespace {

std::string Quoted(std::string_view text) {
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

std::string Quoted(std::u16string_view text) { return Quoted(EncodeUtf8(text)); }

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
        return "{\"name\":" + Quoted(f.name) + ",\"summary\":" + Quoted(f.summary) + ",\"open\":" + Quoted(f.open) +
               ",\"middle\":" + Quoted(f.middle) + ",\"close\":" + Quoted(f.close) +
               ",\"window\":" + (f.dialect ? "true" : "false") + ",\"styles\":[" + styles + "]}";
    });
    const std::string blends = Array(BlendNames(), [](const BlendName& b) {
        return "{\"name\":" + Quoted(b.name) + ",\"summary\":" + Quoted(b.summary) + "}";
    });
    const std::string palettes = Array(PaletteNames(), [](const PaletteName& p) {
        return "{\"name\":" + Quoted(p.name) + ",\"colours\":" + Quoted(p.colours) + "}";
    });
    const std::string forums = Array(Forums(), [](const ForumLimits& f) {
        return "{\"name\":" + Quoted(f.name) + ",\"length\":" + std::to_string(f.length) +
               ",\"tags\":" + (f.tags ? std::to_string(*f.tags) : std::string("null")) + "}";
    });
    const auto text = [](std::u16string_view t) { return Quoted(t); };
    std::string blend;
    for (const BlendName& b : BlendNames())
        if (b.blend == startup.gradient.blend)
            blend = Quoted(b.name);
    const std::string colours =
        Array(startup.gradient.stops, [](const Rgb& c) { return Quoted(std::u16string_view(ColourCode(c))); });
    return "{\"formats\":" + formats + ",\"blends\":" + blends + ",\"palettes\":" + palettes + ",\"forums\":" + forums +
           ",\"startup\":{\"format\":" + Quoted(startup.format->name) + ",\"colours\":" + colours +
           ",\"blend\":" + blend + ",\"step\":" + Quoted(startup.step) + ",\"size\":" + Quoted(startup.styles.size) +
           ",\"font\":" + Quoted(startup.styles.font) + ",\"merge\":" + (startup.merge ? "true" : "false") +
           "},\"sizes\":" + Array(SizeChoices(), text) + ",\"fonts\":" + Array(FontChoices(), text) + "}";
}

} // namespace velmorant
