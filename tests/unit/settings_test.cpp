#include "core/conversion/settings.h"

#include "core/conversion/description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace velmorant {
namespace {

// Every setting as text: two settings objects that read alike convert alike.
std::u16string Snapshot(const Settings& settings) {
    std::u16string all;
    for (const Setting& row : SettingRows())
        all += std::u16string(row.name.begin(), row.name.end()) + u"=" + row.read(settings) + u"\n";
    return all;
}

// A value of each kind (and list) that is not its start-up value.
std::u16string Sample(const Setting& row) {
    const std::pair<std::string_view, std::u16string_view> lists[] = {
        {"formats", u"html"}, {"palettes", u"fire"}, {"destinations", u"smf"}, {"sizes", u"7"}, {"fonts", u"Arial"}};
    switch (row.kind) {
    case SettingKind::Colour:
        return u"0000FF";
    case SettingKind::Stops:
        return u"FF0000,0000FF,00FF00";
    case SettingKind::Blend:
        return u"oklch longer hue";
    case SettingKind::List:
        for (const auto& [list, value] : lists)
            if (list == row.list)
                return std::u16string(value);
        ADD_FAILURE() << "no sample for the list " << row.list;
        return u"";
    case SettingKind::Text:
        return u"<x>";
    case SettingKind::Step:
        return u"3";
    case SettingKind::Limit:
        return u"12";
    case SettingKind::Flag:
        return u"1";
    }
    return u"";
}

std::u16string Line(const Setting& row, std::u16string_view value) {
    return std::u16string(row.name.begin(), row.name.end()) + u"=" + std::u16string(value) + u"\n";
}

TEST(ApplySettings, EveryRowAppliesAndReadsBack) {
    const std::u16string startup = Snapshot(Settings{});
    for (const Setting& row : SettingRows()) {
        SCOPED_TRACE(std::string(row.name));
        Settings settings;
        const std::u16string sample = Sample(row);
        EXPECT_EQ(ApplySettings(settings, Line(row, sample)), std::vector<SettingProblem>{});
        EXPECT_NE(Snapshot(settings), startup);
        // A palette sets other settings and keeps no value of its own.
        if (row.list != "palettes") {
            EXPECT_EQ(row.read(settings), sample);
        }
        EXPECT_FALSE(row.caption.en.empty() || row.caption.zh.empty() || row.help.en.empty() || row.help.zh.empty());
        Settings again;
        ApplySettings(again, Line(row, StartupText(row)));
        EXPECT_EQ(Snapshot(again), startup) << "the start-up text applies as the start-up value";
    }
}

TEST(ApplySettings, AnyOrderGivesTheSameSettings) {
    std::vector<std::u16string> lines;
    for (const Setting& row : SettingRows())
        lines.push_back(Line(row, Sample(row)));
    std::u16string joined;
    for (const std::u16string& line : lines)
        joined += line;
    Settings inOrder;
    ASSERT_EQ(ApplySettings(inOrder, joined), std::vector<SettingProblem>{});
    std::mt19937 random(25);
    for (int round = 0; round < 20; ++round) {
        std::shuffle(lines.begin(), lines.end(), random);
        std::u16string shuffled;
        for (const std::u16string& line : lines)
            shuffled += line;
        Settings settings;
        ApplySettings(settings, shuffled);
        EXPECT_EQ(Snapshot(settings), Snapshot(inOrder)) << round;
    }
}

struct ProblemCase {
    const char* name;
    std::u16string_view lines;
    std::vector<SettingProblem> problems;
};

TEST(ApplySettings, NamesEachProblemAndChangesNothingForIt) {
    std::u16string manyStops = u"colours=", tooLong = u"font=" + std::u16string(kMaxSettingLength + 1, u'x');
    const std::u16string longColour = u"start=" + std::u16string(50, u'r');
    for (std::size_t j = 0; j <= kMaxStops; ++j)
        manyStops += u"red,";
    const std::vector<ProblemCase> cases{
        {"a stop past the bound", manyStops, {{"colours", "too-many-stops", manyStops.substr(8, 40), {}}}},
        {"a value past the bound", tooLong, {{"font", "too-long", std::u16string(40, u'x'), {}}}},
        {"not a colour", u"start=blurple", {{"start", "not-colour", u"blurple", {}}}},
        {"see-through", u"end=rgb(0 0 0 / .5)", {{"end", "not-opaque", u"rgb(0 0 0 / .5)", {}}}},
        {"see-through stop", u"colours=red, #ff000000", {{"colours", "not-opaque", u"#ff000000", 1}}},
        {"no colour of its own", u"start=CurrentColor", {{"start", "not-fixed-colour", u"CurrentColor", {}}}},
        {"a long value quoted by its head",
         longColour,
         {{"start", "not-colour", std::u16string(40, u'r') + u"\u2026", {}}}},
        {"one colour is no gradient", u"colours=red", {{"colours", "one-colour", u"red", {}}}},
        {"the stop at fault, by index", u"colours=rgb(1,2,3), nope, blue", {{"colours", "not-stop", u"nope", 1}}},
        {"not a blend", u"blend=cmyk", {{"blend", "not-blend", u"cmyk", {}}}},
        {"not a format", u"format=HTML", {{"format", "not-in-list", u"HTML", {}}}},
        {"not a palette", u"palette=neon", {{"palette", "not-in-list", u"neon", {}}}},
        {"not a place, by the older name", u"forum=vb", {{"to", "not-in-list", u"vb", {}}}},
        {"not a whole number",
         u"fit=-1\r\nmax-tags=1e3",
         {{"fit", "not-number", u"-1", {}}, {"max-tags", "not-number", u"1e3", {}}}},
        {"not a flag", u"bold=yes", {{"bold", "not-flag", u"yes", {}}}},
        {"unknown name", u"shade=1", {{"shade", "unknown-setting", u"1", {}}}},
        {"no equals sign", u"\n\nstart\n", {{"start", "no-equals", u"start", {}}}},
    };
    for (const ProblemCase& c : cases) {
        SCOPED_TRACE(c.name);
        Settings settings;
        EXPECT_EQ(ApplySettings(settings, c.lines), c.problems);
        EXPECT_EQ(Snapshot(settings), Snapshot(Settings{}));
        EXPECT_NE(SettingProblemsJson(c.problems).find("\"problem\":\"" + c.problems.front().problem),
                  std::string::npos);
        for (const SettingProblem& problem : c.problems)
            EXPECT_NE(SettingProblemText(problem).find(problem.problem == "one-colour" ? "two" : "'"),
                      std::string::npos);
    }
}

} // namespace
} // namespace velmorant
