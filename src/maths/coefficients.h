#pragma once

// The numbers the sine, cosine, arc tangent, exponential and logarithm are made of, shared by the
// functions one value at a time (trigonometry.cpp, exponential.cpp) and four at a time
// (maths/lanes.h): the same numbers, the same bits.
// Near-minimax polynomials fitted once to 300-bit values (scripts/maths-tables.py), highest
// coefficient first.

namespace maths {

// sin r = r + r³·S(r²) for |r| ≤ π/4.
constexpr double dSineCoefficients[] = {
    -0x1.ab17bdcbd3414p-41, 0x1.61217ee5cca1bp-33, -0x1.ae64541295cdfp-26,
    0x1.71de3a54607a5p-19,  -0x1.a01a01a019937p-13,
    0x1.1111111111110p-7,   -0x1.5555555555555p-3};
// cos r = 1 − r²/2 + r⁴·C(r²) for |r| ≤ π/4.
constexpr double dCosineCoefficients[] = {
    -0x1.907d8f29fe831p-37, 0x1.1eeb68cd22f56p-29, -0x1.27e4fa17bf139p-22,
    0x1.a01a019f4e9b4p-16,  -0x1.6c16c16c16967p-10, 0x1.5555555555555p-5};
// atan u = u + u³·A(u²) for |u| ≤ 1/32.
constexpr double dAtanCoefficients[] = {
    -0x1.73986b30cdfeep-4, 0x1.c71c46c5317dbp-4, -0x1.24924922a6d1ap-3,
    0x1.99999999998a4p-3, -0x1.5555555555555p-2};
// atan(j/16), j = 0 … 16, as two doubles.
constexpr double dAtanOfSixteenths[17][2] = {
    {0, 0},
    {0x1.ff55bb72cfdeap-5, -0x1.c934d86d23f1dp-60},
    {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
    {0x1.7b97b4bce5b02p-3, 0x1.347b0b4f881cap-58},
    {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
    {0x1.362773707ebccp-2, -0x1.963a544b672d8p-57},
    {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
    {0x1.a64eec3cc23fdp-2, -0x1.24dec1b50b7ffp-56},
    {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
    {0x1.0657e94db30d0p-1, -0x1.d5b495f6349e6p-56},
    {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
    {0x1.345f01cce37bbp-1, 0x1.1021137c71102p-55},
    {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
    {0x1.5d58987169b18p-1, 0x1.0028e4bc5e7cap-57},
    {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
    {0x1.819d0b7158a4dp-1, -0x1.bf76229d3b917p-56},
    {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55}};

constexpr double dExpHighest = 0x1.62e42fefa39efp+9;   // above: exp overflows
constexpr double dExpLowest = -0x1.74910d52d3051p+9;   // below: exp is 0
constexpr double dSixtyFourOverLn2 = 0x1.71547652b82fep+6;
// ln 2/64 in two parts, the first of 36 bits: n·part is exact for |n| < 2^17
constexpr double dLn2Over64Hi = 0x1.62e42fefa0000p-7, dLn2Over64Lo = 0x1.cf79abc9e3b3ap-46;
// e^r = 1 + r + r²·E(r) for |r| ≤ ln 2/128.
constexpr double dExpCoefficients[] = {
    0x1.11111d9625013p-7, 0x1.55556b3e385f1p-5, 0x1.5555555555252p-3, 0x1.ffffffffff574p-2};
// 2^(j/64) for j = 0 … 63, as two doubles.
constexpr double dPowersOfTwo[64][2] = {
#include "maths/exp_rows.inc"
};

constexpr double dLn2Hi = 0x1.62e42fee00000p-1;  // 32 bits: k·dLn2Hi is exact for |k| < 2^21
constexpr double dLn2Lo = 0x1.a39ef35793c76p-33;
// ln(1 + r) = r + r²·Q(r) for |r| < 0.0079.
constexpr double dLogCoefficients[] = {
    -0x1.000599fa5916ap-3, 0x1.249882732734cp-3, -0x1.5555554a20bfcp-3, 0x1.9999998d264a0p-3,
    -0x1.000000000002dp-2, 0x1.5555555555587p-2, -0x1.0000000000000p-1};
// A part of [0.6875, 1.375) that ln's argument is brought into: 1/c of its middle c, rounded,
// and −ln of that rounded value. ln z = ln(z·inverse) + log, whatever the rounding.
struct SLogRow {
    double dInverse;
    double dLogHi, dLogLo;
};
constexpr SLogRow logRows[128] = {
#include "maths/log_rows.inc"
};

}  // namespace maths
