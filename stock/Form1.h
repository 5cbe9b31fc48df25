// The calculator window's logic: its event handlers under the names of their controls and events.
// It reaches the window only through StockView and the skin engine only through SkinEngine.
#pragma once

#include <cstdint>
#include <string>

#include "skinengine/SkinEngine.h"
#include "stock/StockView.h"

namespace stock {

class Form1 {
public:
    Form1(StockView& view, skinengine::SkinEngine& skin) : view_(view), skin_(skin) {}

    void Form_Load();

    // Character-typed handlers: setting KeyAscii to 0 cancels the character.
    void Text1_KeyPress(std::int16_t& KeyAscii);
    void Text3_KeyPress(std::int16_t& KeyAscii);
    void Text5_KeyPress(std::int16_t& KeyAscii);
    void Text9_KeyPress(std::int16_t& KeyAscii);
    void Text4_KeyPress(std::int16_t& KeyAscii);
    void Text8_KeyPress(std::int16_t& KeyAscii);

    void Text5_DblClick();
    void Text9_KeyDown(std::int16_t& KeyCode, std::int16_t Shift);
    void cmd_clac_Click();
    void cmd_stockfind_Click();

    // The window adapter delivers every event here; each goes to the handler of that control,
    // and events without a handler do nothing.
    void KeyPress(Control control, std::int16_t& KeyAscii);
    void KeyDown(Control control, std::int16_t& KeyCode, std::int16_t Shift);
    void Click(Control control);
    void DblClick(Control control);

    const std::wstring& chartPeriod() const { return chartPeriod_; }
    std::int16_t countdown() const { return countdown_; }

private:
    StockView& view_;
    skinengine::SkinEngine& skin_;
    std::wstring chartPeriod_;
    std::int16_t countdown_ = 0;
};

}  // namespace stock
