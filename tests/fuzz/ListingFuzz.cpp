// libFuzzer target: the skin file listing of glimmora fed with whatever the file enumeration
// could hand back. The input is a folder's entries, each up to the separator "/" or NUL (neither
// can stand in a name), copied into the 260-byte name field of the platform's record as the
// platform leaves it: padded with NULs, or filling the field without a terminator when it is as
// long or longer. The bytes of a name need not be valid code page 936: a long Chinese name comes
// back cut at 260 bytes, maybe inside a character.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "glimmora/FolderList.h"
#include "glimmora/Form1.h"
#include "tests/fuzz/Require.h"
#include "tests/support/Cp936.h"
#include "tests/support/GlimmoraFakes.h"

namespace {

using fuzz::require;

bool isSkinName(std::wstring name) {
    if (name.size() < 4) return false;
    name = name.substr(name.size() - 4);
    for (wchar_t& c : name) c = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
    return name == L".she";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> names;
    for (std::size_t start = 0; start < size;) {
        const std::size_t end = std::min(input.find('/', start), size);
        const std::string entry = input.substr(start, end - start);
        names.push_back(entry.substr(0, entry.find('\0')));
        start = end + 1;
    }

    glimmora::testing::FakeGlimmoraWindow window;
    glimmora::testing::FakeFileFinder finder;
    finder.folders["C:\\skins\\*.she"] = names;
    skinengine::NoSkinEngine skin;
    support::Cp936 codePage;
    glimmora::Form1 form(window, skin, finder, codePage);
    window.entries = {L"stale.she"};
    form.Dir1_Change();

    const auto calls = [&](const std::string& name) {
        return std::count_if(finder.calls.begin(), finder.calls.end(),
                             [&](const std::string& call) { return call.rfind(name, 0) == 0; });
    };
    require(calls("FindFirstFileA C:\\skins\\*.she") == 1, "one search per listing, of the folder shown");
    require(calls("FindClose") == (names.empty() ? 0 : 1), "a search that was opened is closed once");
    require(finder.misuses.empty() && window.misuses.empty(), "no call the platform would refuse");
    // The name alone decoded: what the whole field decodes to before its NULs are cut off.
    std::vector<std::wstring> expected;
    for (const std::string& name : names) {
        const std::wstring decoded = support::fromCp936(name.substr(0, sizeof(glimmora::FindRecord::cFileName)));
        if (isSkinName(decoded)) expected.push_back(decoded);
    }
    std::vector<std::wstring> listed = window.entries;
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    require(listed == expected, "the list holds exactly the names ending in .she");
    return 0;
}
