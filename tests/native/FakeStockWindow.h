// A stand-alone model of the calculator window and a skin engine that records its calls.
#pragma once

#include <cmath>
#include <cwchar>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "skinengine/SkinEngine.h"
#include "stock/Platform.h"
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
    std::string repeatedChunk;        // if set, delivered for ever after the chunks
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
        else if (file == kFile) next = repeatedChunk;
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

// ASCII both ways, and a few characters in GBK and in UTF-8: 浦 (C6 D6; E6 B5 A6), 发 (B7 A2;
// E5 8F 91), 银 (D2 F8; E9 93 B6), 行 (D0 D0; E8 A1 8C), 平 (C6 BD, which is UTF-8 as well; E5 B9 B3),
// 安 (B0 B2; E5 AE 89). Any other byte beyond ASCII is U+FFFD.
class FakeCodec : public TextCodec {
public:
    std::string toAnsi(const std::wstring& text) override { return std::string(text.begin(), text.end()); }
    std::wstring fromGbk(const std::string& bytes) override {
        return decode(bytes, {{"\xC6\xD6", L'浦'}, {"\xB7\xA2", L'发'}, {"\xD2\xF8", L'银'}, {"\xD0\xD0", L'行'},
                              {"\xC6\xBD", L'平'}, {"\xB0\xB2", L'安'}});
    }
    std::wstring fromUtf8(const std::string& bytes) override {
        return decode(bytes, {{"\xE6\xB5\xA6", L'浦'}, {"\xE5\x8F\x91", L'发'}, {"\xE9\x93\xB6", L'银'},
                              {"\xE8\xA1\x8C", L'行'}, {"\xE5\xB9\xB3", L'平'}, {"\xE5\xAE\x89", L'安'}});
    }

private:
    static std::wstring decode(const std::string& bytes, const std::map<std::string, wchar_t>& characters) {
        std::wstring text;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            const std::size_t length = characters.begin()->first.size();
            if (byte < 0x80) {
                text += static_cast<wchar_t>(byte);
            } else if (characters.count(bytes.substr(i, length))) {
                text += characters.at(bytes.substr(i, length));
                i += length - 1;
            } else {
                text += L'\uFFFD';
            }
        }
        return text;
    }
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
