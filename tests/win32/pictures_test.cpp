// The pictures the window definition names are images the program carries: a misspelt name
// would only show as an empty frame.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_pictures.h"
#include "window/window_def.h"

namespace vb {
namespace {

TEST(Pictures, EveryNamedPictureIsAnImageOfTheProgram) {
    int named = 0;
    for (const auto& d : controlTable()) {
        const char* name = pictureOf(d.id);
        if (!name) continue;
        ++named;
        PicturePtr picture = loadPicture(name);
        ASSERT_TRUE(picture) << name;
        OLE_XSIZE_HIMETRIC w = 0;
        OLE_YSIZE_HIMETRIC h = 0;
        picture->get_Width(&w);
        picture->get_Height(&h);
        EXPECT_GT(w, 0) << name;
        EXPECT_GT(h, 0) << name;
    }
    EXPECT_GT(named, 0);
    EXPECT_FALSE(loadPicture("NO_SUCH_PICTURE"));
}

}  // namespace
}  // namespace vb
