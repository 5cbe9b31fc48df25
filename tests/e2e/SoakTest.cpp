// Long runs of both programs driven from outside, with their handles and working set probed from
// inside their processes: after a warm-up nothing may climb. QUORVANE_SOAK_LOOKUPS and
// QUORVANE_SOAK_SWITCHES set the length (scripts/test runs a short soak, scripts/soak the full one);
// each run prints its figures in lines that begin with "soak:".
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "stock/QuoteLookup.h"
#include "tests/e2e/GlimmoraFixture.h"
#include "tests/e2e/ProcessProbe.h"
#include "tests/e2e/StockFixture.h"

namespace {

using namespace e2e;

constexpr int kWarmUp = 10;
constexpr unsigned kEventSlack = 8;  // a few handles may be opened or freed late: not a climb
constexpr unsigned kObjectSlack = 4;
constexpr std::size_t kWorkingSetGrowth = 2u << 20;

int soakLength(const char* variable, int fallback) {
    const char* value = std::getenv(variable);
    return value != nullptr && std::atoi(value) > kWarmUp ? std::atoi(value) : fallback;
}

// The probes at one moment of the run.
struct Sample {
    int done;
    HandleProbe handles;
    unsigned internet;  // 0 where the program uses no WinINet
    std::size_t workingSet;
};

void print(const char* program, const Sample& sample) {
    std::printf("soak: %s after %d: events %u, bitmaps %u, menus %u, WinINet %u, working set %zu KiB\n", program,
                sample.done, sample.handles.events, sample.handles.bitmaps, sample.handles.menus, sample.internet,
                sample.workingSet / 1024);
    std::fflush(stdout);
}

// Takes a sample, printed; fails the test when a probe cannot run in the program.
void takeSample(const char* program, ProcessProbe& probe, bool internet, int done, std::vector<Sample>& samples) {
    const std::optional<HandleProbe> handles = probe.handles();
    const std::optional<unsigned> internetHandles = internet ? probe.internetHandles() : 0u;
    EXPECT_TRUE(handles.has_value() && internetHandles.has_value()) << "the probe did not run in the program";
    if (!handles || !internetHandles) return;
    samples.push_back({done, *handles, *internetHandles, probe.workingSetBytes()});
    print(program, samples.back());
}

// Nothing climbs from the sample after the warm-up to the last one.
void expectFlat(const char* program, const std::vector<Sample>& samples) {
    ASSERT_GE(samples.size(), 2u);
    const Sample& base = samples.front();
    const Sample& last = samples.back();
    std::printf("soak: %s from %d to %d: events %+d, bitmaps %+d, menus %+d, WinINet %+d, working set %+lld KiB\n",
                program, base.done, last.done, static_cast<int>(last.handles.events - base.handles.events),
                static_cast<int>(last.handles.bitmaps - base.handles.bitmaps),
                static_cast<int>(last.handles.menus - base.handles.menus),
                static_cast<int>(last.internet - base.internet),
                (static_cast<long long>(last.workingSet) - static_cast<long long>(base.workingSet)) / 1024);
    EXPECT_LE(last.handles.events, base.handles.events + kEventSlack) << "kernel handles climb";
    EXPECT_LE(last.handles.bitmaps, base.handles.bitmaps + kObjectSlack) << "GDI objects climb";
    EXPECT_LE(last.handles.menus, base.handles.menus + kObjectSlack) << "USER objects climb";
    EXPECT_LE(last.internet, base.internet + kObjectSlack) << "WinINet handles climb";
    EXPECT_GT(base.workingSet, 0u) << "the working set cannot be read";
    EXPECT_LT(last.workingSet, base.workingSet + kWorkingSetGrowth) << "the working set grows";
}

// The request targets the stand-in logged after a point of its log, read a piece at a time.
class LogFollower {
public:
    explicit LogFollower(std::wstring path) : path_(std::move(path)), offset_(readFile(path_).size()) {}

