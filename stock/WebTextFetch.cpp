#include "stock/WebTextFetch.h"

#include <algorithm>
#include <iterator>

#include "ui/OnScopeExit.h"

namespace stock {
namespace {

constexpr std::uint32_t kOpenTypeDirect = 1;
constexpr std::uint32_t kNoCacheWrite = 0x04000000;

bool isLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// The bytes that start a UTF-8 character, with its length and the range of its second byte (the
// others lie in 80 to BF). C0, C1 and F5 to FF start nothing.
struct Utf8Lead {
    unsigned char first, last;
    std::size_t length;
    unsigned char low, high;
};
constexpr Utf8Lead kUtf8Leads[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF},
    {0xE0, 0xE0, 3, 0xA0, 0xBF},  // no overlong form
    {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F},  // no surrogate
    {0xEE, 0xEF, 3, 0x80, 0xBF},
    {0xF0, 0xF0, 4, 0x90, 0xBF},  // no overlong form
    {0xF1, 0xF3, 4, 0x80, 0xBF},
    {0xF4, 0xF4, 4, 0x80, 0x8F},  // nothing above U+10FFFF
};

// A UTF-8 body decoded as UTF-8; every other as GBK, a lone lead byte mended. A character cut by
// the bound becomes "?", as a GBK lead byte cut there does.
std::wstring decodeBody(const TextCodePages& text, const std::string& bytes, bool cutByBound) {
    const std::optional<std::size_t> utf8 = utf8TextLength(bytes, cutByBound);
    if (!utf8) return text.gbk.fromAnsi(withLoneLeadBytesReplaced(bytes));
    return text.utf8.fromAnsi(bytes.substr(0, *utf8) + (*utf8 < bytes.size() ? "?" : ""));
}

}  // namespace

std::optional<std::size_t> utf8TextLength(std::string_view bytes, bool cutByBound) {
    bool beyondAscii = false;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        const auto kind = std::find_if(std::begin(kUtf8Leads), std::end(kUtf8Leads),
                                       [lead](const Utf8Lead& l) { return lead >= l.first && lead <= l.last; });
        if (kind == std::end(kUtf8Leads)) return std::nullopt;
        for (std::size_t i = 1; i < kind->length; ++i) {
            if (at + i == bytes.size()) return cutByBound && beyondAscii ? std::optional(at) : std::nullopt;
            const auto next = static_cast<unsigned char>(bytes[at + i]);
            if (next < (i == 1 ? kind->low : 0x80) || next > (i == 1 ? kind->high : 0xBF)) return std::nullopt;
        }
        beyondAscii = true;
        at += kind->length;
    }
    return beyondAscii ? std::optional(bytes.size()) : std::nullopt;
}

std::string withLoneLeadBytesReplaced(const std::string& bytes) {
    std::string result = bytes;
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (!isLeadByte(static_cast<unsigned char>(result[i]))) continue;
        if (i + 1 < result.size() && isTrailByte(static_cast<unsigned char>(result[i + 1]))) {
            ++i;  // a whole character
        } else {
            result[i] = '?';
        }
    }
    return result;
}

std::wstring fetchWebText(InternetApi& internet, const TextCodePages& text, const std::wstring& url,
                          const std::string& headers) {
    std::wstring result;
    const InternetApi::Handle root = internet.InternetOpenA("vb wininet", kOpenTypeDirect, nullptr, nullptr, 0);
    if (root == 0) return result;
    const ui::OnScopeExit closeRoot([&] { internet.InternetCloseHandle(root); });

    const std::string address = text.system.toAnsi(url);
    const InternetApi::Handle file =
        internet.InternetOpenUrlA(root, address.c_str(), headers.empty() ? nullptr : headers.c_str(),
                                  static_cast<std::uint32_t>(headers.size()), kNoCacheWrite, 0);
    if (file != 0) {
        const ui::OnScopeExit closeFile([&] { internet.InternetCloseHandle(file); });
        std::string received;
        char buffer[kReadSize];
        for (;;) {
            std::uint32_t count = 0;
            internet.InternetReadFile(file, buffer, kReadSize, &count);  // a failed read reports 0 bytes
            if (count == 0) break;
            received.append(buffer, std::min(count, kReadSize));
            if (received.size() >= kMaxBodyBytes) break;
        }
        // The text ends before the first NUL: cut the bytes there already, so that the code page is
        // judged by what the text keeps. A NUL byte is a character of its own in GBK and in UTF-8.
        const std::size_t nul = received.find('\0');
        const bool cutByBound = nul == std::string::npos && received.size() >= kMaxBodyBytes;
        received.resize(std::min(nul, received.size()));
        // One conversion over all bytes: a character split between two reads comes out whole.
        result = decodeBody(text, received, cutByBound);
    }
    return result;
}

}  // namespace stock
