// The calculator's real window: the design table turned into controls, platform events turned
// into Form1's handlers, and StockView's operations done on the controls.
#pragma once

#include <windows.h>

#include "skinengine/SkinEngine.h"
#include "stock/Platform.h"
#include "stock/Form1.h"
#include "stock/StockView.h"
#include "ui/win32/DesignedWindow.h"

namespace stock::win32 {

inline constexpr int kIconResource = 1;

class StockWindow final : public StockView, private ui::win32::FormEvents {
public:
    StockWindow(skinengine::SkinEngine& skin, StockPlatform& platform);

    // Creates the window, runs Form_Load, shows the window and runs it until it is closed.
    int run(HINSTANCE instance, int showCommand);

    // StockView
    std::wstring text(Control control) const override;
    void setText(Control control, const std::wstring& text) override;
    void setForeColor(Control control, ui::Color color) override;
    bool isChecked(Control control) const override;
    void setTimerEnabled(bool enabled) override;
    void setFocus(Control control) override;
    void setPicture(Control control, PictureRef picture) override;
    void showMessage(const std::wstring& text, const std::wstring& title, int style) override;

private:
    // FormEvents
    void onKeyPress(std::size_t control, std::int16_t& code) override;
    void onKeyDown(std::size_t control, std::int16_t& keyCode, std::int16_t shift) override;
    bool wantsEnter(std::size_t control) const override;
    void onClick(std::size_t control) override;
    void onDblClick(std::size_t control) override;
    void onTimer() override;
    void onPaint(HDC dc) override;
    void onDrawItem(std::size_t control, HDC dc) override;

    ui::win32::DesignedWindow window_;
    Form1 form_;
    PictureRef chart_;  // what img_stock shows
};

}  // namespace stock::win32
