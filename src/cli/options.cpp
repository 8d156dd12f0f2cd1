#include "cli/options.h"

#include "cli/option_table.h"
#include "base/picture_format.h"
#include "text/text_forms.h"

#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

const SKnownOption* findOption(const std::string& sName) {
    for (size_t i = 0; i < iKnownOptions; i++)
        if (sName == knownOptions[i].sName) return &knownOptions[i];
    return nullptr;
}

// The arguments GLUT takes; the values are GLUT's to judge.
struct SGlutOption {
    const char* sName;
    const char* sValueName;  // null: takes none
};

constexpr SGlutOption glutOptions[] = {
    {"-display", "a display name"}, {"-geometry", "a geometry"}, {"-iconic", nullptr},
    {"-indirect", nullptr}, {"-direct", nullptr}, {"-gldebug", nullptr}, {"-sync", nullptr},
};

const SGlutOption* findGlutOption(const std::string& sName) {
    for (const SGlutOption& option : glutOptions)
        if (sName == option.sName) return &option;
    return nullptr;
}

// A value that starts with "--" is taken for the next option, so that "--save --seed 7" says the
// file name is missing instead of saving to "--seed".
bool hasValueAt(int i, int argc, const char* const* argv) {
    return i < argc && std::string(argv[i]).rfind("--", 0) != 0;
}

// The edits (a character put in, left out or changed, or two neighbours swapped) that make one
// text the other.
size_t editDistance(const std::string& sOne, const std::string& sOther) {
    const size_t iWidth = sOther.size() + 1;
    std::vector<size_t> vEdits((sOne.size() + 1) * iWidth);  // [i][j]: of the first i and j
    const auto at = [&](size_t i, size_t j) -> size_t& { return vEdits[i * iWidth + j]; };
    for (size_t i = 0; i <= sOne.size(); i++) {
        for (size_t j = 0; j <= sOther.size(); j++) {
            if (i == 0 || j == 0) {
                at(i, j) = i + j;
                continue;
            }
            const bool bSame = sOne[i - 1] == sOther[j - 1];
            at(i, j) = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + !bSame});
            if (i > 1 && j > 1 && sOne[i - 1] == sOther[j - 2] && sOne[i - 2] == sOther[j - 1])
                at(i, j) = std::min(at(i, j), at(i - 2, j - 2) + 1);
        }
    }
    return at(sOne.size(), sOther.size());
}

// " (did you mean '--colouring'?)" for the option sName begins, or else the nearest one, where
// fewer edits than half of that option's letters make it; "" where none is that near.
std::string nearestOption(const std::string& sName) {
    const SKnownOption* pNearest = nullptr;
    size_t iNearest = 0;
    for (size_t i = 0; i < iKnownOptions; i++) {
        const SKnownOption& option = knownOptions[i];
        const std::string sKnown = option.sName;
        const size_t iEdits = sKnown.rfind(sName, 0) == 0 ? 0 : editDistance(sName, sKnown);
        // Only an option near enough for its length: a short one does not hide a longer one.
        if (2 * iEdits > sKnown.size() - 2) continue;
        if (!pNearest || iEdits < iNearest) pNearest = &option, iNearest = iEdits;
    }
    if (sName.size() <= 2 || !pNearest) return "";
    return std::string(" (did you mean '") + pNearest->sName + "'?)";
}

// A word that is neither the program's nor GLUT's: "-seed" for "--seed" is the likely slip.
std::string unknownWord(const std::string& sArg) {
    if (sArg.empty() || sArg[0] != '-') return "unexpected argument " + quoted(sArg);
    return "unknown option " + quoted(sArg) + nearestOption("-" + sArg);
}

// GLUT's option with its value, handed on in its order; the last -display names the display.
bool takeGlutOption(int& i, int argc, const char* const* argv, SOptions& options,
                    std::string& sError) {
    const std::string sArg = argv[i];
    const SGlutOption* pOption = findGlutOption(sArg);
    if (!pOption) {
        sError = unknownWord(sArg);
        return false;
    }
    options.vGlutArgs.push_back(sArg);
    if (!pOption->sValueName) return true;
    if (!hasValueAt(i + 1, argc, argv)) {
        sError = "option '" + sArg + "' needs " + pOption->sValueName;
        return false;
    }
    options.vGlutArgs.push_back(argv[++i]);
    if (sArg == "-display") options.sDisplay = argv[i];
    return true;
}

