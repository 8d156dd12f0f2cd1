#include "genome_runs/state_run.h"

#include "app/genome_choice.h"
#include "app/run_choice.h"
#include "base/exit_status.h"
#include "base/number_text.h"
#include "files/genome_file.h"
#include "files/picture_file.h"
#include "files/render_state.h"
#include "pictures/whole_file.h"
#include "render/render.h"
#include "runs/progress.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <memory>
#include <vector>

namespace {

constexpr int iStopSignals[] = {SIGINT, SIGTERM};

int failed(const std::string& sError) {
    std::cerr << "flames: " << sError << std::endl;
    return iWorkFailed;
}

// The render a signal stops, and the signal; the handler only sets atomics that need no lock.
std::atomic<CGenomeRender*> pStoppable{nullptr};
volatile std::sig_atomic_t iStopSignal = 0;
static_assert(std::atomic<bool>::is_always_lock_free &&
              std::atomic<uint64_t>::is_always_lock_free &&
              std::atomic<CGenomeRender*>::is_always_lock_free);

extern "C" void stopRender(int iSignal) {
    iStopSignal = iSignal;
    if (CGenomeRender* pRender = pStoppable.load()) pRender->stop();
}

// While it lives, SIGINT and SIGTERM stop the render instead of the process, so that its state
// can be written; a signal that was ignored stays ignored (a run under nohup).
class CStopBySignal {
public:
    explicit CStopBySignal(CGenomeRender& render) {
        pStoppable = &render;
        struct sigaction action {};
        action.sa_handler = stopRender;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < std::size(iStopSignals); i++) {
            sigaction(iStopSignals[i], nullptr, &previous[i]);
            if (previous[i].sa_handler != SIG_IGN) sigaction(iStopSignals[i], &action, nullptr);
        }
    }
    ~CStopBySignal() {
        for (size_t i = 0; i < std::size(iStopSignals); i++)
            sigaction(iStopSignals[i], &previous[i], nullptr);
        pStoppable = nullptr;
    }
    CStopBySignal(const CStopBySignal&) = delete;
    CStopBySignal& operator=(const CStopBySignal&) = delete;

private:
    struct sigaction previous[std::size(iStopSignals)];
};

// The genome and seed of the states, each checked against the first; with --quality, that
// quality, never below theirs.
bool readStates(const SOptions& options, std::vector<std::unique_ptr<CStateReader>>& vReaders,
                SGenomeChoice& choice, std::string& sError) {
    for (const std::string& sPath : options.vResumePaths) {
        vReaders.push_back(std::make_unique<CStateReader>());
        if (!vReaders.back()->open(sPath, sError)) return false;
        std::string sReason;
        for (size_t k = 0; k + 1 < vReaders.size() && sReason.empty(); k++)
            sReason = stateMismatch(vReaders[k]->state(), vReaders.back()->state());
        if (!sReason.empty()) {
            sError = pathError(sPath, sReason);
            return false;
        }
    }
    const SRenderState& first = vReaders.front()->state();
    choice.genome = first.genome;
    choice.uSeed = first.uSeed;
    choice.sFile = options.vResumePaths.front();
    if (!options.dQuality) return true;
    if (*options.dQuality < first.genome.dQuality) {
        sError = pathError(choice.sFile, "drawn at quality " + shortest(first.genome.dQuality) +
                                             ", more than --quality asks");
        return false;
    }
    choice.genome.dQuality = *options.dQuality;
    return true;
}

// The states' buckets into the render, and their batches carried in; a last batch drawn at a
// lower quality grown to its samples here.
bool carryStatesIn(std::vector<std::unique_ptr<CStateReader>>& vReaders, CGenomeRender& render,
                   std::string& sError) {
    CBatchSet in;
    uint64_t uShortBatch = 0;
    int iShortSamples = 0;
    for (const std::unique_ptr<CStateReader>& pReader : vReaders) {
        const SRenderState& state = pReader->state();
        in.add(state.batches);
        const uint64_t uLast = static_cast<uint64_t>((state.iSamples - 1) / iBatchSamples);
        if (state.iSamples < render.samplesTotal() && state.batches.contains(uLast)) {
            uShortBatch = uLast;
            iShortSamples = static_cast<int>(state.iSamples -
                                             static_cast<int64_t>(uLast) * iBatchSamples);
        }
    }
    render.carryIn(in, uShortBatch, iShortSamples);
    for (const std::unique_ptr<CStateReader>& pReader : vReaders)
        if (!pReader->addInto(render.bucketsToFill(), sError)) return false;
    return true;
}

