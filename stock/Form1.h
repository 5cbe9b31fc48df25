// The calculator window's logic: its event handlers under the names of their controls and events.
// It reaches the window only through StockView and the skin engine only through SkinEngine.
#pragma once

#include <cstdint>
#include <string>

#include "skinengine/SkinEngine.h"
#include "stock/Platform.h"
#include "stock/StockView.h"

namespace stock {

class Form1 {
public:
    Form1(StockView& view, skinengine::SkinEngine& skin, StockPlatform& platform)
        : view_(view), skin_(skin), platform_(platform) {}

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
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void chk_autoref_Click();
    void Timer1_Timer();

    std::wstring GetUrlSource(const std::wstring& sURL);
    PictureRef LoadPicture(const std::wstring& strFileName);

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
    void lookUpWithPeriod(const wchar_t* period);

    skinengine::SkinEngine& skin_;
    StockPlatform& platform_;
    std::wstring chartPeriod_;
    std::int16_t countdown_ = 0;
    bool lookupRunning_ = false;
};

}  // namespace stock
