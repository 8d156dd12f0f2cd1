#include "game/xform_choice.h"

#include "base/limits.h"

#include <algorithm>
#include <cmath>

static_assert(iMostXforms <= INT16_MAX, "an xform's number fits the look-up table");

CXformChoice::CXformChoice(const SGenome& genome) {
    const int iXforms = static_cast<int>(genome.vXforms.size());
    // Row 0 for a fresh start (plain weights), row i + 1 after xform i (times its chaos).
    iRowLength = iXforms;
    vCumulative.resize(static_cast<size_t>(iXforms + 1) * iXforms);
    vLastChoosable.resize(iXforms + 1);
    for (int iRow = 0; iRow <= iXforms; iRow++) {
        const std::vector<double>* pChaos = iRow > 0 ? &genome.vXforms[iRow - 1].vChaos : nullptr;
        double dSum = 0;
        for (int j = 0; j < iXforms; j++) {
            const double dChaos = pChaos && j < static_cast<int>(pChaos->size()) ? (*pChaos)[j] : 1;
            const double dWeight = genome.vXforms[j].dWeight * dChaos;
            dSum += dWeight;
            vCumulative[iRow * iXforms + j] = dSum;
            if (dWeight > 0) vLastChoosable[iRow] = j;
        }
    }
    makeQuick();
}

// How many of the row's cumulative weights are at most dUniform of its total. A short row is
// counted without branches: a random choice is a branch no processor predicts.
int CXformChoice::countBelow(const double* pRow, double dUniform) const {
    const double dTarget = dUniform * pRow[iRowLength - 1];
    if (iRowLength > 16)
        return static_cast<int>(std::upper_bound(pRow, pRow + iRowLength, dTarget) - pRow);
    int j = 0;
    for (int k = 0; k < iRowLength; k++) j += pRow[k] <= dTarget;
    return j;
}

int CXformChoice::chooseCounting(int iPrevious, double dUniform) const {
    const int j =
        countBelow(&vCumulative[static_cast<size_t>(iPrevious + 1) * iRowLength], dUniform);
    return j < iRowLength ? j : vLastChoosable[iPrevious + 1];
}

// Each cell's choice where its least and its greatest draw count alike. The count cannot fall as
// the uniform grows (the target is the uniform times the row's total, rounded, and the total is
// positive), so every draw between them counts alike too.
void CXformChoice::makeQuick() {
    vQuick.assign(vLastChoosable.size() * iCells, -1);
    for (size_t iRow = 0; iRow < vLastChoosable.size(); iRow++) {
        const double* pRow = &vCumulative[iRow * iRowLength];
        const double dTotal = pRow[iRowLength - 1];
        if (!(dTotal > 0) || !std::isfinite(dTotal)) continue;
        for (int iCell = 0; iCell < iCells; iCell++) {
            const uint64_t uLeast = static_cast<uint64_t>(iCell) << iCellShift;
            const uint64_t uGreatest = uLeast | ((uint64_t{1} << iCellShift) - 1);
            const int j = countBelow(pRow, CBatchRandom::uniformOf(uLeast));
            if (j != countBelow(pRow, CBatchRandom::uniformOf(uGreatest))) continue;
            vQuick[iRow * iCells + iCell] =
                static_cast<int16_t>(j < iRowLength ? j : vLastChoosable[iRow]);
        }
    }
}
