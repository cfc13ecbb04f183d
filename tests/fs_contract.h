// What every file system behind the port promises, written once. A test binary includes this
// once and instantiates FsContract with a factory for each of its ports.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace vb::testing {

// One port over an empty folder of its own, gone when the subject is.
class FsSubject {
public:
    virtual ~FsSubject() = default;
    virtual FileSystem& fs() = 0;
    virtual std::string root() const = 0;  // GBK, ending in the separator
};

struct FsPort {
    const char* name;
    std::function<std::unique_ptr<FsSubject>()> make;
};

// Tests are named by the port, not by the bytes of the struct.
inline void PrintTo(const FsPort& port, std::ostream* os) { *os << port.name; }

inline std::string portName(const ::testing::TestParamInfo<FsPort>& info) { return info.param.name; }

class FsContract : public ::testing::TestWithParam<FsPort> {
protected:
    void SetUp() override {
        subject_ = GetParam().make();
        ASSERT_TRUE(subject_);
    }
    FileSystem& fs() { return subject_->fs(); }
    std::string root() const { return subject_->root(); }
    std::string at(const std::string& name) const { return root() + name; }
    std::string sep() const { return root().substr(root().size() - 1); }
    void file(const std::string& name) { ASSERT_TRUE(fs().createNewFile(at(name), name)); }
    void folder(const std::string& name) { ASSERT_TRUE(fs().createDir(at(name))); }
    std::vector<std::string> names(const std::string& pattern = "*") {
        std::vector<std::string> out;
        for (const DirEntry& e : fs().search(root(), pattern))
            if (e.name != "." && e.name != "..") out.push_back(e.name + (e.isDir ? "/" : ""));
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::unique_ptr<FsSubject> subject_;
};

TEST_P(FsContract, RenameNeverOverwritesAndTakesOnlyPlainNames) {
    using Names = std::vector<std::string>;
    const Names start = {"a.txt", "b.txt", "d/"};
    struct Case {
        const char* from;
        const char* to;
        bool ok;
        Names after;
    };
    const Case cases[] = {
        {"a.txt", "free.txt", true, {"b.txt", "d/", "free.txt"}},
        {"a.txt", "b.txt", false, start},
        {"a.txt", "d", false, start},
        {"a.txt", "d/x.txt", false, start},
        {"a.txt", "..", false, start},
        {"a.txt", ".", false, start},
        {"a.txt", "", false, start},
        {"gone", "z", false, start},
        {"d/../a.txt", "z", false, start},  // from one plain name too
        {"", "z", false, start},
        {"a.txt", "a.txt", true, start},  // onto itself: done, nothing changes
        {"gone", "gone", false, start},
        {"d", "e", true, {"a.txt", "b.txt", "e/"}},
        {"a.txt", "中文.txt", true, {"b.txt", "d/", "中文.txt"}},
    };
    for (const Case& c : cases) {
        SetUp();
        file("a.txt");
        file("b.txt");
        folder("d");
        EXPECT_EQ(fs().rename(root(), c.from, c.to), c.ok) << c.from << " -> " << c.to;
        EXPECT_EQ(names(), c.after) << c.from << " -> " << c.to;
    }
}

TEST_P(FsContract, SearchAppliesThePatternAndMarksFolders) {
    for (const char* n : {"a.txt", "B.TXT", "c.jpg", "中文.txt"}) file(n);
    folder("d.txt");
    EXPECT_EQ(names(), (std::vector<std::string>{"B.TXT", "a.txt", "c.jpg", "d.txt/", "中文.txt"}));
    EXPECT_EQ(names("*.txt"), (std::vector<std::string>{"B.TXT", "a.txt", "d.txt/", "中文.txt"}));
    EXPECT_EQ(names("?.jpg"), (std::vector<std::string>{"c.jpg"}));
    EXPECT_EQ(names("??.txt"), (std::vector<std::string>{"中文.txt"}));  // a GBK pair is one
    for (const char* name : {"a.txt", "d.txt", "中文.txt"}) EXPECT_TRUE(fs().hasEntry(root(), name)) << name;
    for (const char* name : {"a", "d.txt/a.txt", "..", ".", ""})
        EXPECT_FALSE(fs().hasEntry(root(), name)) << name;
    EXPECT_TRUE(fs().search(at("missing") + sep(), "*").empty());
    EXPECT_TRUE(fs().search(at("a.txt") + sep(), "*").empty()) << "a file is no folder";
}

// "*.*" takes every name, with a dot or without; an extension pattern takes that extension only.
TEST_P(FsContract, StarDotStarTakesNamesWithoutADot) {
    for (const char* n : {"noext", "a.txt", "b.txtx"}) file(n);
    EXPECT_EQ(names("*.*"), (std::vector<std::string>{"a.txt", "b.txtx", "noext"}));
    EXPECT_EQ(names("*.txt"), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(names("noext.*"), (std::vector<std::string>{"noext"}));
}

TEST_P(FsContract, AFolderNeverTakesTheNameOfAnother) {
    folder("d");
    folder("empty");
    EXPECT_FALSE(fs().rename(root(), "d", "empty"));
    EXPECT_FALSE(fs().rename(root(), "empty", "d"));
    EXPECT_EQ(names(), (std::vector<std::string>{"d/", "empty/"}));
}

TEST_P(FsContract, CreatingNeverTruncatesAndRemovingTakesOnlyWhatItShould) {
    file("a.txt");
    EXPECT_FALSE(fs().createNewFile(at("a.txt"), "other"));
    folder("d");
    EXPECT_FALSE(fs().createDir(at("d")));
    EXPECT_FALSE(fs().createNewFile(at("d"), "x")) << "nor a folder";
    EXPECT_FALSE(fs().createNewFile(at("missing/x"), "x"));
    file("d/x");
    EXPECT_FALSE(fs().removeDir(at("d"))) << "a folder with something in it stays";
    EXPECT_FALSE(fs().removeDir(at("a.txt"))) << "a file is no folder";
    EXPECT_FALSE(fs().deleteFile(at("d"))) << "a folder is no file";
    EXPECT_TRUE(fs().replaceFile(at("d/x"), "new"));
    EXPECT_TRUE(fs().replaceFile(at("a.txt"), "new"));
    EXPECT_TRUE(fs().deleteFile(at("d/x")));
    EXPECT_TRUE(fs().removeDir(at("d")));
    EXPECT_FALSE(fs().deleteFile(at("d")));
    EXPECT_EQ(names(), (std::vector<std::string>{"a.txt"})) << "no temporary file left beside";
}

TEST_P(FsContract, AnOpenFolderListsAndRemovesInsideItself) {
    folder("t");
    file("t/f");
    folder("t/s");
    auto t = fs().openFolder(at("t"));
    ASSERT_TRUE(t);
    std::vector<std::string> seen;
    for (const DirEntry& e : t->entries()) seen.push_back(e.name + (e.isDir ? "/" : ""));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"f", "s/"}));
    EXPECT_FALSE(t->openSubfolder("f"));
    EXPECT_TRUE(t->openSubfolder("s"));
    EXPECT_TRUE(t->deleteEntry("f"));
    EXPECT_TRUE(t->removeFolder("s"));
    t.reset();
    EXPECT_TRUE(fs().removeDir(at("t")));
    EXPECT_FALSE(fs().openFolder(at("t")));
}

