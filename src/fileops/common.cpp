#include "fileops/fileops.h"
#include "transforms/gbk_text.h"

namespace vb {

bool staysInDirectory(std::string_view name, char separator) {
    if (name.empty() || name == "." || name == "..") return false;
    // By characters: a GBK trail byte may equal a separator byte.
    for (size_t i = 0; i < name.size(); i += charWidth(name, i))
        if (name[i] == '/' || name[i] == separator) return false;
    return true;
}

}  // namespace vb
