// The choice of the next xform: the look-up by a draw's top bits against counting the row's
// weights, at every cell's edges and in between, for rows whose bounds fall on a cell's edge,
// inside its first cell, past weights of 0 and in long rows.

#include "game/xform_choice.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

struct SChoiceCase {
    const char* sName;
    std::vector<double> vWeights;
    std::vector<std::vector<double>> vChaos;  // per xform, its chaos row (may be short)
};

SGenome genomeWith(const SChoiceCase& choiceCase) {
    SGenome genome;
    genome.vXforms.resize(choiceCase.vWeights.size());
    for (size_t j = 0; j < choiceCase.vWeights.size(); j++) {
        genome.vXforms[j].dWeight = choiceCase.vWeights[j];
        if (j < choiceCase.vChaos.size()) genome.vXforms[j].vChaos = choiceCase.vChaos[j];
    }
    return genome;
}

std::vector<double> manyWeights() {
    std::vector<double> vWeights;
    std::mt19937_64 generator(5);
    for (int j = 0; j < 40; j++) vWeights.push_back((generator() >> 40) / 0x1p24);
    return vWeights;
}

TEST(XformChoiceTest, LookUpChoosesAsCounting) {
    const SChoiceCase cases[] = {
        {"bounds on cell edges", {1, 1, 1, 1}, {}},
        {"bench-b's thirds and sixths", {1, 0.5, 0.5, 1}, {}},
        {"a bound inside the first cell", {1e-300, 1}, {}},
        {"a bound just below the top", {1, 1e-17}, {}},
        {"weights of 0 last, chaos of 0", {1, 2, 0}, {{0, 1, 1}, {1, 0}, {0, 0, 1}}},
        {"a chaos row of nothing", {1, 1}, {{0, 0}}},
        {"forty xforms, counted by halving", manyWeights(), {}},
    };
    std::mt19937_64 generator(11);
    for (const SChoiceCase& choiceCase : cases) {
        SCOPED_TRACE(choiceCase.sName);
        const CXformChoice choice(genomeWith(choiceCase));
        const int iXforms = static_cast<int>(choiceCase.vWeights.size());
        for (int iPrevious = -1; iPrevious < iXforms; iPrevious++) {
            std::vector<uint64_t> vDraws;
            for (uint64_t uCell = 0; uCell < 256; uCell++) {
                const uint64_t uLeast = uCell << 56;
                // The cell's edges, the draws one uniform step in from them, and one within.
                for (uint64_t uDraw : {uLeast, uLeast | 0x7FF, uLeast + 0x800,
                                       uLeast | ((uint64_t{1} << 56) - 1),
                                       (uLeast | ((uint64_t{1} << 56) - 1)) - 0x800,
                                       uLeast | (generator() >> 8)})
                    vDraws.push_back(uDraw);
            }
            for (uint64_t uDraw : vDraws)
                ASSERT_EQ(choice.choose(iPrevious, uDraw),
                          choice.chooseCounting(iPrevious, CBatchRandom::uniformOf(uDraw)))
                    << "after xform " << iPrevious << ", draw " << std::hex << uDraw;
        }
    }
}

}  // namespace
