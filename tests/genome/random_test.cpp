// Random genomes and mutations: one seed one genome, each of them drawing something, every
// kind of mutation reachable and each doing what it says, and the refusal without a palette
// library.

#include "genome/genome_check.h"
#include "genome/genome_mutate.h"
#include "genome/genome_random.h"
#include "genome/genome_xml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

namespace {

// What the window saves is what it showed: the written genome reads back the same.
void expectReadsBack(const SGenome& genome) {
    std::vector<SGenome> vRead;
    std::string sError;
    ASSERT_TRUE(readGenomes(genomeXml(genome), vRead, sError)) << sError;
    EXPECT_TRUE(vRead.size() == 1 && vRead[0] == genome) << genome.sName;
}

SGenome randomOf(uint32_t uSeed) {
    SGenome genome;
    std::string sError;
    EXPECT_TRUE(randomGenome(uSeed, genome, sError)) << sError;
    return genome;
}

TEST(GenomeRandomTest, OneSeedOneGenomeEachDrawingSomething) {
    EXPECT_EQ(genomeXml(randomOf(7)), genomeXml(randomOf(7)));
    std::set<std::string> texts;
    for (uint32_t uSeed = 1; uSeed <= 12; uSeed++) {
        const SGenome genome = randomOf(uSeed);
        texts.insert(genomeXml(genome));
        std::string sError;
        EXPECT_TRUE(checkGenome(genome, sError)) << uSeed << ": " << sError;
        EXPECT_EQ(genome.sName, "random-" + std::to_string(uSeed));
        EXPECT_TRUE(genome.iWidth == 800 && genome.iHeight == 800 && genome.dQuality == 100);
        EXPECT_GE(genome.iPalette, 0);
        EXPECT_TRUE(passesTrial(trialOf(genome, uSeed))) << uSeed;
        expectReadsBack(genome);
        for (const SXform& xform : genome.vXforms) {
            int iVariations = 0;
            double dSum = 0;
            for (double dWeight : xform.variations) iVariations += dWeight != 0, dSum += dWeight;
            EXPECT_TRUE(iVariations >= 1 && iVariations <= 3) << uSeed;
            EXPECT_NEAR(dSum, 1, 1e-12) << uSeed;
        }
    }
    EXPECT_EQ(texts.size(), 12u);
}

// The unit square filled evenly, framed on it or in a strip across a picture of extreme
// proportions (drawn, not refused, but too little); the Sierpinski triangle; a point;
// everything diverging (a faint square of random points, all of them bad values).
TEST(GenomeRandomTest, TrialsTellWhatDrawsFromWhatDoesNot) {
    const std::string sTriangle =
        R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0"/>
           <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0.5 0"/>
           <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0.5"/>)";
    const std::string sSquare =
        sTriangle + R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 0.5 0.5"/>)";
    const char* sFramed = "center=\"0.5 0.5\" scale=\"100\" size=";
    const struct {
        std::string sFlame;
        std::string sXforms;
        double dLeastLit, dMostLit;
        bool bPasses;
    } trials[] = {
        {sFramed + std::string("\"100 100\""), sSquare, 0.95, 1, true},
        {sFramed + std::string("\"100 100\""), sTriangle, 0.1, 0.25, true},
        {sFramed + std::string("\"100 16000\""), sSquare, 0.002, 0.02, false},
        {sFramed + std::string("\"16000 100\""), sSquare, 0.002, 0.02, false},
        {"size=\"100 100\"", R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0"/>)", 0,
         0.01, false},
        {"size=\"100 100\" scale=\"40\"",
         R"(<xform weight="1" linear="1" coefs="1e20 0 0 1e20 0 0"/>)", 0.5, 0.8, false},
    };
    for (const auto& trial : trials) {
        std::vector<SGenome> vGenomes;
        std::string sError;
        ASSERT_TRUE(readGenomes("<flame " + trial.sFlame + ">" + trial.sXforms + "</flame>",
                                vGenomes, sError)) << sError;
        const STrial result = trialOf(vGenomes[0], 1);
        EXPECT_GE(result.dLitShare, trial.dLeastLit) << trial.sFlame;
        EXPECT_LE(result.dLitShare, trial.dMostLit) << trial.sFlame;
        EXPECT_EQ(passesTrial(result), trial.bPasses) << trial.sFlame;
    }
}

TEST(GenomeRandomTest, WholeParametersAndChoicesCoverTheirRanges) {
    const struct {
        int iVariation, iParameter, iLow, iHigh;
    } wholes[] = {{32, 12, 2, 5}, {33, 14, 2, 5}, {23, 2, 2, 7}, {37, 17, 3, 10}, {38, 20, 3, 8}};
    CRandom random;
    for (const auto& whole : wholes) {
        std::set<double> values;
        SXform xform;
        for (int i = 0; i < 300; i++) {
            randomParameters(random, whole.iVariation, xform);
            values.insert(xform.parameters[whole.iParameter]);
        }
        EXPECT_EQ(values.size(), static_cast<size_t>(whole.iHigh - whole.iLow + 1));
        EXPECT_EQ(*values.begin(), whole.iLow);
        EXPECT_EQ(*values.rbegin(), whole.iHigh);
    }
}

TEST(GenomeRandomTest, NoPaletteLibraryIsRefusedNamingThePackage) {
    const char* sBefore = std::getenv("flam3_palettes");
    const std::string sKept = sBefore ? sBefore : "";
    setenv("flam3_palettes", "/nonexistent/flam3-palettes.xml", 1);
    SGenome genome;
    std::string sError;
    EXPECT_FALSE(randomGenome(1, genome, sError));
    EXPECT_NE(sError.find("flam3-palette"), std::string::npos) << sError;
    if (sBefore) setenv("flam3_palettes", sKept.c_str(), 1);
    else unsetenv("flam3_palettes");
}

// Three xforms with chaos rows, the third plotted alone: removal must keep both in step.
SGenome mutableGenome() {
    SGenome genome = randomOf(3);
    genome.vXforms.resize(3);
    for (SXform& xform : genome.vXforms) xform.vChaos = {1, 0.5, 2};
    genome.iSoloXform = 2;
    return genome;
}

int changedXforms(const SGenome& a, const SGenome& b) {
    int iChanged = 0;
    for (size_t i = 0; i < a.vXforms.size(); i++) iChanged += !(a.vXforms[i] == b.vXforms[i]);
    return iChanged;
}

// What each kind must have changed, and nothing else.
void expectKindDid(const SGenome& before, const SMutation& mutation) {
    const SGenome& after = mutation.genome;
    const size_t uXforms = before.vXforms.size();
    switch (mutation.eKind) {
    case eMovedCoefs:
        for (size_t i = 0; i < uXforms && i < after.vXforms.size(); i++)
            for (int k = 0; k < 6; k++)
                EXPECT_LE(std::fabs(after.vXforms[i].coefs[k] - before.vXforms[i].coefs[k]),
                          0.15);
        [[fallthrough]];
    case eOtherVariation:
        ASSERT_EQ(after.vXforms.size(), uXforms);
        EXPECT_EQ(changedXforms(before, after), 1);
        EXPECT_TRUE(after.palette == before.palette);
        break;
    case eTurnedPalette: {
        EXPECT_EQ(changedXforms(before, after), 0);
        const double dTurn = std::fabs(std::remainder(after.dHue - before.dHue, 1));
        EXPECT_TRUE(dTurn >= 0.05 && dTurn <= 0.3) << dTurn;
        EXPECT_FALSE(after.palette == before.palette);
        break;
    }
    case eAddedXform:
        ASSERT_EQ(after.vXforms.size(), uXforms + 1);
        EXPECT_EQ(changedXforms(before, after), 0);
        break;
    default:
        ASSERT_EQ(after.vXforms.size(), uXforms - 1);
        for (const SXform& xform : after.vXforms) EXPECT_EQ(xform.vChaos.size(), uXforms - 1);
        if (after.iSoloXform >= 0) {
            EXPECT_TRUE(after.vXforms[after.iSoloXform].coefs == before.vXforms[2].coefs);
        }
    }
}

TEST(GenomeMutateTest, EveryKindReachableAndDoingWhatItSays) {
    const SGenome genome = mutableGenome();
    std::set<int> kinds;
    for (int iCount = 1; iCount <= 40; iCount++) {
        const SMutation mutation = drawnMutation(genome, 11, iCount);
        kinds.insert(mutation.eKind);
        expectKindDid(genome, mutation);
        const SMutation again = drawnMutation(genome, 11, iCount);
        EXPECT_TRUE(again.eKind == mutation.eKind && again.genome == mutation.genome);
    }
    EXPECT_EQ(kinds.size(), static_cast<size_t>(eMutationCount));
    SGenome two = genome;
    two.vXforms.resize(2);
    two.iSoloXform = -1;
    for (int iCount = 1; iCount <= 40; iCount++)
        EXPECT_NE(drawnMutation(two, 11, iCount).eKind, eRemovedXform);
}

// Each the first of its drawn successors that passes, and never one that checkGenome refuses.
TEST(GenomeMutateTest, MutationsAreTheFirstThatPass) {
    SGenome genome = randomOf(5);
    for (int iCount = 1; iCount <= 6; iCount++) {
        const SGenome mutated = mutatedGenome(genome, 2, iCount);
        EXPECT_EQ(mutatedGenome(genome, 2, iCount), mutated);
        std::string sError;
        EXPECT_TRUE(checkGenome(mutated, sError)) << sError;
        const auto passes = [&](int iDrawn) {
            const SGenome drawn = drawnMutation(genome, 2, iDrawn).genome;
            return checkGenome(drawn, sError) && passesTrial(trialOf(drawn, 2));
        };
        int iFirst = iCount;
        while (iFirst < iCount + iMostMutationTries && !passes(iFirst)) iFirst++;
        EXPECT_EQ(mutated, drawnMutation(genome, 2, iFirst).genome) << iCount;
        EXPECT_FALSE(mutated == genome);
        expectReadsBack(mutated);
        genome = mutated;
    }
}

}  // namespace
