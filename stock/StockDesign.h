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
inline constexpr Color kP = kPlatformColor;
inline constexpr int kFrame1 = static_cast<int>(Control::Frame1);

inline constexpr ControlDesign kControls[kControlCount] = {
    {L"Label1", Kind::Label, L"历史成本", {315, 495, 720, 180}, kOnForm, 0, kDefaultFont, kP, kP, nullptr, kSizeToText, 0},
    {L"Text1", Kind::TextBox, L"0.0", {1080, 450, 2400, 330}, kOnForm, 1, kBoxFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Label2", Kind::Label, L"持有", {3915, 450, 360, 180}, kOnForm, 2, kDefaultFont, kP, kP, nullptr, kSizeToText, 0},
    {L"Text2", Kind::TextBox, L"100", {4725, 405, 2400, 330}, kOnForm, 3, kBoxFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Label3", Kind::Label, L"今日股价", {315, 1215, 720, 180}, kOnForm, 4, kDefaultFont, kP, kP, nullptr, kSizeToText, 0},
    {L"Text3", Kind::TextBox, L"0.0", {1080, 1170, 2400, 330}, kOnForm, 5, kBoxFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Label4", Kind::Label, L"今日盈亏", {3915, 1170, 720, 180}, kOnForm, 6, kDefaultFont, kP, kP, nullptr, kSizeToText, 0},
    {L"Text4", Kind::TextBox, L"0.0", {4725, 1125, 2400, 330}, kOnForm, 7, kBoldBoxFont, kBlack, kLightYellow, nullptr, kNoFlags, 0},
    {L"Label5", Kind::Label, L"增持价", {315, 2205, 540, 180}, kOnForm, 8, kDefaultFont, kP, kP, nullptr, kSizeToText, 0},
    {L"Text5", Kind::TextBox, L"0.00", {1080, 2160, 2400, 330}, kOnForm, 9, kBoxFont, kP, kP, L"双击使用今日股价", kNoFlags, 0},
    {L"Label6", Kind::Label, L"增持数", {3870, 2205, 540, 180}, kOnForm, 10, kDefaultFont, kP, kP, nullptr, kSizeToText, 0},
    {L"Text6", Kind::TextBox, L"0", {4680, 2160, 2400, 330}, kOnForm, 11, kBoxFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Label7", Kind::Label, L"增后成本", {315, 3105, 720, 180}, kOnForm, 12, kDefaultFont, kP, kP, nullptr, kSizeToText, 0},
    {L"Text7", Kind::TextBox, L"0.00", {1080, 3060, 2400, 330}, kOnForm, 13, kBoxFont, kP, kP,
     L"因无法判断各种手续费，所以此值为估值仅供参考！", kDisabled, 0},
    {L"Label8", Kind::Label, L"增后盈亏", {3825, 3105, 720, 180}, kOnForm, 14, kDefaultFont, kP, kP, nullptr, kSizeToText, 0},
    {L"Text8", Kind::TextBox, L"0.0", {4635, 3060, 2400, 330}, kOnForm, 15, kBoldBoxFont, kBlack, kLightYellow, nullptr, kNoFlags, 0},
    {L"cmd_clac", Kind::Button, L"计算", {7560, 2385, 1500, 645}, kOnForm, 16, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Label9", Kind::Label, L"股票代码", {7560, 450, 720, 180}, kOnForm, 17, kDefaultFont, kP, kP, nullptr, kSizeToText, 0},
    {L"Text9", Kind::TextBox, L"000001", {7560, 765, 1500, 330}, kOnForm, 18, kDefaultFont, kBlue, kP, L"回车查询", kNoFlags, 6},
    {L"cmd_stockfind", Kind::Button, L"查股价", {7560, 1170, 1500, 420}, kOnForm, 19, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Text10", Kind::TextBox, L"", {4005, 4230, 4470, 825}, kOnForm, 20, kDefaultFont, kP, kP, nullptr, kMultiLine | kHidden, 0},
    {L"lb_info", Kind::Label, L"今日最高：0.0", {315, 1710, 1170, 180}, kOnForm, 21, kDefaultFont, kSummaryColor, kP, nullptr, kSizeToText, 0},
    {L"Frame1", Kind::Frame, L"曲线图", {315, 3465, 8745, 645}, kOnForm, 22, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Option4", Kind::Option, L"月K线图", {6795, 225, 1410, 330}, kFrame1, 23, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Option3", Kind::Option, L"周K线图", {4725, 225, 1410, 330}, kFrame1, 24, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Option2", Kind::Option, L"日K线图", {2835, 225, 1410, 330}, kFrame1, 25, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Option1", Kind::Option, L"分时线图", {810, 225, 1410, 330}, kFrame1, 26, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"chk_autoref", Kind::CheckBox, L"自动更新:30秒", {7605, 1755, 1635, 330}, kOnForm, 27, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"img_stock", Kind::Image, L"", {135, 4185, 8925, 4380}, kOnForm, kNoTabIndex, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
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
