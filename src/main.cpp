// The viewer's entry: the command line; what to draw, from the dialogue, the command line, a
// genome file or a saved picture; then either the picture computed and written to a PNG file
// (or only the genome, to a genome file), or the GLUT window, which computes it between its
// events and redraws it. A genome file's keyframes, a flame's loop or a file's sequence are
// animated instead: their frames drawn each to its own file, blurred in time, or played in the
// window.

#include "animation/interpolation.h"
#include "animation/motion_blur.h"
#include "app/console.h"
#include "app/run_choice.h"
#include "base/exit_status.h"
#include "base/number_text.h"
#include "cli/options.h"
#include "files/genome_file.h"
#include "files/picture_file.h"
#include "genome_runs/frame_list.h"
#include "genome_runs/frames.h"
#include "genome_runs/state_run.h"
#include "genome_runs/strip_save.h"
#include "render/render.h"
#include "runs/progress.h"
#include "runs/runner.h"
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

// The picture of a pattern or a flame, computed with its progress shown on a terminal: 8-bit
// RGB PNG, as its colourings are.
int savePattern(const SOptions& options, const SChoices& choices) {
    std::string sError;
    if (!pictureFormatOf(options, options.sSavePath).plain()) {
        failed(options.sLoadPath + ": keeps the run of a pattern or a flame, whose picture is an "
               "8-bit PNG: --depth, --transparent and OpenEXR (.exr) are for a genome's");
        return iUsageError;
    }
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

// The picture in strips, one after another, its progress shown as one piece of work.
int saveGenomeInStrips(const SGenomeChoice& choice, const SRenderPlan& plan,
                       const std::string& sPath, int iThreads, int iStrips) {
    sayCalculating(std::cout);
    if (!outputWritten()) return iWorkFailed;
    watchProgressOnTerminal();
    std::string sError;
    if (!saveInStrips(sPath, plan, choice.uSeed, iThreads, iStrips,
                      choice.iSamplesDone, workWithProgress, sError))
        return failed(sError);
    return 0;
}

// Strips write their rows as 8-bit RGB: a picture of another kind that would need them is
// refused rather than written as what was not asked for.
const char* const sStripsPlainOnly =
    "a picture in strips is an 8-bit RGB PNG: not 16 bits, alpha or OpenEXR";

// How many strips the picture is drawn in: 0, having said why, where it cannot be.
int stripsSaid(const SOptions& options, const SRenderPlan& plan, int iThreads, int& iStatus) {
    std::string sNote, sError;
    const int iStrips = stripsFor(options, plan, iThreads, sNote, sError, iStatus);
    if (iStrips == 0) failed(sError);
    if (iStrips == 0 || sNote.empty()) return iStrips;
    clearProgressLine();  // a frame's, between frames
    std::cerr << "flames: " << sNote << std::endl;
    return iStrips;
}

int saveGenome(const SOptions& options, const SGenomeChoice& choice, const std::string& sPath) {
    std::string sError;
    if (!genomeKeepable(choice.genome, sError))
        return failed(sourceOf(options, choice) + ": " + sError);
    SRenderPlan plan;
    if (!planOf(choice, plan, sError)) return failed(sourceOf(options, choice) + ": " + sError);
    const int iThreads = threadsSaid(options, std::cerr);
    int iStatus = 0;
    const int iStrips = stripsSaid(options, plan, iThreads, iStatus);
    if (iStrips == 0) return iStatus;
    if (iStrips > 1 && !pictureFormatOf(options, sPath, &choice).plain())
        return failed(sPath + ": " + sStripsPlainOnly);
    if (iStrips > 1) return saveGenomeInStrips(choice, plan, sPath, iThreads, iStrips);
    CGenomeRender render(plan, choice.uSeed, iThreads);
    if (!render.error().empty()) return failed(sourceOf(options, choice) + ": " + render.error());
    if (choice.iSamplesDone >= 0) render.limitSamples(choice.iSamplesDone);
    sayCalculating(std::cout);
    if (!outputWritten()) return iWorkFailed;
    watchProgressOnTerminal();
    workWithProgress(slicesOf(render));
    if (!saveGenomePicture(sPath, render, choice.uSeed, sError,
                           pictureFormatOf(options, sPath, &choice)))
        return failed(sError);
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
    if (!framePlan(keys.keys, dTime, plan, sError)) return failed(keys.sSource + ": " + sError);
    const unsigned int uFrameSeed = frameSeed(uSeed, dTime);
    int iStatus = 0;
    const int iStrips = stripsSaid(options, plan, threadsOf(options), iStatus);
    if (iStrips == 0) return iStatus;
    if (iStrips > 1 && !pictureFormatOf(options, sPath).plain())
        return failed(sPath + ": " + sStripsPlainOnly);
    if (iStrips > 1) {
        const auto progress = [&](const SSlicedWork& work) {
            frameWithProgress(work, static_cast<long long>(dTime), iNumber, iFrames);
        };
        if (!saveInStrips(sPath, plan, uFrameSeed, threadsOf(options), iStrips, -1, progress,
                          sError))
            return failed(sError);
        return 0;
    }
    CGenomeRender render(plan, uFrameSeed, threadsOf(options));
    if (!render.error().empty())
        return failed(keys.sSource + ": frame " + shortest(dTime) + ": " + render.error());
    frameWithProgress(slicesOf(render), static_cast<long long>(dTime), iNumber, iFrames);
    if (!saveGenomePicture(sPath, render, uFrameSeed, sError, pictureFormatOf(options, sPath)))
        return failed(sError);
    return 0;
}

// Every frame asked for, each to a picture of its own. The first iFramesCheckedFirst are
// checked before any is drawn, so that a run of them that cannot all be drawn writes none; those
// after, each as its turn comes (a range of a billion frames starts at once). A run stopped
// between frames leaves those done whole, and no part of the next.
int saveFrames(const SOptions& options, const SKeyframes& keys) {
    SFrameRange frames{0, 0, 1};
    std::string sError;
    if (!frameTimes(options, keys, frames, sError)) {
        failed(sError);
        return iUsageError;
    }
    const long long iFrames = options.dFrame ? 1 : frames.count();
    const auto timeOf = [&](long long i) {
        return options.dFrame ? *options.dFrame : static_cast<double>(frames.frame(i));
    };
    const auto problemOf = [&](long long i) {
        const std::string sProblem = frameProblem(keys, timeOf(i));
        return sProblem.empty() ? sProblem
                                : keys.sSource + ": frame " + shortest(timeOf(i)) + ": " + sProblem;
    };
    for (long long i = 0; i < std::min<long long>(iFrames, iFramesCheckedFirst); i++)
        if (const std::string sProblem = problemOf(i); !sProblem.empty()) return failed(sProblem);
    const auto pathOf = [&](long long i) {
        return options.dFrame ? options.sSavePath
                              : numberedPicture(options.sSavePath,
                                                static_cast<int>(frames.frame(i)));
    };
    if (!checkSavable(pathOf(0), sError)) return failed(sError);
    const unsigned int uSeed = options.bSeed ? options.uSeed
                                             : static_cast<unsigned int>(std::time(nullptr));
    threadsSaid(options, std::cerr);
    watchProgressOnTerminal();
    for (long long i = 0; i < iFrames; i++) {
        if (i >= iFramesCheckedFirst)
            if (const std::string sProblem = problemOf(i); !sProblem.empty())
                return failed(sProblem);
        if (const int iStatus = saveFrame(options, keys, timeOf(i), pathOf(i),
                                          static_cast<int>(i) + 1, static_cast<int>(iFrames),
                                          uSeed))
            return iStatus;
    }
    return 0;
}

// The genome of --frame's moment, or the keyframes of a loop or a sequence, as flam3-genome
// writes them, each made as it is written.
int writeAnimationGenome(const SOptions& options, const SKeyframes& keys) {
    std::string sError;
    const CKeyframes& frames = keys.keys;
    const bool bWritten =
        options.dFrame
            ? writeGenomeFile(options.sWriteGenomePath, genomeAt(frames, *options.dFrame), sError)
            : writeGenomesFile(options.sWriteGenomePath, frames.count(),
                               [&frames](int64_t k) {
                                   SGenome made;
                                   return SGenome(frames.key(k, made));
                               },
                               sError);
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
int drawAnimation(const SOptions& options) {
    if (options.sWriteGenomePath.empty() && options.sSavePath.empty())
        return showFramesInWindow(options);
    SKeyframes keys;
    int iStatus = 0;
    if (!chooseKeyframes(options, keys, std::cerr, iStatus)) return iStatus;
    if (!options.sWriteGenomePath.empty()) return writeAnimationGenome(options, keys);
    return saveFrames(options, keys);
}

// Memory a frame's genomes cannot have (thousands of xforms on a small machine) is said, not
// an abort: the frames done stay whole, the one under way leaves nothing.
int animate(const SOptions& options) {
    try {
        return drawAnimation(options);
    } catch (const std::bad_alloc&) {
        return failed(options.sGenomePath + ": not enough memory for its keyframes' genomes");
    }
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
    else if (keepsState(options)) return renderKeepingState(options);
    else if (!options.sSavePath.empty()) return saveWithoutWindow(options);
    else return showInWindow(options);
    return outputWritten() ? 0 : iWorkFailed;
}
