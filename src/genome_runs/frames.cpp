#include "genome_runs/frames.h"

#include "animation/interpolation.h"
#include "animation/keyframes.h"
#include "animation/loops.h"
#include "animation/motion_blur.h"
#include "app/genome_choice.h"
#include "base/exit_status.h"
#include "genome/genome_check.h"
#include "pictures/whole_file.h"

namespace {

bool said(std::ostream& err, const std::string& sError, int iCode, int& iStatus) {
    err << "flames: " << sError << std::endl;
    iStatus = iCode;
    return false;
}

// The flames the keyframes are made of: all of the file's, or the one --pick names for a loop.
bool readFlames(const SOptions& options, std::vector<SGenome>& vGenomes, std::ostream& err,
                int& iStatus) {
    CFlameFile file;
    std::string sError;
    if (!loadGenomeFile(options.sGenomePath, file, sError, options.bLenient))
        return said(err, sError, iWorkFailed, iStatus);
    const bool bOne = options.iLoopFrames.has_value();
    const int iFirst = bOne ? options.iPick.value_or(1) : 1;
    const int iLast = bOne ? iFirst : file.count();
    SOptions asRead = options;  // each flame as the file has it: the options come after
    asRead.size.reset();
    asRead.dQuality.reset();
    for (int iPick = iFirst; iPick <= iLast; iPick++) {
        SGenomeChoice choice;
        if (!pickGenomeOf(file, asRead, iPick, choice, sError))
            return said(err, sError, iWorkFailed, iStatus);
        sayDropped(options, choice, err);
        vGenomes.push_back(choice.genome);
    }
    return true;
}

// Keyframes of a file as flam3 reads them: their times in order and apart; a smooth segment
// where a curve cannot be drawn said, a line each, and drawn as a line, as flam3 draws it.
bool settledKeyframes(const SOptions& options, std::vector<SGenome>& vKeys, std::ostream& err,
                      int& iStatus) {
    const std::string sTimes = keyframeTimesProblem(vKeys);
    if (!sTimes.empty())
        return said(err, pathError(options.sGenomePath, sTimes), iWorkFailed, iStatus);
    for (const std::string& sProblem : smoothProblems(vKeys))
        err << "flames: " << pathError(options.sGenomePath, sProblem)
            << ": drawn linear, as flam3 draws it" << std::endl;
    settleKeyframes(vKeys);
    return true;
}

}  // namespace

bool chooseKeyframes(const SOptions& options, SKeyframes& keys, std::ostream& err, int& iStatus) {
    std::vector<SGenome> vGenomes;
    if (!readFlames(options, vGenomes, err, iStatus)) return false;
    if (options.iLoopFrames || options.iSequenceFrames) {
        keys.keys = sequenceOf(std::move(vGenomes), options.iLoopFrames ? *options.iLoopFrames
                                                                        : *options.iSequenceFrames);
    } else {
        if (!settledKeyframes(options, vGenomes, err, iStatus)) return false;
        keys.keys = CKeyframes(std::make_shared<const std::vector<SGenome>>(std::move(vGenomes)));
    }
    if (options.size || options.dQuality)
        keys.keys = keys.keys.changed(
            [size = options.size, dQuality = options.dQuality](SGenome& key) {
                if (size) key = resizedGenome(key, size->iWidth, size->iHeight);
                if (dQuality) key.dQuality = *dQuality;
            });
    keys.sSource = options.sGenomePath;
    return true;
}

bool frameTimes(const SOptions& options, const SKeyframes& keys, SFrameRange& frames,
                std::string& sError) {
    const SFrameRange range = defaultFrames(keys.keys);
    const SFrameSpan span = options.frames.value_or(SFrameSpan());
    const long long iFirst = span.iFirst.value_or(range.iFirst);
    const long long iLast = span.iLast.value_or(range.iLast);
    if (iFirst > iLast) {
        sError = "--frames: frames " + std::to_string(iFirst) + " to " + std::to_string(iLast) +
                 " are none (the keyframes' own range is " + std::to_string(range.iFirst) +
                 " to " + std::to_string(range.iLast) + ")";
        return false;
    }
    frames = {iFirst, iLast, span.iStep};
    return true;
}

std::string frameProblem(const SKeyframes& keys, double dTime) {
    const SGenome genome = genomeAt(keys.keys, dTime);
    std::string sError;
    if (!checkGenome(genome, sError)) return sError;
    const double dMoments = static_cast<double>(genome.iTemporalSamples) * genome.iPasses;
    if (genome.iTemporalSamples < 1 || dMoments > iMostMoments)
        return "temporal_samples " + std::to_string(genome.iTemporalSamples) +
               ": a frame is drawn at 1 to " + std::to_string(iMostMoments) + " moments";
    return "";
}
