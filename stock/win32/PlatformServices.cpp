#include "stock/win32/PlatformServices.h"

#include <wininet.h>

namespace stock::win32 {
namespace {

// The published interface identifiers of the OLE picture.
constexpr GUID kPictureId = {0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
constexpr GUID kPictureDispatchId = {0x7BF80981, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

// The picture and dispatch forms of what a loader returned, or nothing when it is no picture.
PictureRef asPicture(IUnknown* object) {
    if (object == nullptr) return nullptr;
    ui::win32::ComRef<IPictureDisp> dispatch;
    ui::win32::ComRef<IPicture> picture;
    object->QueryInterface(kPictureDispatchId, reinterpret_cast<void**>(dispatch.out()));
    object->QueryInterface(kPictureId, reinterpret_cast<void**>(picture.out()));
    if (!dispatch || !picture) return nullptr;
    return std::make_shared<OlePicture>(std::move(dispatch), std::move(picture));
}

}  // namespace

InternetApi::Handle WinInetApi::InternetOpenA(const char* agent, std::uint32_t accessType, const char* proxy,
                                              const char* proxyBypass, std::uint32_t flags) {
    auto open = wininet_.function<decltype(&::InternetOpenA)>("InternetOpenA");
    return open == nullptr ? 0 : reinterpret_cast<Handle>(open(agent, accessType, proxy, proxyBypass, flags));
}

InternetApi::Handle WinInetApi::InternetOpenUrlA(Handle internet, const char* url, const char* headers,
                                                 std::uint32_t headersLength, std::uint32_t flags,
                                                 std::uintptr_t context) {
    auto open = wininet_.function<decltype(&::InternetOpenUrlA)>("InternetOpenUrlA");
    return open == nullptr ? 0
                           : reinterpret_cast<Handle>(open(reinterpret_cast<void*>(internet), url, headers,
                                                           headersLength, flags, context));
}

bool WinInetApi::InternetReadFile(Handle file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead) {
    *bytesRead = 0;
    auto read = wininet_.function<decltype(&::InternetReadFile)>("InternetReadFile");
    DWORD count = 0;
    const bool ok = read != nullptr && read(reinterpret_cast<void*>(file), buffer, bytesToRead, &count);
    *bytesRead = count;
    return ok;
}

bool WinInetApi::InternetCloseHandle(Handle handle) {
    auto close = wininet_.function<decltype(&::InternetCloseHandle)>("InternetCloseHandle");
    return close != nullptr && close(reinterpret_cast<void*>(handle));
}

bool OlePicture::holdsImage() const {
    SHORT type = PICTYPE_UNINITIALIZED;
    picture_->get_Type(&type);
    return type != PICTYPE_UNINITIALIZED && type != PICTYPE_NONE;
}

SIZE OlePicture::pixelSize(int dpiX, int dpiY) const {
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    // HIMETRIC is a hundredth of a millimetre: 2540 to the inch.
    return {MulDiv(width, dpiX, 2540), MulDiv(height, dpiY, 2540)};
}

void OlePicture::draw(HDC dc) const {
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    const SIZE size = pixelSize(GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY));
    picture_->Render(dc, 0, 0, size.cx, size.cy, 0, height, width, -height, nullptr);
}

bool OlePictureService::startCom() {
    if (!comStarted_) {
        auto initialize = ole32_.function<decltype(&::OleInitialize)>("OleInitialize");
        comStarted_ = initialize != nullptr && SUCCEEDED(initialize(nullptr));
    }
    return comStarted_;
}

PictureService::Outcome OlePictureService::loadPicturePath(const std::wstring& path, PictureRef& picture) {
    picture = nullptr;
    auto load = oleaut32_.function<decltype(&::OleLoadPicturePath)>("OleLoadPicturePath");
    if (load == nullptr || !startCom()) return Outcome::Unavailable;
    ui::win32::ComRef<IUnknown> object;
    std::wstring text = path;  // the loader takes a writable string
    load(text.data(), nullptr, 0, 0, kPictureId, reinterpret_cast<void**>(object.out()));
    if (!object) return Outcome::Called;
    picture = asPicture(object.get());
    if (picture == nullptr) return Outcome::Unavailable;
    // An empty answer loads "successfully" as a picture of no type: that is no chart.
    if (!static_cast<const OlePicture&>(*picture).holdsImage()) picture = nullptr;
    return Outcome::Called;
}

PictureRef OlePictureService::loadPictureFile(const std::wstring& path) {
    auto load = oleaut32_.function<decltype(&::OleLoadPictureFile)>("OleLoadPictureFile");
    auto allocate = oleaut32_.function<decltype(&::SysAllocString)>("SysAllocString");
    auto release = oleaut32_.function<decltype(&::SysFreeString)>("SysFreeString");
    if (load == nullptr || allocate == nullptr || release == nullptr || !startCom()) return nullptr;
    const ui::win32::AutomationString pathText(release, allocate(path.c_str()));
    VARIANT name{};
    name.vt = VT_BSTR;
    name.bstrVal = pathText.get();
    ui::win32::ComRef<IDispatch> object;
    load(name, object.out());
    return asPicture(object.get());
}

std::optional<double> OleNumberConversions::platformNumber(const wchar_t* text) {
    auto read = oleaut32_.function<decltype(&::VarR8FromStr)>("VarR8FromStr");
    double value = 0;
    // The declaration takes a writable text; the conversion only reads it.
    if (read == nullptr || FAILED(read(const_cast<OLECHAR*>(text), LOCALE_USER_DEFAULT, 0, &value))) return std::nullopt;
    return value;
}

std::optional<std::int16_t> OleNumberConversions::platformWhole(double value) {
    auto round = oleaut32_.function<decltype(&::VarI2FromR8)>("VarI2FromR8");
    SHORT whole = 0;
    if (round == nullptr || FAILED(round(value, &whole))) return std::nullopt;
    return whole;
}

std::optional<std::wstring> OleNumberConversions::platformText(double value) {
    auto format = oleaut32_.function<decltype(&::VarFormat)>("VarFormat");
    auto release = oleaut32_.function<decltype(&::SysFreeString)>("SysFreeString");
    if (format == nullptr || release == nullptr) return std::nullopt;
    VARIANT number{};
    number.vt = VT_R8;
    number.dblVal = value;
    wchar_t pattern[] = L"0.00";  // the call takes a writable string
    BSTR written = nullptr;
    const HRESULT formatted = format(&number, pattern, 0, 0, 0, &written);
    const ui::win32::AutomationString text(release, written);
    if (FAILED(formatted) || text.get() == nullptr) return std::nullopt;
    return std::wstring(text.get());
}

}  // namespace stock::win32
