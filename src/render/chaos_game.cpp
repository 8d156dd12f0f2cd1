#include "render/chaos_game.h"

#include "genome/filter.h"
#include "variations/table.h"

#include <algorithm>
#include <cmath>

CChaosGame::SPrepared CChaosGame::prepare(const SXform& xform, bool bPlotted) {
    SPrepared prepared;
    prepared.coefs = xform.coefs;
    prepared.post = xform.post;
    prepared.bPost = xform.post != std::array<double, 6>{1, 0, 0, 1, 0, 0};
    prepared.dColor = xform.dColor;
    prepared.dSpeed = xform.dColorSpeed;
    // opacity^(log2 10) = 10^(log2 opacity): half the opacity, a tenth of the weight.
    prepared.dPlotWeight = bPlotted && xform.dOpacity > 0 ? std::pow(xform.dOpacity,
                                                                     std::log2(10.0)) : 0;
    prepared.dOpacity = xform.dOpacity;
    prepared.parameters = xform.parameters;
    for (int i = 0; i < iVariationCount; i++) {
        if (xform.variations[i] == 0) continue;
        const SVariation& variation = variationOf(i);
        const int iFirst = firstParameter(i);
        const CConstants constants =
            variation.pfPrepare ? variation.pfPrepare(xform.parameters.data() + iFirst,
                                                      xform.coefs.data())
                                : CConstants{};
        std::vector<SActive>& vList =
            variation.eApplied == eMovesPoint ? prepared.vMoving : prepared.vActive;
        vList.push_back({i, xform.variations[i], iFirst, constants});
    }
    return prepared;
}

namespace {

// What a plot of palette colour (r, g, b, α) at plot weight ω adds: ω·(r, g, b, α, 1), in the
// histogram's fixed point.
SBucket addOf(const SColour& colour, double dWeight) {
    const auto fixed = [&](double d) {
        return static_cast<uint64_t>(std::llround(std::max(0.0, d) * dWeight * dBucketUnit));
    };
    return {fixed(colour.dRed), fixed(colour.dGreen), fixed(colour.dBlue), fixed(colour.dAlpha),
            fixed(1)};
}

}  // namespace

CChaosGame::CChaosGame(const SGenome& genome)
    : bFinal(genome.bFinalXform), view(genome), ePaletteMode(genome.ePaletteMode),
      palette(genome.palette) {
    const int iXforms = static_cast<int>(genome.vXforms.size());
    for (int j = 0; j < iXforms; j++) {
        const bool bSolo = genome.iSoloXform < 0 || genome.iSoloXform == j;
        vXforms.push_back(prepare(genome.vXforms[j], bSolo));
    }
    if (bFinal) finalXform = prepare(genome.finalXform, false);
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
    if (ePaletteMode == ePaletteStep)
        for (const SPrepared& xform : vXforms)
            for (const SColour& colour : palette)
                vStepAdds.push_back(addOf(colour, xform.dPlotWeight));
}

// The first xform whose cumulative weight in the row exceeds dUniform of the row's total. A
// short row is counted without branches: a random choice is a branch no processor predicts.
int CChaosGame::choose(int iPrevious, double dUniform) const {
    const double* pRow = &vCumulative[static_cast<size_t>(iPrevious + 1) * iRowLength];
    const double dTarget = dUniform * pRow[iRowLength - 1];
    int j = 0;
    if (iRowLength <= 16) {
        for (int k = 0; k < iRowLength; k++) j += pRow[k] <= dTarget;
    } else {
        j = static_cast<int>(std::upper_bound(pRow, pRow + iRowLength, dTarget) - pRow);
    }
    return j < iRowLength ? j : vLastChoosable[iPrevious + 1];
}

// Adds the part of each variation that moves the point to the pre-affine point (tx, ty)
// itself, all worked out from the point as it came: the moved point is then what r, θ, φ and
// every summed variation see. Called through the row's pointer: such rows are rare, and a
// second inlined copy of every formula would only crowd the loop.
void CChaosGame::movePoint(const SPrepared& xform, double& tx, double& ty,
                           CBatchRandom& random) {
    CVariationInput in(tx, ty);
    SVariationCall call{in, random, xform.coefs.data()};
    for (const SActive& active : xform.vMoving) {
        call.w = active.dWeight;
        call.p = xform.parameters.data() + active.iFirstParameter;
        call.k = active.constants.data();
        variationOf(active.iVariation).pfFormula(call);
    }
    tx += call.dX;
    ty += call.dY;
}

// Colour blend, pre-affine, the variations that move its point, those summed, post-affine.
// Flattened: with flam3's 99 formulas the compiler's inlining budget runs out before callFormula
// has inlined them all, and a formula left as a call costs several percent.
[[gnu::flatten]] void CChaosGame::apply(const SPrepared& xform, double& x, double& y,
                                        double& c, CBatchRandom& random) const {
    c = xform.dSpeed * xform.dColor + (1 - xform.dSpeed) * c;
    const std::array<double, 6>& a = xform.coefs;
    double tx = a[0] * x + a[2] * y + a[4];
    double ty = a[1] * x + a[3] * y + a[5];
    if (!xform.vMoving.empty()) movePoint(xform, tx, ty, random);
    CVariationInput in(tx, ty);
    SVariationCall call{in, random, a.data()};
    for (const SActive& active : xform.vActive) {
        call.w = active.dWeight;
        call.p = xform.parameters.data() + active.iFirstParameter;
        call.k = active.constants.data();
        variation::callFormula(active.iVariation, call);
    }
    if (xform.bPost) {
        const std::array<double, 6>& p = xform.post;
        x = p[0] * call.dX + p[2] * call.dY + p[4];
        y = p[1] * call.dX + p[3] * call.dY + p[5];
    } else {
        x = call.dX;
        y = call.dY;
    }
}

