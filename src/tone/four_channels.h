#pragma once

// A cell's four channels (red, green, blue, alpha) in one register, for the tone's loops that
// weigh cells by the thousand: density estimation's spread and the pixels' filter. Where the
// processor has AVX, each loop has a wide form beside its plain one, the same products and sums
// in the same order, bit for bit (no fused multiply-add).

#include <cstddef>

using VCell = double __attribute__((vector_size(32), aligned(8)));

inline VCell* cellAt(double* pRow, std::ptrdiff_t iCell) {
    return reinterpret_cast<VCell*>(pRow + 4 * iCell);
}
inline const VCell* cellAt(const double* pRow, std::ptrdiff_t iCell) {
    return reinterpret_cast<const VCell*>(pRow + 4 * iCell);
}

bool wideHere();  // whether this processor has AVX, for the wide forms
