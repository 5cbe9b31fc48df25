// Move-only owners of what the Win32 code gets from the platform and must give back: GDI
// objects, icons, kernel and search handles, device contexts, selections into a DC, and COM
// references. Each is given back exactly once, on every way out of a function, and never copied.
#pragma once

#include <windows.h>

#include <utility>

namespace ui::win32 {

struct DeleteGdiObject {
    void operator()(HGDIOBJ handle) const { DeleteObject(handle); }
};
struct DeleteMemoryDC {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct CloseKernelHandle {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct CloseSearch {
    void operator()(HANDLE handle) const { FindClose(handle); }
};

// Null and INVALID_HANDLE_VALUE (what CreateFileW and FindFirstFileW return on failure) own nothing.
template <typename Handle, typename Free = DeleteGdiObject>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    Handle get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != reinterpret_cast<Handle>(INVALID_HANDLE_VALUE); }
    void reset(Handle handle = nullptr) {
        if (valid()) Free()(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using FontHandle = Owned<HFONT>;
using BrushHandle = Owned<HBRUSH>;
using PenHandle = Owned<HPEN>;
using BitmapHandle = Owned<HBITMAP>;
using MemoryDC = Owned<HDC, DeleteMemoryDC>;
using KernelHandle = Owned<HANDLE, CloseKernelHandle>;
using FindHandle = Owned<HANDLE, CloseSearch>;

// A window's DC from GetDC or GetWindowDC, released to that window.
class WindowDC {
public:
    WindowDC(HWND window, HDC dc) : window_(window), dc_(dc) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The DC of a WM_PAINT, from BeginPaint to EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a DC while this lives; what was selected before comes back after.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// One reference to a COM object.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    explicit ComRef(Interface* object) : object_(object) {}
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef&&) = delete;
    ~ComRef() { reset(); }

    Interface* get() const { return object_; }
    Interface* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Where a call that hands out a reference writes it; what was held before is released.
    Interface** out() {
        reset();
        return &object_;
    }
    void reset() {
        if (object_ != nullptr) std::exchange(object_, nullptr)->Release();
    }

private:
    Interface* object_ = nullptr;
};

}  // namespace ui::win32
