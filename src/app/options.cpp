#include "app/options.h"

#include "app/option_table.h"
#include "core/colouring.h"
#include "core/patterns.h"
#include "text/text_forms.h"

#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

std::string quoted(const std::string& sText) { return "'" + shownText(sText) + "'"; }

template <bool SOptions::*pbFlag>
bool applyFlag(SOptions& options, const std::string&, std::string&) {
    options.*pbFlag = true;
    return true;
}

bool applySeed(SOptions& options, const std::string& sValue, std::string& sError) {
    options.bSeed = readSeed(sValue, options.uSeed);
    if (!options.bSeed)
        sError = "--seed: " + quoted(sValue) + " is not a whole number from 0 to 4294967295";
    return options.bSeed;
}

// An answer to one of the questions, checked as an answer typed in is not.
template <std::optional<int> SOptions::*piAnswer, const char* sOption, int iLowest, int iHighest>
bool applyAnswer(SOptions& options, const std::string& sValue, std::string& sError) {
    long long iValue = 0;
    if (!readWholeNumber(sValue, iLowest, iHighest, iValue)) {
        sError = std::string(sOption) + ": " + quoted(sValue) + " is not a whole number from " +
                 std::to_string(iLowest) + " to " + std::to_string(iHighest);
        return false;
    }
    options.*piAnswer = static_cast<int>(iValue);
    return true;
}

constexpr char sThreadsOption[] = "--threads";
constexpr int iMostThreads = 256;
constexpr char sIterationsOption[] = "--iterations";
constexpr char sPatternOption[] = "--pattern";
constexpr char sColouringOption[] = "--colouring";

bool applySize(SOptions& options, const std::string& sValue, std::string& sError) {
    SSize size{};
    if (readSize(sValue, size.iWidth, size.iHeight)) {
        options.size = size;
        return true;
    }
    sError = "--size: " + quoted(sValue) + " is not WIDTHxHEIGHT, each from " +
             std::to_string(iSmallestSide) + " to " + std::to_string(iLargestSide);
    return false;
}

bool applyView(SOptions& options, const std::string& sValue, std::string& sError) {
    SView view;
    if (readView(sValue, view)) {
        options.view = view;
        return true;
    }
    sError = "--view: " + quoted(sValue) +
             " is not XMIN,YMIN,XMAX,YMAX, four finite numbers with XMIN < XMAX and YMIN < YMAX";
    return false;
}

bool applyFlame(SOptions& options, const std::string& sValue, std::string& sError) {
    SFlame flame;
    if (!readFlame(sValue, flame, sError)) {
        sError = "--flame: " + shownText(sError);
        return false;
    }
    options.flame = flame;
    return true;
}

// The seed of something drawn at random.
template <std::optional<unsigned int> SOptions::*puSeed, const char* sOption>
bool applyRandomSeed(SOptions& options, const std::string& sValue, std::string& sError) {
    unsigned int uSeed = 0;
    if (!readSeed(sValue, uSeed)) {
        sError = std::string(sOption) + ": " + quoted(sValue) +
                 " is not a whole number from 0 to 4294967295";
        return false;
    }
    options.*puSeed = uSeed;
    return true;
}

constexpr char sRandomOption[] = "--random";
constexpr char sRandomGenomeOption[] = "--random-genome";

constexpr char sPickOption[] = "--pick";

bool applyQuality(SOptions& options, const std::string& sValue, std::string& sError) {
    double dQuality = 0;
    if (readFinite(sValue, dQuality) && dQuality >= 1 && dQuality <= 100000) {
        options.dQuality = dQuality;
        return true;
    }
    sError = "--quality: " + quoted(sValue) + " is not a number from 1 to 100000";
    return false;
}

// A file name, which must not be empty.
template <std::string SOptions::*psPath, const char* sOption>
bool applyPath(SOptions& options, const std::string& sValue, std::string& sError) {
    options.*psPath = sValue;
    if (sValue.empty()) sError = std::string(sOption) + ": the file name is empty";
    return !sValue.empty();
}

constexpr char sGenomeOption[] = "--genome";
constexpr char sWriteGenomeOption[] = "--write-genome";

bool applyLoad(SOptions& options, const std::string& sValue, std::string& sError) {
    options.sLoadPath = sValue;
    if (sValue.empty()) sError = "--load: the file name is empty";
    return !sValue.empty();
}

bool applySave(SOptions& options, const std::string& sValue, std::string& sError) {
    options.sSavePath = sValue;
    if (sValue.empty()) sError = "--save: the file name is empty";
    return !sValue.empty();
}

}  // namespace

