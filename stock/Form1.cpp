#include "stock/Form1.h"

#include "stock/PositionCalculation.h"

namespace stock {
namespace {

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kEnter = 13;
constexpr std::int16_t kPoint = 46;

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
    countdown_ = 30;
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
    PositionResult result = calculatePosition(inputs);

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
    // The quote lookup is not built yet.
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
    default: break;
    }
}

void Form1::DblClick(Control control) {
    if (control == Control::Text5) Text5_DblClick();
}

}  // namespace stock
