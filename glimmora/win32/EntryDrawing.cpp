#include "glimmora/win32/EntryDrawing.h"

#include <shellapi.h>

#include <algorithm>

#include "ui/win32/GdiObject.h"

namespace glimmora::win32 {
namespace {

struct Shape {
    const POINT* points;
    int count;
    COLORREF fill;
};

// On a 16 by 16 grid. Closed: a tab and a body. Open: the body behind, its front flap tilted.
constexpr POINT kClosedFolder[] = {{1, 3}, {6, 3}, {8, 5}, {15, 5}, {15, 14}, {1, 14}};
constexpr POINT kOpenBack[] = {{1, 3}, {6, 3}, {8, 5}, {14, 5}, {14, 8}, {4, 8}, {1, 14}};
constexpr POINT kOpenFlap[] = {{4, 8}, {16, 8}, {13, 14}, {1, 14}};
constexpr COLORREF kOutline = RGB(150, 110, 20);

void paintShape(HDC dc, const RECT& square, const Shape& shape) {
    const int size = square.right - square.left;
    POINT points[8];
    for (int i = 0; i < shape.count; ++i) {
        points[i] = {square.left + MulDiv(shape.points[i].x, size, 16),
                     square.top + MulDiv(shape.points[i].y, size, 16)};
    }
    ui::win32::BrushHandle brush(CreateSolidBrush(shape.fill));
    ui::win32::PenHandle pen(CreatePen(PS_SOLID, 1, kOutline));
    HGDIOBJ oldBrush = SelectObject(dc, brush.get());
    HGDIOBJ oldPen = SelectObject(dc, pen.get());
    Polygon(dc, points, shape.count);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

}  // namespace

int entryHeight(HWND control) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return std::max<int>(metrics.tmHeight, GetSystemMetrics(SM_CYSMICON)) + 2;
}

void drawEntry(const DRAWITEMSTRUCT& item, int indent, const std::wstring& text, const PicturePainter& picture) {
    HDC dc = item.hDC;
    const RECT& box = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &box, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1)) return;  // an empty list: only the background

    const int height = box.bottom - box.top;
    const int size = std::min<int>(GetSystemMetrics(SM_CXSMICON), height);
    const RECT square{box.left + 2 + indent, box.top + (height - size) / 2, box.left + 2 + indent + size,
                      box.top + (height - size) / 2 + size};
    if (picture) picture(dc, square);
    RECT textBox = box;
    textBox.left = square.right + 3;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textBox,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &box);
}

void paintFolder(HDC dc, const RECT& square, bool open) {
    if (open) {
        paintShape(dc, square, {kOpenBack, 7, RGB(222, 170, 60)});
        paintShape(dc, square, {kOpenFlap, 4, RGB(255, 228, 140)});
    } else {
        paintShape(dc, square, {kClosedFolder, 6, RGB(250, 206, 90)});
    }
}

HICON smallDriveIcon(const std::wstring& root) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(root.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) return nullptr;
    return info.hIcon;
}

}  // namespace glimmora::win32
