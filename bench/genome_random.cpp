// genome_random [FIRST LAST] [--mutations N] [--write DIR]
//
// How long random genomes take to make, seed by seed (default 1 to 12): each one's time, xforms,
// the share its trial lights and its bad-value rate; with --mutations, the time of N successive
// mutations of each; with --write, each genome as DIR/random-SEED.flame (the last mutation's, if
// any). A developer's tool for the window's r and m keys, which wait for them.

#include "editing/genome_mutate.h"
#include "editing/genome_random.h"
#include "xml/genome_xml.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool writeGenome(const std::string& sDirectory, const SGenome& genome) {
    const std::string sPath = sDirectory + "/" + genome.sName + ".flame";
    FILE* pFile = std::fopen(sPath.c_str(), "w");
    bool bWritten = pFile && std::fputs(genomeXml(genome).c_str(), pFile) >= 0;
    if (pFile) bWritten = std::fclose(pFile) == 0 && bWritten;
    if (bWritten) return true;
    std::fprintf(stderr, "genome_random: %s: could not be written\n", sPath.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long uFirst = 1, uLast = 12;
    int iMutations = 0;
    const char* sDirectory = nullptr;
    int iPositional = 0;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--mutations") == 0 && i + 1 < argc) {
            iMutations = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--write") == 0 && i + 1 < argc) {
            sDirectory = argv[++i];
        } else if (argv[i][0] != '-' && iPositional < 2) {
            (iPositional++ == 0 ? uFirst : uLast) = std::strtoul(argv[i], nullptr, 10);
        } else {
            std::fprintf(stderr,
                         "usage: genome_random [FIRST LAST] [--mutations N] [--write DIR]\n");
            return 2;
        }
    }
    if (iPositional == 1) uLast = uFirst;
    double dTotal = 0;
    for (unsigned long uSeed = uFirst; uSeed <= uLast; uSeed++) {
        const auto start = std::chrono::steady_clock::now();
        SGenome genome;
        std::string sError;
        if (!randomGenome(static_cast<uint32_t>(uSeed), genome, sError)) {
            std::fprintf(stderr, "genome_random: %s\n", sError.c_str());
            return 1;
        }
        const double dSeconds = secondsSince(start);
        dTotal += dSeconds;
        const STrial trial = trialOf(genome, uSeed);
        std::printf("seed %3lu: %6.3f s, %zu xforms%s, lit %.3f, bad values %.4f\n", uSeed,
                    dSeconds, genome.vXforms.size(), genome.bFinalXform ? " + final" : "",
                    trial.dLitShare, trial.dBadValueRate);
        const auto mutating = std::chrono::steady_clock::now();
        SGenome mutated = genome;
        for (int k = 1; k <= iMutations; k++)
            mutated = mutatedGenome(mutated, static_cast<uint32_t>(uSeed), k);
        if (iMutations > 0)
            std::printf("          %d mutations: %.3f s each\n", iMutations,
                        secondsSince(mutating) / iMutations);
        if (sDirectory && !writeGenome(sDirectory, mutated)) return 1;
    }
    std::printf("mean %.3f s a genome\n", dTotal / static_cast<double>(uLast - uFirst + 1));
    return 0;
}
