#include "platform/win32/win32_pictures.h"

#include <olectl.h>

#include <cstring>

#include "window/window_def.h"

namespace vb {

PicturePtr loadPicture(const char* resource) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceA(module, resource, MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!res) return nullptr;
    HGLOBAL data = LoadResource(module, res);
    DWORD size = SizeofResource(module, res);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes || size == 0) return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy) return nullptr;
    memcpy(GlobalLock(copy), bytes, size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        GlobalFree(copy);
        return nullptr;
    }
    IPicture* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture));
    stream->Release();
    return SUCCEEDED(hr) ? PicturePtr(picture) : nullptr;
}

void Pictures::draw(Ctl c, HDC dc, const RECT& r) {
    auto& picture = loaded_[static_cast<size_t>(c)];
    if (!picture)
        if (const char* name = pictureOf(c)) picture = loadPicture(name);
    if (!picture) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        return;
    }
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    SetStretchBltMode(dc, HALFTONE);
    picture->Render(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, h, w, -h, nullptr);
}

}  // namespace vb
