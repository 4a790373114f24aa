// Sine, cosine, tangent and the exponential, computed in plain IEEE double arithmetic.
//
// The C runtimes differ in the last bits of these functions (one computes them on the x87
// unit, another in SSE2 with its own polynomials), and a last bit that differs turns into a
// different pixel once it feeds a matrix or a weight table. These use nothing but additions,
// multiplications, divisions and integer operations, in an order fixed by the source, so
// every build gives the same bits. The arguments are reduced exactly and the polynomials are
// evaluated in double-double arithmetic, so the results are the correctly rounded values
// except in rare cases closer to a rounding boundary than about 2^-70 of an ulp.
//
// Everything in imaging/, fx/ and effects/ calls these instead of <cmath>'s. (sqrt, floor
// and ceil are exact in IEEE arithmetic and stay with the runtime.)
#pragma once

namespace portable {

// Radians, any finite argument; infinities and NaN give NaN. sin(-0) is -0.
double sin(double x);
double cos(double x);
// tan(-0) is -0. No double is a pole, so the result is always finite for finite x.
double tan(double x);
// e^x: +inf above about 709.78, 0 below about -745.13, subnormal results rounded once.
double exp(double x);

}  // namespace portable
