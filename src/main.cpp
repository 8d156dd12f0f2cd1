// The viewer's entry: the command line; the run, from the dialogue, the command line or a saved
// picture; then either the picture computed and written to a PNG file, or the GLUT window, which
// computes it between its events and redraws it.

#include "app/browse.h"
#include "app/console.h"
#include "app/dialogue.h"
#include "app/options.h"
#include "files/picture_file.h"
#include "runs/fit.h"
#include "runs/progress.h"
#include "runs/random_flame.h"
#include "runs/runner.h"
#include "text/text_forms.h"
#include "window/window.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <iostream>
#include <new>
#include <string>

namespace {

constexpr int iWorkFailed = 1;  // exit status: a file, the display, an answer or the output failed
constexpr int iUsageError = 2;  // exit status: the command line was wrong

int failed(const std::string& sError) {
    std::cerr << "flames: " << sError << std::endl;
    return iWorkFailed;
}

bool askQuestions(SChoices& choices, EAnswers answers) {
    return askChoices(std::cin, std::cout, std::cerr, choices, answers);
}

// A script must not take a lost dialogue or help text for one that was read.
bool outputWritten() {
    const std::string sError = standardOutputError();
    if (!sError.empty()) failed("standard output: " + sError);
    return sError.empty();
}

// What the command line says besides the questions' answers, over what the run was.
void applyOptions(const SOptions& options, SChoices& choices) {
    SRun& run = choices.run;
    if (options.iIterations) run.iIterations = *options.iIterations;
    if (options.iPattern) run.iPattern = *options.iPattern, run.flame = SFlame();
    if (options.flame) run.flame = *options.flame;
    if (options.uRandomFlame) run.flame = randomFlame(*options.uRandomFlame);
    if (options.iColourType) choices.iColourType = *options.iColourType;
    if (options.size) run.iWidth = options.size->iWidth, run.iHeight = options.size->iHeight;
    if (options.view) run.view = *options.view;
    if (options.bSeed) run.uSeed = options.uSeed;
}

// A saved picture drawn at another size keeps its density: the iterations grow with the area.
SRun posterOf(const SRun& recorded, SSize size) {
    bool bCapped = false;
    const SRun poster = resizedAsDense(recorded, size.iWidth, size.iHeight, bCapped);
    if (bCapped)
        std::cerr << "flames: --size " << sizeText(size.iWidth, size.iHeight) << ": "
                  << recorded.iIterations << " iterations over that area would exceed the most "
                  << "a run can have; it has " << poster.iIterations << std::endl;
    return poster;
}

// The run and its colouring: recorded in a saved picture, or answered on the command line, or
// in the dialogue; then what the command line says besides, and the view framed on the orbit.
// The seed is the clock's second unless one of them gives it. False once it has said why not.
bool chooseRun(const SOptions& options, EAnswers answers, SChoices& choices) {
    choices.run.uSeed = static_cast<unsigned int>(std::time(nullptr));
    std::string sError;
    if (!options.sLoadPath.empty()) {
        if (!readRecordedRun(options.sLoadPath, choices.run, choices.iColourType, sError)) {
            failed(sError);
            return false;
        }
    } else if (!answersGiven(options)) {
        const bool bAsGiven = askQuestions(choices, answers);
        if (!outputWritten() || (answers == eAnswersAsGiven && !bAsGiven)) return false;
    }
    if (!options.sLoadPath.empty() && options.size && !options.iIterations)
        choices.run = posterOf(choices.run, *options.size);
    applyOptions(options, choices);
    const bool bRandomFramed = options.uRandomFlame && !options.view;
    if (options.bFit || bRandomFramed) choices.run.view = fitView(choices.run);
    return true;
}

// The threads to compute with, and a line on standard error where --threads was capped.
int threadsSaid(const SOptions& options) {
    std::string sNote;
    const int iThreads = threadsOf(options, &sNote);
    if (!sNote.empty()) std::cerr << "flames: " << sNote << std::endl;
    return iThreads;
}

std::string notEnoughMemory(const SRun& run) {
    return "a picture of " + std::to_string(run.iWidth) + " x " + std::to_string(run.iHeight) +
           " pixels: not enough memory";
}

// A place that cannot take the file is found before the questions, not after a long run; an
// answer that is not taken as given computes nothing, for a script would not hear of it.
int saveWithoutWindow(const SOptions& options) {
    std::string sError;
    if (!checkSavable(options.sSavePath, sError)) return failed(sError);
    SChoices choices;
    if (!chooseRun(options, eAnswersAsGiven, choices)) return iWorkFailed;
    try {
        CRunner runner(choices.run, threadsSaid(options));
        runner.calc().iColourType = choices.iColourType;
        sayCalculating(std::cout);
        if (!outputWritten()) return iWorkFailed;
        watchProgressOnTerminal();
        calculateWithProgress(runner);
        if (!savePicture(options.sSavePath, runner.calc(), runner.iterationsDone(), sError))
            return failed(sError);
    } catch (const std::bad_alloc&) {
        return failed(notEnoughMemory(choices.run));
    }
    return 0;
}

// The display is opened before the questions, so that nobody answers them for nothing.
int showInWindow(const SOptions& options) {
    std::string sError;
    if (!holdDisplay(options.sDisplay, sError)) return failed(sError);
    SChoices choices;
    if (!chooseRun(options, eAnswersAsTheyCome, choices)) return iWorkFailed;
    try {
        openWindow(options.vGlutArgs, choices.run, choices.iColourType, options.bLive,
                   threadsSaid(options));
    } catch (const std::bad_alloc&) {
        return failed(notEnoughMemory(choices.run));
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
    else if (!options.sSavePath.empty()) return saveWithoutWindow(options);
    else return showInWindow(options);
    return outputWritten() ? 0 : iWorkFailed;
}