// "--name=value" or "--name value".
bool takeOwnOption(int& i, int argc, const char* const* argv, SOptions& options,
                   std::string& sError) {
    const std::string sArg = argv[i];
    const size_t iEquals = sArg.find('=');
    const SKnownOption* pOption = findOption(sArg.substr(0, iEquals));
    if (!pOption) {
        sError = "unknown option " + quoted(sArg.substr(0, iEquals)) +
                 nearestOption(sArg.substr(0, iEquals));
        return false;
    }
    std::string sValue;
    if (iEquals != std::string::npos) {
        sValue = sArg.substr(iEquals + 1);
        if (!pOption->sValueName) {
            sError = "option '" + std::string(pOption->sName) + "' takes no value";
            return false;
        }
    } else if (pOption->sValueName) {
        if (!hasValueAt(i + 1, argc, argv)) {
            sError = "option '" + std::string(pOption->sName) + "' needs " + pOption->sValueName;
            return false;
        }
        sValue = argv[++i];
    }
    return pOption->pfApply(options, sValue, sError);
}

// Options that do not go together, or one without the option it needs.
struct SConflict {
    bool (*pfFound)(const SOptions& options);
    const char* sError;
};

bool drawsGenome(const SOptions& options) {
    return !options.sGenomePath.empty() || options.uRandomGenome;
}
int drawnCount(const SOptions& options) {
    return (options.iPattern ? 1 : 0) + (options.flame ? 1 : 0) + (options.uRandomFlame ? 1 : 0) +
           (options.sGenomePath.empty() ? 0 : 1) + (options.uRandomGenome ? 1 : 0);
}

const SConflict conflicts[] = {
    {[](const SOptions& o) { return o.bLive && !o.sSavePath.empty(); },
     "--live and --save do not go together: a saved run has no window to watch"},
    {[](const SOptions& o) { return o.bFit && o.view.has_value(); },
     "--fit and --view do not go together: each sets the view"},
    {[](const SOptions& o) { return drawnCount(o) > 1 && !drawsGenome(o); },
     "--pattern, --flame and --random do not go together: each says what to draw"},
    {[](const SOptions& o) { return drawnCount(o) > 1; },
     "--genome and --random-genome do not go with --pattern, --flame, --random or each other: "
     "each says what to draw"},
    {[](const SOptions& o) { return drawsGenome(o) && (o.iIterations || o.iColourType || o.view); },
     "--genome and --random-genome do not go with --iterations, --colouring or --view: a "
     "genome says its own"},
    {[](const SOptions& o) { return (o.iPick || o.bPickAll) && o.sGenomePath.empty(); },
     "--pick needs --genome: it picks a flame of a genome file"},
    {[](const SOptions& o) { return o.bPickAll && o.sSavePath.empty(); },
     "--pick all draws every flame, each to a file of its own: it needs --save PREFIX"},
    {[](const SOptions& o) { return o.bLenient && o.sGenomePath.empty(); },
     "--lenient needs --genome: it is how a genome file's flame is read"},
    {[](const SOptions& o) {
         return (o.dQuality || !o.sWriteGenomePath.empty()) && !drawsGenome(o) &&
                o.sLoadPath.empty() && o.vResumePaths.empty();
     },
     "--quality and --write-genome need a genome: --genome, --random-genome, or --load of its "
     "picture"},
    {[](const SOptions& o) { return drawsGenome(o) && !o.sLoadPath.empty(); },
     "--genome and --random-genome do not go with --load: each says what to draw"},
    {[](const SOptions& o) {
         return !o.sWriteGenomePath.empty() && (!o.sSavePath.empty() || o.bLive);
     },
     "--write-genome draws nothing: not with --save or --live"},
    {[](const SOptions& o) { return animates(o) && o.sGenomePath.empty(); },
     "--frames, --frame, --loop and --sequence need --genome: they animate a genome file"},
    {[](const SOptions& o) { return o.frames && o.dFrame; },
     "--frames and --frame do not go together: each says which frames to draw"},
    {[](const SOptions& o) { return o.iLoopFrames && o.iSequenceFrames; },
     "--loop and --sequence do not go together: each says what the keyframes are"},
    {[](const SOptions& o) {
         return animates(o) && (o.bPickAll || (o.iPick && o.iSequenceFrames));
     },
     "--pick does not go with --sequence or with frames of --pick all: a sequence takes every "
     "flame, and frames animate one file"},
    {[](const SOptions& o) { return animates(o) && o.bFit; },
     "--fit does not go with frames: each keyframe says its own camera"},
    {[](const SOptions& o) { return o.frames && !o.sWriteGenomePath.empty(); },
     "--frames draws frames, to --save PREFIX: --write-genome writes one (--frame T), or the "
     "keyframes of --loop or --sequence"},
    {[](const SOptions& o) { return o.iStrips && o.iMemoryMiB; },
     "--strips and --memory do not go together: each says how the picture is cut"},
    {[](const SOptions& o) {
         return (o.iStrips || o.iMemoryMiB) &&
                (o.sSavePath.empty() || (!drawsGenome(o) && o.sLoadPath.empty()));
     },
     "--strips and --memory cut a genome's picture saved to a file: they need --save, and "
     "--genome, --random-genome or --load of a genome's picture"},
    {[](const SOptions& o) {
         return (o.iStrips || o.iMemoryMiB) &&
                (o.iDepth || o.bTransparent || pictureKindOf(o.sSavePath) == EPictureKind::eExr);
     },
     "--strips and --memory draw an 8-bit RGB PNG: not with --depth, --transparent or "
     "OpenEXR (.exr)"},
    {[](const SOptions& o) {
         return !o.vResumePaths.empty() &&
                (drawnCount(o) > 0 || !o.sLoadPath.empty() || o.iIterations || o.iColourType ||
                 o.view || o.size || o.bFit || o.bSeed || o.iPick || o.bPickAll || o.bLenient);
     },
     "--resume goes on with the genome, seed and size of its states: not with what says "
     "another (--genome, --load, --size, --seed, ...)"},
    {[](const SOptions& o) {
         return keepsState(o) && (animates(o) || o.bPickAll || !o.sWriteGenomePath.empty() ||
                                  o.bLive);
     },
     "--save-state, --resume and --part keep one still render: not with frames, --pick all, "
     "--write-genome or --live"},
    {[](const SOptions& o) {
         return !o.sSaveStatePath.empty() && o.vResumePaths.empty() && !drawsGenome(o) &&
                o.sLoadPath.empty();
     },
     "--save-state needs a genome: --genome, --random-genome, --load of its picture, or "
     "--resume"},
    {[](const SOptions& o) { return o.part && (o.sSaveStatePath.empty() || !o.sSavePath.empty()); },
     "--part draws a share of a render for --resume to add up: it needs --save-state, and "
     "not --save"},
    {[](const SOptions& o) {
         return !o.vResumePaths.empty() && o.sSavePath.empty() && o.sSaveStatePath.empty();
     },
     "--resume draws to files: --save FILE, --save-state FILE or both"},
    {[](const SOptions& o) { return keepsState(o) && (o.iStrips || o.iMemoryMiB); },
     "--save-state, --resume and --part keep a render in one piece: not with --strips or "
     "--memory"},
    // Without --save, --frames, --loop and --sequence open the window on their frames.
    {[](const SOptions& o) { return (o.iDepth || o.bTransparent) && o.sSavePath.empty(); },
     "--depth and --transparent need --save: they say how the picture file is written"},
    {[](const SOptions& o) {
         const bool bFormat = o.iDepth || o.bTransparent ||
                              pictureKindOf(o.sSavePath) == EPictureKind::eExr;
         return bFormat && !drawsGenome(o) && o.sLoadPath.empty();
     },
     "--depth, --transparent and OpenEXR (.exr) are for a genome's picture: --genome, "
     "--random-genome, or --load of its picture"},
    {[](const SOptions& o) {
         return o.dFrame && o.sSavePath.empty() && o.sWriteGenomePath.empty();
     },
     "--frame draws one frame to a file: --save FILE, or --write-genome FILE for its "
     "genome (the window plays --frames)"},
};

