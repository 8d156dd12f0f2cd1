#include "genome_runs/strip_save.h"

#include "files/genome_file.h"
#include "genome/genome_check.h"
#include "pictures/whole_file.h"
#include "render/render.h"
#include "render/strips.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr double dMiB = 1 << 20;

std::string mebibytes(double dBytes) {
    char cText[32];
    std::snprintf(cText, sizeof cText, "%.0f MiB", std::ceil(dBytes / dMiB));
    return cText;
}

std::string pictureOf(const SGenome& genome) {
    return "the " + std::to_string(genome.iWidth) + " x " + std::to_string(genome.iHeight) +
           " picture at supersample " + std::to_string(genome.iSupersample);
}

}  // namespace

int stripsFor(const SOptions& options, const SRenderPlan& plan, int iThreads, std::string& sNote,
              std::string& sError, int& iStatus) {
    const SGenome& picture = plan.picture;
    std::string sProblem;
    if (!checkGenome(picture, sProblem)) return 1;
    if (options.iStrips) {
        if (*options.iStrips <= picture.iHeight) return *options.iStrips;
        sError = "--strips " + std::to_string(*options.iStrips) + ": more strips than the " +
                 std::to_string(picture.iHeight) + " rows of the picture";
        iStatus = 2;
        return 0;
    }
    const double dWhole = dProgramBytes + renderBytesOf(plan, iThreads, {0, picture.iHeight});
    const bool bBound = options.iMemoryMiB.has_value();
    const double dBound = bBound ? static_cast<double>(*options.iMemoryMiB) * dMiB
                                 : availableBytes();
    if (dWhole <= dBound) return 1;
    long long iLeastMiB = 0;
    const int iStrips = stripsWithin(plan, iThreads, dBound, iLeastMiB);
    const std::string sWithin =
        bBound ? "--memory " + std::to_string(*options.iMemoryMiB)
               : "the " + mebibytes(dBound) + " of memory available";
    if (iStrips == 0) {
        sError = sWithin + ": too little for " + pictureOf(picture) +
                 ": a strip of one row needs " + std::to_string(iLeastMiB) + " MiB";
        iStatus = 1;
        return 0;
    }
    sNote = pictureOf(picture) + " needs about " + mebibytes(dWhole) + " in one piece: drawn in " +
            std::to_string(iStrips) + " strips to stay within " + sWithin;
    return iStrips;
}

// Strip after strip, each rendered in slices, then its rows written and its buckets let go
// before the next is made.
bool saveInStrips(const std::string& sPath, const SRenderPlan& plan, unsigned int uSeed,
                  int iThreads, int iStrips, long long iSamplesLimit,
                  const std::function<void(const SSlicedWork&)>& progress, std::string& sError) {
    const SGenome& picture = plan.picture;
    CPictureRowsFile file(sPath);
    std::unique_ptr<CGenomeRender> pRender;
    std::string sReason;
    int iStrip = 0;
    long long iStripSamples = 0;
    const auto startStrip = [&] {
        pRender = std::make_unique<CGenomeRender>(plan, uSeed, iThreads,
                                                  stripRows(picture.iHeight, iStrips, iStrip));
        if (iSamplesLimit >= 0) pRender->limitSamples(iSamplesLimit);
        iStripSamples = pRender->samplesTotal();
        sReason = pRender->error();
    };
    const auto endStrip = [&] {
        if (iStrip == 0)
            file.begin(picture.iWidth, picture.iHeight, genomePictureTexts(*pRender, uSeed),
                       iThreads > 1);
        if (!pRender->writeImage([&](int, const unsigned char* pRgb) { file.row(pRgb); }))
            sReason = "the render was stopped while its picture was written";
        pRender.reset();
        if (++iStrip < iStrips && sReason.empty()) startStrip();
    };
    startStrip();
    const SSlicedWork work = {
        [&] {
            if (!sReason.empty() || iStrip == iStrips) return false;
            if (!pRender->continueRender(std::chrono::milliseconds(250))) endStrip();
            return sReason.empty() && iStrip < iStrips;
        },
        [&] { return iStrip * iStripSamples + (pRender ? pRender->samplesDone() : 0); },
        [&] { return iStrips * iStripSamples; }};
    if (sReason.empty()) progress(work);
    if (!sReason.empty()) {
        sError = pathError(sPath, sReason);
        return false;
    }
    return file.finish(sError);
}
