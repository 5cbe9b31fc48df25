// What the calculator's logic needs from the platform beyond its window: the four WinINet calls of
// the web text fetch, the text conversions at the narrow interfaces, the OLE picture loaders and
// the number conversions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "stock/NumberConversions.h"
#include "ui/CodePage.h"

namespace stock {

class InternetApi {
public:
    using Handle = std::uintptr_t;  // 0: none

    virtual ~InternetApi() = default;
    virtual Handle InternetOpenA(const char* agent, std::uint32_t accessType, const char* proxy,
                                 const char* proxyBypass, std::uint32_t flags) = 0;
    virtual Handle InternetOpenUrlA(Handle internet, const char* url, const char* headers,
                                    std::uint32_t headersLength, std::uint32_t flags, std::uintptr_t context) = 0;
    virtual bool InternetReadFile(Handle file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead) = 0;
    virtual bool InternetCloseHandle(Handle handle) = 0;
};

struct TextCodePages {
    const ui::AnsiCodePage& system;  // for the narrow interfaces
    const ui::AnsiCodePage& gbk;     // code page 936, what the quote service has always answered in
    const ui::AnsiCodePage& utf8;    // what it answers in as well nowadays; given only valid UTF-8
};

// A picture the image control can show; the platform's object stays alive while one is held.
class Picture {
public:
    virtual ~Picture() = default;
};
using PictureRef = std::shared_ptr<Picture>;

class PictureService {
public:
    enum class Outcome {
        Called,       // the OLE loader ran; the picture is null when it loaded none
        Unavailable,  // its entry point could not be bound, or what it gave is no picture
    };
    virtual ~PictureService() = default;
    virtual Outcome loadPicturePath(const std::wstring& path, PictureRef& picture) = 0;
    // The platform's picture loader for files; null when it loads nothing.
    virtual PictureRef loadPictureFile(const std::wstring& path) = 0;
};

// The two services' base addresses, built into each program: no configuration exists.
struct ServiceAddresses {
    const wchar_t* quoteBase;
    const wchar_t* chartBase;
    const char* quoteHeaders;  // extra request headers the public service insists on; "" for none
};

struct StockPlatform {
    InternetApi& internet;
    TextCodePages text;
    PictureService& pictures;
    NumberConversions& numbers;
    const ServiceAddresses& addresses;
};

}  // namespace stock
