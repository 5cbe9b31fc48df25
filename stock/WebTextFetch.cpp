#include "stock/WebTextFetch.h"

#include <algorithm>

namespace stock {
namespace {

constexpr std::uint32_t kOpenTypeDirect = 1;
constexpr std::uint32_t kNoCacheWrite = 0x04000000;

bool isLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

}  // namespace

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

std::wstring fetchWebText(InternetApi& internet, TextCodec& text, const std::wstring& url, const std::string& headers) {
    std::wstring result;
    const InternetApi::Handle root = internet.InternetOpenA("vb wininet", kOpenTypeDirect, nullptr, nullptr, 0);
    if (root == 0) return result;

    const std::string address = text.toAnsi(url);
    const InternetApi::Handle file =
        internet.InternetOpenUrlA(root, address.c_str(), headers.empty() ? nullptr : headers.c_str(),
                                  static_cast<std::uint32_t>(headers.size()), kNoCacheWrite, 0);
    if (file != 0) {
        std::string received;
        char buffer[kReadSize];
        for (;;) {
            std::uint32_t count = 0;
            internet.InternetReadFile(file, buffer, kReadSize, &count);  // a failed read reports 0 bytes
            if (count == 0) break;
            received.append(buffer, std::min(count, kReadSize));
            if (received.size() >= kMaxBodyBytes) break;
        }
        // One conversion over all bytes: a character split between two reads comes out whole.
        result = text.fromGbk(withLoneLeadBytesReplaced(received));
        result.resize(std::min(result.find(L'\0'), result.size()));
        internet.InternetCloseHandle(file);
    }
    internet.InternetCloseHandle(root);
    return result;
}

}  // namespace stock
