// The skin list of the real window against the platform's own sorted list box: the same
// additions and removals must leave the same order, whatever the names.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "glimmora/win32/GlimmoraWindow.h"
#include "glimmora/win32/Win32FileFinder.h"
#include "tests/support/RecordingSkinEngine.h"
#include "ui/win32/SystemCodePage.h"

namespace glimmora {
namespace {

using Names = std::vector<std::wstring>;

struct ListStep {
    const wchar_t* add;  // nullptr: remove the entry at `remove`
    int remove;
};

TEST(GlimmoraSkinList, PlacesEntriesAsThePlatformsSortedListBoxDoes) {
    ASSERT_EQ(GetACP(), 936u) << "the tests need the Simplified-Chinese code page";
    support::RecordingSkinEngine skin;
    win32::Win32FileFinder finder;
    ui::win32::SystemCodePage codePage;
    win32::GlimmoraWindow window(skin, finder, codePage);
    ASSERT_TRUE(window.createAndLoad(GetModuleHandleW(nullptr)));

    auto add = [](const wchar_t* name) { return ListStep{name, 0}; };
    auto remove = [](int position) { return ListStep{nullptr, position}; };
    const std::vector<std::vector<ListStep>> sequences = {
        {add(L"skin1.she"), add(L"skin2.she"), add(L"skin3.she"), add(L"skin4.she")},  // in order
        {add(L"d.she"), add(L"c.she"), add(L"b.she"), add(L"a.she")},                  // reversed
        {add(L"b.she"), add(L"C.she"), add(L"A.she"), add(L"a2.she"), add(L"B1.she")},  // case
        {add(L"a.she"), add(L"A.she"), add(L"b.she"), add(L"B.she"), add(L"a.she"), add(L"A.SHE")},  // equal but for case
        {add(L"春天.she"), add(L"深海.she"), add(L"Autumn.she"), add(L"冬.she"), add(L"blue.she")},
        {add(L"a-b.she"), add(L"ab.she"), add(L"a_b.she"), add(L"a b.she"), add(L"a10.she"), add(L"a9.she")},
        // The last entry removed, then names that sort after what is left and before it.
        {add(L"a.she"), add(L"m.she"), add(L"z.she"), remove(2), add(L"y.she"), remove(2), remove(1), add(L"n.she"),
         add(L"b.she"), remove(0), add(L"zz.she")},
    };
    HWND reference = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_SORT | LBS_HASSTRINGS, 0, 0, 10, 10,
                                     window.window(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(reference, nullptr);
    for (std::size_t s = 0; s < sequences.size(); ++s) {
        window.listClear();
        SendMessageW(reference, LB_RESETCONTENT, 0, 0);
        for (const ListStep& step : sequences[s]) {
            if (step.add != nullptr) {
                window.listAdd(step.add);
                SendMessageW(reference, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(step.add));
            } else {
                window.listRemove(step.remove);
                SendMessageW(reference, LB_DELETESTRING, step.remove, 0);
            }
        }
        Names expected, entries;
        for (LRESULT i = 0; i < SendMessageW(reference, LB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[64] = {};
            SendMessageW(reference, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            expected.push_back(text);
        }
        for (int i = 0; i < window.listCount(); ++i) entries.push_back(window.listItem(i));
        EXPECT_EQ(entries, expected) << "sequence " << s;
    }
    DestroyWindow(reference);
}

}  // namespace
}  // namespace glimmora
