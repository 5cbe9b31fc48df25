#include "glimmora/win32/EntryDrawing.h"

#include <algorithm>

#include "ui/win32/Owners.h"

namespace glimmora::win32 {
namespace {

struct Shape {
    const POINT* points;
    int count;
    COLORREF fill;
    COLORREF outline;
};

// On a 16 by 16 grid. Closed: a tab and a body. Open: the body behind, its front flap tilted.
constexpr POINT kClosedFolder[] = {{1, 3}, {6, 3}, {8, 5}, {15, 5}, {15, 14}, {1, 14}};
constexpr POINT kOpenBack[] = {{1, 3}, {6, 3}, {8, 5}, {14, 5}, {14, 8}, {4, 8}, {1, 14}};
constexpr POINT kOpenFlap[] = {{4, 8}, {16, 8}, {13, 14}, {1, 14}};
constexpr COLORREF kFolderOutline = RGB(150, 110, 20);

// A drive seen from the front and above: its top, its front, and a light or a slot on the front;
// a network drive raised on its cable; a disc for a CD-ROM drive.
constexpr POINT kDriveTop[] = {{3, 4}, {13, 4}, {15, 8}, {1, 8}};
constexpr POINT kDriveFront[] = {{1, 8}, {15, 8}, {15, 12}, {1, 12}};
constexpr POINT kDriveLight[] = {{11, 9}, {13, 9}, {13, 11}, {11, 11}};
constexpr POINT kDriveSlot[] = {{3, 9}, {10, 9}, {10, 10}, {3, 10}};
constexpr POINT kNetworkTop[] = {{3, 1}, {13, 1}, {15, 4}, {1, 4}};
constexpr POINT kNetworkFront[] = {{1, 4}, {15, 4}, {15, 8}, {1, 8}};
constexpr POINT kNetworkLight[] = {{11, 5}, {13, 5}, {13, 7}, {11, 7}};
constexpr POINT kCable[] = {{7, 8}, {9, 8}, {9, 12}, {15, 12}, {15, 14}, {1, 14}, {1, 12}, {7, 12}};
constexpr POINT kDisc[] = {{5, 1}, {11, 1}, {15, 5}, {15, 11}, {11, 15}, {5, 15}, {1, 11}, {1, 5}};
constexpr POINT kDiscHole[] = {{7, 7}, {9, 7}, {9, 9}, {7, 9}};
constexpr COLORREF kDriveOutline = RGB(90, 90, 96);
constexpr COLORREF kDriveTopFill = RGB(228, 228, 232);
constexpr COLORREF kDriveFrontFill = RGB(176, 176, 184);
constexpr COLORREF kLight = RGB(40, 200, 60);
constexpr COLORREF kDark = RGB(60, 60, 64);

void paintShape(HDC dc, const RECT& square, const Shape& shape) {
    const int size = square.right - square.left;
    POINT points[8];  // the most any shape has
    for (int i = 0; i < shape.count; ++i) {
        points[i] = {square.left + MulDiv(shape.points[i].x, size, 16),
                     square.top + MulDiv(shape.points[i].y, size, 16)};
    }
    ui::win32::BrushHandle brush(CreateSolidBrush(shape.fill));
    ui::win32::PenHandle pen(CreatePen(PS_SOLID, 1, shape.outline));
    const ui::win32::Selection brushSelected(dc, brush.get());
    const ui::win32::Selection penSelected(dc, pen.get());
    Polygon(dc, points, shape.count);
}

}  // namespace

// Measured on a memory DC: the metrics are the same, and under Wine a window's DC costs ten round
// trips to the server.
int entryHeight(HFONT font) {
    const ui::win32::MemoryDC dc(CreateCompatibleDC(nullptr));
    TEXTMETRICW metrics{};
    {
        const ui::win32::Selection selected(dc.get(), font);
        GetTextMetricsW(dc.get(), &metrics);
    }
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
        paintShape(dc, square, {kOpenBack, 7, RGB(222, 170, 60), kFolderOutline});
        paintShape(dc, square, {kOpenFlap, 4, RGB(255, 228, 140), kFolderOutline});
    } else {
        paintShape(dc, square, {kClosedFolder, 6, RGB(250, 206, 90), kFolderOutline});
    }
}

void paintDrive(HDC dc, const RECT& square, UINT driveType) {
    switch (driveType) {
    case DRIVE_CDROM:
        paintShape(dc, square, {kDisc, 8, RGB(214, 220, 232), kDriveOutline});
        paintShape(dc, square, {kDiscHole, 4, RGB(255, 255, 255), kDriveOutline});
        break;
    case DRIVE_REMOTE:
        paintShape(dc, square, {kNetworkTop, 4, kDriveTopFill, kDriveOutline});
        paintShape(dc, square, {kNetworkFront, 4, kDriveFrontFill, kDriveOutline});
        paintShape(dc, square, {kNetworkLight, 4, kLight, kLight});
        paintShape(dc, square, {kCable, 8, kDark, kDark});
        break;
    default:
        paintShape(dc, square, {kDriveTop, 4, kDriveTopFill, kDriveOutline});
        paintShape(dc, square, {kDriveFront, 4, kDriveFrontFill, kDriveOutline});
        if (driveType == DRIVE_REMOVABLE) {
            paintShape(dc, square, {kDriveSlot, 4, kDark, kDark});
        } else {
            paintShape(dc, square, {kDriveLight, 4, kLight, kLight});
        }
        break;
    }
}

}  // namespace glimmora::win32
