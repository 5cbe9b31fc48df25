// The skin try-on window as designed: every control with its caption, twips layout, font,
// colours, tooltip and tab order. Rows stand in tab order; the enum indexes the table.
#pragma once

#include <cstddef>

#include "ui/DesignTable.h"

namespace glimmora {

enum class Control : int { Dir1, Drive1, List1, txtpath, Command1, Command2, Check1, Check2, Count };

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::Count);

constexpr std::size_t indexOf(Control control) { return static_cast<std::size_t>(control); }

inline constexpr ui::Color kLightYellow = 0x00C0FFFF;
inline constexpr ui::Color kDarkGrey = 0x00404040;
inline constexpr ui::Color kWhite = 0x00FFFFFF;

inline constexpr wchar_t kTitle[] = L"SkinHGlimmora  by:glimmora@example.com";

namespace design {
using namespace ui;
inline constexpr Font kBoxFont{L"宋体", 105, 400, 134};

inline constexpr ControlDesign kControls[kControlCount] = {
    {.name = L"Dir1", .kind = Kind::DirectoryList, .caption = L"", .rect = {180, 495, 3255, 4710}, .tabIndex = 0},
    {.name = L"Drive1", .kind = Kind::DriveList, .caption = L"", .rect = {180, 135, 1950, 300}, .tabIndex = 1},
    {.name = L"List1", .kind = Kind::ListBox, .caption = L"", .rect = {3540, 495, 4935, 4680}, .tabIndex = 2,
     .font = kBoxFont, .backColor = kWhite, .tooltip = L"双击从列表中移除该文件", .flags = kSorted},
    {.name = L"txtpath", .kind = Kind::TextBox, .caption = L"", .rect = {2205, 135, 6285, 315}, .tabIndex = 3,
     .font = kBoxFont, .foreColor = kDarkGrey, .backColor = kLightYellow, .tooltip = L"目录文件夹所在路径", .flags = kLocked},
    {.name = L"Command1", .kind = Kind::Button, .caption = L"退出(&X)", .rect = {6840, 5520, 1275, 510}, .tabIndex = 4},
    {.name = L"Command2", .kind = Kind::Button, .caption = L"禁用皮肤", .rect = {4920, 5520, 1575, 555}, .tabIndex = 5},
    {.name = L"Check1", .kind = Kind::CheckBox, .caption = L"透明值=200", .rect = {360, 5520, 1395, 375}, .tabIndex = 6},
    {.name = L"Check2", .kind = Kind::CheckBox, .caption = L"阴影", .rect = {2460, 5520, 1455, 375}, .tabIndex = 7},
};
}  // namespace design

inline constexpr ui::FormDesign kForm{kTitle, 8580, 6165, design::kControls, kControlCount};

static_assert(ui::isSoundDesign(kForm));
static_assert(ui::everyRow(kForm, [](std::size_t i, const ui::ControlDesign& c) {
                  constexpr const wchar_t* names[] = {L"Dir1",     L"Drive1",   L"List1",  L"txtpath",
                                                      L"Command1", L"Command2", L"Check1", L"Check2"};
                  return ui::sameText(c.name, names[i]) &&
                         ((c.flags & ui::kLocked) != 0) == (i == indexOf(Control::txtpath)) &&
                         ((c.flags & ui::kSorted) != 0) == (i == indexOf(Control::List1));
              }),
              "the enum indexes the rows; only the path box is locked, only the skin list sorted");

}  // namespace glimmora
