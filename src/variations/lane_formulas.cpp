// Every variation's formula over four lanes, in one function for each kind of point, compiled for
// processors with AVX2 and fused multiply-add: flattened, so that the formulas (templates of no
// target) and the lane functions they call are inlined into it and made of that target's
// instructions. Called only where the processor has them.

#include "variations/table.h"

namespace variation {

template <bool bZ>
[[gnu::target("avx2,fma"), gnu::flatten]] void callFormula(
    int iVariation, SVariationCall<maths::lanes::V>& call) {
    callFormulaOf<bZ>(iVariation, call, std::make_integer_sequence<int, eCount>());
}

template void callFormula<false>(int iVariation, SVariationCall<maths::lanes::V>& call);
template void callFormula<true>(int iVariation, SVariationCall<maths::lanes::V>& call);

}  // namespace variation
