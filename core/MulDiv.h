// MulDiv: a x b / c in 64-bit arithmetic, rounded as the platform's function of that name
// rounds, for the drawing arithmetic that portable code does on its own.
#pragma once

namespace pelorin {

// a x b / c rounded to the nearest integer, halves away from zero; -1 when c is 0 or the result
// does not fit in 32 bits.
int MulDiv(int a, int b, int c);

}  // namespace pelorin
