// The viewer's entry: the command line; what to draw, from the dialogue, the command line, a
// genome file or a saved picture; then either the picture computed and written to a PNG file
// (or only the genome, to a genome file), or the GLUT window, which computes it between its
// events and redraws it. A genome file's keyframes, a flame's loop or a file's sequence are
// animated instead: their frames drawn each to its own file, blurred in time, or played in the
// window.

#include "animation/interpolation.h"
#include "animation/motion_blur.h"
#include "app/console.h"
#include "app/frame_list.h"
#include "app/frames.h"
#include "cli/options.h"
#include "app/run_choice.h"
#include "files/genome_file.h"
#include "files/picture_file.h"
#include "render/render.h"
#include "runs/progress.h"
#include "runs/runner.h"
#include "base/number_text.h"
#include "text/text_forms.h"
#include "window/window.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <ctime>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int iWorkFailed = 1;  // exit status: a file, the display, an answer or the output failed
constexpr int iUsageError = 2;  // exit status: the command line was wrong

int failed(const std::string& sError) {
    std::cerr << "flames: " << sError << std::endl;
    return iWorkFailed;
}

// A script must not take a lost dialogue or help text for one that was read.
bool outputWritten() {
    const std::string sError = standardOutputError();
    if (!sError.empty()) failed("standard output: " + sError);
    return sError.empty();
}

// The exit status of a choice that was not made, which has said why.
int statusOf(EChosen chosen) { return chosen == EChosen::eFailed ? iWorkFailed : iUsageError; }

bool choose(const SOptions& options, EAnswers answers, SDrawn& drawn, int& iStatus) {
    const EChosen chosen = chooseDrawn(options, answers, std::cin, std::cout, std::cerr, drawn);
    iStatus = statusOf(chosen);
    return chosen == EChosen::eChosen;
}

// A render as work in slices for the progress line, a quarter of a second a slice: its samples
// are what it is made of.
SSlicedWork slicesOf(CGenomeRender& render) {
    return {[&render] { return render.continueRender(std::chrono::milliseconds(250)); },
            [&render] { return static_cast<long long>(render.samplesDone()); },
            [&render] { return static_cast<long long>(render.samplesTotal()); }};
}

std::string notEnoughMemory(int iWidth, int iHeight) {
    return "a picture of " + std::to_string(iWidth) + " x " + std::to_string(iHeight) +
           " pixels: not enough memory";
}

// The picture of a pattern or a flame, computed with its progress shown on a terminal.
int savePattern(const SOptions& options, const SChoices& choices) {
    std::string sError;
    try {
        CRunner runner(choices.run, threadsSaid(options, std::cerr));
        runner.calc().iColourType = choices.iColourType;
        sayCalculating(std::cout);
        if (!outputWritten()) return iWorkFailed;
        watchProgressOnTerminal();
        calculateWithProgress(runner);
        if (!savePicture(options.sSavePath, runner.calc(), runner.iterationsDone(), sError))
            return failed(sError);
    } catch (const std::bad_alloc&) {
        return failed(notEnoughMemory(choices.run.iWidth, choices.run.iHeight));
    }
    return 0;
}

int saveGenome(const SOptions& options, const SGenomeChoice& choice, const std::string& sPath) {
    std::string sError;
    if (!genomeKeepable(choice.genome, sError))
        return failed(sourceOf(options, choice) + ": " + sError);
    CGenomeRender render(choice.genome, choice.uSeed, threadsSaid(options, std::cerr));
    if (!render.error().empty()) return failed(sourceOf(options, choice) + ": " + render.error());
    if (choice.iSamplesDone >= 0) render.limitSamples(choice.iSamplesDone);
    sayCalculating(std::cout);
    if (!outputWritten()) return iWorkFailed;
    watchProgressOnTerminal();
    workWithProgress(slicesOf(render));
    if (!saveGenomePicture(sPath, render, choice.uSeed, sError)) return failed(sError);
    return 0;
}

