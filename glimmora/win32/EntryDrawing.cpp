#include "glimmora/win32/EntryDrawing.h"

#include <shellapi.h>

#include <algorithm>

namespace glimmora::win32 {

int entryHeight(HWND control) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return std::max<int>(metrics.tmHeight, GetSystemMetrics(SM_CYSMICON)) + 2;
}

void drawEntry(const DRAWITEMSTRUCT& item, HICON icon, int indent, const std::wstring& text) {
    HDC dc = item.hDC;
    const RECT& box = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &box, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1)) return;  // an empty list: only the background

    const int height = box.bottom - box.top;
    const int iconSize = std::min<int>(GetSystemMetrics(SM_CXSMICON), height);
    const int iconLeft = box.left + 2 + indent;
    if (icon != nullptr) {
        DrawIconEx(dc, iconLeft, box.top + (height - iconSize) / 2, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    }
    RECT textBox = box;
    textBox.left = iconLeft + iconSize + 3;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textBox,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &box);
}

namespace {

HICON shellIcon(const wchar_t* path, DWORD attributes, UINT flags) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(path, attributes, &info, sizeof info, flags | SHGFI_ICON | SHGFI_SMALLICON)) return nullptr;
    return info.hIcon;
}

}  // namespace

HICON smallFolderIcon(bool open) {
    return shellIcon(L"folder", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES | (open ? SHGFI_OPENICON : 0));
}

HICON smallDriveIcon(const std::wstring& root) { return shellIcon(root.c_str(), 0, 0); }

}  // namespace glimmora::win32
