#include "pipeline/pipeline.h"

#include <unordered_map>

#include "fileset/fileset.h"
#include "transforms/gbk_text.h"

namespace vb {
namespace {

bool guardsPass(Context& ctx, const Operation& op, GuardPlace place) {
    for (const Guard& g : op.guards) {
        if (g.place == place && g.fails(ctx.win)) {
            ctx.dlg.messageBox(g.message.text, g.message.title, g.message.icon, Buttons::Ok);
            return false;
        }
    }
    return true;
}

void show(Context& ctx, const Message& m) { ctx.dlg.messageBox(m.text, m.title, m.icon, Buttons::Ok); }

bool ask(Context& ctx, const std::string& text, const char* title) {
    return ctx.dlg.messageBox(text, title, Icon::None, Buttons::OkCancel) != kAnswerCancel;
}

// The directory checks every operation shares; false when the run ends here.
bool directoryChecks(Context& ctx, const Operation& op, std::string& dir) {
    if (!guardsPass(ctx, op, GuardPlace::First)) return false;
    dir = workingDir(ctx.win);
    if (dir.empty()) {
        show(ctx, op.noDir);
        return false;
    }
    if (!guardsPass(ctx, op, GuardPlace::AfterNoDir)) return false;
    if (containsDesktop(dir)) {
        ctx.dlg.messageBox(kDesktopNotice, kDesktopTitle, Icon::Info, Buttons::Ok);
        ctx.win.setText(Ctl::标签2, "");
        return false;
    }
    if (dir == std::string(1, ctx.fs.separator())) {
        show(ctx, kNothingChosen);
        return false;
    }
    return guardsPass(ctx, op, GuardPlace::AfterChecks);
}

std::vector<std::string> readEntries(Context& ctx, const Operation& op, Branch branch,
                                     const std::string& dir) {
    std::vector<std::string> entries;
    if (op.source == Source::DirectoryScan) {
        for (const auto& path : fullPathFileListing(ctx.fs, dir, searchPattern(ctx.win)))
            entries.push_back(finalComponent(path, ctx.fs.separator()));
    } else if (branch == Branch::Folders) {
        entries = folderListing(ctx.fs, dir, false);
    } else {
        readNames(ctx, entries, false);
    }
    return entries;
}

void report(Context& ctx, const Report& r, int counter) {
    if (!r.shown || (counter == 0 && !r.whenZero)) return;
    if (counter == 0 && r.zero.text) {
        show(ctx, r.zero);
        return;
    }
    ctx.dlg.messageBox(r.prefix + decimal(counter) + r.suffix, r.title, r.icon, Buttons::Ok);
}

}  // namespace

NameParts partsOf(const Entry& e, char separator) {
    if (e.branch == Branch::Files) return splitName(e.name, separator);
    return {e.name, {}};
}

bool previewOn(const Window& win) { return win.text(Ctl::按钮_打开预览) == "不要预览"; }

Report usualReport(Icon icon, const char* suffix) {
    Report r;
    r.shown = true;
    r.zero = {"没有任何改动", "没有改动", icon};
    r.prefix = "一共有";
    r.suffix = suffix;
    r.title = "修改成果提示";
    r.icon = icon;
    return r;
}

void runOperation(Context& ctx, const Operation& op) {
    Window& win = ctx.win;
    std::string dir;
    if (!directoryChecks(ctx, op, dir)) return;

    Branch branch = Branch::Files;
    if (op.source == Source::ListOrFolders) {
        if (win.checked(Ctl::选择框_文件))
            branch = Branch::Files;
        else if (win.checked(Ctl::选择框_文件夹))
            branch = Branch::Folders;
        else
            return;
    }
    const bool preview = op.confirm != Confirm::DirectOnly && previewOn(win);

    if (op.confirm == Confirm::BeforeReading && !ask(ctx, op.question.text, op.question.title)) return;
    const std::vector<std::string> entries = readEntries(ctx, op, branch, dir);
    const int n = static_cast<int>(entries.size());
    const Run run = op.prepare(ctx, branch);

    if (op.confirm == Confirm::Counted) {
        int planned = 0;
        for (const auto& e : entries)
            if (run.planned(e, branch)) ++planned;
        const CountedConfirm& cc = branch == Branch::Files ? op.countedFiles : op.countedFolders;
        if (planned == 0) {
            show(ctx, cc.none);
            return;
        }
        if (preview)
            show(ctx, kPreviewNotice);
        else if (!ask(ctx, cc.prefix + decimal(planned) + cc.suffix, cc.title))
            return;
    }
    if (op.confirm == Confirm::AfterReading) {
        if (preview)
            show(ctx, kPreviewNotice);
        else if (!ask(ctx, op.question.text, op.question.title))
            return;
    }

    std::unordered_map<std::string, int> rowOf;
    if (op.writeRowByName && branch == Branch::Files) {
        for (int r = win.rowCount() - 1; r >= 0; --r) rowOf[win.cell(r, 0)] = r;
    }

    RenameBatch batch(ctx.fs, dir);
    int counter = 0;
    for (int i = 1; i <= n; ++i) {
        const std::string& name = entries[static_cast<size_t>(i - 1)];
        if (i == 1 && (op.confirm == Confirm::AtFirstEntry || op.confirm == Confirm::DirectOnly)) {
            if (preview)
                show(ctx, kPreviewNotice);
            else if (!ask(ctx, op.question.text, op.question.title))
                return;
        }
        Outcome out = run.rule(Entry{name, branch, i, n, preview});
        if (out.stop) {
            show(ctx, *out.stop);
            break;
        }
        if (!out.newName) continue;
        if (preview) {
            win.setCell(i - 1, 1, *out.newName);
            continue;
        }
        if (!ctx.fs.rename(dir, name, *out.newName)) continue;
        ++counter;
        if (branch != Branch::Files) continue;
        if (!op.writeRowByName) {
            win.setCell(i - 1, 0, *out.newName);
        } else if (auto it = rowOf.find(name); it != rowOf.end()) {
            const int row = it->second;
            rowOf.erase(it);
            win.setCell(row, 0, *out.newName);
            rowOf.emplace(*out.newName, row);
        }
    }
    if (!preview) report(ctx, branch == Branch::Files ? op.filesReport : op.foldersReport, counter);
}

}  // namespace vb
