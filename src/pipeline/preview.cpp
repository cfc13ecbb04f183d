// Preview mode, execute the previewed names, undo the last execute.
#include "fileset/fileset.h"
#include "pipeline/operations.h"
#include "pipeline/pipeline.h"
#include "transforms/gbk_text.h"
#include "window/window_def.h"

namespace vb {
namespace {

constexpr const char* kRemindTitle = "提醒：";

void remind(Context& ctx, const char* text) {
    ctx.dlg.messageBox(text, kRemindTitle, Icon::Info, Buttons::Ok);
}

void previewOnSwitch(Context& ctx) {
    Window& win = ctx.win;
    win.clearRows();
    reList(ctx);
    const PreviewGeometry& g = previewGeometry();
    win.setWindowWidth(g.windowWidth);
    win.setWidth(Ctl::超级列表框1, win.rect(Ctl::超级列表框1).width + g.columnWidth);
    win.setText(Ctl::按钮_打开预览, kPreviewOnCaption);
    win.insertColumn(1, "更名后的效果", g.columnWidth);
    win.setColumnTitle(0, "上一次的文件名");
    win.setVisible(Ctl::按钮_确认无误执行吧, true);
    win.setVisible(Ctl::按钮_撤回上一步, true);
    win.move(Ctl::按钮_确认无误执行吧, g.execute.left, g.execute.top);
    win.move(Ctl::按钮_撤回上一步, g.undo.left, g.undo.top);
}

void previewOffSwitch(Context& ctx) {
    Window& win = ctx.win;
    win.setWindowWidth(def(Ctl::主窗口).rect.width);
    win.setWidth(Ctl::超级列表框1, previewGeometry().listWidthOff);
    win.setText(Ctl::按钮_打开预览, previewOffCaption());
    win.deleteColumn(1);
    win.setColumnTitle(0, "最开始的文件名");
    const Rect execute = def(Ctl::按钮_确认无误执行吧).rect;
    win.move(Ctl::按钮_确认无误执行吧, execute.left, execute.top);
    win.setVisible(Ctl::按钮_确认无误执行吧, false);
}

// What went back is undone; what did not stays in the record for another try.
void keepWhatStayed(UndoRecord& record, const RenameOutcome& result) {
    for (const auto& s : result.stranded) record.renamed[static_cast<size_t>(s.entry)].first = s.name;
    std::vector<std::pair<std::string, std::string>> left;
    std::vector<std::optional<EntryId>> leftIds;
    for (size_t k = 0; k < record.renamed.size(); ++k) {
        if (result.done[k]) continue;
        left.push_back(std::move(record.renamed[k]));
        if (k < record.ids.size()) leftIds.push_back(record.ids[k]);
    }
    record.renamed = std::move(left);
    record.ids = std::move(leftIds);
}

// Per entry of an execute's record: its row and the name the preview proposed.
struct Executed {
    int row;
    std::string previewed;
};

bool askPutBack(Context& ctx, int renamed, int total) {
    const std::string text =
        "执行被中途停止了，\r\n" + decimal(total) + "个文件里已经改名" + decimal(renamed) +
        "个。\r\n\r\n点\"确定\"把已经改名的文件全部改回原来的名字；\r\n点\"取消\"保留已经改好的名字。";
    return ctx.dlg.messageBox(text, "提示", Icon::None, Buttons::OkCancel) != kAnswerCancel;
}

// Renames back, by the record, what a stopped execute renamed; its rows show the old names and
// the previewed ones again. Returns how many entries stayed renamed (they stay in the record).
int putBack(Context& ctx, OpenFolder* folder, UndoRecord& record, const std::vector<Executed>& executed) {
    Window& win = ctx.win;
    std::vector<RenamePair> pairs;
    pairs.reserve(record.renamed.size());
    for (const auto& [after, before] : record.renamed) pairs.push_back({after, before});
    const RenameOutcome result =
        renameEntries(ctx.fs, folder, record.dir, pairs, ctx.progress, "撤回中", {record.ids, nullptr},
                      [&](int k, bool back) {
                          const size_t at = static_cast<size_t>(k);
                          win.setCell(executed[at].row, 0, std::string(back ? pairs[at].to : pairs[at].from));
                          win.setCell(executed[at].row, 1, back ? executed[at].previewed : std::string());
                      });
    for (const auto& s : result.stranded) win.setCell(executed[static_cast<size_t>(s.entry)].row, 0, s.name);
    reportStranded(ctx, pairs, result);
    const int stayed = static_cast<int>(pairs.size()) - result.count();
    keepWhatStayed(record, result);
    if (stayed > 0)
        remind(
            ctx,
            ("有" + decimal(stayed) + "个文件没能改回原来的名字，\r\n可以稍后再点\"撤回上一步\"。").c_str());
    return stayed;
}

}  // namespace

void onPreviewSwitch(Context& ctx) {
    if (previewOn(ctx.win))
        previewOffSwitch(ctx);
    else
        previewOnSwitch(ctx);
}

void onExecute(Context& ctx) {
    Window& win = ctx.win;
    const int rows = win.rowCount();
    // Who the folder's entries are is read while the rows are; a refusal lets go of the folder
    // before it says so.
    const std::string dir = workingDir(win);
    std::unique_ptr<OpenFolder> folder = ctx.fs.openFolder(dir);
    if (folder) folder->readAhead(static_cast<size_t>(rows));
    auto refuse = [&](const char* text) {
        folder.reset();
        remind(ctx, text);
    };
    // Every cell is read once: the counts first, then the rows within the first c0.
    std::vector<std::string> oldNames(static_cast<size_t>(rows)), newNames(static_cast<size_t>(rows));
    int c0 = 0;
    int c1 = 0;
    for (int r = 0; r < rows; ++r) {
        oldNames[static_cast<size_t>(r)] = win.cell(r, 0);
        newNames[static_cast<size_t>(r)] = win.cell(r, 1);
        if (!oldNames[static_cast<size_t>(r)].empty()) ++c0;
        if (!newNames[static_cast<size_t>(r)].empty()) ++c1;
    }
    // A refused execute keeps the previous undo.
    if (c1 == 0) return refuse("开了预览界面以后，必须先预览，\r\n请重新点左边的按钮进行预览！");
    if (c0 == 0) return refuse("没有发生任何变化。\r\n请仔细排查问题，重新操作!");
    if (c0 != c1)
        return refuse("上一步的文件名和预览文件名的个数不相等，不予执行,\r\n请仔细排查问题，重新操作!");
    if (replacedSinceListing(ctx.listed, folder.get(), dir)) return refuse(kFolderReplaced.text);
    std::vector<int> rowOf;
    size_t kept = 0;
    for (int r = 0; r < c0; ++r) {
        const size_t at = static_cast<size_t>(r);
        if (oldNames[at].empty() || newNames[at].empty()) continue;
        rowOf.push_back(r);
        if (kept != at) {
            oldNames[kept] = std::move(oldNames[at]);
            newNames[kept] = std::move(newNames[at]);
        }
        ++kept;
    }
    oldNames.resize(kept);
    newNames.resize(kept);
    std::vector<RenamePair> pairs;
    pairs.reserve(rowOf.size());
    for (size_t k = 0; k < rowOf.size(); ++k) pairs.push_back({oldNames[k], newNames[k]});
    std::vector<std::optional<EntryId>> ids;
    // A renamed row moves its new name into column 0 at once, so that a long run is seen going.
    const RenameOutcome result = renameEntries(
        ctx.fs, folder.get(), dir, pairs, ctx.progress, kRenaming, {{}, &ids}, [&](int k, bool done) {
            const size_t at = static_cast<size_t>(k);
            win.setCell(rowOf[at], 0, done ? newNames[at] : oldNames[at]);
            win.setCell(rowOf[at], 1, done ? std::string() : newNames[at]);
        });
    reportStranded(ctx, pairs, result);

    // A failed row keeps its name; the undo array still pairs with the rows by position, while
    // the record holds only what was renamed, where, and which entry each one is.
    UndoRecord record{dir, folder ? folder->id() : std::nullopt, {}, {}};
    // Only a stopped execute needs its rows again, to put them back.
    std::vector<Executed> executed;
    if (result.stopped) {
        for (size_t k = 0; k < rowOf.size(); ++k)
            if (result.done[k]) executed.push_back({rowOf[k], newNames[k]});
        for (const auto& s : result.stranded)
            executed.push_back({rowOf[static_cast<size_t>(s.entry)], newNames[static_cast<size_t>(s.entry)]});
    }
    record.renamed.reserve(static_cast<size_t>(result.count()) + result.stranded.size());
    record.ids.reserve(record.renamed.capacity());
    for (size_t k = 0; k < rowOf.size(); ++k) {
        if (!result.done[k]) continue;
        record.renamed.emplace_back(std::move(newNames[k]), oldNames[k]);
        record.ids.push_back(ids[k]);
    }
    for (const auto& s : result.stranded) {
        const size_t k = static_cast<size_t>(s.entry);
        win.setCell(rowOf[k], 0, s.name);
        record.renamed.emplace_back(s.name, oldNames[k]);
        record.ids.push_back(ids[k]);
    }
    // Stopped half-way, the execute can be put back whole at once, while the record still
    // matches the disk; later the rows may no longer match a fresh listing.
    if (result.stopped && !record.renamed.empty() &&
        askPutBack(ctx, static_cast<int>(record.renamed.size()), static_cast<int>(pairs.size())) &&
        putBack(ctx, folder.get(), record, executed) == 0) {
        ctx.undoRecord = std::move(record);
        ctx.撤回数组.clear();
        return;
    }
    ctx.undoRecord = std::move(record);
    ctx.撤回数组 = std::move(oldNames);
}

void onUndo(Context& ctx) {
    Window& win = ctx.win;
    const std::string dir = workingDir(win);
    const bool root = ctx.fs.pathStyle().isBareRoot(dir);
    if (dir.empty() || root) {
        remind(ctx, "路径都是空的，改什么？请选择路径");
        if (root) clearWorkingDir(win);
        return;
    }
    const std::vector<std::string>& undo = ctx.撤回数组;
    if (undo.empty()) return remind(ctx, "你都没改过，撤什么？");
    const std::unique_ptr<OpenFolder> folder = ctx.fs.openFolder(dir);

    const bool files = win.checked(Ctl::选择框_文件);
    if (!files && !win.checked(Ctl::选择框_文件夹)) return;
    // Read while the rows are checked against the folder.
    if (folder) folder->readAhead(ctx.undoRecord.renamed.size());

    std::vector<std::string> titles;
    titles.reserve(static_cast<size_t>(win.rowCount()));
    for (int r = 0; r < win.rowCount(); ++r) titles.push_back(win.cell(r, 0));

    const PathStyle paths = ctx.fs.pathStyle();
    if (!titles.empty() && splitName(titles.front(), paths).ext == splitName(undo.front(), paths).ext) {
        std::vector<std::string> listed;
        if (files) {
            listed = fileListing(ctx.fs, dir, searchPattern(win));
            if (listed.empty()) return remind(ctx, "枚举到的数组个数为0，无法操作");
        } else {
            listed = folderListing(ctx.fs, dir, false);
        }
        if (listed.size() != titles.size()) return remind(ctx, "列表框现标题 和 枚举到的数组，无法操作");
        if (listed != titles) return remind(ctx, "列表框现标题 和 枚举到的数组 不是完全相同的，不予操作");
    }
    if (titles.size() != undo.size())
        return remind(ctx, "列表框现标题数量 和 撤回数组的数量不一致，无法操作");
    // The record belongs to the folder the execute ran in.
    UndoRecord& record = ctx.undoRecord;
    if (record.dir != dir) return remind(ctx, "你都没改过，撤什么？");
    // The same path is not enough: another folder may have been put there since the execute.
    if (folder && record.folder && folder->id() != record.folder) return remind(ctx, kFolderReplaced.text);

    // Each entry goes back from the name the execute gave it, whichever row shows it now.
    std::vector<RenamePair> pairs;
    pairs.reserve(record.renamed.size());
    for (const auto& [after, before] : record.renamed) pairs.push_back({after, before});
    const RowsByName rowOf(std::move(titles));
    EntryChanged landed;
    std::vector<int> rowOfPair;  // found before the batch: it then runs in another order
    if (files) {
        rowOfPair.reserve(pairs.size());
        for (const RenamePair& p : pairs) rowOfPair.push_back(rowOf.find(p.from));
        landed = [&](int k, bool back) {
            const RenamePair& p = pairs[static_cast<size_t>(k)];
            if (const int row = rowOfPair[static_cast<size_t>(k)]; row >= 0)
                win.setCell(row, 0, std::string(back ? p.to : p.from));
        };
    }
    const RenameOutcome result = renameEntries(ctx.fs, folder.get(), dir, pairs, ctx.progress, "撤回中",
                                               {record.ids, nullptr}, landed);
    if (files) {
        for (const auto& s : result.stranded)
            if (const int row = rowOf.find(record.renamed[static_cast<size_t>(s.entry)].first); row >= 0)
                win.setCell(row, 0, s.name);
    }
    reportStranded(ctx, pairs, result);
    keepWhatStayed(record, result);
}

}  // namespace vb
