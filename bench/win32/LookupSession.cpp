#include "bench/win32/LookupSession.h"

#include <algorithm>
#include <set>
#include <vector>

#include "bench/win32/Clock.h"

namespace bench {
namespace {

constexpr DWORD kLookupTimeoutMs = 15000;
constexpr int kChartRows = 24;  // the chart's title bar: the share, the period, the price

std::uint64_t digest(const std::vector<DWORD>& pixels) {
    std::uint64_t value = 14695981039346656037ull;  // FNV-1a
    for (DWORD pixel : pixels) value = (value ^ pixel) * 1099511628211ull;
    return value;
}

}  // namespace

LookupSession::LookupSession(const std::wstring& exe, const std::wstring& folder, const LookupWindow& window)
    : window_(window), program_(std::make_unique<e2e::Program>(exe, folder)) {
    if (!program_->started()) return;
    form_ = program_->waitForWindow(window_.windowClass, 30000);
    if (form_ == nullptr) return;
    e2e::giveFocus(form_, control(window_.codeBox));
    last_ = {summary(), chart()};
}

std::wstring LookupSession::summary() const { return e2e::windowText(control(window_.summary)); }

std::vector<DWORD> LookupSession::chartPixels() const {
    RECT rect;
    GetWindowRect(control(window_.chart), &rect);
    rect.bottom = std::min<LONG>(rect.bottom, rect.top + kChartRows);
    return e2e::screenPixels(rect);
}

std::uint64_t LookupSession::chart() const { return digest(chartPixels()); }

// Waits for a summary line and a chart other than the last ones, the chart drawn in several
// colours and steady on the screen.
bool LookupSession::learn(Shown& shown) const {
    if (!pollUntil([&] { return summary() != last_.summary; }, kLookupTimeoutMs)) return false;
    shown.summary = summary();
    std::uint64_t previous = 0;
    int steady = 0;
    return pollUntil(
        [&] {
            const std::vector<DWORD> pixels = chartPixels();
            const std::uint64_t now = digest(pixels);
            const bool drawn = now != last_.chart && std::set<DWORD>(pixels.begin(), pixels.end()).size() > 3;
            steady = drawn && now == previous ? steady + 1 : 0;
            previous = now;
            shown.chart = now;
            Sleep(50);
            return steady >= 3;
        },
        kLookupTimeoutMs);
}

double LookupSession::lookUp(const std::wstring& code) {
    if (!ready()) return -1;
    HWND codeBox = control(window_.codeBox);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(codeBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(code.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored);
    if (e2e::focusedControl(form_) != codeBox) e2e::giveFocus(form_, codeBox);

    const auto known = known_.find(code);
    const double start = nowMs();
    e2e::pressKey(VK_RETURN);
    double elapsed = -1;
    if (known == known_.end()) {
        Shown shown;
        if (learn(shown)) {
            elapsed = nowMs() - start;
            known_[code] = shown;
            last_ = shown;
        }
    } else if (pollUntil([&] { return summary() == known->second.summary; }, kLookupTimeoutMs) &&
               // Then the screen alone: reading the line is a message that waits for the program's
               // thread, and a read let through just before the chart was painted read the old
               // chart and then slept a whole turn, which the floor, painting first, did not.
               pollUntil([&] { return chart() == known->second.chart; }, kLookupTimeoutMs)) {
        elapsed = nowMs() - start;
        last_ = known->second;
    }
    return elapsed;
}

}  // namespace bench
