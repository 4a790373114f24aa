// How the functions work.
//
// Trigonometry: x = q * pi/2 + r with |r| <= pi/4, from the exact product of x with the bits
// of 2/pi (only the 192 bits that reach the units and fraction of x * 2/pi take part, so
// the reduction is exact to far more than double precision for every finite x). sin r and
// cos r come from their Taylor series in r^2, summed in double-double far past the point
// where the terms fall below 2^-70 of the result; the quadrant picks the function and the
// sign. tan is their double-double quotient.
//
// Exponential: x = k ln 2 + r with |r| <= ln 2 / 2 (ln 2 in three pieces, the first short
// enough that k times it is exact), e^r from its Taylor series in double-double, then the
// result scaled by 2^k; results below the normal range are rounded once, from the
// double-double value.
//
// The constants are the nearest doubles (or double-double pairs) to the exact values;
// tools/portable_math_constants.py prints them.
#include "imaging/portable_math.h"

#include <bit>
#include <cstdint>
#include <limits>

namespace portable {
namespace {

// A value as the unevaluated sum hi + lo with |lo| at most half an ulp of hi (about 106 bits).
struct DoubleDouble {
    double hi = 0.0;
    double lo = 0.0;
};

// a + b exactly, for any a and b (Knuth).
DoubleDouble twoSum(double a, double b) {
    const double sum = a + b;
    const double bPart = sum - a;
    return {sum, (a - (sum - bPart)) + (b - bPart)};
}

// a + b exactly, when |a| >= |b| or a is 0 (Dekker).
DoubleDouble fastTwoSum(double a, double b) {
    const double sum = a + b;
    return {sum, b - (sum - a)};
}

// a as two halves of at most 26 significant bits each, whose products are exact (Veltkamp).
DoubleDouble split(double a) {
    const double scaled = 134217729.0 * a;  // 2^27 + 1
    const double hi = scaled - (scaled - a);
    return {hi, a - hi};
}

// a * b exactly, without a fused multiply-add (Dekker).
DoubleDouble twoProduct(double a, double b) {
    const double product = a * b;
    const DoubleDouble as = split(a);
    const DoubleDouble bs = split(b);
    const double error = ((as.hi * bs.hi - product) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo;
    return {product, error};
}

DoubleDouble negate(DoubleDouble a) { return {-a.hi, -a.lo}; }

DoubleDouble add(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble high = twoSum(a.hi, b.hi);
    const DoubleDouble low = twoSum(a.lo, b.lo);
    const DoubleDouble partial = fastTwoSum(high.hi, high.lo + low.hi);
    return fastTwoSum(partial.hi, partial.lo + low.lo);
}

DoubleDouble multiply(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble product = twoProduct(a.hi, b.hi);
    return fastTwoSum(product.hi, product.lo + (a.hi * b.lo + a.lo * b.hi));
}

// Long division: three quotient digits, each from the remainder of the previous ones.
DoubleDouble divide(DoubleDouble a, DoubleDouble b) {
    const double first = a.hi / b.hi;
    const DoubleDouble remainder = add(a, negate(multiply(b, {first, 0.0})));
    const double second = remainder.hi / b.hi;
    const DoubleDouble rest = add(remainder, negate(multiply(b, {second, 0.0})));
    const double third = rest.hi / b.hi;
    return add(fastTwoSum(first, second), {third, 0.0});
}

// c[0] + c[1] z + c[2] z^2 + ..., by Horner's rule.
template <int N>
DoubleDouble polynomial(const DoubleDouble (&c)[N], DoubleDouble z) {
    DoubleDouble sum = c[N - 1];
    for (int i = N - 2; i >= 0; --i) sum = add(multiply(sum, z), c[i]);
    return sum;
}

// 2^k for a normal exponent k (-1022..1023), built from its bits.
double powerOfTwo(int k) { return std::bit_cast<double>(uint64_t(k + 1023) << 52); }

double magnitude(double x) { return x < 0.0 ? -x : x; }

// ---------------------------------------------------------------------------------------
// Trigonometry

constexpr DoubleDouble kHalfPi = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr double kQuarterPi = 0x1.921fb54442d18p-1;
// Below this sin x and tan x round to x and cos x to 1.
constexpr double kTrigTiny = 0x1p-27;

// The first 1280 bits of 2/pi after the binary point, 64 to a word, most significant first.
constexpr uint64_t kTwoOverPiBits[20] = {
    0xa2f9836e4e441529, 0xfc2757d1f534ddc0, 0xdb6295993c439041, 0xfe5163abdebbc561, 0xb7246e3a424dd2e0,
    0x06492eea09d1921c, 0xfe1deb1cb129a73e, 0xe88235f52ebb4484, 0xe99c7026b45f7e41, 0x3991d639835339f4,
    0x9c845f8bbdf9283b, 0x1ff897ffde05980f, 0xef2f118b5a0a6d1f, 0x6d367ecf27cb09b7, 0x4f463f669e5fea2d,
    0x7527bac7ebe5f17b, 0x3d0739f78a5292ea, 0x6bfb5fb11f8d5d08, 0x56033046fc7b6bab, 0xf0cfbc209af4361d,
};

// (-1)^k / (2k + 1)! for k = 1..10: sin r = r + r z (c[0] + c[1] z + ...), z = r^2.
constexpr DoubleDouble kSineSeries[10] = {
    {-0x1.5555555555555p-3, -0x1.5555555555555p-57}, {0x1.1111111111111p-7, 0x1.1111111111111p-63},
    {-0x1.a01a01a01a01ap-13, -0x1.a01a01a01a01ap-73}, {0x1.71de3a556c734p-19, -0x1.c154f8ddc6c00p-73},
    {-0x1.ae64567f544e4p-26, 0x1.c062e06d1f209p-80},  {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87},
    {-0x1.ae7f3e733b81fp-41, -0x1.1d8656b0ee8cbp-97}, {0x1.952c77030ad4ap-49, 0x1.ac981465ddc6cp-103},
    {-0x1.2f49b46814157p-57, -0x1.2650f61dbdcb4p-112}, {0x1.71b8ef6dcf572p-66, -0x1.d043ae40c4647p-120},
};
// (-1)^k / (2k)! for k = 1..10: cos r = 1 + z (c[0] + c[1] z + ...).
constexpr DoubleDouble kCosineSeries[10] = {
    {-0x1.0000000000000p-1, 0.0},                     {0x1.5555555555555p-5, 0x1.5555555555555p-59},
    {-0x1.6c16c16c16c17p-10, 0x1.f49f49f49f49fp-65},  {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76},
    {-0x1.27e4fb7789f5cp-22, -0x1.cbbc05b4fa99ap-76}, {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83},
    {-0x1.93974a8c07c9dp-37, -0x1.05d6f8a2efd1fp-92}, {0x1.ae7f3e733b81fp-45, 0x1.1d8656b0ee8cbp-101},
    {-0x1.6827863b97d97p-53, -0x1.eec01221a8b0bp-107}, {0x1.e542ba4020225p-62, 0x1.ea72b4afe3c2fp-120},
};

// x = quadrant * pi/2 + r (modulo 2 pi), |r| <= pi/4.
struct ReducedAngle {
    int quadrant = 0;
    DoubleDouble r;
};

// Four 64-bit words, most significant first.
using Wide = uint64_t[4];

void shiftLeft(Wide value, int bits) {  // 1 <= bits <= 64
    if (bits == 64) {
        value[0] = value[1];
        value[1] = value[2];
        value[2] = value[3];
        value[3] = 0;
        return;
    }
    for (int i = 0; i < 3; ++i) value[i] = (value[i] << bits) | (value[i + 1] >> (64 - bits));
    value[3] <<= bits;
}

void negateWide(Wide value) {  // modulo 2^256
    uint64_t carry = 1;
    for (int i = 3; i >= 0; --i) {
        value[i] = ~value[i] + carry;
        carry = (carry != 0 && value[i] == 0) ? 1 : 0;
    }
}

// value * 2^-254 as a double-double (value below 2^254).
DoubleDouble wideFraction(const Wide value) {
    int lead = 0;
    while (lead < 4 && value[lead] == 0) ++lead;
    if (lead == 4) return {};
    auto word = [&](int i) { return i < 4 ? value[i] : uint64_t(0); };
    const int zeros = std::countl_zero(value[lead]);
    uint64_t top = word(lead);
    uint64_t next = word(lead + 1);
    if (zeros > 0) {
        top = (top << zeros) | (next >> (64 - zeros));
        next = (next << zeros) | (word(lead + 2) >> (64 - zeros));
    }
    // The leading 1 of top (its bit 63) has the weight 2^(1 - 64 lead - zeros).
    const int weight = 1 - 64 * lead - zeros;
    const uint64_t high53 = top >> 11;
    const uint64_t low53 = ((top & 0x7ff) << 42) | (next >> 22);
    return fastTwoSum(double(high53) * powerOfTwo(weight - 52), double(low53) * powerOfTwo(weight - 105));
}

// For finite x with |x| > pi/4.
ReducedAngle reduceAngle(double x) {
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    // |x| = mantissa * 2^exponent with a 53-bit mantissa (|x| > pi/4 is normal, exponent >= -53).
    const int exponent = int((bits >> 52) & 0x7ff) - 1075;
    const uint64_t mantissa = (bits & ((uint64_t(1) << 52) - 1)) | (uint64_t(1) << 52);

    // Bit i of 2/pi (weight 2^-i) adds mantissa * 2^(exponent - i) to |x| * 2/pi, a multiple of
    // 4 (a whole number of turns) when exponent - i >= 2: the window starts at bit `first`.
    const int first = exponent - 1 > 1 ? exponent - 1 : 1;
    const int word = (first - 1) / 64;
    const int shift = (first - 1) % 64;
    uint64_t window[3];
    for (int i = 0; i < 3; ++i)
        window[i] = shift == 0 ? kTwoOverPiBits[word + i]
                               : (kTwoOverPiBits[word + i] << shift) | (kTwoOverPiBits[word + i + 1] >> (64 - shift));

    // |x| * 2/pi = mantissa * window * 2^(exponent - first - 191), dropping whole turns and
    // bits beyond the window (worth less than 2^-137).
    Wide product;
    unsigned __int128 carry = 0;
    for (int i = 2; i >= 0; --i) {
        const unsigned __int128 partial = static_cast<unsigned __int128>(mantissa) * window[i] + carry;
        product[i + 1] = uint64_t(partial);
        carry = partial >> 64;
    }
    product[0] = uint64_t(carry);
    // Units bit to bit 254: the top two bits are the quadrant, the other 254 the fraction.
    shiftLeft(product, 63 + exponent - first);
    int quadrant = int(product[0] >> 62);
    product[0] &= (uint64_t(1) << 62) - 1;
    bool fractionNegative = false;
    if (product[0] >> 61) {
        // A fraction of a half or more: the next quadrant, and the fraction less one.
        quadrant = (quadrant + 1) & 3;
        negateWide(product);
        product[0] &= (uint64_t(1) << 62) - 1;
        fractionNegative = true;
    }
    DoubleDouble r = multiply(wideFraction(product), kHalfPi);
    if (fractionNegative) r = negate(r);
    if (x < 0.0) {
        r = negate(r);
        quadrant = (4 - quadrant) & 3;
    }
    return {quadrant, r};
}

ReducedAngle reduce(double x) {
    if (magnitude(x) <= kQuarterPi) return {0, {x, 0.0}};
    return reduceAngle(x);
}

// sin r and cos r for |r| <= pi/4.
DoubleDouble sineOfReduced(DoubleDouble r) {
    const DoubleDouble z = multiply(r, r);
    return add(r, multiply(multiply(r, z), polynomial(kSineSeries, z)));
}

DoubleDouble cosineOfReduced(DoubleDouble r) {
    const DoubleDouble z = multiply(r, r);
    return add({1.0, 0.0}, multiply(z, polynomial(kCosineSeries, z)));
}

// ---------------------------------------------------------------------------------------
// Exponential

// ln 2 in three pieces; the first has 42 significant bits, so k times it is exact for |k| < 2^11.
constexpr double kLn2First = 0x1.62e42fefa3800p-1;
constexpr double kLn2Second = 0x1.ef35793c76730p-45;
constexpr double kLn2Third = 0x1.f97b57a079a19p-103;
constexpr double kInverseLn2 = 0x1.71547652b82fep+0;
// Above: e^x overflows whatever the rounding; below: it rounds to 0.
constexpr double kExpOverflow = 709.8;
constexpr double kExpUnderflow = -745.2;

// 1 / n! for n = 0..16: e^r = c[0] + c[1] r + ...
constexpr DoubleDouble kExpSeries[17] = {
    {1.0, 0.0},
    {1.0, 0.0},
    {0x1.0000000000000p-1, 0.0},
    {0x1.5555555555555p-3, 0x1.5555555555555p-57},
    {0x1.5555555555555p-5, 0x1.5555555555555p-59},
    {0x1.1111111111111p-7, 0x1.1111111111111p-63},
    {0x1.6c16c16c16c17p-10, -0x1.f49f49f49f49fp-65},
    {0x1.a01a01a01a01ap-13, 0x1.a01a01a01a01ap-73},
    {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76},
    {0x1.71de3a556c734p-19, -0x1.c154f8ddc6c00p-73},
    {0x1.27e4fb7789f5cp-22, 0x1.cbbc05b4fa99ap-76},
    {0x1.ae64567f544e4p-26, -0x1.c062e06d1f209p-80},
    {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83},
    {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87},
    {0x1.93974a8c07c9dp-37, 0x1.05d6f8a2efd1fp-92},
    {0x1.ae7f3e733b81fp-41, 0x1.1d8656b0ee8cbp-97},
    {0x1.ae7f3e733b81fp-45, 0x1.1d8656b0ee8cbp-101},
};

// value * 2^k rounded once to a multiple of 2^-1074, for results below 2^-1022.
double scaleBelowNormal(DoubleDouble value, int k) {
    const double scale = powerOfTwo(k + 1074);  // k + 1074 is -2..51
    const double units = value.hi * scale;  // below 2^52: a whole number and a fraction
    const double unitsLow = value.lo * scale;
    // Adding 2^52 rounds units to a whole number (ties to even); the exact remainder and the
    // low part then settle the ties that the low part breaks.
    constexpr double kWhole = 0x1p52;
    const DoubleDouble rounded = twoSum(units, kWhole);
    double whole = rounded.hi - kWhole;
    if (rounded.lo == 0.5 && unitsLow > 0.0) whole += 1.0;
    if (rounded.lo == -0.5 && unitsLow < 0.0) whole -= 1.0;
    return whole * std::bit_cast<double>(uint64_t(1));  // 2^-1074
}

}  // namespace

double sin(double x) {
    if (!(magnitude(x) <= std::numeric_limits<double>::max())) return x - x;  // NaN
    if (magnitude(x) < kTrigTiny) return x;
    const ReducedAngle angle = reduce(x);
    switch (angle.quadrant) {
        case 0: return sineOfReduced(angle.r).hi;
        case 1: return cosineOfReduced(angle.r).hi;
        case 2: return -sineOfReduced(angle.r).hi;
        default: return -cosineOfReduced(angle.r).hi;
    }
}

double cos(double x) {
    if (!(magnitude(x) <= std::numeric_limits<double>::max())) return x - x;
    if (magnitude(x) < kTrigTiny) return 1.0;
    const ReducedAngle angle = reduce(x);
    switch (angle.quadrant) {
        case 0: return cosineOfReduced(angle.r).hi;
        case 1: return -sineOfReduced(angle.r).hi;
        case 2: return -cosineOfReduced(angle.r).hi;
        default: return sineOfReduced(angle.r).hi;
    }
}

double tan(double x) {
    if (!(magnitude(x) <= std::numeric_limits<double>::max())) return x - x;
    if (magnitude(x) < kTrigTiny) return x;
    const ReducedAngle angle = reduce(x);
    const DoubleDouble sine = sineOfReduced(angle.r);
    const DoubleDouble cosine = cosineOfReduced(angle.r);
    if ((angle.quadrant & 1) == 0) return divide(sine, cosine).hi;
    return -divide(cosine, sine).hi;
}

double exp(double x) {
    if (x != x) return x + x;
    if (x > kExpOverflow) return std::numeric_limits<double>::infinity();
    if (x < kExpUnderflow) return 0.0;
    const double scaled = x * kInverseLn2;
    const int k = int(scaled < 0.0 ? scaled - 0.5 : scaled + 0.5);
    // r = x - k ln 2: the first product and difference are exact, the second product is kept whole.
    const double kd = double(k);
    DoubleDouble r = add({x - kd * kLn2First, 0.0}, negate(twoProduct(kd, kLn2Second)));
    r = add(r, {-(kd * kLn2Third), 0.0});
    const DoubleDouble value = polynomial(kExpSeries, r);
    if (k > 1023) return value.hi * powerOfTwo(1023) * powerOfTwo(k - 1023);  // may overflow to inf
    if (k >= -1021 || (k == -1022 && value.hi >= 1.0)) return value.hi * powerOfTwo(k);
    return scaleBelowNormal(value, k);
}

}  // namespace portable
