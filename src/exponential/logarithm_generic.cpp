#include "exponential/logarithm_generic.hpp"

#include "exponential/fixed_series_arithmetic.hpp"

namespace kovrix {

Fixed lnGeneric(Fixed x, std::int64_t count) { return generic::lnAtanhSeries<FixedArithmetic>(x, count); }
Fixed lnGeneric(Fixed x, Terms<15> count) { return generic::lnAtanhSeries<FixedArithmetic>(x, count); }

}  // namespace kovrix
