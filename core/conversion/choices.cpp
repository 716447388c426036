#include "core/conversion/choices.h"

namespace velmorant {

namespace {

constexpr std::u16string_view kSizes[] = {u"1", u"2", u"3", u"4", u"5", u"6", u"7"};
constexpr std::u16string_view kFonts[] = {u"宋体",        u"新宋体",  u"楷体_GB2312", u"黑体",  u"Arial",
                                          u"Courier new", u"Georgia", u"Tahoma",      u"Impact"};

// Lc 60 is APCA's line for body text, 75 for fluent reading, 45 for large text.
constexpr std::u16string_view kReadable[] = {u"aa", u"aaa", u"apca-45", u"apca-60", u"apca-75", u"apca-90"};

} // namespace

std::span<const std::u16string_view> SizeChoices() { return kSizes; }
std::span<const std::u16string_view> FontChoices() { return kFonts; }
std::span<const std::u16string_view> ReadableChoices() { return kReadable; }

} // namespace velmorant
