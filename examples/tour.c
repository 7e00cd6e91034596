/* A guided tour of kovrix: run it with `make demo` and read it side by side
 * with its output.  Every section uses nothing but the public header. */
#include "tour.h"

int main(void) {
  /* Once per process, before anything else. */
  kovrix_init();
  printf("kovrix %s\n", kovrix_version());

  tour_heading("Status texts");
  for (int code = 0; code <= 5; ++code) printf("  status %d: %s\n", code, kovrix_get_error_string(code));

  tour_bigint();
  tour_fixed();
  tour_fixed_functions();
  tour_float64();
  tour_bigfloat();
  tour_rational();
  tour_interval();
  tour_conversions();

  kovrix_cleanup();
  return 0;
}
