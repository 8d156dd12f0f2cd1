// The jump ahead. The words obey r[i] = r[i−3] + r[i−31], the same recurrence as the powers of x
// modulo x³¹ − x²⁸ − 1, with every coefficient taken mod 2³²: so if x^n reduces to
// c[0] + c[1]·x + … + c[30]·x³⁰, then r[i−31+n] = c[0]·r[i−31] + … + c[30]·r[i−1], whatever
// the words. x^n comes from about log₂ n squarings, each a product of 31 by 31 coefficients.

#include "base/random.h"

namespace {

constexpr int iDegree = 31;

// p · x, reduced by x³¹ = x²⁸ + 1.
void timesX(uint32_t* pCoefficients) {
    const uint32_t uTop = pCoefficients[iDegree - 1];
    for (int j = iDegree - 1; j > 0; j--) pCoefficients[j] = pCoefficients[j - 1];
    pCoefficients[0] = uTop;
    pCoefficients[28] += uTop;
}

// p², reduced. Each product of two different coefficients comes twice: made once, with one
// factor doubled, it costs half of a plain product of 31 by 31 coefficients.
void square(uint32_t* pCoefficients) {
    uint32_t uProduct[2 * iDegree - 1] = {};
    for (int i = 0; i < iDegree; i++) {
        const uint32_t uTwice = 2 * pCoefficients[i];
        uProduct[2 * i] += pCoefficients[i] * pCoefficients[i];
        for (int j = i + 1; j < iDegree; j++) uProduct[i + j] += uTwice * pCoefficients[j];
    }
    // From the top down, so that what x^d passes on to x^(d−3) is itself reduced in its turn.
    for (int d = 2 * iDegree - 2; d >= iDegree; d--) {
        uProduct[d - 3] += uProduct[d];
        uProduct[d - iDegree] += uProduct[d];
    }
    for (int i = 0; i < iDegree; i++) pCoefficients[i] = uProduct[i];
}

}  // namespace

void CRandom::discard(unsigned long long uDraws) {
    if (uDraws == 0) return;
    // The ring holds r[i−32] to r[i−1] for i = uNext, and must come to hold r[i+K−32] to
    // r[i+K−1] for K = uDraws: the first is x^(K−1) of the words r[i−31] to r[i−1], each next
    // one x times the one before. r[i−32] itself is read by no later word, but is made all the
    // same, so that the ring is the very one the draws would have left.
    const unsigned long long uExponent = uDraws - 1;
    // Below x³¹ a power is its own remainder: the leading bits of the exponent need no squaring.
    int iBit = 63;
    unsigned int uLeading = 0;
    for (; iBit >= 0; iBit--) {
        const unsigned int uLonger = (uLeading << 1) | ((uExponent >> iBit) & 1);
        if (uLonger >= iDegree) break;
        uLeading = uLonger;
    }
    uint32_t uPower[iDegree] = {};
    uPower[uLeading] = 1;
    for (; iBit >= 0; iBit--) {
        square(uPower);
        if ((uExponent >> iBit) & 1) timesX(uPower);
    }

    uint32_t uBase[iDegree];  // r[i−31+j]
    for (int j = 0; j < iDegree; j++) uBase[j] = uWords[(uNext + 1 + j) & 31];
    uNext += static_cast<uint32_t>(uDraws);  // mod 2³², as the draws would count
    for (int n = 0; n < 32; n++) {  // r[i+K−32+n], in the slot of its index mod 32
        uint32_t uWord = 0;
        for (int j = 0; j < iDegree; j++) uWord += uPower[j] * uBase[j];
        uWords[(uNext + n) & 31] = uWord;
        if (n < 31) timesX(uPower);
    }
}
