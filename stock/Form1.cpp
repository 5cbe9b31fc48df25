#include "stock/Form1.h"

#include "stock/PositionCalculation.h"
#include "stock/QuoteLookup.h"
#include "stock/WebTextFetch.h"

namespace stock {
namespace {

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kEnter = 13;
constexpr std::int16_t kPoint = 46;
constexpr std::int16_t kCountdownStart = 30;

bool isDigit(std::int16_t code) { return code >= 48 && code <= 57; }

// Prices take digits, points and backspace; the filter looks at the one character only, so a
// second point goes through and the calculation reports it.
void keepPriceCharacter(std::int16_t& code) {
    if (!isDigit(code) && code != kPoint && code != kBackspace) code = 0;
}

void keepCodeCharacter(std::int16_t& code) {
    if (!isDigit(code) && code != kBackspace) code = 0;
}

}  // namespace

void Form1::Form_Load() {
    chartPeriod_ = L"min";
    countdown_ = kCountdownStart;
    skin_.SkinH_Attach();
}

void Form1::Text1_KeyPress(std::int16_t& KeyAscii) { keepPriceCharacter(KeyAscii); }
void Form1::Text3_KeyPress(std::int16_t& KeyAscii) { keepPriceCharacter(KeyAscii); }
void Form1::Text5_KeyPress(std::int16_t& KeyAscii) { keepPriceCharacter(KeyAscii); }
void Form1::Text9_KeyPress(std::int16_t& KeyAscii) { keepCodeCharacter(KeyAscii); }
// The result boxes take no typed character at all, backspace included.
void Form1::Text4_KeyPress(std::int16_t& KeyAscii) { KeyAscii = 0; }
void Form1::Text8_KeyPress(std::int16_t& KeyAscii) { KeyAscii = 0; }

void Form1::Text5_DblClick() {
    view_.setText(Control::Text5, view_.text(Control::Text3));
}

void Form1::Text9_KeyDown(std::int16_t& KeyCode, std::int16_t /*Shift*/) {
    if (KeyCode == kEnter) cmd_stockfind_Click();
}

void Form1::cmd_clac_Click() {
    PositionInputs inputs{view_.text(Control::Text1), view_.text(Control::Text2), view_.text(Control::Text3),
                          view_.text(Control::Text5), view_.text(Control::Text6)};
    PositionResult result = calculatePosition(inputs, platform_.numbers);

    view_.setForeColor(Control::Label4, result.todayColor);
    if (result.todayResult) view_.setText(Control::Text4, *result.todayResult);
    view_.setForeColor(Control::Text4, result.todayColor);
    if (result.averageCost) view_.setText(Control::Text7, *result.averageCost);
    view_.setForeColor(Control::Label8, result.afterColor);
    if (result.afterResult) view_.setText(Control::Text8, *result.afterResult);
    view_.setForeColor(Control::Text8, result.afterColor);

    if (result.failed) view_.showMessage(L"对不起，请检查您输入的是否合法？", L"错误", kStyleCritical);
}

void Form1::cmd_stockfind_Click() {
    // Marks the lookup as running until its outermost call returns.
    struct Running {
        bool& flag;
        bool outermost = !flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { if (outermost) flag = false; }
    } running(lookupRunning_);

    const std::wstring code = view_.text(Control::Text9);
    if (code.size() < 6) {
        view_.showMessage(L"请输入正确的股票代码!", L"警告", kStyleInformation);
        view_.setFocus(Control::Text9);
        return;
    }
    const std::wstring symbol = marketPrefix(code) + code;
    const std::wstring answer = GetUrlSource(quoteAddress(platform_.addresses.quoteBase, symbol));
    view_.setText(Control::Text10, answer);

    const std::optional<Quote> quote = quoteFromAnswer(answer);
    if (!quote) {
        // Nothing to fill from: today's price stays, the old chart goes, and no box comes up
        // (the auto-refresh would pile them up).
        view_.setText(Control::lb_info, kNoQuoteNotice);
        view_.setPicture(Control::img_stock, nullptr);
        return;
    }
    view_.setText(Control::Text3, quote->price);
    view_.setText(Control::lb_info, quote->summary);
    view_.setPicture(Control::img_stock, LoadPicture(chartAddress(platform_.addresses.chartBase, chartPeriod_, symbol)));
}

void Form1::lookUpWithPeriod(const wchar_t* period) {
    chartPeriod_ = period;
    cmd_stockfind_Click();
}

void Form1::Option1_Click() { lookUpWithPeriod(L"min"); }
void Form1::Option2_Click() { lookUpWithPeriod(L"daily"); }
void Form1::Option3_Click() { lookUpWithPeriod(L"weekly"); }
void Form1::Option4_Click() { lookUpWithPeriod(L"monthly"); }

void Form1::chk_autoref_Click() {
    if (view_.isChecked(Control::chk_autoref)) {
        view_.setTimerEnabled(true);
    } else {
        view_.setTimerEnabled(false);
        countdown_ = kCountdownStart;
    }
}

void Form1::Timer1_Timer() {
    countdown_ = static_cast<std::int16_t>(countdown_ - 1);
    if (countdown_ > 0) {
        view_.setText(Control::chk_autoref, L"更新倒计:" + std::to_wstring(countdown_) + L"秒");
        return;
    }
    countdown_ = kCountdownStart;
    view_.setText(Control::chk_autoref, L"立即更新");
    // A tick can arrive while a lookup still waits in its message box; starting another there
    // would pile up a box every 30 seconds.
    if (lookupRunning_) return;
    cmd_stockfind_Click();
}

std::wstring Form1::GetUrlSource(const std::wstring& sURL) {
    return fetchWebText(platform_.internet, platform_.text, sURL, platform_.addresses.quoteHeaders);
}

PictureRef Form1::LoadPicture(const std::wstring& strFileName) {
    PictureRef picture;
    if (platform_.pictures.loadPicturePath(strFileName, picture) == PictureService::Outcome::Unavailable) {
        return platform_.pictures.loadPictureFile(strFileName);
    }
    return picture;
}

void Form1::KeyPress(Control control, std::int16_t& KeyAscii) {
    switch (control) {
    case Control::Text1: Text1_KeyPress(KeyAscii); break;
    case Control::Text3: Text3_KeyPress(KeyAscii); break;
    case Control::Text5: Text5_KeyPress(KeyAscii); break;
    case Control::Text9: Text9_KeyPress(KeyAscii); break;
    case Control::Text4: Text4_KeyPress(KeyAscii); break;
    case Control::Text8: Text8_KeyPress(KeyAscii); break;
    default: break;
    }
}

void Form1::KeyDown(Control control, std::int16_t& KeyCode, std::int16_t Shift) {
    if (control == Control::Text9) Text9_KeyDown(KeyCode, Shift);
}

void Form1::Click(Control control) {
    switch (control) {
    case Control::cmd_clac: cmd_clac_Click(); break;
    case Control::cmd_stockfind: cmd_stockfind_Click(); break;
    case Control::Option1: Option1_Click(); break;
    case Control::Option2: Option2_Click(); break;
    case Control::Option3: Option3_Click(); break;
    case Control::Option4: Option4_Click(); break;
    case Control::chk_autoref: chk_autoref_Click(); break;
    default: break;
    }
}

void Form1::DblClick(Control control) {
    if (control == Control::Text5) Text5_DblClick();
}

}  // namespace stock