    const std::vector<std::string>& targets() {
        std::ifstream in(path_.c_str(), std::ios::binary);
        in.seekg(static_cast<std::streamoff>(offset_));
        for (std::string line; std::getline(in, line) && !in.eof();) {
            offset_ += line.size() + 1;
            targets_.push_back(line.substr(line.rfind(' ') + 1));
        }
        return targets_;
    }

private:
    std::wstring path_;
    std::size_t offset_;
    std::vector<std::string> targets_;
};

class StockSoak : public StockLookupWindow {};

// What the stand-in answers to each code of the cycle, and what the lookup then shows.
struct Answer {
    const wchar_t* code;
    const wchar_t* summary;  // nullptr: no quote, the notice
    bool chartAsked;
};

const Answer kCycle[] = {
    {L"600000", L"浦发银行：今日开盘 10.20,昨日收盘 10.18,今日最高 10.30,今日最低 10.15", true},  // good
    {L"999001", nullptr, false},                                                                     // an error page
    {L"999006", L"中途断开：今日开盘 12.00,昨日收盘 11.90,今日最高 12.10,今日最低 11.85", true},  // a truncated body
    {L"999101", L"图为网页：今日开盘 31.00,昨日收盘 30.90,今日最高 31.10,今日最低 30.85", true},  // an HTML chart
};
const stock::Control kOptions[] = {stock::Control::Option1, stock::Control::Option2, stock::Control::Option3,
                                   stock::Control::Option4};
const char* const kPeriods[] = {"min", "daily", "weekly", "monthly"};

TEST_F(StockSoak, LookupsOfEveryKindInEveryPeriodLeakNothing) {
    const int lookups = soakLength("QUORVANE_SOAK_LOOKUPS", 50);
    ProcessProbe probe(program_->process());
    ASSERT_TRUE(probe.ready()) << "the probe library could not be loaded into the program";
    LogFollower log(standinLog());
    std::vector<std::string> expected;
    std::vector<Sample> samples;
    int wrong = 0;

    for (int i = 0; i < lookups; ++i) {
        const Answer& answer = kCycle[i % 4];
        const int period = (i / 4) % 4;
        const std::string code(answer.code, answer.code + 6);
        const std::string symbol = (code.compare(0, 2, "00") == 0 ? "sz" : "sh") + code;
        expected.push_back("/list=" + symbol);
        if (answer.chartAsked) expected.push_back("/newchart/" + std::string(kPeriods[period]) + "/n/" + symbol + ".gif");

        typeInto(Control::Text9, answer.code, answer.code);
        if (i % 4 == 0) {
            click(box(kOptions[period]));  // a new period: its option looks up
        } else {
            pressKey(VK_RETURN);
        }
        if (!waitUntil([&] { return log.targets().size() >= expected.size(); }, 15000) || !answers(form_)) {
            ADD_FAILURE() << "lookup " << i << " did not end";
            break;
        }
        const std::wstring shown = answer.summary ? answer.summary : stock::kNoQuoteNotice;
        if (text(Control::lb_info) != shown && wrong++ < 5) ADD_FAILURE() << "lookup " << i << " shows the wrong summary";

        const int done = i + 1;
        if (done == kWarmUp || done % 100 == 0 || done == lookups) takeSample("stock", probe, true, done, samples);
    }
    DWORD exitCode = 0;
    ASSERT_FALSE(program_->waitForExit(0, exitCode)) << "stock ended with code " << exitCode;
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(log.targets(), expected) << "the stand-in saw other requests than the lookups make";
    std::printf("soak: stock made %d lookups, %zu requests\n", lookups, log.targets().size());
    expectFlat("stock", samples);
}

class GlimmoraSoak : public GlimmoraWindow {
protected:
    std::wstring startFolder() const override { return binDirectory() + L"\\skins"; }
};

TEST_F(GlimmoraSoak, SkinSwitchesWithTheBoxesAndDisableInBetweenLeakNothing) {
    const int switches = soakLength("QUORVANE_SOAK_SWITCHES", 50);
    ProcessProbe probe(program_->process());
    ASSERT_TRUE(probe.ready()) << "the probe library could not be loaded into the program";
    const HWND list = box(Control::List1);
    const int skins = static_cast<int>(listEntries(list).size());
    ASSERT_GE(skins, 2) << "the sample skins are listed";
    std::vector<Sample> samples;

    for (int i = 0; i < switches; ++i) {
        clickListEntry(list, i % skins);
        if (i % 5 == 4) click(box(Control::Check1));
        if (i % 7 == 6) click(box(Control::Check2));
        if (i % 11 == 10) click(box(Control::Command2));
        parkMouse();  // no tooltip over the next entry
        if (!answers(form_) || listSelection(list) != i % skins) {
            ADD_FAILURE() << "switch " << i << " did not take";
            break;
        }
        const int done = i + 1;
        if (done == kWarmUp || done % 100 == 0 || done == switches) takeSample("glimmora", probe, false, done, samples);
    }
    DWORD exitCode = 0;
    ASSERT_FALSE(program_->waitForExit(0, exitCode)) << "glimmora ended with code " << exitCode;
    int attaches = 0;
    for (const std::string& line : trace()) attaches += line.rfind("SkinH_AttachEx(", 0) == 0 ? 1 : 0;
    EXPECT_EQ(attaches, switches) << "every switch applied its skin";
    std::printf("soak: glimmora made %d skin switches\n", switches);
    expectFlat("glimmora", samples);
}

}  // namespace
