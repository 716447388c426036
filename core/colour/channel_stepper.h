#pragma once
// The window's blending rule for one channel, start + (end - start) * i / n rounded
// half to even, along the positions i, i + k, i + 2k, ... in exact integer
// arithmetic: one addition per step instead of a division per unit. It agrees with
// the double-precision rule everywhere: a value that is not a tie lies at least
// 1/(2n) from a half, far above the rounding error of the division, and a tie is
// exact in double.

#include "core/colour/colour.h"

#include <cstdint>

namespace velmorant {

// quotient and remainder of value / n (n > 0) with the remainder always in 0..n-1.
constexpr void FloorDivMod(std::int64_t value, std::int64_t n, std::int64_t& quotient, std::int64_t& remainder) {
    quotient = value / n;
    remainder = value % n;
    if (remainder < 0) {
        remainder += n;
        --quotient;
    }
}

// whole + remainder / n (0 <= remainder < n) rounded to nearest, halves to even:
// the one rounding of every colour on the way between two stops.
constexpr std::int64_t RoundHalfEven(std::int64_t whole, std::int64_t remainder, std::int64_t n) {
    const std::int64_t twice = 2 * remainder;
    return twice > n || (twice == n && (whole & 1) != 0) ? whole + 1 : whole;
}

class ChannelStepper {
public:
    // Positioned at `first`; requires n > 0 and k >= 0. 64-bit positions let a
    // gradient of several stops scale them by the number of segments.
    ChannelStepper(Channel start, Channel end, std::int64_t first, std::int64_t k, std::int64_t n)
        : start_(start), n_(n) {
        const std::int64_t delta = static_cast<std::int64_t>(end) - start;
        FloorDivMod(delta * first, n_, quotient_, remainder_);
        FloorDivMod(delta * k, n_, stepQuotient_, stepRemainder_);
    }

    void Step() {
        quotient_ += stepQuotient_;
        remainder_ += stepRemainder_;
        if (remainder_ >= n_) {
            remainder_ -= n_;
            ++quotient_;
        }
    }

    // start + quotient + remainder / n, rounded to nearest with halves to even.
    std::int32_t Value() const { return static_cast<std::int32_t>(RoundHalfEven(start_ + quotient_, remainder_, n_)); }

private:
    std::int64_t start_;
    std::int64_t n_;
    std::int64_t quotient_ = 0;
    std::int64_t remainder_ = 0;
    std::int64_t stepQuotient_ = 0;
    std::int64_t stepRemainder_ = 0;
};

} // namespace velmorant
