#include "stock/PositionCalculation.h"

#include <cmath>
#include <cstdint>

#include "stock/StockDesign.h"

namespace stock {
namespace {

// A floating-point result that is not finite is a failed step: a division by zero, 0/0, or a
// value beyond the range of a double.
std::optional<double> finite(double value) {
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> product(std::optional<double> a, std::optional<double> b) {
    return a && b ? finite(*a * *b) : std::nullopt;
}

std::optional<double> sum(std::optional<double> a, std::optional<double> b) {
    return a && b ? finite(*a + *b) : std::nullopt;
}

std::optional<double> quotient(double a, double b) {
    return b != 0 ? finite(a / b) : std::nullopt;
}

// Each step runs on its own: a failing step leaves what it was to assign untouched, marks the
// run as failed, and the next step goes on.
template <typename T>
void step(T& target, const std::optional<T>& value, bool& failed) {
    if (value) target = *value;
    else failed = true;
}

}  // namespace

PositionResult calculatePosition(const PositionInputs& in, NumberConversions& numbers) {
    auto formatted = [&numbers](std::optional<double> value) {
        return value ? numbers.text(*value) : std::nullopt;
    };
    PositionResult out;
    bool& failed = out.failed;
    double T = 0, P = 0, C = 0, A = 0, Q = 0, M = 0;
    std::int16_t N = 0;

    step(T, product(numbers.number(in.costPrice), numbers.number(in.sharesHeld)), failed);
    step(P, numbers.number(in.todayPrice), failed);
    step(C, numbers.number(in.costPrice), failed);
    step(N, numbers.whole(in.sharesHeld), failed);

    out.todayColor = P > C ? kRed : kGreen;
    out.todayResult = formatted(finite((P - C) * static_cast<double>(N)));
    failed |= !out.todayResult;

    step(A, product(numbers.number(in.purchasePrice), numbers.number(in.purchaseCount)), failed);
    step(Q, sum(numbers.number(in.sharesHeld), numbers.number(in.purchaseCount)), failed);

    // The average cost goes through its two-decimal text, so every later use sees it rounded.
    std::optional<double> average;
    if (auto total = sum(T, A)) average = quotient(*total, Q);
    const std::optional<std::wstring> averageText = formatted(average);
    step(M, averageText ? numbers.number(*averageText) : std::nullopt, failed);

    out.averageCost = formatted(M);
    failed |= !out.averageCost;
    out.afterColor = P > M ? kRed : kGreen;
    out.afterResult = formatted(finite((P - M) * Q));
    failed |= !out.afterResult;
    return out;
}

}  // namespace stock