// Everything a batch makes or moves stays inside the folder it holds, and never replaces.
TEST_P(FsContract, AHeldFolderMakesOnlyNewEntriesAndMovesThemInsideItself) {
    folder("t");
    auto t = fs().openFolder(at("t"));
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->createFolder("新建"));
    EXPECT_FALSE(t->createFolder("新建"));
    EXPECT_TRUE(t->createNewFile("a.txt", "first"));
    EXPECT_FALSE(t->createNewFile("a.txt", "second"));
    EXPECT_FALSE(t->createNewFile("新建", "x"));
    EXPECT_FALSE(t->createFolder("a.txt"));
    for (const char* outside : {"..", "../b.txt", "新建/c.txt"}) {
        EXPECT_FALSE(t->createNewFile(outside, "x")) << outside;
        EXPECT_FALSE(t->rename("a.txt", outside)) << outside;
    }
    const std::optional<EntryId> id = t->entryId("a.txt");
    ASSERT_TRUE(id);
    EXPECT_NE(t->entryId("新建"), id);
    EXPECT_FALSE(t->rename("a.txt", "新建"));
    EXPECT_TRUE(t->rename("a.txt", "乙.txt"));
    EXPECT_FALSE(t->hasEntry("a.txt"));
    // None of the file systems under test renumbers a renamed entry, and each says so.
    EXPECT_TRUE(t->renameKeepsIdentity());
    EXPECT_EQ(t->entryId("乙.txt"), id);
    EXPECT_FALSE(t->entryId("a.txt"));
    std::vector<std::string> seen;
    for (const DirEntry& e : t->entries()) seen.push_back(e.name + (e.isDir ? "/" : ""));
    std::sort(seen.begin(), seen.end());
    std::vector<std::string> expected{"乙.txt", "新建/"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(names(), (std::vector<std::string>{"t/"}));
}

