// A move-only owner of one GDI object or icon: freed exactly once, never copied.
#pragma once

#include <windows.h>

#include <utility>

namespace ui::win32 {

struct DeleteGdiObject {
    void operator()(HGDIOBJ handle) const { DeleteObject(handle); }
};
struct DestroyIconHandle {
    void operator()(HICON handle) const { DestroyIcon(handle); }
};

template <typename Handle, typename Free = DeleteGdiObject>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(); }

    Handle get() const { return handle_; }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr) Free()(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using IconHandle = GdiObject<HICON, DestroyIconHandle>;

}  // namespace ui::win32
