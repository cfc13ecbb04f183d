#include "drive_main.h"
namespace vb {
int driveMain(HINSTANCE, const std::vector<std::wstring>&) { return 2; }
}  // namespace vb
