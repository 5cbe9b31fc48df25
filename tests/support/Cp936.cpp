#include "tests/support/Cp936.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace support {
namespace {

bool isLeadByte(unsigned byte) { return byte >= 0x81 && byte <= 0xFE; }

// One converter each way for the life of the run; the targets run on one thread.
iconv_t converter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::fprintf(stderr, "iconv cannot convert %s to %s\n", from, to);
        std::abort();
    }
    return cd;
}

// Converts piece by piece: what the converter refuses becomes `substitute` and is stepped over.
template <typename Out, typename In>
Out convert(iconv_t cd, const In& in, typename Out::value_type substitute) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    Out out;
    char* inPtr = const_cast<char*>(reinterpret_cast<const char*>(in.data()));
    std::size_t inLeft = in.size() * sizeof(typename In::value_type);
    typename Out::value_type buffer[256];
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer);
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - reinterpret_cast<char*>(buffer)) / sizeof buffer[0]);
        if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
        out.push_back(substitute);
        if (error == EINVAL) break;  // an incomplete sequence at the end
        const std::size_t step = sizeof(typename In::value_type);
        inPtr += step;
        inLeft -= step;
    }
    return out;
}

}  // namespace

// Decoded as the platform decodes: a lead byte takes the byte after it, whatever that is, and a
// pair without a character becomes one "?" (so "\x81," swallows the comma). Each single byte and
// pair is looked up once in iconv's table.
std::wstring fromCp936(const std::string& bytes) {
    static const std::vector<wchar_t> table = [] {
        iconv_t cd = converter("WCHAR_T", "CP936");
        std::vector<wchar_t> characters(0x10000, L'?');
        auto decode = [&](std::string piece) {
            const std::wstring text = convert<std::wstring>(cd, piece, L'?');
            return text.size() == 1 ? text[0] : L'?';
        };
        for (unsigned first = 0; first < 0x100; ++first) {
            if (!isLeadByte(first)) {
                characters[first] = decode(std::string(1, static_cast<char>(first)));
                continue;
            }
            for (unsigned second = 0; second < 0x100; ++second) {
                characters[first << 8 | second] = decode({static_cast<char>(first), static_cast<char>(second)});
            }
        }
        iconv_close(cd);
        return characters;
    }();
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (!isLeadByte(byte)) {
            text += table[byte];
        } else if (i + 1 < bytes.size()) {
            text += table[byte << 8 | static_cast<unsigned char>(bytes[++i])];
        } else {
            text += L'?';
        }
    }
    return text;
}

std::string toCp936(const std::wstring& text) {
    static iconv_t cd = converter("CP936", "WCHAR_T");
    return convert<std::string>(cd, text, '?');
}

std::string Utf8::toAnsi(const std::wstring& text) const {
    static iconv_t cd = converter("UTF-8", "WCHAR_T");
    return convert<std::string>(cd, text, '?');
}

// To UTF-32LE, the form of wchar_t on the machines that fuzz, and not to WCHAR_T: glibc takes code
// points above U+10FFFF into WCHAR_T, and refuses them only on the way to a Unicode form.
std::optional<std::wstring> fromUtf8(const std::string& bytes) {
    static_assert(sizeof(wchar_t) == 4);
    static iconv_t cd = converter("UTF-32LE", "UTF-8");
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::wstring text(bytes.size(), L'\0');  // never more characters than bytes
    char* in = const_cast<char*>(bytes.data());
    char* out = reinterpret_cast<char*>(text.data());
    std::size_t inLeft = bytes.size(), outLeft = text.size() * sizeof(wchar_t);
    if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    text.resize(text.size() - outLeft / sizeof(wchar_t));
    return text;
}

}  // namespace support
