#include "ui/win32/ControlClass.h"

namespace ui::win32 {

ControlClass controlClass(const ControlDesign& control) {
    switch (control.kind) {
    case Kind::Label:
        return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case Kind::TextBox: {
        DWORD style = WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
        if (control.flags & kMultiLine) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (control.flags & kLocked) style |= ES_READONLY;
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case Kind::Button:
        return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::CheckBox:
        return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case Kind::Option:
        return {L"BUTTON", WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
    case Kind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::Image:
        return {L"STATIC", SS_OWNERDRAW, 0};  // the owner draws the picture at its own size
    case Kind::ListBox: {
        DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        if (control.flags & kSorted) style |= LBS_SORT;
        return {L"LISTBOX", style, WS_EX_CLIENTEDGE};
    }
    case Kind::DriveList:
        return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0};
    case Kind::DirectoryList:
        return {L"LISTBOX",
                WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

}  // namespace ui::win32
