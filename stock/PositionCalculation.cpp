#include "stock/PositionCalculation.h"

#include <cmath>
#include <cstdint>

#include "stock/Conversions.h"
#include "stock/StockDesign.h"

namespace stock {
namespace {

using quorvane::number;
using quorvane::text;
using quorvane::whole;

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

std::optional<std::wstring> formatted(std::optional<double> value) {
    return value ? std::optional<std::wstring>(text(*value)) : std::nullopt;
}

// Each step runs on its own: a failing step leaves what it was to assign untouched, marks the
// run as failed, and the next step goes on.
template <typename T>
void step(T& target, const std::optional<T>& value, bool& failed) {
    if (value) target = *value;
    else failed = true;
}

}  // namespace

PositionResult calculatePosition(const PositionInputs& in) {
    PositionResult out;
    bool& failed = out.failed;
    double T = 0, P = 0, C = 0, A = 0, Q = 0, M = 0;
    std::int16_t N = 0;

    step(T, product(number(in.costPrice), number(in.sharesHeld)), failed);
    step(P, number(in.todayPrice), failed);
    step(C, number(in.costPrice), failed);
    step(N, whole(in.sharesHeld), failed);

    out.todayColor = P > C ? kRed : kGreen;
    out.todayResult = formatted(finite((P - C) * static_cast<double>(N)));
    failed |= !out.todayResult;

    step(A, product(number(in.purchasePrice), number(in.purchaseCount)), failed);
    step(Q, sum(number(in.sharesHeld), number(in.purchaseCount)), failed);

    // The average cost goes through its two-decimal text, so every later use sees it rounded.
    std::optional<double> average;
    if (auto total = sum(T, A)) average = quotient(*total, Q);
    step(M, average ? number(text(*average)) : std::nullopt, failed);

    out.averageCost = text(M);
    out.afterColor = P > M ? kRed : kGreen;
    out.afterResult = formatted(finite((P - M) * Q));
    failed |= !out.afterResult;
    return out;
}

}  // namespace stock
