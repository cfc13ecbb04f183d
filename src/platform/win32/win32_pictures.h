// The pictures of the picture boxes and the picture button: images stored as resources of the
// program, named by the window definition.
#pragma once

#include <windows.h>

#include <ocidl.h>

#include <array>
#include <memory>

#include "window/controls.h"

namespace vb {

struct ComRelease {
    void operator()(IUnknown* p) const {
        if (p) p->Release();
    }
};
using PicturePtr = std::unique_ptr<IPicture, ComRelease>;

// The image of a resource; empty when the program holds none by that name.
PicturePtr loadPicture(const char* resource);

// Each control's picture, loaded the first time it is drawn.
class Pictures {
public:
    // Draws c's picture stretched over r; a test build without the images gets a plain frame.
    void draw(Ctl c, HDC dc, const RECT& r);

private:
    std::array<PicturePtr, kControlCount> loaded_;
};

}  // namespace vb
