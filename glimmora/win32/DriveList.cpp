#include "glimmora/win32/DriveList.h"

#include "glimmora/FolderList.h"
#include "glimmora/win32/EntryDrawing.h"

namespace glimmora::win32 {
namespace {

std::wstring volumeLabel(const std::wstring& root, UINT type) {
    // Floppy drives are not asked: without a disk the question takes seconds.
    if (type == DRIVE_REMOVABLE) return L"";
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) return L"";
    return label;
}

std::wstring currentDirectory() {
    wchar_t current[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    return length > 0 && length < MAX_PATH ? std::wstring(current, length) : L"";
}

}  // namespace

void DriveList::created(HWND control) {
    combo_ = control;
    wchar_t roots[27 * 4 + 1] = {};
    const DWORD length = GetLogicalDriveStringsW(27 * 4, roots);
    for (const wchar_t* root = roots; length > 0 && length <= 27 * 4 && *root != L'\0'; root += lstrlenW(root) + 1) {
        const std::wstring text = driveEntryText(root[0], L"");
        letters_.push_back(text[0]);
        types_.push_back(DRIVE_UNKNOWN);
        described_.push_back(false);
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Measured when the list was made; set again only where the platform did not take it then.
    const int height = entryHeight(reinterpret_cast<HFONT>(SendMessageW(combo_, WM_GETFONT, 0, 0)));
    if (SendMessageW(combo_, CB_GETITEMHEIGHT, 0, 0) != height) SendMessageW(combo_, CB_SETITEMHEIGHT, 0, height);
    chooseDriveOf(currentDirectory());
}

// A drive's type and label are each a request to the mount manager: only the chosen entry shows
// until the list has the focus, so the others are asked then.
void DriveList::describe(int entry) {
    if (described_[entry]) return;
    described_[entry] = true;
    const std::wstring root{letters_[entry], L':', L'\\'};
    types_[entry] = GetDriveTypeW(root.c_str());
    const std::wstring text = driveEntryText(letters_[entry], volumeLabel(root, types_[entry]));
    SendMessageW(combo_, CB_DELETESTRING, entry, 0);
    SendMessageW(combo_, CB_INSERTSTRING, entry, reinterpret_cast<LPARAM>(text.c_str()));
    if (entry == chosen_) SendMessageW(combo_, CB_SETCURSEL, entry, 0);
}

std::wstring DriveList::entryText(int entry) const {
    const LRESULT length = SendMessageW(combo_, CB_GETLBTEXTLEN, entry, 0);
    if (length == CB_ERR) return L"";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo_, CB_GETLBTEXT, entry, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::wstring DriveList::text() const { return chosen_ < 0 ? L"" : entryText(chosen_); }

void DriveList::chooseDriveOf(const std::wstring& path) {
    const std::wstring drive = driveOf(path);
    for (std::size_t i = 0; i < letters_.size(); ++i) {
        if (!drive.empty() && letters_[i] == drive[0]) return choose(static_cast<int>(i));
    }
}

void DriveList::choose(int entry) {
    chosen_ = entry;
    describe(entry);
    SendMessageW(combo_, CB_SETCURSEL, entry, 0);
}

// A drive is chosen when the list closes on it, or when the arrow keys move in the closed field.
void DriveList::commitChoice() {
    const auto selected = static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0));
    if (selected == CB_ERR || selected == chosen_) return;
    chosen_ = selected;
    changed_();
}

void DriveList::onCommand(WORD notification) {
    if (notification == CBN_SETFOCUS) {
        for (std::size_t i = 0; i < letters_.size(); ++i) describe(static_cast<int>(i));
    }
    if (notification == CBN_CLOSEUP) commitChoice();
    if (notification == CBN_SELCHANGE && !SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0)) commitChoice();
}

int DriveList::entryHeightFor(HFONT font) const { return entryHeight(font); }

void DriveList::drawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID >= letters_.size()) return drawEntry(item, 0, L"", nullptr);
    const UINT type = types_[item.itemID];
    drawEntry(item, 0, entryText(static_cast<int>(item.itemID)),
              [type](HDC dc, const RECT& square) { paintDrive(dc, square, type); });
}

}  // namespace glimmora::win32
