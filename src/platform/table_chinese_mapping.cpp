#include "platform/table_chinese_mapping.h"

#include "transforms/rule_trad_simp.h"

namespace vb {

std::string TableChineseMapping::map(std::string_view gbk, bool toSimplified) const {
    return toSimplified ? vb::toSimplified(gbk) : toTraditional(gbk);
}

}  // namespace vb
