// The skin try-on tool's real window: the design table turned into controls, platform events
// turned into Form1's handlers, and GlimmoraView's operations done on the controls.
#pragma once

#include <windows.h>

#include "glimmora/FileFinder.h"
#include "glimmora/Form1.h"
#include "glimmora/GlimmoraView.h"
#include "glimmora/win32/DirectoryList.h"
#include "glimmora/win32/DriveList.h"
#include "skinengine/SkinEngine.h"
#include "ui/CodePage.h"
#include "ui/win32/DesignedWindow.h"

namespace glimmora::win32 {

class GlimmoraWindow final : public GlimmoraView, private ui::win32::FormEvents {
public:
    GlimmoraWindow(skinengine::SkinEngine& skin, FileFinder& finder, const ui::AnsiCodePage& codePage);

    // Creates the window hidden and runs Form_Load.
    bool createAndLoad(HINSTANCE instance);
    // Shows the window and runs it until it is closed; returns the exit code.
    int run(int showCommand) { return window_.showAndRun(showCommand); }

    HWND window() const { return window_.window(); }
    HWND control(Control control) const { return window_.control(indexOf(control)); }

    // GlimmoraView
    std::wstring driveText() const override;
    void chooseDriveOf(const std::wstring& path) override;
    std::wstring dirPath() const override;
    bool setDirPath(const std::wstring& path) override;
    std::wstring text(Control control) const override;
    void setText(Control control, const std::wstring& text) override;
    void listClear() override;
    void listAdd(const std::wstring& entry) override;
    int listCount() const override;
    std::wstring listItem(int position) const override;
    void listRemove(int position) override;
    std::wstring listSelected() const override;
    int value(Control control) const override;
    void setValue(Control control, int value) override;
    skinengine::WindowHandle windowHandle() const override;
    void showMessage(const std::wstring& text, const std::wstring& title, int style) override;
    [[noreturn]] void endProgram() override;

private:
    // FormEvents
    void onClick(std::size_t control) override;

    // Runs a handler with List1's painting held until it ends: a list refilled entry by entry
    // while it paints takes a minute for thousands of names.
    template <typename Handler>
    void withListHeld(Handler handler);

    LRESULT toList(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    int sortedPosition(const std::wstring& entry) const;

    DriveList drive_;
    DirectoryList directory_;
    Form1 form_;
    int listHeld_ = 0;
    // The entry last added at List1's end since it was cleared: none sorts after it, removals
    // notwithstanding, so that adding in order asks the list nothing.
    std::wstring lastEntry_;
    // Last, so that it is destroyed first: destroying the window still reaches the lists.
    ui::win32::DesignedWindow window_;
};

}  // namespace glimmora::win32
