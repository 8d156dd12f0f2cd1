// Speed of the genome renderer's parts: a group of batches of the chaos game with cheap and with
// costly variations, and of bench-b's own xforms, a point at a time and in lanes; density
// estimation of a rendered histogram, and the picture's rows made from it; a frame's preview as
// the window plays a loop. The whole renders, against flam3-render, are timed by
// scripts/genome-bench.sh.

#include "animation/loops.h"
#include "genome_runs/frame_list.h"
#include "render/render.h"
#include "variations/variations.h"
#include "xml/genome_xml.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

// bench-a.flame: a random genome flam3-genome made, 640 x 480, density estimation radius 9.
const SGenome* benchGenome() {
    static const std::unique_ptr<SGenome> pGenome = [] {
        std::vector<SGenome> vGenomes;
        std::string sError;
        if (!readGenomeFile(GENOME_BENCH_DATA "/bench-a.flame", vGenomes, sError))
            return std::unique_ptr<SGenome>();
        return std::make_unique<SGenome>(vGenomes[0]);
    }();
    return pGenome.get();
}

// bench-a's palette and frame, with three xforms of halving maps (a Sierpiński triangle, well
// inside the frame) that each apply the variations named, in equal shares.
SGenome batchGenome(const std::vector<const char*>& vVariations) {
    SGenome genome = *benchGenome();
    genome.vXforms.clear();
    constexpr double dOffsets[3][2] = {{-0.5, -0.5}, {0.5, -0.5}, {0, 0.5}};
    for (int j = 0; j < 3; j++) {
        SXform xform;
        xform.dWeight = 1;
        xform.dColor = j / 2.0;
        xform.coefs = {0.5, 0, 0, 0.5, dOffsets[j][0], dOffsets[j][1]};
        for (const char* sName : vVariations)
            xform.variations[variationIndex(sName)] = 1.0 / vVariations.size();
        xform.parameters[parameterIndex("julian_power")] = 3;
        genome.vXforms.push_back(xform);
    }
    return genome;
}

