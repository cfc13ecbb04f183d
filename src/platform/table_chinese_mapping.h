// The built-in traditional <-> simplified mapping: the generated table.
#pragma once

#include "platform/ports.h"

namespace vb {

class TableChineseMapping final : public ChineseMapping {
public:
    std::string map(std::string_view gbk, bool toSimplified) const override;
};

}  // namespace vb
