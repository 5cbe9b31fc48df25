// Invariants of the calculator's design table, rather than its rows restated.
#include "stock/StockDesign.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/native/DesignInvariants.h"

namespace stock {
namespace {

TEST(StockDesign, IsSoundAndTheEnumNamesItsRows) {
    ui::testing::expectSoundDesign(kForm);
    EXPECT_EQ(std::wstring(kForm.controls[indexOf(Control::Text9)].name), L"Text9");
    EXPECT_EQ(std::wstring(kForm.controls[indexOf(Control::img_stock)].name), L"img_stock");
    EXPECT_EQ(std::wstring(kForm.controls[indexOf(Control::Option1)].name), L"Option1");
}

TEST(StockDesign, OptionsLieInsideTheirFrame) {
    ui::TwipsRect option1 = ui::clientRect(kForm, indexOf(Control::Option1));
    EXPECT_EQ(option1.left, 315 + 810);
    EXPECT_EQ(option1.top, 3465 + 225);
}

TEST(StockDesign, OnlyTheCodeBoxIsLimitedAndOnlyTheAnswerBoxIsHidden) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ui::ControlDesign& c = kForm.controls[i];
        EXPECT_EQ(c.maxLength != 0, static_cast<Control>(i) == Control::Text9) << c.name;
        EXPECT_EQ((c.flags & ui::kHidden) != 0, static_cast<Control>(i) == Control::Text10) << c.name;
        EXPECT_EQ((c.flags & ui::kSizeToText) != 0, c.kind == ui::Kind::Label) << c.name;
    }
}

}  // namespace
}  // namespace stock