// Groups of batches of game walked side by side, as a render's worker runs them (in lanes: mixed
// where they can be), timed a sample.
void walkGroups(benchmark::State& state, const CChaosGame& game, bool bLanes) {
    std::vector<std::vector<SPlot>> vPlots(iMostWalksAtOnce, std::vector<SPlot>(iBatchSamples));
    std::vector<std::vector<SBucket>> vAdds(iMostWalksAtOnce,
                                            std::vector<SBucket>(iBatchSamples));
    std::vector<SBatchJob> vJobs(iMostWalksAtOnce);
    uint64_t uBatch = 0;
    for (auto _ : state) {
        for (int k = 0; k < iMostWalksAtOnce; k++)
            vJobs[k] = {uBatch++, iBatchSamples, vPlots[k].data(), vAdds[k].data(), 0, 0};
        game.runBatches(1, vJobs.data(), iMostWalksAtOnce,
                        bLanes ? EWalkWay::eMixedLanes : EWalkWay::eOnePoint);
        benchmark::DoNotOptimize(vJobs[0].iPlots);
    }
    state.counters["time/sample"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * iMostWalksAtOnce * iBatchSamples,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A group of batches walked side by side, as a render's worker runs them, one point at a time
// or in lanes: the loop's own cost with linear alone; julian and noise (a power, a root and
// random draws each sample); ngon; bench-a's fan2, eyefish and tangent, both ways.
void BM_ChaosGameGroup(benchmark::State& state, std::vector<const char*> vVariations,
                       bool bLanes) {
    if (!benchGenome()) {
        state.SkipWithError("tests/genome/data/bench-a.flame cannot be read");
        return;
    }
    const CChaosGame game(batchGenome(vVariations));
    if (bLanes && !game.lanes()) {
        state.SkipWithError("no lanes on this processor");
        return;
    }
    walkGroups(state, game, bLanes);
}
BENCHMARK_CAPTURE(BM_ChaosGameGroup, linear, {"linear"}, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ChaosGameGroup, julian_noise, {"julian", "noise"}, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ChaosGameGroup, ngon, {"ngon"}, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ChaosGameGroup, fan2_eyefish_tangent, {"fan2", "eyefish", "tangent"}, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ChaosGameGroup, fan2_eyefish_tangent_lanes, {"fan2", "eyefish", "tangent"},
                  true)
    ->Unit(benchmark::kMicrosecond);

// A group of batches of a bench genome's own xforms, both ways.
void BM_GenomeGroup(benchmark::State& state, const char* sFile, bool bLanes) {
    std::vector<SGenome> vGenomes;
    std::string sError;
    if (!readGenomeFile(std::string(GENOME_BENCH_DATA "/") + sFile, vGenomes, sError)) {
        state.SkipWithError(sError.c_str());
        return;
    }
    const CChaosGame game(vGenomes[0]);
    if (bLanes && !game.lanes()) {
        state.SkipWithError("no lanes for this genome on this processor");
        return;
    }
    walkGroups(state, game, bLanes);
}
BENCHMARK_CAPTURE(BM_GenomeGroup, bench_b, "bench-b.flame", false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_GenomeGroup, bench_b_lanes, "bench-b.flame", true)
    ->Unit(benchmark::kMicrosecond);

// bench-a rendered at quality 10 (a tenth of its own): its buckets, made once.
const CGenomeRender* benchRender() {
    static const std::unique_ptr<CGenomeRender> pRender = [] {
        std::unique_ptr<CGenomeRender> pMade;
        if (benchGenome()) pMade = std::make_unique<CGenomeRender>(*benchGenome(), 1, 2, 10);
        while (pMade && pMade->continueRender(std::chrono::seconds(1))) {}
        return pMade;
    }();
    return pRender.get();
}

// Every row of the grid, log-scaled and spread by the density kernels, on range(0) threads.
void BM_DensityRows(benchmark::State& state) {
    const CGenomeRender* pRender = benchRender();
    if (!pRender) {
        state.SkipWithError("tests/genome/data/bench-a.flame cannot be read");
        return;
    }
    const SGenome& genome = pRender->renderedGenome();
    const std::unique_ptr<CDensityKernels> pKernels = densityKernelsOf(genome);
    for (auto _ : state) {
        CDensityRows rows(pRender->histogram(), logScaleOf(genome, genome.dQuality, 1),
                          pKernels.get(), genome.iSupersample, static_cast<int>(state.range(0)));
        while (!rows.done()) benchmark::DoNotOptimize(rows.nextRow()[0]);
    }
}
BENCHMARK(BM_DensityRows)->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The picture's rows from the same buckets, on range(0) threads: log scale, spatial filter and
// tone curve, without density estimation (BM_DensityRows times that).
void BM_WritePicture(benchmark::State& state) {
    const CGenomeRender* pRender = benchRender();
    if (!pRender) {
        state.SkipWithError("tests/genome/data/bench-a.flame cannot be read");
        return;
    }
    const SGenome& genome = pRender->renderedGenome();
    SPictureSource source;
    source.pHistogram = &pRender->histogram();
    source.scale = logScaleOf(genome, genome.dQuality, 1);
    source.iThreads = static_cast<int>(state.range(0));
    unsigned uSum = 0;
    for (auto _ : state)
        writePicture(genome, source, [&](int, const unsigned char* pRgb) { uSum += pRgb[0]; });
    benchmark::DoNotOptimize(uSum);
}
BENCHMARK(BM_WritePicture)->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A loop of bench-a played in a window of range(0) x range(1) shown at 1/range(2): each frame's
// preview drawn and its picture made, on 2 threads, one frame after another.
void BM_PreviewFrame(benchmark::State& state) {
    if (!benchGenome()) {
        state.SkipWithError("tests/genome/data/bench-a.flame cannot be read");
        return;
    }
    const int iWidth = static_cast<int>(state.range(0)), iHeight = static_cast<int>(state.range(1));
    SKeyframes keys;
    keys.keys = sequenceOf({resizedGenome(*benchGenome(), iWidth, iHeight)}, 100);
    CFrameList frames(keys, SFrameRange{0, 99, 1}, "");
    unsigned uSum = 0;
    for (auto _ : state) {
        frames.step(1);
        std::string sRefused;
        while (!frames.prepareComing(static_cast<int>(state.range(2)), 1, 2,
                                     std::chrono::milliseconds(10), sRefused)) {}
        frames.preview()->writeImage([&](int, const unsigned char* pRgb) { uSum += pRgb[0]; });
        frames.arrive();
    }
    benchmark::DoNotOptimize(uSum);
}
BENCHMARK(BM_PreviewFrame)->Args({640, 480, 1})->Args({800, 600, 1})->Args({1920, 1080, 2})
    ->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
