#include "transforms/symbol_set.h"

#include "transforms/gbk_text.h"

namespace vb {

std::string convertSymbols(std::string_view text, SymbolSet to) {
    std::string out(text);
    for (const SymbolPair& pair : kSymbolPairs) {
        if (to == SymbolSet::Ascii)
            out = replace(out, pair.chinese, pair.ascii, 0, -1);
        else
            out = replace(out, pair.ascii, pair.chinese, 0, -1);
    }
    return out;
}

}  // namespace vb
