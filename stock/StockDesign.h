// The calculator window as designed: every control with its caption, twips layout, font,
// colours, tooltip and tab order. Rows stand in tab order; the enum indexes the table.
#pragma once

#include <cstddef>

#include "ui/DesignTable.h"

namespace stock {

enum class Control : int {
    Label1, Text1, Label2, Text2, Label3, Text3, Label4, Text4, Label5, Text5, Label6, Text6,
    Label7, Text7, Label8, Text8, cmd_clac, Label9, Text9, cmd_stockfind, Text10, lb_info,
    Frame1, Option4, Option3, Option2, Option1, chk_autoref, img_stock,
    Count
};

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::Count);

constexpr std::size_t indexOf(Control control) { return static_cast<std::size_t>(control); }

inline constexpr ui::Color kRed = 255;
inline constexpr ui::Color kGreen = 65280;
inline constexpr ui::Color kBlack = 0x00000000;
inline constexpr ui::Color kBlue = 0x00FF0000;
inline constexpr ui::Color kLightYellow = 0x00C0FFFF;
inline constexpr ui::Color kSummaryColor = 0x000040C0;
inline constexpr ui::Color kLineColor = 0x00808080;

inline constexpr wchar_t kTitle[] = L"QuorvaneV1.2     quorvane@example.com";

