// The calculator's platform services on Windows: WinINet and OLE Automation bound by library and
// function name on first use (neither is loaded at start-up), and the code page conversions.
// The OLE picture loaders and the number conversions share one binding of OLE Automation.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "stock/Platform.h"
#include "ui/win32/LazyLibrary.h"
#include "ui/win32/Owners.h"
#include "ui/win32/SystemCodePage.h"

namespace stock::win32 {

class WinInetApi final : public InternetApi {
public:
    Handle InternetOpenA(const char* agent, std::uint32_t accessType, const char* proxy, const char* proxyBypass,
                         std::uint32_t flags) override;
    Handle InternetOpenUrlA(Handle internet, const char* url, const char* headers, std::uint32_t headersLength,
                            std::uint32_t flags, std::uintptr_t context) override;
    bool InternetReadFile(Handle file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead) override;
    bool InternetCloseHandle(Handle handle) override;

private:
    ui::win32::LazyLibrary wininet_{L"wininet.dll"};
};

// The code pages through the platform's own conversions.
struct SystemCodePages {
    ui::win32::SystemCodePage system;
    ui::win32::SystemCodePage gbk{936};
    ui::win32::SystemCodePage utf8{CP_UTF8, MB_ERR_INVALID_CHARS};
    operator TextCodePages() const { return {system, gbk, utf8}; }
};

// An OLE picture as the image control holds it: its dispatch form, plus the picture form to draw.
class OlePicture final : public Picture {
public:
    OlePicture(ui::win32::ComRef<IPictureDisp> dispatch, ui::win32::ComRef<IPicture> picture)
        : dispatch_(std::move(dispatch)), picture_(std::move(picture)) {}

    bool holdsImage() const;
    // At the given resolution, in dots per inch.
    SIZE pixelSize(int dpiX, int dpiY) const;
    void draw(HDC dc) const;

private:
    ui::win32::ComRef<IPictureDisp> dispatch_;
    ui::win32::ComRef<IPicture> picture_;
};

class OlePictureService final : public PictureService {
public:
    explicit OlePictureService(ui::win32::LazyLibrary& oleaut32) : oleaut32_(oleaut32) {}
    Outcome loadPicturePath(const std::wstring& path, PictureRef& picture) override;
    PictureRef loadPictureFile(const std::wstring& path) override;

private:
    bool startCom();

    ui::win32::LazyLibrary& oleaut32_;
    ui::win32::LazyLibrary ole32_{L"ole32.dll"};
    bool comStarted_ = false;
};

// OLE Automation's conversions in the user's locale.
class OleNumberConversions final : public PlatformNumberConversions {
public:
    explicit OleNumberConversions(ui::win32::LazyLibrary& oleaut32) : oleaut32_(oleaut32) {}

protected:
    std::optional<double> platformNumber(const wchar_t* text) override;
    std::optional<std::int16_t> platformWhole(double value) override;
    std::optional<std::wstring> platformText(double value) override;

private:
    ui::win32::LazyLibrary& oleaut32_;
};

}  // namespace stock::win32
