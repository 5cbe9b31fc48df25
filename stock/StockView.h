// What the calculator's logic needs from its window: the whole list of operations, so that the
// logic runs as well against a stand-in window in a test as against the real one.
#pragma once

#include <string>

#include "stock/Platform.h"
#include "stock/StockDesign.h"
#include "ui/DesignTable.h"

namespace stock {

// Message box styles, as the platform numbers them.
inline constexpr int kStyleCritical = 16;      // critical-stop icon, OK button
inline constexpr int kStyleInformation = 64;   // information icon, OK button

class StockView {
public:
    virtual ~StockView() = default;

    // A box's text or a label's or check box's caption.
    virtual std::wstring text(Control control) const = 0;
    virtual void setText(Control control, const std::wstring& text) = 0;
    virtual void setForeColor(Control control, ui::Color color) = 0;
    virtual bool isChecked(Control control) const = 0;
    virtual void setTimerEnabled(bool enabled) = 0;
    virtual void setFocus(Control control) = 0;
    // The image control's picture, shown at its own size; null for none. The control keeps its
    // own reference and lets go of the one it had.
    virtual void setPicture(Control control, PictureRef picture) = 0;
    // Modal: returns when the user has closed the box.
    virtual void showMessage(const std::wstring& text, const std::wstring& title, int style) = 0;
};

}  // namespace stock
