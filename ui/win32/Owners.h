// Move-only owners of what the Win32 code gets from the platform and must give back: GDI
// objects, kernel and search handles, loaded libraries, local memory, device contexts, selections
// into a DC, held locks, automation strings and COM references. Each is given back exactly once,
// on every way out of a function, and never copied.
#pragma once

#include <windows.h>

#include <utility>

namespace ui::win32 {

// Gives a handle back through the platform function that frees it.
template <auto giveBack>
struct GivenBackBy {
    template <typename Handle>
    void operator()(Handle handle) const {
        giveBack(handle);
    }
};

// Null and INVALID_HANDLE_VALUE (what CreateFileW and FindFirstFileW return on failure) own nothing.
template <typename Handle, typename Free = GivenBackBy<&DeleteObject>>
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
    // Hands the handle over to whatever gives it back from now on.
    Handle release() { return std::exchange(handle_, nullptr); }

private:
    Handle handle_ = nullptr;
};

using FontHandle = Owned<HFONT>;
using BrushHandle = Owned<HBRUSH>;
using PenHandle = Owned<HPEN>;
using BitmapHandle = Owned<HBITMAP>;
using MemoryDC = Owned<HDC, GivenBackBy<&DeleteDC>>;
using KernelHandle = Owned<HANDLE, GivenBackBy<&CloseHandle>>;
using FindHandle = Owned<HANDLE, GivenBackBy<&FindClose>>;
using LibraryHandle = Owned<HMODULE, GivenBackBy<&FreeLibrary>>;
using LocalMemory = Owned<HLOCAL, GivenBackBy<&LocalFree>>;
using GlobalMemory = Owned<HGLOBAL, GivenBackBy<&GlobalFree>>;

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

// A slim reader/writer lock held, shared or exclusive, while this lives.
class LockHeld {
public:
    enum class Mode { Shared, Exclusive };
    LockHeld(SRWLOCK& lock, Mode mode) : lock_(lock), mode_(mode) {
        if (mode_ == Mode::Shared) {
            AcquireSRWLockShared(&lock_);
        } else {
            AcquireSRWLockExclusive(&lock_);
        }
    }
    LockHeld(const LockHeld&) = delete;
    LockHeld& operator=(const LockHeld&) = delete;
    ~LockHeld() {
        if (mode_ == Mode::Shared) {
            ReleaseSRWLockShared(&lock_);
        } else {
            ReleaseSRWLockExclusive(&lock_);
        }
    }

private:
    SRWLOCK& lock_;
    Mode mode_;
};

// A string of the automation library's, given back to the SysFreeString it is made with: the
// library is loaded on first use, so the function comes from the caller.
class AutomationString {
public:
    using Free = void(WINAPI*)(BSTR);
    AutomationString(Free free, BSTR text) : free_(free), text_(text) {}
    AutomationString(const AutomationString&) = delete;
    AutomationString& operator=(const AutomationString&) = delete;
    ~AutomationString() {
        if (text_ != nullptr) free_(text_);
    }
    BSTR get() const { return text_; }

private:
    Free free_;
    BSTR text_;
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