// Many names asked at once (as a large batch asks) give each entry's own identity, as one look-up
// each would.
TEST_P(FsContract, ManyIdentitiesAtOnceAreEachEntrysOwn) {
    folder("t");
    auto t = fs().openFolder(at("t"));
    ASSERT_TRUE(t);
    std::vector<std::string> names;
    for (int i = 0; i < 1100; ++i) {
        names.push_back("第" + std::to_string(i) + (i % 2 ? "集.mp4" : ".txt"));
        ASSERT_TRUE(t->createNewFile(names.back(), "x"));
    }
    ASSERT_TRUE(t->createFolder("子"));
    names.insert(names.begin() + 7, "子");
    names.insert(names.begin() + 500, "没有这个");
    names.push_back("..");
    names.push_back(names[3]);  // asked twice
    const std::vector<std::string_view> asked(names.begin(), names.end());
    const ListedIds listed = t->entryIds(asked);
    const std::vector<std::optional<EntryId>>& many = listed.ids;
    ASSERT_EQ(many.size(), names.size());
    EXPECT_EQ(many.back(), many[3]);
    int distinct = 0;
    for (size_t k = 0; k < names.size(); ++k) {
        if (names[k] == "..") continue;
        EXPECT_EQ(many[k], t->entryId(names[k])) << names[k];
        distinct += many[k].has_value() && std::count(many.begin(), many.end(), many[k]) == 1;
    }
    EXPECT_FALSE(many[500]);
    EXPECT_FALSE(many[many.size() - 2]) << "the folder above";
    EXPECT_EQ(distinct, 1100) << "all but the name asked twice";

    // A pass read ahead answers the same, and serves one call: the next reads the folder afresh.
    t->readAhead(names.size());
    const ListedIds ahead = t->entryIds(asked);
    EXPECT_EQ(ahead.ids, listed.ids);
    EXPECT_EQ(ahead.places, listed.places);
    ASSERT_TRUE(t->rename(names[0], "改过.txt"));
    EXPECT_FALSE(t->entryIds(asked).ids[0]);
    ASSERT_TRUE(t->rename("改过.txt", names[0]));
    t->readAhead(names.size());  // and a folder let go with a pass still reading ends it well

    // Where the pass gives places, they follow the folder's own listing.
    if (listed.places.empty()) return;
    ASSERT_EQ(listed.places.size(), names.size());
    EXPECT_EQ(listed.places.back(), listed.places[3]);
    std::vector<std::pair<std::uint32_t, std::string>> byPlace;
    for (size_t k = 0; k + 1 < names.size(); ++k) {
        if (!many[k]) continue;
        EXPECT_NE(listed.places[k], ListedIds::kNotListed) << names[k];
        byPlace.emplace_back(listed.places[k], names[k]);
    }
    std::sort(byPlace.begin(), byPlace.end());
    std::vector<std::string> inPlaceOrder, inListing;
    for (auto& [place, name] : byPlace) inPlaceOrder.push_back(name);
    for (const DirEntry& e : t->entries()) inListing.push_back(e.name);
    EXPECT_EQ(inPlaceOrder, inListing);
}

}  // namespace vb::testing
