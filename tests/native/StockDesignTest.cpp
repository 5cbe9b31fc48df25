// Invariants of the calculator's design table, rather than its rows restated.
#include "stock/StockDesign.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace stock {
namespace {

TEST(StockDesign, NamesAreUniqueAndMatchTheControlEnum) {
    std::set<std::wstring> names;
    for (std::size_t i = 0; i < kControlCount; ++i) EXPECT_TRUE(names.insert(kForm.controls[i].name).second);
    EXPECT_EQ(std::wstring(kForm.controls[indexOf(Control::Text9)].name), L"Text9");
    EXPECT_EQ(std::wstring(kForm.controls[indexOf(Control::img_stock)].name), L"img_stock");
    EXPECT_EQ(std::wstring(kForm.controls[indexOf(Control::Option1)].name), L"Option1");
}

TEST(StockDesign, RowsStandInTabOrder) {
    int expected = 0;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (kForm.controls[i].tabIndex == ui::kNoTabIndex) continue;
        EXPECT_EQ(kForm.controls[i].tabIndex, expected++) << kForm.controls[i].name;
    }
}

TEST(StockDesign, EveryControlLiesInsideTheClientAreaAndOptionsInsideTheirFrame) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        ui::TwipsRect r = ui::clientRect(kForm, i);
        EXPECT_GE(r.left, 0) << kForm.controls[i].name;
        EXPECT_GE(r.top, 0) << kForm.controls[i].name;
        EXPECT_LE(r.left + r.width, kForm.clientWidth) << kForm.controls[i].name;
        EXPECT_LE(r.top + r.height, kForm.clientHeight) << kForm.controls[i].name;
        if (kForm.controls[i].container != ui::kOnForm) {
            const ui::TwipsRect& frame = kForm.controls[kForm.controls[i].container].rect;
            EXPECT_LE(kForm.controls[i].rect.left + kForm.controls[i].rect.width, frame.width);
            EXPECT_LE(kForm.controls[i].rect.top + kForm.controls[i].rect.height, frame.height);
        }
    }
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
