// The bench's figures and its one table: each figure is a median over several runs with its
// spread, set against a floor measured in the same run, and judged against its budget.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct Summary {
    double median = 0;
    double low = 0;
    double high = 0;
    std::size_t runs = 0;
};

// The median (of an even count, the mean of the middle two), the lowest and the highest.
// An empty list gives runs == 0.
Summary summarise(std::vector<double> samples);

struct Row {
    std::string what;
    std::string measured;
    std::string floor;
    std::string ratio;
    std::string budget;
    bool holds = false;
};

// A stripped binary against its size budget, both in bytes.
Row sizeRow(const std::string& what, std::uint64_t bytes, std::uint64_t budgetBytes);

// A time against the time of its floor. The i-th runs of both lists are a pair, taken one beside
// the other, and the median of the pairs' ratios holds at or below the budget. The ratio column
// also shows the lowest and highest pair and the ratio of the two medians, so that a reader sees
// how firm the verdict is. The ratio of the medians is not judged: under a load that comes and
// goes each run is fast or slow as a whole, the two medians may fall in different ones, and that
// ratio then follows the load rather than the program; a pair's two runs meet the same load far
// more often. A figure without pairs misses.
Row timeRow(const std::string& what, const std::vector<double>& measuredMs, const std::vector<double>& floorMs,
            double budgetRatio);

// Whether more pairs (as in timeRow) are unlikely to turn the verdict: the distribution-free 95 %
// interval of the pairs' median, from the k-th lowest ratio to the k-th highest
// (k = (n - 1.96 sqrt n) / 2), lies wholly at or below the budget, or wholly above it. A figure
// well within or well over its budget settles within its first runs; one near it takes more.
bool settled(const std::vector<double>& measuredMs, const std::vector<double>& floorMs, double budgetRatio);

// Working set in bytes after many lookups against the same after the first.
Row growthRow(const std::string& what, std::uint64_t firstBytes, std::uint64_t laterBytes, std::size_t lookups,
              double budgetRatio);

// The values of a freshly made kernel, GDI and USER object, and how many kernel handles and
// GDI objects the program holds. A value's slot is its low 16 bits; the high ones count reuses.
struct HandleProbe {
    std::uint32_t kernel = 0;
    std::uint32_t gdi = 0;
    std::uint32_t user = 0;
    std::uint32_t kernelObjects = 0;
    std::uint32_t gdiObjects = 0;
};

// Flat when neither the kernel handles nor the GDI objects held, nor the USER probe's slot, lie
// more than `slack` above the first probe's. The platform hands out the lowest free kernel slot,
// so that probe climbs only with a leak; GDI and USER slots are reused last freed first, so a
// single GDI value tells which slot was freed last, not how many are held: the GDI verdict
// rests on the count.
Row probeRow(const std::string& what, const HandleProbe& first, const HandleProbe& later, std::size_t lookups,
             std::uint32_t slack);

// A Markdown table of the rows, one line each, with a verdict column.
std::string markdownTable(const std::vector<Row>& rows);

bool allHold(const std::vector<Row>& rows);

}  // namespace bench
