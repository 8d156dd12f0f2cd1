#pragma once

// Which xform a walk goes to next: xform j after xform i with the chance of j's weight times
// i's chaos towards j, among the row of i; a walk's first xform by the plain weights.

#include "formulas/batch_random.h"
#include "genome/genome.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CXformChoice {
public:
    explicit CXformChoice(const SGenome& genome);

    // The xform a walk goes to after iPrevious (−1 at its start), by a draw of its random
    // numbers: the first whose cumulative weight in the row exceeds the draw's uniform of the
    // row's total, or the row's last of any weight. Most draws are looked up by their top bits.
    int choose(int iPrevious, uint64_t uDrawn) const {
        const int iQuick =
            vQuick[static_cast<size_t>(iPrevious + 1) * iCells + (uDrawn >> iCellShift)];
        return iQuick >= 0 ? iQuick : chooseCounting(iPrevious, CBatchRandom::uniformOf(uDrawn));
    }
    // The same by counting the row's weights below the uniform's share: no look-up.
    int chooseCounting(int iPrevious, double dUniform) const;

private:
    int countBelow(const double* pRow, double dUniform) const;
    void makeQuick();

    int iRowLength;                  // xforms
    std::vector<double> vCumulative; // per previous xform (none first): cumulative weights
    std::vector<int> vLastChoosable; // per row: the last xform it can choose
    // Per row, per cell of draws by their top 8 bits: the xform every draw of the cell chooses,
    // −1 where a bound of the cumulative weights falls in the cell.
    static constexpr int iCellShift = 56, iCells = 256;
    std::vector<int16_t> vQuick;
};
