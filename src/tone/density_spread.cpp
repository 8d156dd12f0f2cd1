#include "tone/density_spread.h"

#include "tone/four_channels.h"

#include <algorithm>
#include <cmath>

namespace {

// The offsets of row dy that a bucket's values change: those whose weight is not 0, where the
// values are finite (0 · v is then 0, which leaves a cell as it is); every one where they are not.
struct SRowSpan {
    int iFirstDx, iLastDx;
};

bool finite(const double (&dValue)[4]) {
    return std::isfinite(dValue[0]) && std::isfinite(dValue[1]) && std::isfinite(dValue[2]) &&
           std::isfinite(dValue[3]);
}

SRowSpan rowSpanOf(const SSpread& spread, int dy, bool bFinite) {
    if (!bFinite) return {spread.iFirstDx, spread.iLastDx};
    const int iSpan = spread.pKernel->rowSpan(dy);
    return {std::max(spread.iFirstDx, -iSpan), std::min(spread.iLastDx, iSpan)};
}

}  // namespace

void spreadPlain(const SSpread& spread, const double (&dValue)[4], double* pCentre,
                 std::size_t uRowDoubles, int iRow, int iWindowRows) {
    const bool bFinite = finite(dValue);
    for (int dy = spread.iFirstDy; dy <= spread.iLastDy; dy++) {
        double* pTarget = pCentre + windowRowOffset(iRow + dy, iWindowRows, uRowDoubles);
        const SRowSpan span = rowSpanOf(spread, dy, bFinite);
        for (int dx = span.iFirstDx; dx <= span.iLastDx; dx++) {
            const double dWeight = spread.pKernel->weight(dx, dy);
            double* pCell = pTarget + 4 * static_cast<std::ptrdiff_t>(dx);
            for (int c = 0; c < 4; c++) pCell[c] += dWeight * dValue[c];
        }
    }
}

// The negative and the other offsets in two loops: no |dx| at each cell.
[[gnu::target("avx")]] void spreadWide(const SSpread& spread, const double (&dValue)[4],
                                       double* pCentre, std::size_t uRowDoubles, int iRow,
                                       int iWindowRows) {
    const VCell value = {dValue[0], dValue[1], dValue[2], dValue[3]};
    const bool bFinite = finite(dValue);
    for (int dy = spread.iFirstDy; dy <= spread.iLastDy; dy++) {
        const double* pWeights = spread.pKernel->row(dy);
        double* pTarget = pCentre + windowRowOffset(iRow + dy, iWindowRows, uRowDoubles);
        const SRowSpan span = rowSpanOf(spread, dy, bFinite);
        for (int dx = span.iFirstDx; dx < std::min(0, span.iLastDx + 1); dx++) {
            VCell* pCell = cellAt(pTarget, dx);
            *pCell = *pCell + pWeights[-dx] * value;
        }
        for (int dx = std::max(0, span.iFirstDx); dx <= span.iLastDx; dx++) {
            VCell* pCell = cellAt(pTarget, dx);
            *pCell = *pCell + pWeights[dx] * value;
        }
    }
}

void spreadBucket(const SSpread& spread, const double (&dValue)[4], double* pCentre,
                  std::size_t uRowDoubles, int iRow, int iWindowRows) {
    if (wideHere()) spreadWide(spread, dValue, pCentre, uRowDoubles, iRow, iWindowRows);
    else spreadPlain(spread, dValue, pCentre, uRowDoubles, iRow, iWindowRows);
}