const SKnownOption knownOptions[] = {
    {sIterationsOption, "a number",
     applyAnswer<&SOptions::iIterations, sIterationsOption, 1, 2147483647>,
     "--iterations N, --pattern P, --colouring C",
     "answer the questions instead: none is asked and standard input\n"
     "is not read; those not given are 1000000, 1 and 1"},
    {sPatternOption, "a number", applyAnswer<&SOptions::iPattern, sPatternOption, 1, iPatternCount>,
     nullptr, nullptr},
    {sColouringOption, "a number",
     applyAnswer<&SOptions::iColourType, sColouringOption, 1, iColourCount>, nullptr, nullptr},
    {"--size", "a size such as 1200x900", applySize, "--size WxH",
     "the picture's size in pixels, each side 16 to 16384 (the\n"
     "window opens at that size, or shrunk to fit the screen);\n"
     "800x800 unless given; a genome: the same framing at that size"},
    {"--view", "four numbers XMIN,YMIN,XMAX,YMAX", applyView, "--view XMIN,YMIN,XMAX,YMAX",
     "the part of the plane shown; -1,-1,1,1 unless given"},
    {"--fit", nullptr, applyFlag<&SOptions::bFit>, "--fit",
     "frame the view (a genome: its camera) on where the orbit is\n"
     "dense, never narrower than 0.002"},
    {"--flame", "a flame such as 'swirl 0.5 -0.2 0.1 0.3 0.9 -0.4; disc ...'", applyFlame,
     "--flame TEXT",
     "draw a flame of 2 to 4 functions instead of a pattern, each a\n"
     "name and six numbers a b c d e f (vx = a x + b y + c,\n"
     "vy = d x + e y + f), separated by ';', for example\n"
     "'swirl 0.5 -0.2 0.1 0.3 0.9 -0.4; disc -0.7 0.1 0 0.2 0.6 0.5';\n"
     "the names: {names}"},
    {sRandomOption, "a number", applyRandomSeed<&SOptions::uRandomFlame, sRandomOption>,
     "--random SEED",
     "draw the random flame of SEED (0 to 4294967295), framed on its\n"
     "orbit unless --view is given"},
    {sThreadsOption, "a number", applyAnswer<&SOptions::iThreads, sThreadsOption, 1, iMostThreads>,
     "--threads N",
     "compute with N threads (1 to 256, at most the processors\n"
     "online; those unless given): the picture is the same, bit for\n"
     "bit, for every N"},
    {"--load", "a file name", applyLoad, "--load FILE",
     "make a picture saved by flames again from its text chunks;\n"
     "options given beside it override what it records; with --size\n"
     "and no --iterations, the iterations grow with the area"},
    {sGenomeOption, "a file name", applyPath<&SOptions::sGenomePath, sGenomeOption>,
     "--genome FILE",
     "draw a flame of a genome file (.flame, .flam3, as flam3 and\n"
     "its editors write them) as the flam3 renderer draws it: its\n"
     "palette, colours, tone mapping, filter and density estimation"},
    {sRandomGenomeOption, "a number",
     applyRandomSeed<&SOptions::uRandomGenome, sRandomGenomeOption>, "--random-genome SEED",
     "draw the random genome of SEED (0 to 4294967295), made by the\n"
     "program's generator and framed on its orbit; 800x800 at quality\n"
     "100 unless --size and --quality say otherwise"},
    {sPickOption, "a number", applyAnswer<&SOptions::iPick, sPickOption, 1, 2147483647>,
     "--pick N", "the Nth flame of the genome file (1 to its count); the first\n"
     "unless given"},
    {"--quality", "a number", applyQuality, "--quality Q",
     "samples a pixel of a genome's picture (1 to 100000), over what\n"
     "the genome says"},
    {sWriteGenomeOption, "a file name", applyPath<&SOptions::sWriteGenomePath, sWriteGenomeOption>,
     "--write-genome FILE",
     "draw nothing: write the genome, as it would be drawn, to FILE\n"
     "as a .flame file"},
    {"--seed", "a number", applySeed, "--seed N",
     "seed the random generator with N (0 to 4294967295) instead of\n"
     "the clock's second: the same answers and seed give the same\n"
     "picture again"},
    {"--save", "a file name", applySave, "--save FILE",
     "no window: compute the picture and write it to FILE as PNG,\n"
     "with its parameters in text chunks; GLUT options are ignored"},
    {"--live", nullptr, applyFlag<&SOptions::bLive>, "--live",
     "show the picture growing while the iterations run, coloured\n"
     "on the scale of the hits so far, about twice a second"},
    {"--help", nullptr, applyFlag<&SOptions::bHelp>, "--help", "show this help and exit"},
    {"--version", nullptr, applyFlag<&SOptions::bVersion>, "--version",
     "show the version and exit"},
};
const size_t iKnownOptions = std::size(knownOptions);

namespace {

const SKnownOption* findOption(const std::string& sName) {
    for (const SKnownOption& option : knownOptions)
        if (sName == option.sName) return &option;
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
    for (const SKnownOption& option : knownOptions) {
        const std::string sKnown = option.sName;
        const size_t iEdits = sKnown.rfind(sName, 0) == 0 ? 0 : editDistance(sName, sKnown);
        if (!pNearest || iEdits < iNearest) pNearest = &option, iNearest = iEdits;
    }
    const size_t iLetters = std::string(pNearest->sName).size() - 2;
    if (sName.size() <= 2 || 2 * iNearest > iLetters) return "";
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
    {[](const SOptions& o) { return o.iPick && o.sGenomePath.empty(); },
     "--pick needs --genome: it picks a flame of a genome file"},
    {[](const SOptions& o) {
         return (o.dQuality || !o.sWriteGenomePath.empty()) && !drawsGenome(o) &&
                o.sLoadPath.empty();
     },
     "--quality and --write-genome need a genome: --genome, --random-genome, or --load of its "
     "picture"},
    {[](const SOptions& o) { return drawsGenome(o) && !o.sLoadPath.empty(); },
     "--genome and --random-genome do not go with --load: each says what to draw"},
    {[](const SOptions& o) {
         return !o.sWriteGenomePath.empty() && (!o.sSavePath.empty() || o.bLive);
     },
     "--write-genome draws nothing: not with --save or --live"},
};

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
    return true;
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
