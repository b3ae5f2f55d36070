// The full radix and precision set-up: the number package's part, then the seven
// transcendental constants (pi, 2 pi, pi/2, e^(1/2), e, ln 10, ln 2) made to carry P + g
// digits.
#pragma once
#include "numbers/bignum.h"

// Installs radix R and working precision P (numbers/radix_setup.h) and the transcendental
// constants for them: the stored table's where its 46 digits cover P + g, else the most
// precise set computed so far when it is enough, else a set computed now at P + g digits.
// A computed set is installed only when its computation completed: a stop or OutOfMemory
// leaves the previous set in use.
void setRadixPrecisionAndConstants(std::int32_t R, std::int32_t P);
