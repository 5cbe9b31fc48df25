// Drive1: one entry per drive, "c: [label]", with a picture of its kind; the current directory's drive
// chosen at start, the others listed when the list first has the focus or drops. Its text is the
// chosen entry. Choosing another drive is reported through `changed`; putting it back from code is
// not.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/win32/DesignedWindow.h"

namespace glimmora::win32 {

class DriveList final : public ui::win32::ControlBehaviour {
public:
    explicit DriveList(std::function<void()> changed) : changed_(std::move(changed)) {}

    void created(HWND control, int height) override;
    void onCommand(WORD notification) override;
    void drawItem(const DRAWITEMSTRUCT& item) override;
    int entryHeightFor(HFONT font) const override;
    int fieldEntryHeightFor(int height) const override;
    int windowHeightFor(int height, HFONT font) const override;
    // Wine sets a drop-down list's field to the height of the font it is given, a resize that
    // fitting the field then undid with another. Its entries are drawn in the font selected
    // for them in drawItem.
    bool takesFont() const override { return false; }

    std::wstring text() const;
    void chooseDriveOf(const std::wstring& path);

private:
    std::wstring entryText(int entry) const;
    void insertEntry(int entry, wchar_t letter);
    void listAll();
    void choose(int entry);
    void describe(int entry);
    void commitChoice();
    void fitField(int height);

    std::function<void()> changed_;
    HWND combo_ = nullptr;
    std::vector<wchar_t> letters_;
    std::vector<UINT> types_;  // GetDriveType's, for the picture
    std::vector<bool> described_;  // type and label asked
    mutable int entryHeight_ = 0;  // answered when the platform measured the list as it was made
    int chosen_ = -1;
    bool listedAll_ = false;
};

}  // namespace glimmora::win32
