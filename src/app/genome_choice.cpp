#include "app/genome_choice.h"

#include "animation/motion_blur.h"
#include "editing/genome_frame.h"
#include "editing/genome_random.h"
#include "pictures/whole_file.h"

void applyGenomeOptions(const SOptions& options, SGenomeChoice& choice) {
    if (options.size)
        choice.genome = resizedGenome(choice.genome, options.size->iWidth, options.size->iHeight);
    if (options.dQuality) choice.genome.dQuality = *options.dQuality;
    if (options.bSeed) choice.uSeed = options.uSeed;
    if (options.bFit) choice.genome = fittedGenome(choice.genome, choice.uSeed);
}

SPictureFormat pictureFormatOf(const SOptions& options, const std::string& sPath,
                               const SGenomeChoice* pChoice) {
    SPictureFormat format;
    format.eKind = pictureKindOf(sPath);
    format.iDepth = pictureKindRow(format.eKind).iDepths[0];
    if (pChoice) format.iDepth = nearestDepth(format.eKind, pChoice->iDepth);
    if (options.iDepth) format.iDepth = *options.iDepth;
    format.bTransparent = options.bTransparent || (pChoice && pChoice->bTransparent);
    return format;
}

bool drawRandomGenome(const SOptions& options, SGenomeChoice& choice, std::string& sError) {
    choice.bRandom = true;
    choice.uRandom = *options.uRandomGenome;
    if (!randomGenome(choice.uRandom, choice.genome, sError)) return false;
    applyGenomeOptions(options, choice);
    return true;
}

bool pickGenome(const SOptions& options, SGenomeChoice& choice, std::string& sError) {
    CFlameFile file;
    return loadGenomeFile(options.sGenomePath, file, sError, options.bLenient) &&
           pickGenomeOf(file, options, options.iPick.value_or(1), choice, sError);
}

bool pickGenomeOf(const CFlameFile& file, const SOptions& options, int iPick,
                  SGenomeChoice& choice, std::string& sError) {
    choice.sFile = options.sGenomePath;
    choice.iPick = iPick;
    choice.iCount = file.count();
    SLeniency leniency;
    leniency.bLenient = options.bLenient;
    if (!readPickedGenome(file, choice.sFile, choice.iPick, choice.genome, sError, &leniency))
        return false;
    choice.vDropped = leniency.vDropped;
    applyGenomeOptions(options, choice);
    return true;
}

void sayDropped(const SOptions& options, const SGenomeChoice& choice, std::ostream& err) {
    for (const std::string& sDropped : choice.vDropped)
        err << "flames: " << pathError(options.sGenomePath, sDropped) << std::endl;
}

std::string sourceOf(const SOptions& options, const SGenomeChoice& choice) {
    if (choice.bRandom) return "random genome " + std::to_string(choice.uRandom);
    return choice.sFile.empty() ? options.sLoadPath : choice.sFile;
}

std::string genomeOptionsProblem(const SOptions& options) {
    const struct {
        bool bGiven;
        const char* sOption;
    } drawing[] = {
        {options.iPattern.has_value(), "--pattern"},   {options.flame.has_value(), "--flame"},
        {options.uRandomFlame.has_value(), "--random"}, {options.iIterations.has_value(),
                                                          "--iterations"},
        {options.iColourType.has_value(), "--colouring"}, {options.view.has_value(), "--view"},
    };
    for (const auto& option : drawing)
        if (option.bGiven)
            return std::string(option.sOption) + " does not apply to the genome a picture keeps";
    return "";
}

bool planOf(const SGenomeChoice& choice, SRenderPlan& plan, std::string& sError) {
    if (choice.vFrameKeys.empty()) {
        plan = stillPlan(choice.genome);
        return true;
    }
    return keptFramePlan(choice.vFrameKeys, choice.genome.dTime, plan, sError);
}
