// Small types shared by the name rules.
#pragma once

#include <string_view>

#include "transforms/gbk_text.h"

namespace vb {

// Which occurrence of a marker a rule uses; None when no choice is made (the marker counts as absent).
enum class Occurrence { None, First, Last };

// Which end occurrences are counted from.
enum class Direction { FromLeft, FromRight };

// Position of the chosen occurrence of what in text; -1 when absent or when occ is None.
inline int locate(std::string_view text, std::string_view what, Occurrence occ) {
    switch (occ) {
        case Occurrence::First:
            return findFirst(text, what);
        case Occurrence::Last:
            return findLast(text, what);
        case Occurrence::None:
            break;
    }
    return -1;
}

}  // namespace vb
