#include "glimmora/Form1.h"

#include "glimmora/FolderList.h"
#include "ui/OnScopeExit.h"

namespace glimmora {
namespace {

constexpr wchar_t kSkinPattern[] = L"*.she";
constexpr wchar_t kSkinExtension[] = L".she";

bool endsInSkinExtension(const std::wstring& name) {
    std::wstring last = name.size() < 4 ? name : name.substr(name.size() - 4);
    for (wchar_t& c : last) c = lowerAscii(c);
    return last == kSkinExtension;
}

}  // namespace

void Form1::Form_Load() {
    view_.setText(Control::txtpath, view_.dirPath());
    Dir1_Change();
    skin_.SkinH_Attach();
}

void Form1::Drive1_Change() {
    const std::wstring drive = view_.driveText();
    if (view_.setDirPath(drive)) return;
    // The directory list cannot move to a drive without a medium: stay, and say why.
    view_.chooseDriveOf(view_.dirPath());
    view_.showMessage(L"驱动器 " + driveOf(drive) + L" 没有准备好，无法读取。\n请插入磁盘后再选择该驱动器。",
                      L"驱动器未就绪", kStyleExclamation);
}

void Form1::Dir1_Change() {
    view_.setText(Control::txtpath, view_.dirPath());
    view_.listClear();
    FindFilesAPI(view_.text(Control::txtpath), kSkinPattern);
    FilterFileListRemoveitem();
}

void Form1::FindFilesAPI(const std::wstring& path, const std::wstring& SearchStr) {
    std::wstring folder = path;
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';

    FindRecord record{};
    const SearchHandle search = finder_.FindFirstFileA(codePage_.toAnsi(folder + SearchStr), record);
    if (search == kInvalidSearchHandle) return;
    const ui::OnScopeExit closeSearch([&] { finder_.FindClose(search); });
    do {
        // The whole field, NULs and all: a name that fills it has no terminator to stop at.
        const std::wstring name =
            StripNulls(codePage_.fromAnsi(std::string(record.cFileName, sizeof record.cFileName)));
        if (name != L"." && name != L"..") view_.listAdd(name);
        record = FindRecord{};
    } while (finder_.FindNextFileA(search, record));
}

std::wstring Form1::StripNulls(const std::wstring& OriginalStr) const {
    return OriginalStr.substr(0, OriginalStr.find(L'\0'));
}

void Form1::FilterFileListRemoveitem() {
    // From the end: a removal moves only entries already examined.
    for (int position = view_.listCount() - 1; position >= 0; --position) {
        if (!endsInSkinExtension(view_.listItem(position))) view_.listRemove(position);
    }
}

void Form1::List1_Click() {
    SkinFileName = view_.listSelected();
    if (view_.value(Control::Check1) != 0) skin_.SkinH_SetWindowAlpha(view_.windowHandle(), 250);
    if (view_.value(Control::Check2) != 0) skin_.SkinH_SetAero(1);
    const std::wstring skinPath = view_.text(Control::txtpath) + L"\\" + SkinFileName;
    skin_.SkinH_AttachEx(codePage_.toAnsi(skinPath), codePage_.toAnsi(L""));
}

void Form1::Check1_Click() {
    skin_.SkinH_SetWindowAlpha(view_.windowHandle(), view_.value(Control::Check1) != 0 ? 200 : 255);
}

void Form1::Check2_Click() {
    skin_.SkinH_SetAero(view_.value(Control::Check2) != 0 ? 1 : 0);
}

void Form1::Command1_Click() {
    view_.endProgram();
}

void Form1::Command2_Click() {
    view_.setValue(Control::Check1, 0);
    view_.setValue(Control::Check2, 0);
    skin_.SkinH_SetAero(0);
    skin_.SkinH_Detach();
    skin_.SkinH_DetachEx(view_.windowHandle());
}

void Form1::Click(Control control) {
    switch (control) {
    case Control::List1: List1_Click(); break;
    case Control::Check1: Check1_Click(); break;
    case Control::Check2: Check2_Click(); break;
    case Control::Command1: Command1_Click(); break;
    case Control::Command2: Command2_Click(); break;
    default: break;
    }
}

void Form1::Change(Control control) {
    switch (control) {
    case Control::Drive1: Drive1_Change(); break;
    case Control::Dir1: Dir1_Change(); break;
    default: break;
    }
}

}  // namespace glimmora
