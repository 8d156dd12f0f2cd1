// Every variation's formula over four lanes as a function of its own, compiled for processors
// with AVX2 and fused multiply-add: flattened, so that the formula (a template of no target) and
// the lane functions it calls are inlined into it and made of that target's instructions. An
// xform calls each of its variations' directly; only where the processor has them.

#include "variations/table.h"
#include "variations/variations.h"

#include <array>

namespace variation {
namespace {

template <int iVariation, bool bZ>
[[gnu::target("avx2,fma"), gnu::flatten]] void laneFormula(
    SVariationCall<maths::lanes::V>& call) {
    callRow<iVariation, bZ>(call);
}

template <bool bZ, int... iVariations>
constexpr std::array<FLaneFormula, eCount> laneFormulas(std::integer_sequence<int, iVariations...>) {
    return {&laneFormula<iVariations, bZ>...};
}

constexpr std::array<FLaneFormula, eCount> flatFormulas =
    laneFormulas<false>(std::make_integer_sequence<int, eCount>());
constexpr std::array<FLaneFormula, eCount> deepFormulas =
    laneFormulas<true>(std::make_integer_sequence<int, eCount>());

}  // namespace
}  // namespace variation

FLaneFormula laneFormulaOf(int iVariation, bool bZ) {
    return (bZ ? variation::deepFormulas : variation::flatFormulas)[iVariation];
}
