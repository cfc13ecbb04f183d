// The file-system contract against the Win32 port on a real temporary folder.
#include "../fs_contract.h"

#include "platform/win32/win32_fs.h"
#include "temp_dir.h"

namespace vb::testing {
namespace {

class Win32Subject final : public FsSubject {
public:
    FileSystem& fs() override { return fs_; }
    std::string root() const override { return dir_.dir(); }

private:
    TempFolder dir_{"contract"};
    Win32FileSystem fs_;
};

INSTANTIATE_TEST_SUITE_P(Ports, FsContract,
                         ::testing::Values(FsPort{"Win32", [] { return std::make_unique<Win32Subject>(); }}),
                         portName);

}  // namespace
}  // namespace vb::testing
