// Interval values across the C boundary: kovrix_interval and Interval carry
// the same two bounds, lower first.
#pragma once

#include <utility>

#include "c_api/pending_error.hpp"
#include "float64_constants.hpp"
#include "interval/interval_type.hpp"
#include "kovrix.h"

namespace kovrix::capi {

// The failure value of an interval export while an error is pending.
inline constexpr Interval kIntervalFailure{0.0, 0.0};
// (NaN, NaN), the quiet NaN 0x7FF8000000000000 in both bounds.
inline constexpr Interval kNaNPair{f64::quietNaN, f64::quietNaN};

inline kovrix_interval intervalOut(Interval x) noexcept { return {x.lo, x.hi}; }

// The common shape: failure (0, 0) when an error is pending, else the body.
template <class Body>
inline kovrix_interval intervalExport(Body&& body) noexcept {
  return intervalOut(guarded(kIntervalFailure, std::forward<Body>(body)));
}

}  // namespace kovrix::capi
