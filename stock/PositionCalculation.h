// The position calculation of the Calculate button, as a pure function of the five input texts.
#pragma once

#include <optional>
#include <string>

#include "stock/NumberConversions.h"
#include "ui/DesignTable.h"

namespace stock {

struct PositionInputs {
    std::wstring costPrice;       // Text1: historical cost price per share
    std::wstring sharesHeld;      // Text2
    std::wstring todayPrice;      // Text3
    std::wstring purchasePrice;   // Text5: price of the planned additional purchase
    std::wstring purchaseCount;   // Text6: shares of the planned additional purchase
};

struct PositionResult {
    // A text for each output box, or nothing when its step failed and the box keeps its text.
    std::optional<std::wstring> todayResult;   // Text4
    std::optional<std::wstring> averageCost;   // Text7
    std::optional<std::wstring> afterResult;   // Text8
    ui::Color todayColor = 0;                  // Label4 and Text4
    ui::Color afterColor = 0;                  // Label8 and Text8
    bool failed = false;                       // some step failed: the input error message follows
};

PositionResult calculatePosition(const PositionInputs& inputs, NumberConversions& numbers);

}  // namespace stock
