#include "bench/BenchTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bench {
namespace {

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string kib(std::uint64_t bytes) { return format("%.1f KiB", static_cast<double>(bytes) / 1024); }

// 1234567 gives "1,234,567".
std::string grouped(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

std::string timing(const Summary& summary) {
    if (summary.runs == 0) return "not measured";
    return format("%.1f ms", summary.median) + " (" + format("%.1f", summary.low) + "–" +
           format("%.1f", summary.high) + ", " + std::to_string(summary.runs) + " runs)";
}

std::string ratio(double value) { return format("%.2f", value); }

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value & 0xFFFF));
    return text;
}

std::string probes(const HandleProbe& probe) {
    return "kernel " + hex(probe.kernel) + " (" + std::to_string(probe.kernelObjects) + " held), GDI " + hex(probe.gdi) +
           " (" + std::to_string(probe.gdiObjects) + " held), USER " + hex(probe.user);
}

int rise(std::uint32_t before, std::uint32_t after) { return static_cast<int>(after) - static_cast<int>(before); }

int slotRise(std::uint32_t before, std::uint32_t after) { return rise(before & 0xFFFF, after & 0xFFFF); }

// Run i of the program against run i of its floor.
std::vector<double> pairRatios(const std::vector<double>& measuredMs, const std::vector<double>& floorMs) {
    std::vector<double> pairs;
    for (std::size_t i = 0; i < std::min(measuredMs.size(), floorMs.size()); ++i) {
        if (floorMs[i] > 0) pairs.push_back(measuredMs[i] / floorMs[i]);
    }
    return pairs;
}

std::string signedText(int value) { return (value >= 0 ? "+" : "") + std::to_string(value); }

}  // namespace

Summary summarise(std::vector<double> samples) {
    Summary summary;
    summary.runs = samples.size();
    if (samples.empty()) return summary;
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    summary.median = samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
    summary.low = samples.front();
    summary.high = samples.back();
    return summary;
}

Row sizeRow(const std::string& what, std::uint64_t bytes, std::uint64_t budgetBytes) {
    return {what, kib(bytes), "", "", "≤ " + kib(budgetBytes), bytes <= budgetBytes};
}

Row timeRow(const std::string& what, const std::vector<double>& measuredMs, const std::vector<double>& floorMs,
            double budgetRatio) {
    const Summary measured = summarise(measuredMs);
    const Summary floor = summarise(floorMs);
    Row row{what, timing(measured), timing(floor), "", "≤ " + ratio(budgetRatio) + " ×", false};
    const std::vector<double> pairs = pairRatios(measuredMs, floorMs);
    if (pairs.empty() || floor.median <= 0) return row;
    const Summary spread = summarise(pairs);
    row.ratio = ratio(spread.median);
    // Judged on the printed ratio, so that the table and its verdict agree.
    row.holds = std::stod(row.ratio) <= budgetRatio;
    row.ratio += " (pairs " + ratio(spread.low) + "–" + ratio(spread.high) + "; ratio of the medians " +
                 ratio(measured.median / floor.median) + ")";
    return row;
}

bool settled(const std::vector<double>& measuredMs, const std::vector<double>& floorMs, double budgetRatio) {
    std::vector<double> pairs = pairRatios(measuredMs, floorMs);
    const double n = static_cast<double>(pairs.size());
    const double k = std::floor((n - 1.96 * std::sqrt(n)) / 2);
    if (pairs.empty() || k < 0) return false;
    std::sort(pairs.begin(), pairs.end());
    const double low = pairs[static_cast<std::size_t>(k)];
    const double high = pairs[pairs.size() - 1 - static_cast<std::size_t>(k)];
    return high <= budgetRatio || low > budgetRatio;
}

Row growthRow(const std::string& what, std::uint64_t firstBytes, std::uint64_t laterBytes, std::size_t lookups,
              double budgetRatio) {
    Row row{what, grouped(laterBytes / 1024) + " KiB after " + grouped(lookups) + " lookups",
            grouped(firstBytes / 1024) + " KiB after the first", "", "≤ " + ratio(budgetRatio) + " ×", false};
    if (firstBytes == 0 || laterBytes == 0) return row;
    row.ratio = ratio(static_cast<double>(laterBytes) / static_cast<double>(firstBytes));
    row.holds = std::stod(row.ratio) <= budgetRatio;
    return row;
}

Row probeRow(const std::string& what, const HandleProbe& first, const HandleProbe& later, std::size_t lookups,
             std::uint32_t slack) {
    const int kernel = rise(first.kernelObjects, later.kernelObjects);
    const int gdi = rise(first.gdiObjects, later.gdiObjects);
    const int user = slotRise(first.user, later.user);
    const int limit = static_cast<int>(slack);
    const bool taken = first.kernel != 0 && later.kernel != 0;
    return {what,
            probes(later) + " after " + grouped(lookups) + " lookups",
            probes(first) + " after the first",
            "kernel handles " + signedText(kernel) + ", GDI objects " + signedText(gdi) + ", USER slot " +
                signedText(user),
            "flat (at most +" + std::to_string(slack) + ")",
            taken && kernel <= limit && gdi <= limit && user <= limit};
}

std::string markdownTable(const std::vector<Row>& rows) {
    std::string table = "| what | measured | floor | ratio | budget | verdict |\n| --- | --- | --- | --- | --- | --- |\n";
    for (const Row& row : rows) {
        table += "| " + row.what + " | " + row.measured + " | " + row.floor + " | " + row.ratio + " | " + row.budget +
                 " | " + (row.holds ? "holds" : "**misses**") + " |\n";
    }
    return table;
}

bool allHold(const std::vector<Row>& rows) {
    return std::all_of(rows.begin(), rows.end(), [](const Row& row) { return row.holds; });
}

}  // namespace bench
