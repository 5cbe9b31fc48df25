// Dir1: the folders of the current path from the root down (open look), then the current
// folder's subfolders (closed look). A double-click or Enter on an entry makes it the path; every
// move of the path, by the user or by code, is reported through `changed`.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "glimmora/FolderList.h"
#include "ui/win32/DesignedWindow.h"

namespace glimmora::win32 {

class DirectoryList final : public ui::win32::ControlBehaviour {
public:
    explicit DirectoryList(std::function<void()> changed) : changed_(std::move(changed)) {}

    // Shows the process's current directory, reporting nothing.
    void created(HWND control, int height) override;
    void onCommand(WORD notification) override;
    void drawItem(const DRAWITEMSTRUCT& item) override;

    const std::wstring& path() const { return path_; }
    // A folder, or a drive ("c:", "c: [label]") for that drive's current directory. False when
    // the folder cannot be read: the list then shows its own folder afresh, or, when that has
    // gone too, climbs to the nearest folder above it that is still there.
    bool setPath(const std::wstring& wanted);

private:
    static LRESULT CALLBACK keyProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    bool moveTo(const std::wstring& wanted, bool report);
    void showWhatIsThere();
    // The folder, or the nearest folder above it that can be read, else the drive's root.
    void showNearest(const std::wstring& wanted, bool report);
    void show(std::vector<std::wstring> subfolders);
    void openSelected();

    std::function<void()> changed_;
    HWND list_ = nullptr;
    std::wstring path_;
    std::vector<FolderEntry> entries_;
    int indentStep_ = 8;
};

}  // namespace glimmora::win32