// Every flame of the genome file, each to a picture of its own numbered as it is: one that
// cannot be drawn is said, and the others are drawn all the same.
int saveEveryGenome(const SOptions& options) {
    CFlameFile file;
    std::string sError;
    if (!loadGenomeFile(options.sGenomePath, file, sError, options.bLenient))
        return failed(sError);
    int iStatus = 0;
    for (int iPick = 1; iPick <= file.count(); iPick++) {
        SGenomeChoice choice;
        choice.uSeed = static_cast<unsigned int>(std::time(nullptr));
        const bool bPicked = pickGenomeOf(file, options, iPick, choice, sError);
        sayDropped(options, choice, std::cerr);
        iStatus = std::max(iStatus, bPicked ? saveGenome(options, choice,
                                                         numberedPicture(options.sSavePath, iPick))
                                            : failed(sError));
    }
    return iStatus;
}

// A place that cannot take the file is found before the questions, not after a long run; an
// answer that is not taken as given computes nothing, for a script would not hear of it.
int saveWithoutWindow(const SOptions& options) {
    std::string sError;
    if (!checkSavable(options.sSavePath, sError)) return failed(sError);
    if (options.bPickAll) return saveEveryGenome(options);
    SDrawn drawn;
    int iStatus = 0;
    if (!choose(options, eAnswersAsGiven, drawn, iStatus)) return iStatus;
    return drawn.bGenome ? saveGenome(options, drawn.genome, options.sSavePath)
                         : savePattern(options, drawn.choices);
}

// The genome as it would be drawn, and nothing drawn.
int writeGenomeOnly(const SOptions& options) {
    SDrawn drawn;
    int iStatus = 0;
    if (!choose(options, eAnswersAsGiven, drawn, iStatus)) return iStatus;
    std::string sError;
    if (!drawn.bGenome) return failed(options.sLoadPath + ": keeps no genome to write");
    if (!writeGenomeFile(options.sWriteGenomePath, drawn.genome.genome, sError))
        return failed(sError);
    return 0;
}

// One frame of the keyframes, blurred in time, to sPath: its genome and its own seed, made of
// the run's seed and the frame's time alone, kept in the picture as a still keeps them.
int saveFrame(const SOptions& options, const SKeyframes& keys, double dTime,
              const std::string& sPath, int iNumber, int iFrames, unsigned int uSeed) {
    SRenderPlan plan;
    std::string sError;
    if (!framePlan(keys.pKeys, dTime, plan, sError)) return failed(keys.sSource + ": " + sError);
    const unsigned int uFrameSeed = frameSeed(uSeed, dTime);
    CGenomeRender render(plan, uFrameSeed, threadsOf(options));
    if (!render.error().empty())
        return failed(keys.sSource + ": frame " + shortest(dTime) + ": " + render.error());
    frameWithProgress(slicesOf(render), static_cast<long long>(dTime), iNumber, iFrames);
    if (!saveGenomePicture(sPath, render, uFrameSeed, sError)) return failed(sError);
    return 0;
}

// Every frame asked for, each to a picture of its own. Each is checked before any is drawn, so
// that frames that cannot all be drawn write none; a run stopped between frames leaves those
// done whole, and no part of the next.
int saveFrames(const SOptions& options, const SKeyframes& keys) {
    std::vector<long long> vFrames;
    std::string sError;
    if (!frameTimes(options, keys, vFrames, sError)) {
        failed(sError);
        return iUsageError;
    }
    std::vector<double> vTimes(vFrames.begin(), vFrames.end());
    if (options.dFrame) vTimes = {*options.dFrame};
    for (double dTime : vTimes) {
        const std::string sProblem = frameProblem(keys, dTime);
        if (!sProblem.empty())
            return failed(keys.sSource + ": frame " + shortest(dTime) + ": " + sProblem);
    }
    const auto pathOf = [&](size_t i) {
        return options.dFrame ? options.sSavePath
                              : numberedPicture(options.sSavePath, static_cast<int>(vFrames[i]));
    };
    if (!checkSavable(pathOf(0), sError)) return failed(sError);
    const unsigned int uSeed = options.bSeed ? options.uSeed
                                             : static_cast<unsigned int>(std::time(nullptr));
    threadsSaid(options, std::cerr);
    watchProgressOnTerminal();
    for (size_t i = 0; i < vTimes.size(); i++)
        if (const int iStatus = saveFrame(options, keys, vTimes[i], pathOf(i),
                                          static_cast<int>(i) + 1,
                                          static_cast<int>(vTimes.size()), uSeed))
            return iStatus;
    return 0;
}

