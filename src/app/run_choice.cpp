#include "app/run_choice.h"

#include "app/browse.h"
#include "app/console.h"
#include "files/picture_file.h"
#include "runs/fit.h"
#include "runs/random_flame.h"
#include "text/text_forms.h"

#include <ctime>
#include <ostream>

namespace {

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
SRun posterOf(const SRun& recorded, SSize size, std::ostream& err) {
    bool bCapped = false;
    const SRun poster = resizedAsDense(recorded, size.iWidth, size.iHeight, bCapped);
    if (bCapped)
        err << "flames: --size " << sizeText(size.iWidth, size.iHeight) << ": "
            << recorded.iIterations << " iterations over that area would exceed the most a run "
            << "can have; it has " << poster.iIterations << std::endl;
    return poster;
}

EChosen failedWith(std::ostream& err, const std::string& sError) {
    err << "flames: " << sError << std::endl;
    return EChosen::eFailed;
}

// A saved picture: the run it records, or the genome it keeps, to which only the options of a
// genome apply.
EChosen chooseLoaded(const SOptions& options, std::ostream& err, SDrawn& drawn) {
    SRecordedPicture recorded;
    recorded.run = drawn.choices.run;
    std::string sError;
    if (!readRecordedPicture(options.sLoadPath, recorded, sError)) return failedWith(err, sError);
    drawn.bGenome = recorded.bGenome;
    if (!drawn.bGenome) {
        drawn.choices.run = recorded.run;
        drawn.choices.iColourType = recorded.iColourType;
        if (options.size && !options.iIterations)
            drawn.choices.run = posterOf(drawn.choices.run, *options.size, err);
        return EChosen::eChosen;
    }
    const std::string sProblem = genomeOptionsProblem(options);
    if (!sProblem.empty()) {
        err << "flames: " << sProblem << "; see 'flames --help'" << std::endl;
        return EChosen::eWrongCommandLine;
    }
    drawn.genome.genome = recorded.genome.genome;
    drawn.genome.iDepth = recorded.genome.iDepth;
    drawn.genome.bTransparent = recorded.genome.bTransparent;
    if (recorded.genome.bSeed) drawn.genome.uSeed = recorded.genome.uSeed;
    // A picture saved part way is drawn as far again; at another size or quality, all of it.
    if (!options.size && !options.dQuality)
        drawn.genome.iSamplesDone = recorded.genome.iSamplesDone;
    // A frame is drawn again as it was; changed by the options, as a still.
    if (!options.size && !options.dQuality && !options.bFit)
        drawn.genome.vFrameKeys = recorded.genome.vFrameKeys;
    applyGenomeOptions(options, drawn.genome);
    return EChosen::eChosen;
}

}  // namespace

EChosen chooseDrawn(const SOptions& options, EAnswers answers, std::istream& in,
                    std::ostream& out, std::ostream& err, SDrawn& drawn) {
    const unsigned int uClock = static_cast<unsigned int>(std::time(nullptr));
    drawn.choices.run.uSeed = drawn.genome.uSeed = uClock;
    std::string sError;
    if (!options.sGenomePath.empty() || options.uRandomGenome) {
        drawn.bGenome = true;
        const bool bMade = options.uRandomGenome ? drawRandomGenome(options, drawn.genome, sError)
                                                 : pickGenome(options, drawn.genome, sError);
        sayDropped(options, drawn.genome, err);
        return bMade ? EChosen::eChosen : failedWith(err, sError);
    }
    if (!options.sLoadPath.empty()) {
        const EChosen chosen = chooseLoaded(options, err, drawn);
        if (chosen != EChosen::eChosen || drawn.bGenome) return chosen;
    } else if (!answersGiven(options)) {
        const bool bAsGiven = askChoices(in, out, err, drawn.choices, answers);
        const std::string sOutput = standardOutputError();
        if (!sOutput.empty()) return failedWith(err, "standard output: " + sOutput);
        if (answers == eAnswersAsGiven && !bAsGiven) return EChosen::eFailed;
    }
    applyOptions(options, drawn.choices);
    const bool bRandomFramed = options.uRandomFlame && !options.view;
    if (options.bFit || bRandomFramed) drawn.choices.run.view = fitView(drawn.choices.run);
    return EChosen::eChosen;
}

int threadsSaid(const SOptions& options, std::ostream& err) {
    std::string sNote;
    const int iThreads = threadsOf(options, &sNote);
    if (!sNote.empty()) err << "flames: " << sNote << std::endl;
    return iThreads;
}
