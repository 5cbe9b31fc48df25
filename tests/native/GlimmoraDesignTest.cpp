// Invariants of the skin try-on window's design table, rather than its rows restated.
#include "glimmora/GlimmoraDesign.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/native/DesignInvariants.h"

namespace glimmora {
namespace {

TEST(GlimmoraDesign, IsSoundAndTheEnumNamesItsRows) {
    ui::testing::expectSoundDesign(kForm);
    const std::pair<Control, const wchar_t*> names[] = {
        {Control::Dir1, L"Dir1"},         {Control::Drive1, L"Drive1"},     {Control::List1, L"List1"},
        {Control::txtpath, L"txtpath"},   {Control::Command1, L"Command1"}, {Control::Command2, L"Command2"},
        {Control::Check1, L"Check1"},     {Control::Check2, L"Check2"}};
    for (const auto& [control, name] : names) EXPECT_EQ(std::wstring(kForm.controls[indexOf(control)].name), name);
}

TEST(GlimmoraDesign, TheTitleNamesTheToolThenAnAddress) {
    const std::wstring title = kForm.title;
    EXPECT_EQ(title.rfind(L"SkinHGlimmora  by:", 0), 0u);
    EXPECT_NE(title.find(L'@', 18), std::wstring::npos);
}

TEST(GlimmoraDesign, ThePathBoxIsLockedAndTheSkinListSorted) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ui::ControlDesign& c = kForm.controls[i];
        EXPECT_EQ((c.flags & ui::kLocked) != 0, static_cast<Control>(i) == Control::txtpath) << c.name;
        EXPECT_EQ((c.flags & ui::kSorted) != 0, static_cast<Control>(i) == Control::List1) << c.name;
    }
}

}  // namespace
}  // namespace glimmora