namespace design {
using namespace ui;
inline constexpr Font kBoxFont{L"宋体", 105, 400, 134};
inline constexpr Font kBoldBoxFont{L"宋体", 105, 700, 134};
inline constexpr int kFrame1 = static_cast<int>(Control::Frame1);

inline constexpr ControlDesign kControls[kControlCount] = {
    {.name = L"Label1", .kind = Kind::Label, .caption = L"历史成本", .rect = {315, 495, 720, 180}, .tabIndex = 0, .flags = kSizeToText},
    {.name = L"Text1", .kind = Kind::TextBox, .caption = L"0.0", .rect = {1080, 450, 2400, 330}, .tabIndex = 1, .font = kBoxFont},
    {.name = L"Label2", .kind = Kind::Label, .caption = L"持有", .rect = {3915, 450, 360, 180}, .tabIndex = 2, .flags = kSizeToText},
    {.name = L"Text2", .kind = Kind::TextBox, .caption = L"100", .rect = {4725, 405, 2400, 330}, .tabIndex = 3, .font = kBoxFont},
    {.name = L"Label3", .kind = Kind::Label, .caption = L"今日股价", .rect = {315, 1215, 720, 180}, .tabIndex = 4, .flags = kSizeToText},
    {.name = L"Text3", .kind = Kind::TextBox, .caption = L"0.0", .rect = {1080, 1170, 2400, 330}, .tabIndex = 5, .font = kBoxFont},
    {.name = L"Label4", .kind = Kind::Label, .caption = L"今日盈亏", .rect = {3915, 1170, 720, 180}, .tabIndex = 6, .flags = kSizeToText},
    {.name = L"Text4", .kind = Kind::TextBox, .caption = L"0.0", .rect = {4725, 1125, 2400, 330}, .tabIndex = 7,
     .font = kBoldBoxFont, .foreColor = kBlack, .backColor = kLightYellow},
    {.name = L"Label5", .kind = Kind::Label, .caption = L"增持价", .rect = {315, 2205, 540, 180}, .tabIndex = 8, .flags = kSizeToText},
    {.name = L"Text5", .kind = Kind::TextBox, .caption = L"0.00", .rect = {1080, 2160, 2400, 330}, .tabIndex = 9,
     .font = kBoxFont, .tooltip = L"双击使用今日股价"},
    {.name = L"Label6", .kind = Kind::Label, .caption = L"增持数", .rect = {3870, 2205, 540, 180}, .tabIndex = 10, .flags = kSizeToText},
    {.name = L"Text6", .kind = Kind::TextBox, .caption = L"0", .rect = {4680, 2160, 2400, 330}, .tabIndex = 11, .font = kBoxFont},
    {.name = L"Label7", .kind = Kind::Label, .caption = L"增后成本", .rect = {315, 3105, 720, 180}, .tabIndex = 12, .flags = kSizeToText},
    {.name = L"Text7", .kind = Kind::TextBox, .caption = L"0.00", .rect = {1080, 3060, 2400, 330}, .tabIndex = 13,
     .font = kBoxFont, .tooltip = L"因无法判断各种手续费，所以此值为估值仅供参考！", .flags = kDisabled},
    {.name = L"Label8", .kind = Kind::Label, .caption = L"增后盈亏", .rect = {3825, 3105, 720, 180}, .tabIndex = 14, .flags = kSizeToText},
    {.name = L"Text8", .kind = Kind::TextBox, .caption = L"0.0", .rect = {4635, 3060, 2400, 330}, .tabIndex = 15,
     .font = kBoldBoxFont, .foreColor = kBlack, .backColor = kLightYellow},
    {.name = L"cmd_clac", .kind = Kind::Button, .caption = L"计算", .rect = {7560, 2385, 1500, 645}, .tabIndex = 16},
    {.name = L"Label9", .kind = Kind::Label, .caption = L"股票代码", .rect = {7560, 450, 720, 180}, .tabIndex = 17, .flags = kSizeToText},
    {.name = L"Text9", .kind = Kind::TextBox, .caption = L"000001", .rect = {7560, 765, 1500, 330}, .tabIndex = 18,
     .foreColor = kBlue, .tooltip = L"回车查询", .maxLength = 6},
    {.name = L"cmd_stockfind", .kind = Kind::Button, .caption = L"查股价", .rect = {7560, 1170, 1500, 420}, .tabIndex = 19},
    {.name = L"Text10", .kind = Kind::TextBox, .caption = L"", .rect = {4005, 4230, 4470, 825}, .tabIndex = 20, .flags = kMultiLine | kHidden},
    {.name = L"lb_info", .kind = Kind::Label, .caption = L"今日最高：0.0", .rect = {315, 1710, 1170, 180},
     .tabIndex = 21, .foreColor = kSummaryColor, .flags = kSizeToText},
    {.name = L"Frame1", .kind = Kind::Frame, .caption = L"曲线图", .rect = {315, 3465, 8745, 645}, .tabIndex = 22},
    {.name = L"Option4", .kind = Kind::Option, .caption = L"月K线图", .rect = {6795, 225, 1410, 330}, .container = kFrame1, .tabIndex = 23},
    {.name = L"Option3", .kind = Kind::Option, .caption = L"周K线图", .rect = {4725, 225, 1410, 330}, .container = kFrame1, .tabIndex = 24},
    {.name = L"Option2", .kind = Kind::Option, .caption = L"日K线图", .rect = {2835, 225, 1410, 330}, .container = kFrame1, .tabIndex = 25},
    {.name = L"Option1", .kind = Kind::Option, .caption = L"分时线图", .rect = {810, 225, 1410, 330}, .container = kFrame1, .tabIndex = 26},
    {.name = L"chk_autoref", .kind = Kind::CheckBox, .caption = L"自动更新:30秒", .rect = {7605, 1755, 1635, 330}, .tabIndex = 27},
    {.name = L"img_stock", .kind = Kind::Image, .caption = L"", .rect = {135, 4185, 8925, 4380}, .tabIndex = kNoTabIndex},
};
}  // namespace design

inline constexpr ui::FormDesign kForm{kTitle, 9255, 8940, design::kControls, kControlCount};

static_assert(ui::isSoundDesign(kForm));
static_assert(ui::sameText(kForm.controls[indexOf(Control::Text9)].name, L"Text9") &&
                  ui::sameText(kForm.controls[indexOf(Control::Option1)].name, L"Option1") &&
                  ui::sameText(kForm.controls[indexOf(Control::img_stock)].name, L"img_stock"),
              "the enum indexes the rows");
static_assert(ui::everyRow(kForm, [](std::size_t i, const ui::ControlDesign& c) {
                  return (c.maxLength != 0) == (i == indexOf(Control::Text9)) &&
                         ((c.flags & ui::kHidden) != 0) == (i == indexOf(Control::Text10)) &&
                         ((c.flags & ui::kSizeToText) != 0) == (c.kind == ui::Kind::Label);
              }),
              "only the code box is limited, only the answer box hidden, every label sized to its caption");

// Line1: the grey separator between the purchase inputs and the results after the purchase.
struct TwipsLine {
    int x1, y1, x2, y2;
};
inline constexpr TwipsLine kLine1{405, 2745, 7110, 2745};

inline constexpr int kTimer1IntervalMs = 1000;

}  // namespace stock
