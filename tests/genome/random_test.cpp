// Random genomes and mutations: one seed one genome, each drawing something and reading back
// as written; trials that tell what draws; every kind of mutation reachable and doing what it
// says; the refusal without a palette library.

#include "genome/genome_check.h"
#include "editing/genome_mutate.h"
#include "editing/genome_random.h"
#include "xml/genome_xml.h"

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
        EXPECT_TRUE(passesTrial(trialOf(genome, uSeed))) << uSeed;
        expectReadsBack(genome);
        for (const SXform& xform : genome.vXforms) {
            int iVariations = 0;
            double dSum = 0;
            for (double dWeight : xform.variations) iVariations += dWeight != 0, dSum += dWeight;
            EXPECT_TRUE(iVariations >= 1 && iVariations <= 3 && std::fabs(dSum - 1) < 1e-12);
        }
    }
    EXPECT_EQ(texts.size(), 12u);
}

// The unit square filled evenly, framed on it or in a strip across a picture of extreme
// proportions (drawn, not refused, but too little); the Sierpinski triangle; a point; a genome
// of nothing but bad values (a faint square of random points). White, so that what is hit
// shows.
TEST(GenomeRandomTest, TrialsTellWhatDrawsFromWhatDoesNot) {
    const std::string sTriangle = R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0"/>
        <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0.5 0"/>
        <xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0.5"/>)";
    const std::string sSquare =
        sTriangle + R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 0.5 0.5"/>)";
    const std::string sFramed = "center=\"0.5 0.5\" scale=\"100\" size=";
    const struct {
        std::string sFlame, sXforms;
        double dLeastLit, dMostLit;
        bool bPasses;
    } trials[] = {
        {sFramed + "\"100 100\"", sSquare, 0.95, 1, true},
        {sFramed + "\"100 100\"", sTriangle, 0.2, 0.4, true},  // the filter spreads it a little
        {sFramed + "\"100 16000\"", sSquare, 0.002, 0.02, false},
        {sFramed + "\"16000 100\"", sSquare, 0.002, 0.02, false},
        {"size=\"100 100\"", R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0"/>)", 0,
         0.01, false},
        {"size=\"100 100\" scale=\"40\"",
         R"(<xform weight="1" linear="1" coefs="1e20 0 0 1e20 0 0"/>)", 0.5, 0.8, false},
    };
    for (const auto& trial : trials) {
        std::vector<SGenome> vGenomes;
        std::string sError;
        ASSERT_TRUE(readGenomes("<flame " + trial.sFlame + ">" + trial.sXforms +
                                    "<color index=\"0\" rgb=\"255 255 255\"/></flame>",
                                vGenomes, sError)) << sError;
        const STrial result = trialOf(vGenomes[0], 1);
        EXPECT_TRUE(result.dLitShare >= trial.dLeastLit && result.dLitShare <= trial.dMostLit)
            << trial.sFlame << ": " << result.dLitShare;
        EXPECT_EQ(passesTrial(result), trial.bPasses) << trial.sFlame;
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

int changedXforms(const SGenome& a, const SGenome& b) {
    int iChanged = 0;
    for (size_t i = 0; i < a.vXforms.size(); i++) iChanged += !(a.vXforms[i] == b.vXforms[i]);
    return iChanged;
}

// Three xforms with chaos rows, the third plotted alone: a removal keeps both in step. Never
// fewer than two xforms.
TEST(GenomeMutateTest, EveryKindReachableAndDoingWhatItSays) {
    SGenome genome = randomOf(3);
    genome.vXforms.resize(3);
    for (SXform& xform : genome.vXforms) xform.vChaos = {1, 0.5, 2};
    genome.iSoloXform = 2;
    std::set<int> kinds;
    for (int iCount = 1; iCount <= 40; iCount++) {
        const SMutation mutation = drawnMutation(genome, 11, iCount);
        const SGenome& after = mutation.genome;
        kinds.insert(mutation.eKind);
        EXPECT_TRUE(drawnMutation(genome, 11, iCount).genome == after);
        const double dTurn = std::fabs(std::remainder(after.dHue - genome.dHue, 1));
        const bool bSameCount = after.vXforms.size() == genome.vXforms.size();
        switch (mutation.eKind) {
        case eTurnedPalette:
            EXPECT_TRUE(dTurn >= 0.05 && dTurn <= 0.3 && !(after.palette == genome.palette));
            EXPECT_TRUE(bSameCount && changedXforms(genome, after) == 0);
            break;
        case eAddedXform:
            ASSERT_EQ(after.vXforms.size(), 4u);
            EXPECT_EQ(changedXforms(genome, after), 0);
            break;
        case eRemovedXform:
            ASSERT_EQ(after.vXforms.size(), 2u);
            for (const SXform& xform : after.vXforms) EXPECT_EQ(xform.vChaos.size(), 2u);
            if (after.iSoloXform >= 0) {
                EXPECT_TRUE(after.vXforms[after.iSoloXform].coefs == genome.vXforms[2].coefs);
            }
            break;
        default:  // moved coefs (by at most 0.15) or another variation: one xform changed
            ASSERT_TRUE(bSameCount && changedXforms(genome, after) == 1);
            EXPECT_TRUE(after.palette == genome.palette);
            for (size_t i = 0; mutation.eKind == eMovedCoefs && i < 3; i++)
                for (int k = 0; k < 6; k++)
                    EXPECT_LE(std::fabs(after.vXforms[i].coefs[k] - genome.vXforms[i].coefs[k]),
                              0.15);
        }
    }
    EXPECT_EQ(kinds.size(), static_cast<size_t>(eMutationCount));
    genome.vXforms.resize(2);
    genome.iSoloXform = -1;
    for (int iCount = 1; iCount <= 40; iCount++)
        EXPECT_NE(drawnMutation(genome, 11, iCount).eKind, eRemovedXform);
}

// Deterministic, never refused by checkGenome, drawn as written, and never the genome itself
// where some mutation passes.
TEST(GenomeMutateTest, MutationsAreRepeatableAndDrawable) {
    SGenome genome = randomOf(5);
    for (int iCount = 1; iCount <= 6; iCount++) {
        const SGenome mutated = mutatedGenome(genome, 2, iCount);
        EXPECT_EQ(mutatedGenome(genome, 2, iCount), mutated);
        std::string sError;
        EXPECT_TRUE(checkGenome(mutated, sError) && passesTrial(trialOf(mutated, 2))) << sError;
        EXPECT_FALSE(mutated == genome);
        expectReadsBack(mutated);
        genome = mutated;
    }
}

}  // namespace
