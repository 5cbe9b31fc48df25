// A stand-alone model of the skin try-on window and of the file enumeration. Neither fails a test
// by itself, so that the fuzz targets can use them: a call the platform would not take (an entry
// the list does not hold, a search that is not open) is written to `misuses`, which stays empty.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>
#include <wchar.h>

#include "glimmora/FileFinder.h"
#include "glimmora/FolderList.h"
#include "glimmora/GlimmoraView.h"
#include "tests/support/RecordingSkinEngine.h"

namespace glimmora::testing {

using support::Message;
using support::RecordingSkinEngine;

class FakeGlimmoraWindow : public GlimmoraView {
public:
    // The handlers the window raises by itself, connected to the form under test.
    std::function<void(Control)> raiseClick = [](Control) {};
    std::function<void(Control)> raiseChange = [](Control) {};

    std::wstring driveText() const override { return drive; }
    void chooseDriveOf(const std::wstring& folder) override {
        drive = driveOf(folder) + L" [back]";
        events.push_back(L"drive " + drive);
    }

    std::wstring dirPath() const override { return path; }
    bool setDirPath(const std::wstring& wanted) override {
        if (unreadable.count(driveOf(wanted)) || unreadable.count(wanted)) return false;
        if (wanted == path) return true;
        path = wanted;
        events.push_back(L"path " + path);
        raiseChange(Control::Dir1);
        return true;
    }

    std::wstring text(Control control) const override { return texts.count(control) ? texts.at(control) : L""; }
    void setText(Control control, const std::wstring& text) override {
        texts[control] = text;
        events.push_back(L"text " + text);
    }

    // Sorted as the platform's sorting list box keeps it: alphabetically without regard to case,
    // which for the names the tests use is the C library's comparison ignoring case.
    void listClear() override {
        entries.clear();
        selected = -1;
        events.push_back(L"clear");
    }
    void listAdd(const std::wstring& entry) override {
        const auto listOrder = [](const std::wstring& a, const std::wstring& b) {
            return wcscasecmp(a.c_str(), b.c_str()) < 0;
        };
        entries.insert(std::upper_bound(entries.begin(), entries.end(), entry, listOrder), entry);
        events.push_back(L"add " + entry);
    }
    int listCount() const override { return static_cast<int>(entries.size()); }
    std::wstring listItem(int position) const override {
        if (!inList(position)) return L"";
        return entries[static_cast<std::size_t>(position)];
    }
    void listRemove(int position) override {
        if (!inList(position)) return;
        entries.erase(entries.begin() + position);
        events.push_back(L"remove " + std::to_wstring(position));
    }
    std::wstring listSelected() const override {
        return selected >= 0 ? entries[static_cast<std::size_t>(selected)] : L"";
    }

    int value(Control control) const override { return values.count(control) ? values.at(control) : 0; }
    void setValue(Control control, int newValue) override {
        if (value(control) == newValue) return;
        values[control] = newValue;
        raiseClick(control);
    }

    skinengine::WindowHandle windowHandle() const override { return kHandle; }
    void showMessage(const std::wstring& text, const std::wstring& title, int style) override {
        messages.push_back({text, title, style});
        events.push_back(L"message");
    }
    void endProgram() override {}

    // Selects an entry as a click does, and raises the click.
    void clickEntry(const std::wstring& entry) {
        auto found = std::find(entries.begin(), entries.end(), entry);
        if (found == entries.end()) return misuses.push_back(L"no entry to click: " + entry);
        selected = static_cast<int>(found - entries.begin());
        raiseClick(Control::List1);
    }

    static constexpr skinengine::WindowHandle kHandle = 0x00A10C2Eu;

    std::wstring drive = L"c: [system]";
    std::wstring path = L"C:\\skins";
    std::set<std::wstring> unreadable;                  // drives ("d:") and folders that cannot be read
    std::map<Control, std::wstring> texts;
    std::vector<std::wstring> entries;
    int selected = -1;
    std::map<Control, int> values;
    std::vector<Message> messages;
    std::vector<std::wstring> events;  // in the order the window saw them
    mutable std::vector<std::wstring> misuses;

private:
    bool inList(int position) const {
        const bool inside = position >= 0 && position < listCount();
        if (!inside) misuses.push_back(L"List1 has no entry " + std::to_wstring(position));
        return inside;
    }
};

// Hands out the names of each pattern's folder in the order given, as the platform would.
class FakeFileFinder : public FileFinder {
public:
    static constexpr SearchHandle kSearch = 7;

    SearchHandle FindFirstFileA(const std::string& pattern, FindRecord& record) override {
        calls.push_back("FindFirstFileA " + pattern);
        auto folder = folders.find(pattern);
        if (folder == folders.end() || folder->second.empty()) return kInvalidSearchHandle;
        names_ = folder->second;
        next_ = 0;
        ++open;
        fill(record);
        return kSearch;
    }
    bool FindNextFileA(SearchHandle search, FindRecord& record) override {
        calls.push_back("FindNextFileA");
        if (search != kSearch || open != 1 || next_ > names_.size()) misuses.push_back("FindNextFileA past its search");
        if (next_ >= names_.size()) {
            next_ = names_.size() + 1;  // the end was reported
            return false;
        }
        fill(record);
        return true;
    }
    void FindClose(SearchHandle search) override {
        calls.push_back("FindClose");
        if (search != kSearch || open != 1) misuses.push_back("FindClose of no open search");
        --open;
    }

    std::map<std::string, std::vector<std::string>> folders;  // pattern to names
    std::vector<std::string> calls;
    std::vector<std::string> misuses;
    int open = 0;  // searches started and not closed

private:
    // The record as the platform leaves it: the name, then NULs; a 260-byte name fills it all.
    void fill(FindRecord& record) {
        std::memset(record.cFileName, 0, sizeof record.cFileName);
        const std::string& name = names_[next_++];
        std::memcpy(record.cFileName, name.data(), std::min(name.size(), sizeof record.cFileName));
    }
    std::vector<std::string> names_;
    std::size_t next_ = 0;
};

}  // namespace glimmora::testing
