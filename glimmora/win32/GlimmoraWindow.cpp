#include "glimmora/win32/GlimmoraWindow.h"

namespace glimmora::win32 {
namespace {

// The sorted list box's own order: the user's locale, case ignored.
int compareEntries(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(GetUserDefaultLCID(), NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) - CSTR_EQUAL;
}

}  // namespace

GlimmoraWindow::GlimmoraWindow(skinengine::SkinEngine& skin, FileFinder& finder, const ui::AnsiCodePage& codePage)
    : drive_([this] { withListHeld([this] { form_.Change(Control::Drive1); }); }),
      directory_([this] { withListHeld([this] { form_.Change(Control::Dir1); }); }),
      form_(*this, skin, finder, codePage),
      window_(kForm, *this, 0) {
    window_.attach(indexOf(Control::Drive1), drive_);
    window_.attach(indexOf(Control::Dir1), directory_);
}

bool GlimmoraWindow::createAndLoad(HINSTANCE instance) {
    if (!window_.create(instance)) return false;
    withListHeld([this] { form_.Form_Load(); });
    return true;
}

template <typename Handler>
void GlimmoraWindow::withListHeld(Handler handler) {
    if (listHeld_++ == 0) toList(WM_SETREDRAW, FALSE);
    struct Release {
        GlimmoraWindow& self;
        ~Release() {
            if (--self.listHeld_ == 0) {
                self.toList(WM_SETREDRAW, TRUE);
                InvalidateRect(self.control(Control::List1), nullptr, TRUE);
            }
        }
    } release{*this};
    handler();
}

LRESULT GlimmoraWindow::toList(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageW(control(Control::List1), message, wParam, lParam);
}

std::wstring GlimmoraWindow::driveText() const { return drive_.text(); }

void GlimmoraWindow::chooseDriveOf(const std::wstring& path) { drive_.chooseDriveOf(path); }

std::wstring GlimmoraWindow::dirPath() const { return directory_.path(); }

bool GlimmoraWindow::setDirPath(const std::wstring& path) { return directory_.setPath(path); }

std::wstring GlimmoraWindow::text(Control control) const { return window_.text(indexOf(control)); }

void GlimmoraWindow::setText(Control control, const std::wstring& text) { window_.setText(indexOf(control), text); }

void GlimmoraWindow::listClear() {
    toList(LB_RESETCONTENT);
    lastEntry_.clear();
}

// The place the sorted list box would give the entry. Its own insertion compares every new
// entry with about log2(n) others, which took half the listing of a folder of 10,000 skins;
// the enumeration gives names nearly in order, so that one comparison with the last entry places
// most of them. Otherwise its binary search, an entry equal but for case going before the one
// it meets.
int GlimmoraWindow::sortedPosition(const std::wstring& entry) const {
    const int count = listCount();
    if (count == 0 || compareEntries(lastEntry_, entry) < 0) return count;
    int low = 0;
    int high = count - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = compareEntries(listItem(middle), entry);
        if (order == 0) return middle;
        if (order > 0) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

void GlimmoraWindow::listAdd(const std::wstring& entry) {
    const int position = sortedPosition(entry);
    // At a given place a sorted list box inserts without sorting again.
    toList(LB_INSERTSTRING, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(entry.c_str()));
    if (position == listCount() - 1) lastEntry_ = entry;
}

int GlimmoraWindow::listCount() const { return static_cast<int>(toList(LB_GETCOUNT)); }

std::wstring GlimmoraWindow::listItem(int position) const {
    const LRESULT length = toList(LB_GETTEXTLEN, static_cast<WPARAM>(position));
    if (length == LB_ERR) return L"";
    std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
    toList(LB_GETTEXT, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(static_cast<std::size_t>(length));
    return entry;
}

void GlimmoraWindow::listRemove(int position) { toList(LB_DELETESTRING, static_cast<WPARAM>(position)); }

std::wstring GlimmoraWindow::listSelected() const {
    const LRESULT selected = toList(LB_GETCURSEL);
    return selected == LB_ERR ? L"" : listItem(static_cast<int>(selected));
}

int GlimmoraWindow::value(Control control) const { return window_.isChecked(indexOf(control)) ? 1 : 0; }

void GlimmoraWindow::setValue(Control control, int value) { window_.setChecked(indexOf(control), value != 0); }

skinengine::WindowHandle GlimmoraWindow::windowHandle() const {
    return reinterpret_cast<skinengine::WindowHandle>(window_.window());
}

void GlimmoraWindow::showMessage(const std::wstring& text, const std::wstring& title, int style) {
    window_.showMessage(text, title, style);
}

void GlimmoraWindow::endProgram() { ExitProcess(0); }

void GlimmoraWindow::onClick(std::size_t control) { form_.Click(static_cast<Control>(control)); }

}  // namespace glimmora::win32
