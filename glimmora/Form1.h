// The skin try-on window's logic: its event handlers under the names of their controls and
// events, and the skin file listing. It reaches the window only through GlimmoraView, the file
// enumeration only through FileFinder and the skin engine only through SkinEngine.
#pragma once

#include <string>

#include "glimmora/FileFinder.h"
#include "glimmora/GlimmoraView.h"
#include "skinengine/SkinEngine.h"
#include "ui/CodePage.h"

namespace glimmora {

class Form1 {
public:
    Form1(GlimmoraView& view, skinengine::SkinEngine& skin, FileFinder& finder, const ui::AnsiCodePage& codePage)
        : view_(view), skin_(skin), finder_(finder), codePage_(codePage) {}

    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void List1_Click();
    void Check1_Click();
    void Check2_Click();
    void Command1_Click();
    void Command2_Click();

    void FindFilesAPI(const std::wstring& path, const std::wstring& SearchStr);
    std::wstring StripNulls(const std::wstring& OriginalStr) const;
    void FilterFileListRemoveitem();

    // The window adapter delivers every event here; each goes to the handler of that control,
    // and events without a handler do nothing.
    void Click(Control control);
    void Change(Control control);

    const std::wstring& skinFileName() const { return SkinFileName; }

private:
    GlimmoraView& view_;
    skinengine::SkinEngine& skin_;
    FileFinder& finder_;
    const ui::AnsiCodePage& codePage_;
    std::wstring SkinFileName;
};

}  // namespace glimmora
