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
inline constexpr Color kP = kPlatformColor;

inline constexpr ControlDesign kControls[kControlCount] = {
    {L"Dir1", Kind::DirectoryList, L"", {180, 495, 3255, 4710}, kOnForm, 0, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Drive1", Kind::DriveList, L"", {180, 135, 1950, 300}, kOnForm, 1, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"List1", Kind::ListBox, L"", {3540, 495, 4935, 4680}, kOnForm, 2, kBoxFont, kP, kWhite,
     L"双击从列表中移除该文件", kSorted, 0},
    {L"txtpath", Kind::TextBox, L"", {2205, 135, 6285, 315}, kOnForm, 3, kBoxFont, kDarkGrey, kLightYellow,
     L"目录文件夹所在路径", kLocked, 0},
    {L"Command1", Kind::Button, L"退出(&X)", {6840, 5520, 1275, 510}, kOnForm, 4, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Command2", Kind::Button, L"禁用皮肤", {4920, 5520, 1575, 555}, kOnForm, 5, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Check1", Kind::CheckBox, L"透明值=200", {360, 5520, 1395, 375}, kOnForm, 6, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
    {L"Check2", Kind::CheckBox, L"阴影", {2460, 5520, 1455, 375}, kOnForm, 7, kDefaultFont, kP, kP, nullptr, kNoFlags, 0},
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
