/* Sections of the guided tour; each lives in its own tour_<family>.c. */
#ifndef KOVRIX_TOUR_H
#define KOVRIX_TOUR_H

#include <stdio.h>

#include "kovrix.h"

void tour_bigint(void);
void tour_fixed(void);
void tour_fixed_functions(void);
void tour_float64(void);
void tour_bigfloat(void);
void tour_interval(void);
void tour_rational(void);
void tour_conversions(void);

static inline void tour_heading(const char* title) { printf("\n== %s ==\n\n", title); }

#endif
