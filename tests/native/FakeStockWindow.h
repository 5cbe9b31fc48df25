// A stand-alone model of the calculator window and a skin engine that records its calls.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "skinengine/SkinEngine.h"
#include "stock/StockView.h"

namespace stock::testing {

struct Message {
    std::wstring text;
    std::wstring title;
    int style;
};

class FakeStockWindow : public StockView {
public:
    // Every control starts with its design text, as the real window does.
    FakeStockWindow() {
        for (std::size_t i = 0; i < kControlCount; ++i) texts[static_cast<Control>(i)] = kForm.controls[i].caption;
    }

    std::wstring text(Control control) const override { return texts.at(control); }
    void setText(Control control, const std::wstring& text) override {
        texts[control] = text;
        events.push_back(L"text " + std::wstring(kForm.controls[indexOf(control)].name));
    }
    void setForeColor(Control control, ui::Color color) override {
        colors[control] = color;
        events.push_back(L"color " + std::wstring(kForm.controls[indexOf(control)].name));
    }
    bool isChecked(Control control) const override { return checked.count(control) && checked.at(control); }
    void setTimerEnabled(bool enabled) override { timerEnabled = enabled; }
    void setFocus(Control control) override { focus = control; }
    void showMessage(const std::wstring& text, const std::wstring& title, int style) override {
        messages.push_back({text, title, style});
        events.push_back(L"message");
    }

    std::map<Control, std::wstring> texts;
    std::map<Control, ui::Color> colors;
    std::map<Control, bool> checked;
    std::vector<Message> messages;
    std::vector<std::wstring> events;  // in the order the window saw them
    bool timerEnabled = false;
    Control focus = Control::Text1;
};

class RecordingSkinEngine : public skinengine::SkinEngine {
public:
    void SkinH_Attach() override { calls.push_back("SkinH_Attach"); }
    void SkinH_AttachEx(const std::string&, const std::string&) override { calls.push_back("SkinH_AttachEx"); }
    void SkinH_Detach() override { calls.push_back("SkinH_Detach"); }
    void SkinH_DetachEx(skinengine::WindowHandle) override { calls.push_back("SkinH_DetachEx"); }
    void SkinH_SetAero(std::int32_t) override { calls.push_back("SkinH_SetAero"); }
    void SkinH_SetWindowAlpha(skinengine::WindowHandle, std::int32_t) override {
        calls.push_back("SkinH_SetWindowAlpha");
    }

    std::vector<std::string> calls;
};

}  // namespace stock::testing
