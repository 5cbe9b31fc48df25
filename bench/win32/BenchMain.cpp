// bench.exe [--smoke]: measures the programs against the platform's own floor, each figure
// several times after a warm-up (a timed figure more often while its verdict is unsettled), and
// prints one Markdown table of medians, spreads, ratios and verdicts. Run by scripts/bench under
// Wine, with the stand-in service on 127.0.0.1.
//
// Exit code: 0 when every figure was measured and (in a full run) every budget holds, 1 when a
// budget misses, 2 when a figure could not be measured. A smoke run (--smoke) takes two runs of
// each figure and judges no budget: it shows that the bench still measures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/BenchTable.h"
#include "bench/win32/Clock.h"
#include "bench/win32/FloorLookup.h"
#include "bench/win32/ListingBench.h"
#include "bench/win32/LookupSession.h"
#include "bench/win32/RemoteProbe.h"
#include "stock/StockDesign.h"
#include "tools/window-driver/Driver.h"

namespace {

using namespace bench;

constexpr double kKiB = 1024;
constexpr double kStartUpBudget = 1.15;  // each program against its floor
constexpr double kLookupBudget = 1.3;

// A timed figure takes at least `runs` pairs, and more up to `most` until it is settled.
struct Runs {
    int runs;
    int most;
};

struct Settings {
    bool smoke = false;
    Runs startUp{30, 120};     // starts of each program and of its floor
    Runs lookups{32, 128};     // timed lookups, and floor lookups
    int listingRuns = 9;
    int steadyLookups = 1000;  // lookups before the second probe
};

const std::wstring kCodes[] = {L"600000", L"000001"};

std::wstring benchDirectory() { return e2e::testDirectory(); }

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::uint64_t fileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Whether the binary carries no symbol table.
bool stripped(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    IMAGE_DOS_HEADER dos{};
    in.read(reinterpret_cast<char*>(&dos), sizeof dos);
    in.seekg(dos.e_lfanew + 4);  // past "PE\0\0"
    IMAGE_FILE_HEADER file{};
    in.read(reinterpret_cast<char*>(&file), sizeof file);
    return in && file.PointerToSymbolTable == 0 && file.NumberOfSymbols == 0;
}

Row sizeOf(const std::wstring& name, double budgetKiB) {
    const std::wstring path = e2e::binDirectory() + L"\\" + name;
    Row row = sizeRow(narrow(name), fileSize(path), static_cast<std::uint64_t>(budgetKiB * kKiB));
    if (fileSize(path) == 0) {
        row.measured = "missing";
        row.holds = false;
    } else if (!stripped(path)) {
        row.measured += " (not stripped)";
        row.holds = false;
    }
    return row;
}

// Milliseconds from the process's start until its window of that class is shown; negative
// when it is not within 30 s. The program is closed again before this returns.
double startUp(const std::wstring& exe, const std::wstring& folder, const std::wstring& arguments,
               const wchar_t* windowClass) {
    const double start = nowMs();
    e2e::Program program(exe, folder, nullptr, arguments);  // waits until its message loop idles
    if (!program.started()) return -1;
    if (!pollUntil([&] { return program.waitForWindow(windowClass, 0) != nullptr; }, 30000)) return -1;
    return nowMs() - start;
}

// Run i of the program beside run i of its floor.
struct PairedTimes {
    std::vector<double> program;
    std::vector<double> floor;
};

// Whether a figure has its pairs: as many as asked, and as many more as it takes to settle.
bool enough(const PairedTimes& times, const Runs& runs, double budget) {
    const int taken = static_cast<int>(times.program.size());
    return taken >= runs.most || (taken >= runs.runs && settled(times.program, times.floor, budget));
}

// The program and its floor in turn, after one unmeasured start of each.
PairedTimes benchStartUp(const std::wstring& exe, const std::wstring& folder, const char* design, const Runs& runs,
                         double budget) {
    const std::wstring floorExe = benchDirectory() + L"\\floor-window.exe";
    const std::wstring floorArgument(design, design + std::strlen(design));
    auto program = [&] { return startUp(exe, folder, L"", L"QuorvaneDesignedWindow"); };
    auto floor = [&] { return startUp(floorExe, folder, floorArgument, L"QuorvaneFloorWindow"); };
    PairedTimes times;
    program();
    floor();
    for (int tries = 0; !enough(times, runs, budget) && tries < runs.most; ++tries) {
        const double floorMs = floor();
        const double programMs = program();
        if (floorMs >= 0 && programMs >= 0) {
            times.floor.push_back(floorMs);
            times.program.push_back(programMs);
        }
    }
    return times;
}

// The controls of stock's window that the bench types into and reads.
LookupWindow stockWindow() {
    auto id = [](stock::Control control) { return ui::kFirstControlId + static_cast<int>(stock::indexOf(control)); };
    return {L"QuorvaneDesignedWindow", id(stock::Control::Text9), id(stock::Control::lb_info),
            id(stock::Control::img_stock)};
}

LookupSession stockSession() { return {e2e::binDirectory() + L"\\stock-local.exe", e2e::binDirectory(), stockWindow()}; }

// The two codes in turn, after a first lookup of each, which loads what a lookup needs.
std::vector<double> timedLookups(LookupSession&& session, int runs) {
    std::vector<double> times;
    for (const std::wstring& code : kCodes) {
        if (session.lookUp(code) < 0) return times;
    }
    for (int run = 0; run < runs; ++run) times.push_back(session.lookUp(kCodes[run % 2]));
    return times;
}

// The floor's lookups and the program's in short blocks, a session of each in turn: the load of a
// shared machine changes within seconds, and so falls alike on both. Run i of a program's block
// is paired with run i of the floor's block just before it.
PairedTimes benchLookups(const Runs& runs, double budget) {
    constexpr int kBlock = 4;
    const LookupWindow floorWindow{kFloorLookupClass, kFloorCodeBox, kFloorAnswer, kFloorChart};
    PairedTimes times;
    for (int done = 0; !enough(times, runs, budget) && done < runs.most; done += kBlock) {
        const int block = std::min(kBlock, runs.most - done);
        const std::vector<double> floor =
            timedLookups({benchDirectory() + L"\\floor-lookup.exe", benchDirectory(), floorWindow}, block);
        const std::vector<double> program = timedLookups(stockSession(), block);
        for (std::size_t run = 0; run < std::min(floor.size(), program.size()); ++run) {
            if (floor[run] < 0 || program[run] < 0) continue;
            times.floor.push_back(floor[run]);
            times.program.push_back(program[run]);
        }
    }
    return times;
}

struct SteadyState {
    HandleProbe first, later;
    std::uint64_t firstWorkingSet = 0, laterWorkingSet = 0;
    int failed = 0;
};

SteadyState benchSteadyState(int lookups) {
    SteadyState state;
    LookupSession session = stockSession();
    if (!session.ready()) return state;
    RemoteProbe probe(session.processId(), benchDirectory() + L"\\probe.dll");
    if (!probe.ready() || session.lookUp(kCodes[0]) < 0 || !probe.take(state.first, state.firstWorkingSet)) {
        return state;
    }
    for (int lookup = 1; lookup < lookups; ++lookup) {
        if (session.lookUp(kCodes[lookup % 2]) < 0) ++state.failed;
    }
    if (!probe.take(state.later, state.laterWorkingSet)) state.later = {};
    return state;
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) settings = {true, {2, 2}, {2, 2}, 2, 10};
    }
    SetProcessDPIAware();
    e2e::parkMouse();
    std::vector<Row> rows;
    bool complete = true;  // every figure taken as often as asked
    auto runsOf = [&](const std::vector<double>& times, int wanted) {
        if (static_cast<int>(times.size()) < wanted) complete = false;
        return times;
    };

    const std::wstring bin = e2e::binDirectory();
    for (const auto& [name, budgetKiB] : {std::pair<const wchar_t*, int>{L"stock.exe", 400}, {L"glimmora.exe", 400},
                                          {L"SkinH_VB6.dll", 300}}) {
        rows.push_back(sizeOf(name, budgetKiB));
        if (fileSize(bin + L"\\" + name) == 0) complete = false;
    }

    const std::wstring skins = bin + L"\\skins";
    const PairedTimes stock = benchStartUp(bin + L"\\stock.exe", bin, "stock", settings.startUp, kStartUpBudget);
    rows.push_back(timeRow("start-up: stock.exe", runsOf(stock.program, settings.startUp.runs),
                           runsOf(stock.floor, settings.startUp.runs), kStartUpBudget));
    const PairedTimes glimmora =
        benchStartUp(bin + L"\\glimmora.exe", skins, "glimmora", settings.startUp, kStartUpBudget);
    rows.push_back(timeRow("start-up: glimmora.exe", runsOf(glimmora.program, settings.startUp.runs),
                           runsOf(glimmora.floor, settings.startUp.runs), kStartUpBudget));
    std::fprintf(stderr, "bench: start-up measured\n");

    const PairedTimes lookups = benchLookups(settings.lookups, kLookupBudget);
    rows.push_back(timeRow("lookup: Enter to summary and chart, stock-local.exe",
                           runsOf(lookups.program, settings.lookups.runs), runsOf(lookups.floor, settings.lookups.runs),
                           kLookupBudget));
    std::fprintf(stderr, "bench: lookups measured\n");

    const ListingTimes listing = benchListing(benchDirectory() + L"\\many-skins-half", settings.listingRuns);
    rows.push_back(timeRow("listing: Dir1_Change, 10,000 skin files", runsOf(listing.listing, settings.listingRuns),
                           runsOf(listing.floor, settings.listingRuns), 3));
    if (listing.listed != 5000 || listing.enumerated != 10000) {
        std::fprintf(stderr, "bench: the listing kept %d of %d names, not 5000 of 10000\n", listing.listed,
                     listing.enumerated);
        complete = false;
    }
    std::fprintf(stderr, "bench: listing measured\n");

    const SteadyState steady = benchSteadyState(settings.steadyLookups);
    const auto steadyLookups = static_cast<std::size_t>(settings.steadyLookups);
    rows.push_back(growthRow("steady state: working set of stock", steady.firstWorkingSet, steady.laterWorkingSet,
                             steadyLookups, 1.05));
    rows.push_back(probeRow("steady state: handle probes of stock", steady.first, steady.later, steadyLookups, 8));
    if (steady.laterWorkingSet == 0 || steady.failed > 0) {
        std::fprintf(stderr, "bench: steady state incomplete, %d lookups did not finish\n", steady.failed);
        complete = false;
    }
    std::fprintf(stderr, "bench: steady state measured\n");

    std::printf("%s", markdownTable(rows).c_str());
    if (!complete) return 2;
    return settings.smoke || allHold(rows) ? 0 : 1;
}
