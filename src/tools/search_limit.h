#pragma once

#include "data/fixed_table.h"

#include <QString>
#include <optional>

namespace tomarina {

// The search limit typed in the settings window: the whole text, blanks around it allowed, is a
// decimal number (optional sign, digits, at most one decimal point) that, taken to the nearest whole
// number with halves to the even neighbour, is not 0 and fits an Integer. Nothing for anything else.
std::optional<Integer> read_search_limit(QStringView text);

} // namespace tomarina
