// Long runs of both programs driven from outside, with their handles and working set probed from
// inside their processes by the bench's probe library: after a warm-up nothing may climb.
// QUORVANE_SOAK_LOOKUPS and QUORVANE_SOAK_SWITCHES set the length (scripts/test runs a short soak,
// scripts/soak the full one); each run prints its figures in lines that begin with "soak:".
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "bench/BenchTable.h"
#include "bench/win32/RemoteProbe.h"
#include "stock/QuoteLookup.h"
#include "tests/e2e/WindowFixtures.h"

namespace {

using namespace e2e;

constexpr int kWarmUp = 10;
constexpr std::uint32_t kSlack = 8;  // a few handles may be opened or freed late: not a climb
constexpr double kWorkingSetGrowth = 1.10;

int soakLength(const char* variable, int fallback) {
    const char* value = std::getenv(variable);
    return value != nullptr && std::atoi(value) > kWarmUp ? std::atoi(value) : fallback;
}

// The probe after the warm-up and the latest one, taken in the program by the bench's probe.dll.
class Probes {
public:
    explicit Probes(const Program& program, int warmUp = kWarmUp)
        : remote_(program.id(), testDirectory() + L"\\..\\bench\\probe.dll"), warmUp_(warmUp) {}
    bool ready() const { return remote_.ready(); }

