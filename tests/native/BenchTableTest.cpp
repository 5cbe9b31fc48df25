#include "bench/BenchTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bench {
namespace {

using Samples = std::vector<double>;

struct TimeCase {
    Samples measured, floor;
    double budget;
    const char* ratio;
    bool holds;
};

// The verdict rests on the pairs, run i of each: their median against the budget. The ratio of
// the two medians is shown beside it, and is not what is judged.
TEST(BenchTimeRow, JudgesThePairsMedianAgainstTheBudget) {
    const TimeCase cases[] = {
        {{115, 110, 120}, {100, 90, 300}, 1.15, "1.15 (pairs 0.40–1.22; ratio of the medians 1.15)", true},  // at it
        {{116}, {100}, 1.15, "1.16 (pairs 1.16–1.16; ratio of the medians 1.16)", false},
        {{114.6}, {100}, 1.15, "1.15 (pairs 1.15–1.15; ratio of the medians 1.15)", true},  // judged as printed
        {{50, 60}, {100, 100}, 1.3, "0.55 (pairs 0.50–0.60; ratio of the medians 0.55)", true},
        // A load that makes some runs four times slower put the program's median among the slow
        // runs and the floor's among the fast; the pairs agree.
        {{58, 300, 62, 290, 305}, {60, 64, 66, 300, 310}, 1.15, "0.97 (pairs 0.94–4.69; ratio of the medians 4.39)",
         true},
        // The other way round: the medians fall within the budget, most pairs do not.
        {{50, 60, 120, 125, 130}, {40, 50, 104, 108, 300}, 1.15, "1.16 (pairs 0.43–1.25; ratio of the medians 1.15)",
         false},
        {{130, 100, 300}, {100, 100}, 1.3, "1.15 (pairs 1.00–1.30; ratio of the medians 1.30)", true},  // no partner
        {{}, {100}, 1.3, "", false},   // a figure that was not taken misses
        {{100}, {}, 1.3, "", false},
        {{100}, {0}, 1.3, "", false},  // no floor to divide by
    };
    for (const auto& c : cases) {
        const Row row = timeRow("start-up", c.measured, c.floor, c.budget);
        EXPECT_EQ(row.ratio, c.ratio);
        EXPECT_EQ(row.holds, c.holds) << row.ratio;
    }
}

// A figure is settled once the 95 % interval of its pairs' median lies on one side of the budget:
// with 30 pairs that interval runs from the 10th lowest ratio to the 10th highest.
TEST(BenchSettled, OnceThePairsMediansIntervalLiesOnOneSideOfTheBudget) {
    const Samples floor(30, 100);
    auto measured = [](double low, double high) {  // 30 runs: nine at `low`, twelve at 110, nine at `high`
        Samples runs(9, low);
        runs.insert(runs.end(), 12, 110);
        runs.insert(runs.end(), 9, high);
        return runs;
    };
    EXPECT_TRUE(settled(measured(30, 500), floor, 1.15)) << "the outer nine each way lie outside the interval";

    Samples wide = measured(30, 500);
    wide[20] = 116;  // the tenth highest of 30 now lies above the budget, the median does not
    EXPECT_FALSE(settled(wide, floor, 1.15));
    EXPECT_TRUE(settled(wide, floor, 1.2));

    EXPECT_TRUE(settled(Samples(30, 120), floor, 1.15)) << "clearly above the budget";
    EXPECT_FALSE(settled({100, 100, 100}, {100, 100, 100}, 1.15)) << "three pairs give no interval";
    EXPECT_FALSE(settled({}, {}, 1.15));
}

// Sizes hold up to the budget's byte; the working set may grow by the budget at most; a figure
// that was not taken misses.
TEST(BenchRows, SizeAndGrowthVerdicts) {
    EXPECT_TRUE(sizeRow("stock.exe", 409600, 400 * 1024).holds);
    EXPECT_FALSE(sizeRow("stock.exe", 409601, 400 * 1024).holds);
    EXPECT_TRUE(growthRow("working set", 40000 * 1024, 41000 * 1024, 1000, 1.05).holds);
    EXPECT_FALSE(growthRow("working set", 40000 * 1024, 43000 * 1024, 1000, 1.05).holds);
    EXPECT_FALSE(growthRow("working set", 0, 43000 * 1024, 1000, 1.05).holds);
    EXPECT_FALSE(growthRow("working set", 40000 * 1024, 0, 1000, 1.05).holds);
    EXPECT_FALSE(allHold({sizeRow("a.dll", 1024, 2048), sizeRow("b.dll", 4096, 2048)}));
}

struct ProbeCase {
    HandleProbe first, later;
    bool flat;
    const char* rises;
};

TEST(BenchProbeRow, FlatWhileNoCountOrUserSlotClimbsPastTheSlack) {
    const HandleProbe first{0x48, 0x10031, 0x2A, 53, 199};
    const ProbeCase cases[] = {
        {first, first, true, "kernel handles +0, GDI objects +0, USER slot +0"},
        {first, {0x4C, 0x10031, 0x2A, 57, 191}, true, "kernel handles +4, GDI objects -8, USER slot +0"},
        {first, {0x48, 0x10031, 0x32, 61, 207}, true, "kernel handles +8, GDI objects +8, USER slot +8"},  // at it
        {first, {0x48, 0x10031, 0x2A, 62, 199}, false, "kernel handles +9, GDI objects +0, USER slot +0"},
        {first, {0x48, 0x10031, 0x2A, 53, 1199}, false, "kernel handles +0, GDI objects +1000, USER slot +0"},
        {first, {0x48, 0x10031, 0x42A, 53, 199}, false, "kernel handles +0, GDI objects +0, USER slot +1024"},
        // A GDI slot freed last far up the table is no leak while the count stays.
        {first, {0x48, 0x70137, 0x2A, 53, 199}, true, "kernel handles +0, GDI objects +0, USER slot +0"},
        // The high 16 bits count reuses of a slot.
        {first, {0x48, 0x10031, 0x5002A, 53, 199}, true, "kernel handles +0, GDI objects +0, USER slot +0"},
    };
    for (const auto& c : cases) {
        const Row row = probeRow("probes", c.first, c.later, 1000, 8);
        EXPECT_EQ(row.holds, c.flat) << c.rises;
        EXPECT_EQ(row.ratio, c.rises);
    }
    EXPECT_FALSE(probeRow("probes", {}, first, 1000, 8).holds) << "no first probe";
    EXPECT_FALSE(probeRow("probes", first, {}, 1000, 8).holds) << "no later probe";
}

}  // namespace
}  // namespace bench
