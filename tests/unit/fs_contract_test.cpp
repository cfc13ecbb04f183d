// The file-system contract against the POSIX port on a real temporary folder and against the
// in-memory one.
#include "../fs_contract.h"

#include "../memory_fs.h"
#include "../temp_folder.h"
#include "platform/posix/posix_fs.h"

namespace vb::testing {
namespace {

class PosixSubject final : public FsSubject {
public:
    PosixSubject() : dir_("contract"), fs_(dir_.path("prog/")) {}
    FileSystem& fs() override { return fs_; }
    std::string root() const override { return dir_.dir(); }

private:
    TempFolder dir_;
    PosixFileSystem fs_;
};

class MemorySubject final : public FsSubject {
public:
    MemorySubject() { fs_.folder("/work"); }
    FileSystem& fs() override { return fs_; }
    std::string root() const override { return "/work/"; }

private:
    MemoryFileSystem fs_;
};

INSTANTIATE_TEST_SUITE_P(Ports, FsContract,
                         ::testing::Values(FsPort{"Posix", [] { return std::make_unique<PosixSubject>(); }},
                                           FsPort{"Memory",
                                                  [] { return std::make_unique<MemorySubject>(); }}),
                         portName);

}  // namespace
}  // namespace vb::testing
