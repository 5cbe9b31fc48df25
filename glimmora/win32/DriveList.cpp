#include "glimmora/win32/DriveList.h"

#include <algorithm>

#include "glimmora/FolderList.h"
#include "glimmora/win32/EntryDrawing.h"

namespace glimmora::win32 {
namespace {

// The rows its dropped list shows.
constexpr int kDroppedRows = 8;
// What a drop-down list's field adds around the height set for it, and around the height its
// owner measures for it, under Wine; where the platform adds another, fitField measures it.
constexpr int kUsualFieldFrame = 6;
constexpr int kUsualMeasuredFieldFrame = 10;
// The border of a drop-down list's dropped list.
constexpr int kDroppedListBorder = 2;

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

void DriveList::created(HWND control, int height) {
    combo_ = control;
    // Measured when the list was made; set again only where the platform did not take it then.
    if (entryHeight_ > 0 && SendMessageW(combo_, CB_GETITEMHEIGHT, 0, 0) != entryHeight_) {
        SendMessageW(combo_, CB_SETITEMHEIGHT, 0, entryHeight_);
    }
    // Listing the drives reads Wine's drive folder one entry a request: until the list first has
    // the focus only the chosen entry can show, so it starts with the current directory's drive.
    const std::wstring drive = driveOf(currentDirectory());
    if (!drive.empty()) {
        insertEntry(0, drive[0]);
        choose(0);
    }
    // After the height of the entries is set, which may move the field's.
    fitField(height);
}

// Its window height includes its dropped list; the table gives the field's. A list of whole
// entries is not cut to whole entries by the platform, a resize each time the combo box lays
// itself out (its font, its field height).
int DriveList::windowHeightFor(int height, HFONT font) const {
    const int entry = entryHeightFor(font);
    return entry > 0 ? height + kDroppedListBorder +
                           std::max(1, ((kDroppedRows - 1) * height - kDroppedListBorder) / entry) * entry
                     : height * kDroppedRows;
}

int DriveList::fieldEntryHeightFor(int height) const { return height - kUsualMeasuredFieldFrame; }

void DriveList::fitField(int height) {
    // The field's frame is measured around a height we set ourselves: what the control reports
    // back as its field height need not be what it was set to.
    // The field was measured at its creation (fieldEntryHeightFor). Each CB_SETITEMHEIGHT resizes
    // the combo box: the usual frame first, measured only when it was not the platform's.
    RECT shown;
    GetWindowRect(combo_, &shown);
    if (shown.bottom - shown.top == height) return;
    SendMessageW(combo_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - kUsualFieldFrame);
    GetWindowRect(combo_, &shown);
    if (shown.bottom - shown.top == height) return;
    const auto probe = static_cast<int>(SendMessageW(combo_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    SendMessageW(combo_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), probe);
    GetWindowRect(combo_, &shown);
    const int frame = shown.bottom - shown.top - probe;
    SendMessageW(combo_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - frame);
}

void DriveList::insertEntry(int entry, wchar_t letter) {
    letters_.insert(letters_.begin() + entry, letter);
    types_.insert(types_.begin() + entry, DRIVE_UNKNOWN);
    described_.insert(described_.begin() + entry, false);
    const std::wstring text = driveEntryText(letter, L"");
    SendMessageW(combo_, CB_INSERTSTRING, entry, reinterpret_cast<LPARAM>(text.c_str()));
    if (chosen_ >= entry) ++chosen_;
}

// Every drive in letter order, around those already listed.
void DriveList::listAll() {
    if (listedAll_) return;
    listedAll_ = true;
    const int chosen = chosen_;
    wchar_t roots[27 * 4 + 1] = {};
    const DWORD length = GetLogicalDriveStringsW(27 * 4, roots);
    for (const wchar_t* root = roots; length > 0 && length <= 27 * 4 && *root != L'\0'; root += lstrlenW(root) + 1) {
        const wchar_t letter = driveEntryText(root[0], L"")[0];
        const auto at = std::lower_bound(letters_.begin(), letters_.end(), letter);
        if (at == letters_.end() || *at != letter) insertEntry(static_cast<int>(at - letters_.begin()), letter);
    }
    if (chosen_ != chosen) SendMessageW(combo_, CB_SETCURSEL, chosen_, 0);
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
    if (drive.empty()) return;
    auto at = std::find(letters_.begin(), letters_.end(), drive[0]);
    if (at == letters_.end()) {
        listAll();
        at = std::find(letters_.begin(), letters_.end(), drive[0]);
    }
    if (at != letters_.end()) choose(static_cast<int>(at - letters_.begin()));
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
    // The list may also be dropped without the focus (CB_SHOWDROPDOWN from another program).
    if (notification == CBN_SETFOCUS || notification == CBN_DROPDOWN) {
        listAll();
        for (std::size_t i = 0; i < letters_.size(); ++i) describe(static_cast<int>(i));
    }
    if (notification == CBN_CLOSEUP) commitChoice();
    if (notification == CBN_SELCHANGE && !SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0)) commitChoice();
}

int DriveList::entryHeightFor(HFONT font) const {
    entryHeight_ = entryHeight(font);
    return entryHeight_;
}

void DriveList::drawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID >= letters_.size()) return drawEntry(item, 0, L"", nullptr);
    const UINT type = types_[item.itemID];
    drawEntry(item, 0, entryText(static_cast<int>(item.itemID)),
              [type](HDC dc, const RECT& square) { paintDrive(dc, square, type); });
}

}  // namespace glimmora::win32
