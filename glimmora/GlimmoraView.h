// What the skin try-on window's logic needs from its window: the whole list of operations, so
// that the logic runs as well against a stand-in window in a test as against the real one.
#pragma once

#include <string>

#include "glimmora/GlimmoraDesign.h"
#include "skinengine/SkinEngine.h"

namespace glimmora {

inline constexpr int kStyleExclamation = 48;  // warning icon, OK button

class GlimmoraView {
public:
    virtual ~GlimmoraView() = default;

    // Drive1: its text is the chosen entry, such as "c: [label]".
    virtual std::wstring driveText() const = 0;
    // Puts Drive1 back on the drive of the path; raises no change.
    virtual void chooseDriveOf(const std::wstring& path) = 0;

    // Dir1: the path has no trailing backslash except at a drive's root. Setting it accepts a
    // folder or a drive text and raises Dir1_Change when the path moves; false when the folder
    // cannot be read, and then the path stays, unless its own folder has gone meanwhile: then
    // it moves up to the nearest folder still there, raising Dir1_Change.
    virtual std::wstring dirPath() const = 0;
    virtual bool setDirPath(const std::wstring& path) = 0;

    // txtpath
    virtual std::wstring text(Control control) const = 0;
    virtual void setText(Control control, const std::wstring& text) = 0;

    // List1, which keeps its entries sorted; positions count from 0.
    virtual void listClear() = 0;
    virtual void listAdd(const std::wstring& entry) = 0;
    virtual int listCount() const = 0;
    virtual std::wstring listItem(int position) const = 0;
    virtual void listRemove(int position) = 0;
    // The selected entry's text; empty when none is selected.
    virtual std::wstring listSelected() const = 0;

    // Check1, Check2: 0 clear, 1 set. Setting a new value raises the box's click handler before
    // returning; setting the value it has raises nothing.
    virtual int value(Control control) const = 0;
    virtual void setValue(Control control, int value) = 0;

    virtual skinengine::WindowHandle windowHandle() const = 0;
    // Modal: returns when the user has closed the box.
    virtual void showMessage(const std::wstring& text, const std::wstring& title, int style) = 0;
    // Ends the process at once; does not return.
    virtual void endProgram() = 0;
};

}  // namespace glimmora
