#include "core/text/units.h"

#include <algorithm>

#include "core/text/text.h"

namespace velmorant {

bool IsRawUnit(std::u16string_view unit) {
    if (unit.size() == 1 && IsRawAlone(unit[0]))
        return true;
    // An empty unit counts as blanks only: there is nothing to tag.
    return std::all_of(unit.begin(), unit.end(), IsBlank);
}

} // namespace velmorant