// A --depth that the kind of picture --save's name says does not take: "" or what is wrong.
std::string depthProblem(const SOptions& options) {
    const EPictureKind eKind = pictureKindOf(options.sSavePath);
    if (!options.iDepth || takesDepth(eKind, *options.iDepth)) return "";
    const SPictureKind& kind = pictureKindRow(eKind);
    return "--depth " + std::to_string(*options.iDepth) + ": " + kind.sName + " (." +
           kind.sExtension + ") has " + kind.sDepthsSaid + " bits a channel";
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, SOptions& options, std::string& sError) {
    options = SOptions();
    options.vGlutArgs.push_back(argc > 0 ? argv[0] : "flames");
    for (int i = 1; i < argc; i++) {
        const bool bOwn = std::string(argv[i]).rfind("--", 0) == 0;
        if (!(bOwn ? takeOwnOption : takeGlutOption)(i, argc, argv, options, sError)) return false;
    }
    for (const SConflict& conflict : conflicts) {
        if (conflict.pfFound(options)) {
            sError = conflict.sError;
            return false;
        }
    }
    sError = depthProblem(options);
    return sError.empty();
}

int processorsOnline() {
    const long iOnline = sysconf(_SC_NPROCESSORS_ONLN);
    return static_cast<int>(std::clamp(iOnline, 1L, static_cast<long>(iMostThreads)));
}

// More threads than processors would only take turns with the window's and each other's: the
// picture is the same for every count, so a larger one is capped, and said to be.
int threadsOf(const SOptions& options, std::string* pNote) {
    const int iOnline = processorsOnline();
    if (!options.iThreads) return iOnline;
    if (*options.iThreads <= iOnline) return *options.iThreads;
    if (pNote)
        *pNote = "--threads " + std::to_string(*options.iThreads) + ": capped at the " +
                 std::to_string(iOnline) + " processor" + (iOnline > 1 ? "s" : "") + " online";
    return iOnline;
}
