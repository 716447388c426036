#include "core/colour/colour_sets.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace velmorant {

namespace {

// NGA's colour names, as its editor offers them: CSS's colours of those names.
constexpr NamedCode kNga[] = {
    {u"skyblue", 0x87CEEB},    {u"royalblue", 0x4169E1}, {u"blue", 0x0000FF},      {u"darkblue", 0x00008B},
    {u"orange", 0xFFA500},     {u"orangered", 0xFF4500}, {u"crimson", 0xDC143C},   {u"red", 0xFF0000},
    {u"firebrick", 0xB22222},  {u"darkred", 0x8B0000},   {u"green", 0x008000},     {u"limegreen", 0x32CD32},
    {u"seagreen", 0x2E8B57},   {u"teal", 0x008080},      {u"deeppink", 0xFF1493},  {u"tomato", 0xFF6347},
    {u"coral", 0xFF7F50},      {u"purple", 0x800080},    {u"indigo", 0x4B0082},    {u"burlywood", 0xDEB887},
    {u"sandybrown", 0xF4A460}, {u"sienna", 0xA0522D},    {u"chocolate", 0xD2691E}, {u"silver", 0xC0C0C0},
};

// Minecraft Bedrock's section-code colours, the sixteen and the materials, as
// PocketMine-MP's TextFormat::toHTML draws them (src/utils/TextFormat.php).
constexpr NamedCode kBedrock[] = {
    {u"0", 0x000000}, {u"1", 0x0000AA}, {u"2", 0x00AA00}, {u"3", 0x00AAAA}, {u"4", 0xAA0000}, {u"5", 0xAA00AA},
    {u"6", 0xFFAA00}, {u"7", 0xAAAAAA}, {u"8", 0x555555}, {u"9", 0x5555FF}, {u"a", 0x55FF55}, {u"b", 0x55FFFF},
    {u"c", 0xFF5555}, {u"d", 0xFF55FF}, {u"e", 0xFFFF55}, {u"f", 0xFFFFFF}, {u"g", 0xDDDD00}, {u"h", 0xE2D3D1},
    {u"i", 0xCEC9C9}, {u"j", 0x44393A}, {u"m", 0x961506}, {u"n", 0xB4684D}, {u"p", 0xDEB02C}, {u"q", 0x119F36},
    {u"s", 0x2CB9A8}, {u"t", 0x20487A}, {u"u", 0x9A5CC5}, {u"v", 0xFC7812},
};

} // namespace

const ColourSet kNgaColours{"nga", kNga};
const ColourSet kBedrockColours{"minecraft-bedrock", kBedrock};

namespace {

// Solarized's accents, a grey and white: the client's styles for the ansi block.
constexpr NamedCode kDiscord[] = {
    {u"30", 0x4F545C}, {u"31", 0xDC322F}, {u"32", 0x859900}, {u"33", 0xB58900},
    {u"34", 0x268BD2}, {u"35", 0xD33682}, {u"36", 0x2AA198}, {u"37", 0xFFFFFF},
};

} // namespace

const ColourSet kDiscordColours{"discord", kDiscord};

namespace {

// One row per set; a place taking only some colours adds its set here.
const ColourSet* const kSets[] = {&kNgaColours, &kBedrockColours, &kDiscordColours};

} // namespace

std::span<const ColourSet* const> ColourSets() { return kSets; }

const ColourSet* FindColourSet(std::string_view name) {
    const auto row =
        std::find_if(std::begin(kSets), std::end(kSets), [&](const ColourSet* s) { return s->name == name; });
    return row == std::end(kSets) ? nullptr : *row;
}

double OklabDistance(const Oklab& a, const Oklab& b) {
    return std::sqrt((a.L - b.L) * (a.L - b.L) + (a.a - b.a) * (a.a - b.a) + (a.b - b.b) * (a.b - b.b));
}

double OklabDistance(const Rgb& a, const Rgb& b) { return OklabDistance(SrgbToOklab(a), SrgbToOklab(b)); }

const NamedCode& Nearest(const ColourSet& set, const Rgb& colour) { return NearestCode(set)(colour); }

NearestCode::NearestCode(const ColourSet& set) : set_(set) {
    labs_.reserve(set.colours.size());
    for (const NamedCode& member : set.colours)
        labs_.push_back(SrgbToOklab(UnpackRgb(member.rgb)));
}

const NamedCode& NearestCode::operator()(const Rgb& colour) {
    if (answer_ && colour == last_)
        return *answer_;
    const Oklab lab = SrgbToOklab(colour);
    std::size_t best = 0;
    double bestDistance = INFINITY;
    for (std::size_t i = 0; i < labs_.size(); ++i) {
        const double distance = OklabDistance(lab, labs_[i]);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    last_ = colour;
    answer_ = &set_.colours[best];
    lastDistance_ = bestDistance;
    return *answer_;
}

} // namespace velmorant