// How to go on with a render that was stopped.
std::string goOnLine(const SOptions& options) {
    std::string sLine = "flames --resume " + options.sSaveStatePath + " --save-state " +
                        options.sSaveStatePath;
    if (options.part)
        sLine += " --part " + std::to_string(options.part->iPart) + "/" +
                 std::to_string(options.part->iParts);
    if (!options.sSavePath.empty()) sLine += " --save " + options.sSavePath;
    return sLine;
}

// The render's batches run with the progress shown, until all are in or a signal stops it;
// whether it was stopped.
bool runStoppably(CGenomeRender& render) {
    const long long iAtStart = render.samplesDone();
    watchProgressOnTerminal();
    workWithProgress(
        {[&render] {
             return iStopSignal == 0 && render.continueRender(std::chrono::milliseconds(250));
         },
         [&render, iAtStart] { return static_cast<long long>(render.samplesDone()) - iAtStart; },
         [&render, iAtStart] { return static_cast<long long>(render.samplesTotal()) - iAtStart; }});
    return iStopSignal != 0;
}

// Where the state and the picture go, found before the render, not after it.
bool checkTargets(const SOptions& options, std::string& sError) {
    if (!options.sSavePath.empty() && !checkSavable(options.sSavePath, sError)) return false;
    if (options.sSaveStatePath.empty()) return true;
    std::string sReason;
    savingTarget(options.sSaveStatePath, sReason);
    if (sReason.empty()) return true;
    sError = pathError(options.sSaveStatePath, sReason);
    return false;
}

}  // namespace

int renderKeepingState(const SOptions& options) {
    std::string sError;
    if (!checkTargets(options, sError)) return failed(sError);
    std::vector<std::unique_ptr<CStateReader>> vReaders;
    SGenomeChoice choice;
    std::string sSource;
    if (!options.vResumePaths.empty()) {
        if (!readStates(options, vReaders, choice, sError)) return failed(sError);
        sSource = choice.sFile;
    } else {
        SDrawn drawn;
        const EChosen chosen =
            chooseDrawn(options, eAnswersAsGiven, std::cin, std::cout, std::cerr, drawn);
        if (chosen != EChosen::eChosen) return statusOf(chosen);
        if (!drawn.bGenome)
            return failed(options.sLoadPath + ": keeps no genome to keep a state of");
        choice = drawn.genome;
        sSource = sourceOf(options, choice);
        if (choice.iSamplesDone >= 0)
            return failed(sSource + ": a picture saved part way: its render has no state to keep");
    }
    if (choice.genome.iPasses != 1)
        return failed(sSource + ": drawn in " + std::to_string(choice.genome.iPasses) +
                      " passes: a state is kept of a render in one");
    if (!genomeKeepable(choice.genome, sError)) return failed(sSource + ": " + sError);
    CGenomeRender render(choice.genome, choice.uSeed, threadsSaid(options, std::cerr));
    if (!render.error().empty()) return failed(sSource + ": " + render.error());
    if (!vReaders.empty() && !carryStatesIn(vReaders, render, sError)) return failed(sError);
    if (options.part)
        render.drawOnly(CBatchSet::share(options.part->iPart, options.part->iParts,
                                         render.batchCount()));
    // From here on a signal stops the render, not the process.
    std::unique_ptr<CStopBySignal> pStop;
    if (!options.sSaveStatePath.empty()) pStop = std::make_unique<CStopBySignal>(render);
    sayCalculating(std::cout);
    const bool bStopped = runStoppably(render);
    pStop.reset();
    if (bStopped) {
        clearProgressLine();
        if (!saveRenderState(options.sSaveStatePath, render, choice.uSeed, sError))
            return failed(sError);
        return failed("stopped: the render so far is in " + options.sSaveStatePath +
                      ", and no picture was written; to go on: " + goOnLine(options));
    }
    if (!options.sSaveStatePath.empty() &&
        !saveRenderState(options.sSaveStatePath, render, choice.uSeed, sError))
        return failed(sError);
    if (!options.sSavePath.empty() &&
        !saveGenomePicture(options.sSavePath, render, choice.uSeed, sError,
                           pictureFormatOf(options, options.sSavePath, &choice)))
        return failed(sError);
    return 0;
}
