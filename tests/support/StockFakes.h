// A stand-alone model of the calculator window, and WinINet, the picture loaders and the number
// conversions as the tests script them.
#pragma once

#include <cmath>
#include <cwchar>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "stock/Platform.h"
#include "stock/StockView.h"
#include "tests/support/RecordingSkinEngine.h"

namespace stock::testing {

using support::Message;
using support::RecordingSkinEngine;

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
    void setPicture(Control control, PictureRef picture) override {
        pictures[control] = picture;
        events.push_back(L"picture " + std::wstring(kForm.controls[indexOf(control)].name));
    }
    void showMessage(const std::wstring& text, const std::wstring& title, int style) override {
        messages.push_back({text, title, style});
        events.push_back(L"message");
        if (whileMessageShows) whileMessageShows();  // what the platform dispatches meanwhile
    }

    std::map<Control, std::wstring> texts;
    std::map<Control, ui::Color> colors;
    std::map<Control, bool> checked;
    std::map<Control, PictureRef> pictures;
    std::function<void()> whileMessageShows;
    std::vector<Message> messages;
    std::vector<std::wstring> events;  // in the order the window saw them
    bool timerEnabled = false;
    Control focus = Control::Text1;
};

// WinINet as a script: a body delivered in the chunks given, every call recorded.
class FakeInternet : public InternetApi {
public:
    struct Call {
        std::string name;
        std::string text;  // the agent or the address
        std::string headers;
        std::uint32_t number = 0;  // access type or flags
        bool nullHeaders = false;
        std::uint32_t headersLength = 0;
    };

    std::vector<std::string> chunks;  // each read delivers the next one; then 0 bytes
    bool rootFails = false;
    bool urlFails = false;
    std::vector<Call> calls;
    std::vector<Handle> closed;

    Handle InternetOpenA(const char* agent, std::uint32_t accessType, const char* proxy, const char* bypass,
                         std::uint32_t flags) override {
        calls.push_back({"InternetOpenA", agent, "", accessType | flags, proxy == nullptr && bypass == nullptr, 0});
        return rootFails ? 0 : kRoot;
    }
    Handle InternetOpenUrlA(Handle internet, const char* url, const char* headers, std::uint32_t headersLength,
                            std::uint32_t flags, std::uintptr_t context) override {
        calls.push_back({"InternetOpenUrlA", url, headers ? headers : "", flags, headers == nullptr, headersLength});
        return urlFails || internet != kRoot || context != 0 ? 0 : kFile;
    }
    bool InternetReadFile(Handle file, void* buffer, std::uint32_t toRead, std::uint32_t* read) override {
        ++reads;
        std::string next;
        if (file == kFile && nextChunk < chunks.size()) next = chunks[nextChunk++];
        next.resize(std::min<std::size_t>(next.size(), toRead));
        std::copy(next.begin(), next.end(), static_cast<char*>(buffer));
        *read = static_cast<std::uint32_t>(next.size());
        return true;
    }
    bool InternetCloseHandle(Handle handle) override {
        closed.push_back(handle);
        return true;
    }

    static constexpr Handle kRoot = 0x1000;
    static constexpr Handle kFile = 0x2000;
    std::size_t reads = 0;

private:
    std::size_t nextChunk = 0;
};

class FakePicture : public Picture {
public:
    explicit FakePicture(std::wstring from) : source(std::move(from)) {}
    std::wstring source;
};

class FakePictures : public PictureService {
public:
    Outcome outcome = Outcome::Called;
    bool pathLoads = true;
    bool fileLoads = false;
    std::vector<std::wstring> pathRequests;
    std::vector<std::wstring> fileRequests;

    Outcome loadPicturePath(const std::wstring& path, PictureRef& picture) override {
        pathRequests.push_back(path);
        if (outcome == Outcome::Called && pathLoads) picture = std::make_shared<FakePicture>(L"path " + path);
        return outcome;
    }
    PictureRef loadPictureFile(const std::wstring& path) override {
        fileRequests.push_back(path);
        return fileLoads ? std::make_shared<FakePicture>(L"file " + path) : nullptr;
    }
};

// Plain decimal texts and the "0.00" pattern: enough for the calculation's tests. What the
// platform's own conversions do is pinned under Wine.
class FakeNumbers : public NumberConversions {
public:
    std::optional<double> number(std::wstring_view text) override {
        const std::wstring s(text);
        wchar_t* end = nullptr;
        const double value = std::wcstod(s.c_str(), &end);
        if (s.empty() || *end != L'\0' || !std::isfinite(value)) return std::nullopt;
        return value;
    }
    std::optional<std::int16_t> wholeFromDouble(double value) override {
        const double rounded = std::nearbyint(value);  // a half to the even neighbour
        if (!(rounded >= -32768 && rounded <= 32767)) return std::nullopt;
        return static_cast<std::int16_t>(rounded);
    }
    std::optional<std::wstring> text(double value) override {
        wchar_t written[400];
        std::swprintf(written, 400, L"%.2f", value);
        return written;
    }
};

}  // namespace stock::testing
