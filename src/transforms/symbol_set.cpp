#include "transforms/symbol_set.h"

#include <optional>

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

void onSymbolSetChosen(Context& ctx) {
    const std::string item = ctx.win.text(Ctl::组合框1);
    std::optional<SymbolSet> to;
    if (item == "英文符号" || item == "B站括号")
        to = SymbolSet::Ascii;
    else if (item == "中文符号")
        to = SymbolSet::Chinese;
    if (!to) return;
    for (Ctl box : {Ctl::编辑框1, Ctl::编辑框2, Ctl::编辑框3})
        ctx.win.setText(box, convertSymbols(ctx.win.text(box), *to));
}

}  // namespace vb
