// The families of the table, in order.
#include "accuracy.hpp"

namespace kovrix::accuracy {

std::vector<Family> families() { return {float64Family(), fixedFamily(), bigFloatFamily(), rationalFamily(), intervalFamily()}; }

}  // namespace kovrix::accuracy
