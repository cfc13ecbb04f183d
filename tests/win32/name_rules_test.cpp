// Windows' own rules for names: one name whatever its letter case, by the system's upper-casing,
// and a change of case alone that lands on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "pipeline/pipeline.h"
#include "platform/forwarding_fs.h"
#include "platform/win32/win32_fs.h"
#include "temp_dir.h"

namespace vb {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

std::string keyOf(const FileSystem& fs, std::string_view name) {
    std::string k;
    fs.appendNameKey(name, k);
    return k;
}

// Every name of the folder, letter case as listed.
std::vector<std::string> listed(FileSystem& fs, const std::string& dir) {
    std::vector<std::string> out;
    for (const DirEntry& e : fs.search(dir, "*"))
        if (e.name != "." && e.name != "..") out.push_back(e.name);
    std::sort(out.begin(), out.end());
    return out;
}

TEST(Win32NameRules, KeysAreEqualExactlyWhenTheSystemTakesTwoNamesForOne) {
    Win32FileSystem fs;
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"A.txt", "a.TXT", true},
        {"第一课.MP4", "第一课.mp4", true},
        {"\xa3\xc1", "\xa3\xe1", true},  // full-width A and a
        {"\xa6\xa1", "\xa6\xc1", true},  // Greek capital and small alpha
        {"\xa7\xa1", "\xa7\xd1", true},  // Cyrillic capital and small A
        {"a", "b", false},
        {"\xa8\xb9", "u", false},  // u with diaeresis is not u
        {"a.txt", "a.txt ", false},
        {"第一课", "第二课", false},
    };
    for (const auto& c : cases) EXPECT_EQ(keyOf(fs, c.a) == keyOf(fs, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_TRUE(fs.foldsNames("C:\\"));
}

TEST(Win32NameRules, NameOnDiskShowsTheListedForm) {
    TempFolder d;
    writeFile(d.wide() + L"Ab.Txt", "x");
    Win32FileSystem fs;
    EXPECT_EQ(fs.nameOnDisk(d.dir(), "AB.TXT"), "Ab.Txt");
    EXPECT_EQ(fs.nameOnDisk(d.dir(), "Ab.Txt"), "Ab.Txt");
    for (const char* none : {"missing", "A?.Txt", "*", "A<", "..", ""})
        EXPECT_EQ(fs.nameOnDisk(d.dir(), none), std::nullopt) << none;
}

// The batch as an operation runs it: in the folder held open for it.
RenameOutcome renameIn(FileSystem& fs, const std::string& dir, const std::vector<RenamePair>& pairs) {
    NoProgress quiet;
    const std::unique_ptr<OpenFolder> held = fs.openFolder(dir);
    return renameEntries(fs, held.get(), dir, pairs, quiet);
}

// Rows that differ between Windows and Linux: where case is ignored two rows cannot take one
// name in two cases, and a change of case alone must not be left to the move, which may keep
// the old case and still succeed.
TEST(Win32NameRules, ABatchTakesLetterCaseAsTheSystemDoes) {
    TempFolder d;
    for (const wchar_t* f : {L"IMG_1.JPG", L"A.txt", L"a_v2.txt", L"p", L"q"}) writeFile(d.wide() + f, "x");
    writeFile(d.wide() + L"IMG_1.JPG", "img");
    Win32FileSystem fs;
    const std::vector<RenamePair> pairs = {{"IMG_1.JPG", "img_1.jpg"},
                                           {"A.txt", "A_v2.txt"},
                                           {"a_v2.txt", "a_v2_v2.txt"},
                                           {"p", "X"},
                                           {"q", "x"}};
    const RenameOutcome out = renameIn(fs, d.dir(), pairs);
    EXPECT_EQ(out.done, (std::vector<bool>{true, true, true, true, false}));
    EXPECT_EQ(listed(fs, d.dir()),
              (std::vector<std::string>{"A_v2.txt", "X", "a_v2_v2.txt", "img_1.jpg", "q"}));
    EXPECT_EQ(readFile(d.wide() + L"img_1.jpg"), "img");
}

// A file system that writes every name it is given in capitals, as an old one without long
// names would: a change to small letters succeeds there but never shows.
class CapitalsFileSystem final : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::unique_ptr<OpenFolder> openFolder(const std::string& dir) override {
        std::unique_ptr<OpenFolder> held = inner_.openFolder(dir);
        if (!held) return nullptr;
        return std::make_unique<Folder>(std::move(held));
    }

private:
    class Folder final : public ForwardingOpenFolder {
    public:
        using ForwardingOpenFolder::ForwardingOpenFolder;
        bool rename(const std::string& from, const std::string& to) override {
            std::string upper = to;
            for (char& c : upper)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            return inner_->rename(from, upper);
        }
    };
};

TEST(Win32NameRules, AChangeOfCaseCountsOnlyWhenTheFolderShowsIt) {
    TempFolder d;
    writeFile(d.wide() + L"IMG_1.JPG", "img");
    writeFile(d.wide() + L"Img_2.jpg", "img2");
    Win32FileSystem real;
    CapitalsFileSystem fs(real);
    const std::vector<RenamePair> pairs = {{"IMG_1.JPG", "img_1.jpg"}, {"Img_2.jpg", "IMG_2.JPG"}};
    const RenameOutcome out = renameIn(fs, d.dir(), pairs);
    EXPECT_EQ(out.done, (std::vector<bool>{false, true}));
    EXPECT_TRUE(out.stranded.empty());
    EXPECT_EQ(listed(real, d.dir()), (std::vector<std::string>{"IMG_1.JPG", "IMG_2.JPG"}));
}

}  // namespace
}  // namespace vb