    void take(int done) {
        bench::HandleProbe handles;
        std::uint64_t workingSet = 0;
        EXPECT_TRUE(remote_.take(handles, workingSet)) << "the probe did not run in the program";
        (done == warmUp_ ? first_ : last_) = {handles, workingSet};
        if (done == warmUp_) last_ = first_;
        std::printf("soak: after %d: kernel handles %u, GDI objects %u, working set %llu KiB\n", done,
                    handles.kernelObjects, handles.gdiObjects, static_cast<unsigned long long>(workingSet / 1024));
        std::fflush(stdout);
    }
    // Nothing climbed from the probe after the warm-up to the last one.
    void expectFlat(const char* program, int steps) const {
        const std::vector<bench::Row> rows = {
            bench::probeRow(std::string("soak: handles of ") + program, first_.handles, last_.handles, steps, kSlack),
            bench::growthRow(std::string("soak: working set of ") + program, first_.workingSet, last_.workingSet,
                             steps, kWorkingSetGrowth)};
        const std::string table = bench::markdownTable(rows);
        std::printf("%s", table.c_str());
        EXPECT_TRUE(bench::allHold(rows)) << table;
    }

private:
    struct Sample {
        bench::HandleProbe handles;
        std::uint64_t workingSet = 0;
    };
    bench::RemoteProbe remote_;
    int warmUp_;
    Sample first_, last_;
};

// Each code of the cycle and what its lookup shows: each differs from the one before, so that
// the summary tells when a lookup has ended.
const std::pair<const wchar_t*, const wchar_t*> kCycle[] = {
    {L"600000", L"浦发银行：今日开盘 10.20,昨日收盘 10.18,今日最高 10.30,今日最低 10.15"},  // good
    {L"999001", stock::kNoQuoteNotice},                                                      // an error page
    {L"999006", L"中途断开：今日开盘 12.00,昨日收盘 11.90,今日最高 12.10,今日最低 11.85"},  // a truncated body
    {L"999101", L"图为网页：今日开盘 31.00,昨日收盘 30.90,今日最高 31.10,今日最低 30.85"},  // an HTML chart
    {L"999005", L"无尽回答：今日开盘 11.00,昨日收盘 10.90,今日最高 11.10,今日最低 10.85"},  // 1 MiB into Text10
};
constexpr std::size_t kKinds = std::size(kCycle);
const stock::Control kOptions[] = {stock::Control::Option1, stock::Control::Option2, stock::Control::Option3,
                                   stock::Control::Option4};

TEST_F(StockLookupWindow, LookupsOfEveryKindInEveryPeriodLeakNothing) {
    const int lookups = soakLength("QUORVANE_SOAK_LOOKUPS", 50);
    Probes probes(*program_);
    ASSERT_TRUE(probes.ready()) << "the probe library could not be loaded into the program";
    for (int i = 0; i < lookups; ++i) {
        const auto [code, summary] = kCycle[i % kKinds];
        typeInto(Control::Text9, code, code);
        if (i % kKinds == 0) {
            click(box(kOptions[(i / kKinds) % std::size(kOptions)]));  // a new period: its option looks up
        } else {
            pressKey(VK_RETURN);
        }
        if (!waitUntil([&] { return text(Control::lb_info) == summary; }, kPatienceMs) || !answers(form_)) {
            ADD_FAILURE() << "lookup " << i << " did not end with its summary";
            break;
        }
        const int done = i + 1;
        if (done == kWarmUp || done % 100 == 0 || done == lookups) probes.take(done);
    }
    DWORD exitCode = 0;
    ASSERT_FALSE(program_->waitForExit(0, exitCode)) << "stock ended with code " << exitCode;
    std::printf("soak: stock made %d lookups\n", lookups);
    probes.expectFlat("stock", lookups);
}

TEST_F(GlimmoraOnSampleSkins, SkinSwitchesWithTheBoxesMenusTooltipsAndDisableInBetweenLeakNothing) {
    const int switches = soakLength("QUORVANE_SOAK_SWITCHES", 50);
    // The first probe once every kind of step below has come twice (Disable skin first at the
    // eleventh switch), in the state the later ones find: a skin on, transparency off, the shadow
    // on. What a kind of step makes the first time it runs is no climb.
    constexpr int kSwitchWarmUp = 23;
    Probes probes(*program_, kSwitchWarmUp);
    ASSERT_TRUE(probes.ready()) << "the probe library could not be loaded into the program";
    const HWND list = box(Control::List1);
    const int skins = static_cast<int>(listEntries(list).size());
    ASSERT_GE(skins, 2) << "the sample skins are listed";

    for (int i = 0; i < switches; ++i) {
        clickListEntry(list, i % skins);
        if (i % 5 == 4) click(box(Control::Check1));
        if (i % 7 == 6) click(box(Control::Check2));
        if (i % 11 == 10) click(box(Control::Command2));
        // Under the new skin, now and then: the window menu with an item highlighted, and a tooltip.
        if (i % 3 == 2) {
            pressWith(VK_MENU, VK_SPACE);
            if (program_->waitForWindow(L"#32768", kPatienceMs) != nullptr) pressKey(VK_DOWN);
            pressKey(VK_ESCAPE);
            EXPECT_TRUE(waitUntil([&] { return program_->waitForWindow(L"#32768", 0) == nullptr; }, kPatienceMs));
        }
        if (i % 4 == 3) showsTooltip(*program_, box(Control::txtpath), box(Control::Check2), L"目录文件夹所在路径");
        parkMouse();  // no tooltip over the next entry
        // The click waits in the input queue behind what answers() sends: wait for its selection.
        if (!waitUntil([&] { return listSelection(list) == i % skins; }, kPatienceMs) || !answers(form_)) {
            ADD_FAILURE() << "switch " << i << " did not take";
            break;
        }
        const int done = i + 1;
        if (done == kSwitchWarmUp || done % 100 == 0 || done == switches) probes.take(done);
    }
    DWORD exitCode = 0;
    ASSERT_FALSE(program_->waitForExit(0, exitCode)) << "glimmora ended with code " << exitCode;
    int attaches = 0;
    for (const std::string& line : trace()) attaches += line.rfind("SkinH_AttachEx(", 0) == 0 ? 1 : 0;
    EXPECT_EQ(attaches, switches) << "every switch applied its skin";
    std::printf("soak: glimmora made %d skin switches\n", switches);
    probes.expectFlat("glimmora", switches);
}

}  // namespace
