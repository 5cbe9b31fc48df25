// Code page 936 for the native tests and the fuzz targets, through glibc's iconv: the native
// stand-in for the platform's MultiByteToWideChar(936) and WideCharToMultiByte(936). Like the platform, it never fails: a byte
// sequence it cannot decode becomes "?", and so does a character it cannot encode. UTF-8 likewise,
// for MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS): bytes that are no strict UTF-8 give nothing.
#pragma once

#include <optional>
#include <string>

#include "stock/Platform.h"
#include "ui/CodePage.h"

namespace support {

std::wstring fromCp936(const std::string& bytes);
std::string toCp936(const std::wstring& text);
std::optional<std::wstring> fromUtf8(const std::string& bytes);

class Cp936 final : public ui::AnsiCodePage {
public:
    std::string toAnsi(const std::wstring& text) const override { return toCp936(text); }
    std::wstring fromAnsi(std::string_view bytes) const override { return fromCp936(std::string(bytes)); }
};

class Utf8 final : public ui::AnsiCodePage {
public:
    std::string toAnsi(const std::wstring& text) const override;
    std::wstring fromAnsi(std::string_view bytes) const override { return fromUtf8(std::string(bytes)).value_or(L""); }
};

// The calculator's code pages on a system whose own is 936.
struct StockCodePages {
    Cp936 gbk;
    Utf8 utf8;
    operator stock::TextCodePages() const { return {gbk, gbk, utf8}; }
};

}  // namespace support
