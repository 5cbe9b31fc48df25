#include "stock/win32/StockWindow.h"

#include "stock/win32/PlatformServices.h"

namespace stock::win32 {
namespace {

Control controlAt(std::size_t index) { return static_cast<Control>(index); }

}  // namespace

StockWindow::StockWindow(skinengine::SkinEngine& skin, StockPlatform& platform)
    : window_(kForm, *this, kIconResource), form_(*this, skin, platform) {}

int StockWindow::run(HINSTANCE instance, int showCommand) {
    if (!window_.create(instance)) return 1;
    form_.Form_Load();
    return window_.showAndRun(showCommand);
}

std::wstring StockWindow::text(Control control) const { return window_.text(indexOf(control)); }

void StockWindow::setText(Control control, const std::wstring& text) { window_.setText(indexOf(control), text); }

void StockWindow::setForeColor(Control control, ui::Color color) { window_.setForeColor(indexOf(control), color); }

bool StockWindow::isChecked(Control control) const { return window_.isChecked(indexOf(control)); }

void StockWindow::setTimerEnabled(bool enabled) { window_.setTimer(enabled, kTimer1IntervalMs); }

void StockWindow::setFocus(Control control) { window_.setFocus(indexOf(control)); }

void StockWindow::setPicture(Control control, PictureRef picture) {
    chart_ = std::move(picture);
    if (const auto* ole = dynamic_cast<const OlePicture*>(chart_.get())) {
        // At the window's resolution: a window's DC costs ten round trips to the server under Wine.
        const SIZE size = ole->pixelSize(window_.pixelsX(1440), window_.pixelsY(1440));
        window_.setControlSize(indexOf(control), size.cx, size.cy);
    }
    InvalidateRect(window_.control(indexOf(control)), nullptr, TRUE);
}

void StockWindow::showMessage(const std::wstring& text, const std::wstring& title, int style) {
    window_.showMessage(text, title, style);
}

void StockWindow::onKeyPress(std::size_t control, std::int16_t& code) { form_.KeyPress(controlAt(control), code); }

void StockWindow::onKeyDown(std::size_t control, std::int16_t& keyCode, std::int16_t shift) {
    form_.KeyDown(controlAt(control), keyCode, shift);
}

// Enter in the share code box looks up; everywhere else it is left to keyboard navigation.
bool StockWindow::wantsEnter(std::size_t control) const { return controlAt(control) == Control::Text9; }

void StockWindow::onClick(std::size_t control) { form_.Click(controlAt(control)); }

void StockWindow::onDblClick(std::size_t control) { form_.DblClick(controlAt(control)); }

void StockWindow::onTimer() { form_.Timer1_Timer(); }

void StockWindow::onDrawItem(std::size_t control, HDC dc) {
    if (controlAt(control) != Control::img_stock) return;
    if (const auto* ole = dynamic_cast<const OlePicture*>(chart_.get())) ole->draw(dc);
}

void StockWindow::onPaint(HDC dc) {
    ui::win32::PenHandle pen(CreatePen(PS_SOLID, 1, kLineColor));
    const ui::win32::Selection selected(dc, pen.get());
    MoveToEx(dc, window_.pixelsX(kLine1.x1), window_.pixelsY(kLine1.y1), nullptr);
    LineTo(dc, window_.pixelsX(kLine1.x2), window_.pixelsY(kLine1.y2));
}

}  // namespace stock::win32
