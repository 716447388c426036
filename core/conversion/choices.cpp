#include "core/conversion/choices.h"

namespace velmorant {

namespace {

constexpr std::u16string_view kSizes[] = {u"1", u"2", u"3", u"4", u"5", u"6", u"7"};
constexpr std::u16string_view kFonts[] = {u"宋体",        u"新宋体",  u"楷体_GB2312", u"黑体",  u"Arial",
                                          u"Courier new", u"Georgia", u"Tahoma",      u"Impact"};

} // namespace

std::span<const std::u16string_view> SizeChoices() { return kSizes; }
std::span<const std::u16string_view> FontChoices() { return kFonts; }

} // namespace velmorant