namespace {

bool isBad(double d) { return !(std::fabs(d) <= 1e10); }  // NaN too

}  // namespace

// The plot of point (x, y), colour c, after xform iXform: false when it has no weight or falls
// outside the grid.
bool CChaosGame::plotOf(double x, double y, double c, int iXform, SPlot& plot) const {
    const double dWeight = vXforms[iXform].dPlotWeight;
    if (dWeight == 0) return false;
    if (!view.bucketOf(x, y, plot.uBucket)) return false;
    // The palette entry of c: trunc(256·c), clamped; in linear mode blended with the next one.
    const double dIndex = 256 * c;
    const int iIndex = !(dIndex > 0) ? 0 : dIndex >= 255 ? 255 : static_cast<int>(dIndex);
    if (ePaletteMode == ePaletteStep) {
        plot.add = vStepAdds[static_cast<size_t>(iXform) * iPaletteSize + iIndex];
        return true;
    }
    const double dTrunc = std::trunc(dIndex);  // −0.5 blends entries 0 and 1, as in flam3
    if (!(dTrunc >= 0 && dTrunc < 255)) {
        plot.add = addOf(palette[iIndex], dWeight);
        return true;
    }
    const double f = dIndex - dTrunc;
    const SColour& from = palette[iIndex];
    const SColour& to = palette[iIndex + 1];
    plot.add = addOf({from.dRed + f * (to.dRed - from.dRed),
                      from.dGreen + f * (to.dGreen - from.dGreen),
                      from.dBlue + f * (to.dBlue - from.dBlue),
                      from.dAlpha + f * (to.dAlpha - from.dAlpha)}, dWeight);
    return true;
}

// One batch's walk through the chaos game: where it stands and what it has plotted.
struct CChaosGame::SWalk {
    SWalk(uint64_t uSeed, SBatchJob& job_)
        : job(job_), random(uSeed, job_.uBatch), x(random.symmetric()), y(random.symmetric()),
          c(random.uniform()) {}
    SBatchJob& job;
    CBatchRandom random;
    double x, y, c;
    int iPrevious = -1, iBadInARow = 0, iDone = -iFuseIterations;
};

// One iteration of a walk; false once it has all its samples.
template <class FSample>
bool CChaosGame::step(SWalk& walk, const FSample& onSample) const {
    if (walk.iDone >= walk.job.iSamples) return false;
    const int j = choose(walk.iPrevious, walk.random.uniform());
    double nx = walk.x, ny = walk.y, nc = walk.c;
    apply(vXforms[j], nx, ny, nc, walk.random);
    // A bad result becomes a random point: tried again four times, the fifth one kept.
    bool bRandom = false;
    if (isBad(nx) || isBad(ny)) {
        walk.job.iBadValues++;
        nx = walk.random.symmetric();
        ny = walk.random.symmetric();
        if (++walk.iBadInARow < 5) {
            walk.x = nx, walk.y = ny, walk.c = nc;
            return true;
        }
        bRandom = true;
    }
    walk.iBadInARow = 0;
    walk.x = nx, walk.y = ny, walk.c = nc;
    walk.iPrevious = j;
    if (walk.iDone++ < 0) return true;
    // The final xform colours and places the plot only; the walk goes on unchanged.
    if (bFinal && (finalXform.dOpacity == 1 || walk.random.uniform() < finalXform.dOpacity)) {
        apply(finalXform, nx, ny, nc, walk.random);
        bRandom = false;
        if (isBad(nx) || isBad(ny)) {
            walk.job.iBadValues++;
            nx = walk.random.symmetric();
            ny = walk.random.symmetric();
            bRandom = true;
        }
    }
    onSample(nx, ny, nc, j, bRandom);
    return true;
}

bool CChaosGame::step(SWalk& walk) const {
    return step(walk, [&](double x, double y, double c, int j, bool) {
        if (plotOf(x, y, c, j, (*walk.job.pPlots)[walk.job.iPlots])) walk.job.iPlots++;
    });
}

// Walks two batches at once, a step of each in turn: each is the walk it would be alone, but
// the processor overlaps the two chains of dependent arithmetic, where one would leave it
// waiting on the last result.
void CChaosGame::runBatches(uint64_t uSeed, SBatchJob* pJobs, int iJobs) const {
    for (int k = 0; k < iJobs; k += 2) {
        SWalk first(uSeed, pJobs[k]);
        if (k + 1 == iJobs) {
            while (step(first)) {}
            return;
        }
        SWalk second(uSeed, pJobs[k + 1]);
        while (step(first) & step(second)) {}
        while (step(first) || step(second)) {}
    }
}

int CChaosGame::runBatch(uint64_t uSeed, uint64_t uBatch, int iSamples, std::vector<SPlot>& vPlots,
                         SBatchCounts& counts) const {
    SBatchJob job = {uBatch, iSamples, &vPlots, 0, 0};
    runBatches(uSeed, &job, 1);
    counts.iBadValues += job.iBadValues;
    return job.iPlots;
}

void CChaosGame::runBatchPoints(uint64_t uSeed, uint64_t uBatch, int iSamples,
                                std::vector<SWorldPoint>& vPoints, SBatchCounts& counts) const {
    SBatchJob job = {uBatch, iSamples, nullptr, 0, 0};
    SWalk walk(uSeed, job);
    vPoints.clear();
    const auto keep = [&](double x, double y, double, int j, bool bRandom) {
        if (!bRandom && vXforms[j].dPlotWeight != 0) vPoints.push_back({x, y});
    };
    while (step(walk, keep)) {}
    counts.iBadValues += job.iBadValues;
}