// The genome of --frame's moment, or the keyframes of a loop or a sequence, as flam3-genome
// writes them.
int writeAnimationGenome(const SOptions& options, const SKeyframes& keys) {
    std::string sError;
    const bool bWritten =
        options.dFrame
            ? writeGenomeFile(options.sWriteGenomePath, genomeAt(*keys.pKeys, *options.dFrame),
                              sError)
            : writeGenomesFile(options.sWriteGenomePath, *keys.pKeys, sError);
    return bWritten ? 0 : failed(sError);
}

// Their frames in the window, opened on the first, paused; Space plays them.
int showFramesInWindow(const SOptions& options) {
    std::string sError;
    if (!holdDisplay(options.sDisplay, sError)) return failed(sError);
    std::optional<CFrameList> frames;
    int iStatus = 0;
    if (!listFrames(options, frames, std::cerr, iStatus)) return iStatus;
    SGenomeChoice choice;  // the first frame's; n and p go on from the flame picked
    choice.genome = frames->genomeOf(0);
    choice.uSeed = options.bSeed ? options.uSeed : static_cast<unsigned int>(std::time(nullptr));
    choice.sFile = options.sGenomePath;
    choice.iPick = options.iPick.value_or(1);
    if (!openGenomeWindow(options.vGlutArgs, choice, options, threadsSaid(options, std::cerr),
                          sError, std::move(frames)))
        return failed(options.sGenomePath + ": " + sError);
    sayCalculating(std::cout);
    watchProgressOnTerminal();
    runInWindow();
}

// Keyframes, a loop or a sequence: their frames drawn, or a genome of them written; without
// either, shown in the window.
int animate(const SOptions& options) {
    if (options.sWriteGenomePath.empty() && options.sSavePath.empty())
        return showFramesInWindow(options);
    SKeyframes keys;
    int iStatus = 0;
    if (!chooseKeyframes(options, keys, std::cerr, iStatus)) return iStatus;
    if (!options.sWriteGenomePath.empty()) return writeAnimationGenome(options, keys);
    return saveFrames(options, keys);
}

int showGenomeInWindow(const SOptions& options, const SGenomeChoice& choice) {
    std::string sError;
    if (!openGenomeWindow(options.vGlutArgs, choice, options, threadsSaid(options, std::cerr),
                          sError))
        return failed(sourceOf(options, choice) + ": " + sError);
    sayCalculating(std::cout);
    watchProgressOnTerminal();
    runInWindow();
}

// The display is opened before the questions, so that nobody answers them for nothing.
int showInWindow(const SOptions& options) {
    std::string sError;
    if (!holdDisplay(options.sDisplay, sError)) return failed(sError);
    SDrawn drawn;
    int iStatus = 0;
    if (!choose(options, eAnswersAsTheyCome, drawn, iStatus)) return iStatus;
    if (drawn.bGenome) return showGenomeInWindow(options, drawn.genome);
    const SChoices& choices = drawn.choices;
    try {
        openWindow(options.vGlutArgs, choices.run, choices.iColourType, options.bLive,
                   threadsSaid(options, std::cerr));
    } catch (const std::bad_alloc&) {
        return failed(notEnoughMemory(choices.run.iWidth, choices.run.iHeight));
    }
    sayCalculating(std::cout);
    watchProgressOnTerminal();
    runInWindow();
}

}  // namespace

int main(int argc, char** argv) {
    SOptions options;
    std::string sError;
    if (!parseOptions(argc, argv, options, sError)) {
        std::cerr << "flames: " << sError << "; see 'flames --help'" << std::endl;
        return iUsageError;
    }
    if (!standardStreamsOpen()) return failed("standard output: " + std::string(strerror(EBADF)));
    std::signal(SIGPIPE, SIG_IGN);  // a pipe nobody reads is an output that failed: said, status 1
    watchStandardOutput();
    if (options.bHelp) std::cout << helpText();
    else if (options.bVersion) std::cout << sProgramVersion << std::endl;
    else if (animates(options)) return animate(options);
    else if (!options.sWriteGenomePath.empty()) return writeGenomeOnly(options);
    else if (!options.sSavePath.empty()) return saveWithoutWindow(options);
    else return showInWindow(options);
    return outputWritten() ? 0 : iWorkFailed;
}
