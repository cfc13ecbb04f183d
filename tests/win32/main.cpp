// The Windows tests run under Wine (scripts/wine-tests.sh) or on Windows.
#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    OleInitialize(nullptr);
    testing::InitGoogleTest(&argc, argv);
    int r = RUN_ALL_TESTS();
    OleUninitialize();
    return r;
}
