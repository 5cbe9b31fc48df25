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
#include "tests/fuzz/Cp936.h"

namespace {

using fuzz::require;
using glimmora::Control;
using glimmora::SearchHandle;

// The window as far as the listing reaches it; List1 keeps its entries sorted, as the platform's does.
class ListingWindow final : public glimmora::GlimmoraView {
public:
    std::wstring driveText() const override { return L"c:"; }
    void chooseDriveOf(const std::wstring&) override {}
    std::wstring dirPath() const override { return L"C:\\skins"; }
    bool setDirPath(const std::wstring&) override { return false; }
    std::wstring text(Control) const override { return path; }
    void setText(Control, const std::wstring& text) override { path = text; }
    void listClear() override { entries.clear(); }
    void listAdd(const std::wstring& entry) override {
        entries.insert(std::upper_bound(entries.begin(), entries.end(), entry, glimmora::lessIgnoringCase), entry);
    }
    int listCount() const override { return static_cast<int>(entries.size()); }
    std::wstring listItem(int position) const override {
        require(position >= 0 && position < listCount(), "the filter reads only entries the list holds");
        return entries[static_cast<std::size_t>(position)];
    }
    void listRemove(int position) override {
        require(position >= 0 && position < listCount(), "the filter removes only entries the list holds");
        entries.erase(entries.begin() + position);
    }
    std::wstring listSelected() const override { return L""; }
    int value(Control) const override { return 0; }
    void setValue(Control, int) override {}
    skinengine::WindowHandle windowHandle() const override { return 1; }
    void showMessage(const std::wstring&, const std::wstring&, int) override {}
    void endProgram() override {}

    std::wstring path;
    std::vector<std::wstring> entries;
};

class ScriptedFinder final : public glimmora::FileFinder {
public:
    explicit ScriptedFinder(std::vector<std::string> names) : names_(std::move(names)) {}

    SearchHandle FindFirstFileA(const std::string&, glimmora::FindRecord& record) override {
        ++firsts;
        if (names_.empty()) return glimmora::kInvalidSearchHandle;
        fill(record);
        return kSearch;
    }
    bool FindNextFileA(SearchHandle search, glimmora::FindRecord& record) override {
        require(search == kSearch && closes == 0 && !ended, "no search goes on after its end");
        if (next_ == names_.size()) return !(ended = true);
        fill(record);
        return true;
    }
    void FindClose(SearchHandle search) override {
        require(search == kSearch, "only the search that was opened is closed");
        ++closes;
    }

    static constexpr SearchHandle kSearch = 0x5EA6C4;
    int firsts = 0;
    int closes = 0;
    bool ended = false;

private:
    void fill(glimmora::FindRecord& record) {
        std::memset(record.cFileName, 0, sizeof record.cFileName);
        const std::string& name = names_[next_++];
        std::memcpy(record.cFileName, name.data(), std::min(name.size(), sizeof record.cFileName));
    }
    std::vector<std::string> names_;
    std::size_t next_ = 0;
};

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

    ListingWindow window;
    ScriptedFinder finder(names);
    skinengine::NoSkinEngine skin;
    fuzz::Cp936 codePage;
    glimmora::Form1 form(window, skin, finder, codePage);
    window.entries = {L"stale.she"};
    form.Dir1_Change();

    require(finder.firsts == 1, "one search per listing");
    require(finder.closes == (names.empty() ? 0 : 1), "a search that was opened is closed once");
    // The name alone decoded: what the whole field decodes to before its NULs are cut off.
    std::vector<std::wstring> expected;
    for (const std::string& name : names) {
        const std::wstring decoded = fuzz::fromCp936(name.substr(0, sizeof(glimmora::FindRecord::cFileName)));
        if (isSkinName(decoded)) expected.push_back(decoded);
    }
    std::vector<std::wstring> listed = window.entries;
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    require(listed == expected, "the list holds exactly the names ending in .she");

    const std::wstring wide = fuzz::fromCp936(input);
    const std::wstring stripped = form.StripNulls(wide);
    require(stripped == wide.substr(0, wide.find(L'\0')), "StripNulls keeps what stands before the first NUL");
    return 0;
}
