// What every design table must hold, whatever its window: unique names, rows in tab order, each
// control inside the client area and inside its frame.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/DesignTable.h"

namespace ui::testing {

inline void expectSoundDesign(const FormDesign& form) {
    std::set<std::wstring> names;
    int expectedTab = 0;
    for (std::size_t i = 0; i < form.controlCount; ++i) {
        const ControlDesign& c = form.controls[i];
        SCOPED_TRACE(::testing::Message() << "control " << i);
        EXPECT_TRUE(names.insert(c.name).second) << "name used twice";
        if (c.tabIndex != kNoTabIndex) {
            EXPECT_EQ(c.tabIndex, expectedTab++) << "rows stand in tab order";
        }

        TwipsRect r = clientRect(form, i);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.left + r.width, form.clientWidth);
        EXPECT_LE(r.top + r.height, form.clientHeight);
        if (c.container != kOnForm) {
            const TwipsRect& frame = form.controls[c.container].rect;
            EXPECT_LE(c.rect.left + c.rect.width, frame.width);
            EXPECT_LE(c.rect.top + c.rect.height, frame.height);
        }
    }
}

}  // namespace ui::testing
