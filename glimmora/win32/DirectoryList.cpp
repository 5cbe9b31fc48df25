#include "glimmora/win32/DirectoryList.h"

#include "glimmora/win32/EntryDrawing.h"
#include "ui/win32/Owners.h"
#include "ui/win32/Subclass.h"

namespace glimmora::win32 {
namespace {

// The folder's subfolders; false when it cannot be read. A drive's root holds no "." entry, so
// finding nothing at all is an empty folder, not a failure.
bool readSubfolders(const std::wstring& folder, std::vector<std::wstring>& subfolders) {
    const std::wstring pattern = folder + (folder.back() == L'\\' ? L"*" : L"\\*");
    WIN32_FIND_DATAW data;
    const ui::win32::FindHandle search(
        FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data, FindExSearchLimitToDirectories, nullptr, 0));
    if (!search.valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::wstring name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
            subfolders.push_back(name);
        }
    } while (FindNextFileW(search.get(), &data));
    return true;
}

std::wstring fullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, buffer.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    buffer.resize(length);
    return buffer;
}

}  // namespace

void DirectoryList::created(HWND control, int /*height*/) {
    list_ = control;
    SendMessageW(list_, LB_SETITEMHEIGHT, 0, entryHeight(reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0))));
    indentStep_ = MulDiv(GetSystemMetrics(SM_CXSMICON), 1, 2);
    ui::win32::setWindowSubclass(list_, keyProc, 0, reinterpret_cast<DWORD_PTR>(this));
    wchar_t current[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    // A start folder that cannot be listed (a share that has gone, a folder one may enter but not
    // read) gives way to the nearest one above it, as a shown folder that vanished does.
    showNearest(length > 0 && length < MAX_PATH ? std::wstring(current, length) : L"C:\\", false);
}

bool DirectoryList::setPath(const std::wstring& wanted) {
    if (moveTo(wanted, true)) return true;
    showWhatIsThere();
    return false;
}

// The folder shown may have been removed since it was read, or a subfolder of it: the list must
// not lead to folders that are gone, nor List1 hold the skins of one.
void DirectoryList::showWhatIsThere() { showNearest(path_, true); }

void DirectoryList::showNearest(const std::wstring& wanted, bool report) {
    const std::wstring start = directoryPath(fullPath(wanted));
    for (std::wstring folder = start; !folder.empty(); folder = parentFolder(folder)) {
        if (moveTo(folder, report)) return;
    }
    // Not even the drive's root can be read: show the root, empty, so that the path and the drive
    // list still have a place to start from.
    const std::wstring root = directoryPath(driveOf(start));
    if (root.empty() || root == path_) return;
    path_ = root;
    show({});
    if (report) changed_();
}

bool DirectoryList::moveTo(const std::wstring& wanted, bool report) {
    // "c:" alone stands for the drive's current directory, which the full path resolves.
    const std::wstring target = directoryPath(fullPath(isDriveText(wanted) ? wanted.substr(0, 2) : wanted));
    std::vector<std::wstring> subfolders;
    if (target.empty() || !readSubfolders(target, subfolders)) return false;
    const bool moved = target != path_;
    path_ = target;
    show(std::move(subfolders));
    if (moved && report) changed_();
    return true;
}

void DirectoryList::show(std::vector<std::wstring> subfolders) {
    entries_ = folderEntries(path_, std::move(subfolders));
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const FolderEntry& entry : entries_) {
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text.c_str()));
    }
    SendMessageW(list_, LB_SETCURSEL, currentEntry(entries_), 0);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void DirectoryList::openSelected() {
    const LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    setPath(pathOfEntry(path_, entries_, static_cast<std::size_t>(selected)));
}

void DirectoryList::onCommand(WORD notification) {
    if (notification == LBN_DBLCLK) openSelected();
}

void DirectoryList::drawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID >= entries_.size()) return drawEntry(item, 0, L"", nullptr);
    const FolderEntry& entry = entries_[item.itemID];
    drawEntry(item, entry.level * indentStep_, entry.text,
              [&](HDC dc, const RECT& square) { paintFolder(dc, square, entry.open); });
}

LRESULT CALLBACK DirectoryList::keyProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
    auto* list = reinterpret_cast<DirectoryList*>(self);
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter opens the entry instead of going to the window's keyboard navigation.
        LRESULT code = ui::win32::defSubclassProc(control, message, wParam, lParam);
        auto* pending = reinterpret_cast<const MSG*>(lParam);
        if (pending != nullptr && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) {
            code |= DLGC_WANTMESSAGE;
        }
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            try {
                list->openSelected();
            } catch (...) {
                // A handler's failure must not unwind through the platform's frames.
            }
            return 0;
        }
        break;
    case WM_NCDESTROY:
        ui::win32::removeWindowSubclass(control, keyProc, 0);
        break;
    default:
        break;
    }
    return ui::win32::defSubclassProc(control, message, wParam, lParam);
}

}  // namespace glimmora::win32
