// Speed of the viewer's parts: the iteration loop of every pattern against the leanest exact
// loop, the longest runs of the patterns that settle on a cycle, the colourings, the redraw in a
// real GL context, and the progress report's cost.

#include "core/calc.h"
#include "core/screen.h"
#include "reference.h"
#include "runs/progress.h"
#include "runs/runner.h"
#include "display/draw.h"

#include <GL/glu.h>
#include <GL/glut.h>
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int iBlock = 1 << 16;  // iterations per benchmark iteration, as in a run's block
constexpr unsigned int uSeed = 20261207;

// Rate and time of one iteration (or draw) where each benchmark iteration makes a block of them.
void setIterationCounters(benchmark::State& state, const std::string& sUnit = "iteration") {
    const double dIterations = static_cast<double>(state.iterations()) * iBlock;
    state.counters[sUnit + "s/s"] = benchmark::Counter(dIterations, benchmark::Counter::kIsRate);
    state.counters["time/" + sUnit] = benchmark::Counter(
        dIterations, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One draw of the C library's rand(), which takes a lock every time, against one of the
// viewer's own generator, which yields the same sequence.
void BM_LibraryRand(benchmark::State& state) {
    srand(uSeed);
    for (auto _ : state)
        for (int i = 0; i < iBlock; i++) benchmark::DoNotOptimize(rand());
    setIterationCounters(state, "draw");
}
BENCHMARK(BM_LibraryRand);

void BM_GeneratorDraw(benchmark::State& state) {
    CRandom generator;
    generator.seed(uSeed);
    for (auto _ : state)
        for (int i = 0; i < iBlock; i++) benchmark::DoNotOptimize(generator.next());
    setIterationCounters(state, "draw");
}
BENCHMARK(BM_GeneratorDraw);

// A jump over 10⁹ draws, which drawing would take a second for.
constexpr unsigned long long uJump = 1000000000;

void BM_GeneratorJump(benchmark::State& state) {
    CRandom generator;
    generator.seed(uSeed);
    for (auto _ : state) {
        generator.discard(uJump);
        benchmark::DoNotOptimize(generator);
    }
}
BENCHMARK(BM_GeneratorJump);

// A computation of the pattern from a fixed seed and start point.
CCalculation startedAt(int iPattern, double dX, double dY) {
    SRun run;
    run.iPattern = iPattern;
    CCalculation calc(run);
    CRandom generator;
    generator.seed(uSeed);
    calc.setOrbitState({dX, dY, generator});
    return calc;
}

// The loop initCalculate runs, from a fixed seed and start point.
void BM_ActualCalculate(benchmark::State& state) {
    CCalculation calc = startedAt(static_cast<int>(state.range(0)), 0.3, -0.7);
    for (auto _ : state) calc.runIterations(iBlock);
    setIterationCounters(state);
}

void BM_ReferenceLoop(benchmark::State& state) {
    screen picture(800, 800);
    SReferenceState reference{0.3, -0.7, 0, {}, &picture};
    reference.generator.seed(uSeed);
    for (auto _ : state) runReferenceLoop(static_cast<int>(state.range(0)), iBlock, reference);
    setIterationCounters(state);
}

// Pattern by pattern, the real loop and then its reference, so that both of a pair see the
// machine in the same state.
void registerLoopPairs() {
    for (int iPattern = 1; iPattern <= iPatternCount; iPattern++) {
        benchmark::RegisterBenchmark("BM_ActualCalculate", BM_ActualCalculate)->Arg(iPattern);
        if (iPattern <= iReferencePatterns)
            benchmark::RegisterBenchmark("BM_ReferenceLoop", BM_ReferenceLoop)->Arg(iPattern);
    }
}

// A run of the most iterations there are, as initCalculate makes it: the search for the cycle,
// then the rest along it in closed form. From this seed every pattern given settles on one; a
// pattern that did not would take minutes, so it is refused after the search's stretch.
void BM_CycleRun(benchmark::State& state) {
    SRun run;
    run.iIterations = std::numeric_limits<int>::max();
    run.iPattern = static_cast<int>(state.range(0));
    run.uSeed = uSeed;
    CRunner runner(run);
    runner.beginCalculate();
    runner.continueCalculate(1 << 20);
    if (runner.cycleLength() == 0) {
        state.SkipWithError("no cycle from this seed");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        runner.calc().picture().clearHits();  // or the counts would overflow
        state.ResumeTiming();
        runner.initCalculate();
    }
}
BENCHMARK(BM_CycleRun)->Arg(7)->DenseRange(9, 14)->DenseRange(16, iPatternCount + 1)
    ->Unit(benchmark::kMicrosecond);

// Throws standard error away while a benchmark runs, then gives it back.
class CQuietStderr {
public:
    CQuietStderr() : iSaved(dup(STDERR_FILENO)), iNull(open("/dev/null", O_WRONLY)) {
        dup2(iNull, STDERR_FILENO);
    }
    ~CQuietStderr() {
        dup2(iSaved, STDERR_FILENO);
        close(iNull);
        close(iSaved);
    }

private:
    int iSaved;
    int iNull;
};

// Pattern 1 with and without the progress report between blocks.
void BM_ProgressCheck(benchmark::State& state) {
    CCalculation calc = startedAt(1, 0.3, -0.7);
    CQuietStderr quiet;
    if (state.range(0)) watchProgress();
    for (auto _ : state) {
        for (int iDone = 0; iDone < 1 << 22; iDone += iBlock) {
            calc.runIterations(iBlock);
            if (state.range(0)) reportProgress(iDone, 1 << 30);
        }
    }
    clearProgressLine();  // while standard error is still thrown away: none at exit either
    state.counters["time/iteration"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * (1 << 22),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ProgressCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One progress report, as made after every block of iterations: the clock, and a line on
// standard error a few times a second.
void BM_ProgressReport(benchmark::State& state) {
    CQuietStderr quiet;
    watchProgress();
    int iDone = 0;
    for (auto _ : state) reportProgress(iDone++ & 0xffff, 1 << 30);
    clearProgressLine();
}
BENCHMARK(BM_ProgressReport);

// Every pixel hit, counts spread over six decades as in a long run.
void fillDenseHits(screen& picture) {
    for (int i = 0; i < iScreenWidth; i++) {
        for (int j = 0; j < iScreenHight; j++) {
            const double dDecades = (i * 7919 + j * 104729) % 1000000 * 6e-6;  // 0 to 6
            picture.hits(i, j) = static_cast<int>(std::pow(10.0, dDecades));
        }
    }
    picture.iMaxHit = 1000000;
}

void BM_CalculateHitsToColour(benchmark::State& state) {
    CCalculation calc;
    fillDenseHits(calc.picture());
    calc.iColourType = static_cast<int>(state.range(0));
    for (auto _ : state) calc.calculateHitsToColour(iScreenWidth, iScreenHight);
    benchmark::DoNotOptimize(calc.picture().colour(400, 400)[0]);
}
BENCHMARK(BM_CalculateHitsToColour)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);

bool openGlWindow() {
    static int iState = 0;  // 0: not tried, 1: open, -1: no display
    if (iState != 0) return iState > 0;
    Display* pDisplay = XOpenDisplay(nullptr);  // asked first: glutInit exits without a display
    iState = pDisplay ? 1 : -1;
    if (!pDisplay) return false;
    XCloseDisplay(pDisplay);
    int argc = 1;
    char sName[] = "bench";
    char* argv[] = {sName, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    glutInitWindowSize(iScreenWidth, iScreenHight);
    glutCreateWindow("bench");
    glMatrixMode(GL_PROJECTION);
    gluOrtho2D(0, iScreenWidth, 0, iScreenHight);  // one unit a pixel, as in the viewer
    return true;
}

// One redraw of the 800 x 800 points, finished by the GL implementation.
void BM_DrawScreen(benchmark::State& state) {
    if (!openGlWindow()) {
        state.SkipWithError("no X display: run under xvfb-run (make bench does)");
        return;
    }
    CCalculation calc;
    fillDenseHits(calc.picture());
    calc.iColourType = 4;
    calc.calculateHitsToColour(iScreenWidth, iScreenHight);
    std::vector<unsigned char> vBytes;  // kept between redraws, as the window keeps them
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        drawScreen(calc.picture(), vBytes);
        glFinish();
    }
}
BENCHMARK(BM_DrawScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps the console report and, at the end, prints the loop's cost against the reference.
class CTableReporter : public benchmark::ConsoleReporter {
public:
    CTableReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {  // the median where runs are repeated, else the one run
            const bool bAggregate = run.run_type == Run::RT_Aggregate;
            if (run.error_occurred || (bAggregate && run.aggregate_name != "median")) continue;
            if (!bAggregate && run.repetitions > 1) continue;
            auto counter = run.counters.find("time/iteration");
            if (counter == run.counters.end()) counter = run.counters.find("time/draw");
            dNanoseconds[run.run_name.str()] =
                counter != run.counters.end()
                    ? counter->second.value * 1e9
                    : run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) *
                          1e9;
        }
    }

    void printRatios() const {
        double dRealSum = 0, dReferenceSum = 0;
        std::printf("\n| pattern | loop ns/iteration | reference ns/iteration | ratio |\n");
        std::printf("|---:|---:|---:|---:|\n");
        for (int iPattern = 1; iPattern <= iReferencePatterns; iPattern++) {
            const std::string sArg = "/" + std::to_string(iPattern);
            const auto real = dNanoseconds.find("BM_ActualCalculate" + sArg);
            const auto reference = dNanoseconds.find("BM_ReferenceLoop" + sArg);
            if (real == dNanoseconds.end() || reference == dNanoseconds.end()) continue;
            dRealSum += real->second;
            dReferenceSum += reference->second;
            std::printf("| %d | %.1f | %.1f | %.2f |\n", iPattern, real->second, reference->second,
                        real->second / reference->second);
        }
        if (dReferenceSum > 0)
            std::printf("| sum | %.1f | %.1f | %.3f |\n", dRealSum, dReferenceSum,
                        dRealSum / dReferenceSum);

        bool bCycleHeader = false;
        for (int iPattern = 0; iPattern <= iPatternCount + 1; iPattern++) {
            const auto cycleRun = dNanoseconds.find("BM_CycleRun/" + std::to_string(iPattern));
            if (cycleRun == dNanoseconds.end()) continue;
            if (!bCycleHeader)
                std::printf("\n| pattern | run of 2147483647 iterations, µs |\n|---:|---:|\n");
            bCycleHeader = true;
            std::printf("| %d | %.1f |\n", iPattern, cycleRun->second / 1e3);
        }

        const auto library = dNanoseconds.find("BM_LibraryRand");
        const auto generator = dNanoseconds.find("BM_GeneratorDraw");
        if (library != dNanoseconds.end() && generator != dNanoseconds.end())
            std::printf("\none draw: rand() %.2f ns, the viewer's generator %.2f ns: %.1f x\n",
                        library->second, generator->second, library->second / generator->second);
        const auto jump = dNanoseconds.find("BM_GeneratorJump");
        if (jump != dNanoseconds.end() && generator != dNanoseconds.end())
            std::printf("a jump over %llu draws: %.2f us, drawing them %.2f s\n", uJump,
                        jump->second / 1e3, generator->second * uJump / 1e9);

        const auto report = dNanoseconds.find("BM_ProgressReport");
        const auto pattern1 = dNanoseconds.find("BM_ActualCalculate/1");
        if (report != dNanoseconds.end() && pattern1 != dNanoseconds.end())
            std::printf("\nprogress report: %.0f ns per block of %d iterations, %.4f %% of the "
                        "block's time at pattern 1\n",
                        report->second, iBlock, 100 * report->second / (iBlock * pattern1->second));
    }

private:
    std::map<std::string, double> dNanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
    registerLoopPairs();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CTableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
