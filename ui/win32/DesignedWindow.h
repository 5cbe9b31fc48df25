// A top-level window built from its design table: every control a real child window at its
// twips position converted at the actual DPI, in tab order, with its font, colours and tooltip.
// Events go to a FormEvents object; no exception leaves a window procedure.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ui/DesignTable.h"
#include "ui/win32/Owners.h"
#include "ui/win32/WindowBasics.h"

namespace ui::win32 {

class FormEvents {
public:
    virtual ~FormEvents() = default;
    // A typed character; setting code to 0 cancels it.
    virtual void onKeyPress(std::size_t /*control*/, std::int16_t& /*code*/) {}
    virtual void onKeyDown(std::size_t /*control*/, std::int16_t& /*keyCode*/, std::int16_t /*shift*/) {}
    // Whether Enter goes to the control instead of the window's keyboard navigation.
    virtual bool wantsEnter(std::size_t /*control*/) const { return false; }
    virtual void onClick(std::size_t /*control*/) {}
    virtual void onDblClick(std::size_t /*control*/) {}
    virtual void onTimer() {}
    virtual void onPaint(HDC /*dc*/) {}
    // An image control to be drawn; its background is already painted.
    virtual void onDrawItem(std::size_t /*control*/, HDC /*dc*/) {}
};

// A control whose behaviour the table's kind alone does not give (the drive and directory
// lists): it is told when it exists and gets the notifications and drawing of its control.
// Where its window is not made, measured or given its font as the table alone would have it,
// it says so here.
class ControlBehaviour {
public:
    virtual ~ControlBehaviour() = default;
    // The control exists, with its font unless it takes none, and the window is still hidden;
    // `height` is the table's height in pixels, which a control whose window is made taller
    // than that (windowHeightFor) lays itself out to.
    virtual void created(HWND control, int height) = 0;
    virtual void onCommand(WORD notification) = 0;
    // Drawn in the control's font, selected into the item's DC.
    virtual void drawItem(const DRAWITEMSTRUCT& item) = 0;
    // The height of an owner-drawn control's entries in the given font; 0 leaves it to the platform.
    virtual int entryHeightFor(HFONT /*font*/) const { return 0; }
    // The height the platform is told for the field of an owner-drawn drop-down list whose
    // table height is `height` pixels; 0 tells it the entries' height.
    virtual int fieldEntryHeightFor(int /*height*/) const { return 0; }
    // The height its window is made at, from the table's height in pixels and its font.
    virtual int windowHeightFor(int height, HFONT /*font*/) const { return height; }
    // Whether its window is given its font; one that is not draws in it all the same.
    virtual bool takesFont() const { return true; }
};

class DesignedWindow {
public:
    DesignedWindow(const FormDesign& design, FormEvents& events, int iconResource);
    DesignedWindow(const DesignedWindow&) = delete;
    DesignedWindow& operator=(const DesignedWindow&) = delete;
    ~DesignedWindow();

    // Before create(): the control of that row gets its behaviour from the object.
    void attach(std::size_t index, ControlBehaviour& behaviour) { behaviours_[index] = &behaviour; }
    // Creates the window and its controls, hidden.
    bool create(HINSTANCE instance);
    // Shows the window, gives the focus to the first control in tab order, and runs the message
    // loop until the window is closed. Returns the exit code.
    int showAndRun(int showCommand);

    HWND window() const { return window_; }
    HWND control(std::size_t index) const { return controls_[index]; }
    std::size_t indexOf(HWND control) const;

    std::wstring text(std::size_t index) const;
    void setText(std::size_t index, const std::wstring& text);
    void setForeColor(std::size_t index, Color color);
    void setControlSize(std::size_t index, int width, int height);
    bool isChecked(std::size_t index) const;
    // A new value raises the box's click at once, as the user's click would; the same value nothing.
    void setChecked(std::size_t index, bool checked);
    void setFocus(std::size_t index);
    void setTimer(bool enabled, unsigned intervalMs);
    void showMessage(const std::wstring& text, const std::wstring& title, int style);

    int pixelsX(int twips) const { return MulDiv(twips, dpiX_, 1440); }
    int pixelsY(int twips) const { return MulDiv(twips, dpiY_, 1440); }

private:
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK controlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(WPARAM wParam, LPARAM lParam);
    // False for a control drawn by no one here.
    bool drawItem(const DRAWITEMSTRUCT& item);
    // False for a control measured by no one here.
    bool measureItem(MEASUREITEMSTRUCT& item);
    int entryHeightOf(std::size_t index);
    ControlBehaviour* behaviourOf(std::size_t index) const;
    LRESULT handleControl(std::size_t index, HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    HBRUSH colorControl(HDC dc, HWND control);
    HFONT fontFor(const Font& font);
    void sizeToText(std::size_t index);
    SIZE textSize(HFONT font, const std::wstring& text);
    void createControl(HINSTANCE instance, std::size_t index);
    void makeTooltips();
    void addTooltip(std::size_t index);

    const FormDesign& design_;
    FormEvents& events_;
    int iconResource_;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    bool tooltipsTried_ = false;
    HWND lastFocus_ = nullptr;
    MemoryDC measuring_;  // labels sized to their captions are measured here
    int dpiX_ = 96;
    int dpiY_ = 96;
    std::vector<HWND> controls_;
    std::map<std::size_t, ControlBehaviour*> behaviours_;
    std::vector<Color> foreColors_;
    std::vector<BrushHandle> backBrushes_;
    std::vector<std::pair<FontHandle, Font>> fonts_;
    bool timerOn_ = false;
};

}  // namespace ui::win32
