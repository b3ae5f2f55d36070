// The whole number package.
#pragma once
#include "numbers/bignum.h"
#include "numbers/bignum_arithmetic.h"
#include "numbers/bitwise.h"
#include "numbers/heap.h"
#include "numbers/heap_text.h"
#include "numbers/number_to_text.h"
#include "numbers/radix_setup.h"
#include "numbers/ratio_arithmetic.h"
#include "numbers/text_to_number.h"
