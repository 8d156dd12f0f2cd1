#include "cli/option_table.h"

#include "base/number_text.h"
#include "base/picture_format.h"
#include "core/colouring.h"
#include "core/patterns.h"
#include "text/text_forms.h"

#include <algorithm>
#include <cmath>
#include <iterator>

std::string quoted(const std::string& sText) { return "'" + shownText(sText) + "'"; }

namespace {

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

// A flame's number, or every flame; the last --pick given counts.
bool applyPick(SOptions& options, const std::string& sValue, std::string& sError) {
    options.bPickAll = sValue == "all";
    if (options.bPickAll) {
        options.iPick.reset();
        return true;
    }
    return applyAnswer<&SOptions::iPick, sPickOption, 1, 2147483647>(options, sValue, sError);
}

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

// The picture is written in the format its name says, PNG without one: a name that says a format
// not written here is refused rather than given a PNG that calls itself something else.
bool applySave(SOptions& options, const std::string& sValue, std::string& sError) {
    options.sSavePath = sValue;
    if (sValue.empty()) sError = "--save: the file name is empty";
    const std::string sExtension = extensionOf(sValue);
    const bool bKnown = std::any_of(std::begin(pictureKinds), std::end(pictureKinds),
                                    [&](const SPictureKind& kind) {
                                        return sExtension == kind.sExtension;
                                    });
    if (!sExtension.empty() && !bKnown)
        sError = "--save: " + quoted(sValue) + ": pictures are written as PNG, to a name ending "
                 "in .png (or with no extension)";
    return sError.empty();
}

// Any depth a kind of picture takes; which kind --save's name says is checked once every option
// is read.
bool applyDepth(SOptions& options, const std::string& sValue, std::string& sError) {
    long long iDepth = 0;
    if (readWholeNumber(sValue, 1, 64, iDepth) &&
        std::any_of(std::begin(pictureKinds), std::end(pictureKinds),
                    [&](const SPictureKind& kind) {
                        return takesDepth(kind.eKind, static_cast<int>(iDepth));
                    })) {
        options.iDepth = static_cast<int>(iDepth);
        return true;
    }
    sError = "--depth: " + quoted(sValue) + " is not 8, 16 or 32";
    return false;
}

constexpr char sSaveStateOption[] = "--save-state";

bool applyResume(SOptions& options, const std::string& sValue, std::string& sError) {
    options.vResumePaths.push_back(sValue);
    if (sValue.empty()) sError = "--resume: the file name is empty";
    return !sValue.empty();
}

constexpr long long iMostParts = 1000000;

bool applyPart(SOptions& options, const std::string& sValue, std::string& sError) {
    const size_t uSlash = sValue.find('/');
    long long iPart = 0, iParts = 0;
    if (uSlash != std::string::npos &&
        readWholeNumber(sValue.substr(0, uSlash), 1, iMostParts, iPart) &&
        readWholeNumber(sValue.substr(uSlash + 1), 1, iMostParts, iParts) && iPart <= iParts) {
        options.part = SPart{static_cast<int>(iPart), static_cast<int>(iParts)};
        return true;
    }
    sError = "--part: " + quoted(sValue) + " is not K/N, a share K from 1 to N of N from 1 to " +
             std::to_string(iMostParts);
    return false;
}

constexpr long long iLatestFrame = 1000000000;  // a frame number or time, either way

// A side of A:B:STEP: empty for the default, else a whole number within its range.
bool readSpanPart(const std::string& sPart, long long iLowest, std::optional<long long>& iValue) {
    if (sPart.empty()) return true;
    const bool bNegative = sPart[0] == '-';
    long long iRead = 0;
    if (!readWholeNumber(sPart.substr(bNegative), 0, iLatestFrame, iRead)) return false;
    iValue = bNegative ? -iRead : iRead;
    return *iValue >= iLowest;
}

bool applyFrames(SOptions& options, const std::string& sValue, std::string& sError) {
    const std::string sSpan = sValue == "all" ? ":" : sValue;
    const size_t uColon = sSpan.find(':'), uSecond = sSpan.find(':', uColon + 1);
    SFrameSpan span;
    std::optional<long long> iStep;
    bool bRead = uColon != std::string::npos &&
                 readSpanPart(sSpan.substr(0, uColon), -iLatestFrame, span.iFirst) &&
                 readSpanPart(sSpan.substr(uColon + 1, uSecond - uColon - 1), -iLatestFrame,
                              span.iLast);
    if (bRead && uSecond != std::string::npos)
        bRead = readSpanPart(sSpan.substr(uSecond + 1), 1, iStep);
    if (!bRead) {
        sError = "--frames: " + quoted(sValue) + " is not FIRST:LAST or FIRST:LAST:STEP (frames "
                 "from -1000000000 to 1000000000, either left out for the default, a step from 1)";
        return false;
    }
    if (span.iFirst && span.iLast && *span.iFirst > *span.iLast) {
        sError = "--frames: " + quoted(sValue) + ": the first frame is after the last";
        return false;
    }
    span.iStep = iStep.value_or(1);
    options.frames = span;
    return true;
}

bool applyFrame(SOptions& options, const std::string& sValue, std::string& sError) {
    double dTime = 0;
    if (readFinite(sValue, dTime) && std::fabs(dTime) <= iLatestFrame) {
        options.dFrame = dTime;
        return true;
    }
    sError = "--frame: " + quoted(sValue) + " is not a time from -1000000000 to 1000000000";
    return false;
}

constexpr char sStripsOption[] = "--strips";

// MiB: 1 to 2^40, a million terabytes.
bool applyMemory(SOptions& options, const std::string& sValue, std::string& sError) {
    constexpr long long iMost = 1LL << 40;
    long long iValue = 0;
    if (readWholeNumber(sValue, 1, iMost, iValue)) {
        options.iMemoryMiB = iValue;
        return true;
    }
    sError = "--memory: " + quoted(sValue) + " is not a whole number of MiB from 1 to " +
             std::to_string(iMost);
    return false;
}

constexpr char sLoopOption[] = "--loop";
constexpr char sSequenceOption[] = "--sequence";

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
    {sPickOption, "a number or all", applyPick, "--pick N",
     "the Nth flame of the genome file (1 to its count); the first\n"
     "unless given; all: every flame, with --save PREFIX each to\n"
     "PREFIX and its number in five digits, PREFIX00001.png and on"},
    {"--lenient", nullptr, applyFlag<&SOptions::bLenient>, "--lenient",
     "draw the flame even where it holds what is not drawn here (a\n"
     "variation unknown here, an editor's setting that changes the\n"
     "picture in a way not drawn here): drawn without each, each\n"
     "named on standard error, the genome recorded as drawn; without\n"
     "it such a flame is refused, every such thing named; and read a\n"
     "JWildfire file whose repeats NAME#k# are no XML names, mended\n"
     "to NAME.k. before it is parsed, which is said"},
    {"--frames", "a range such as 0:99", applyFrames, "--frames FIRST:LAST[:STEP]",
     "with --genome and --save PREFIX: draw the frames FIRST to LAST\n"
     "(every STEP-th) of the genome file's keyframes, each blurred in\n"
     "time, to PREFIX and its number in five digits, .png; a side\n"
     "left out (or all) is flam3-animate's: from the first keyframe's\n"
     "time to the one before the last's; without --save, the window\n"
     "opens on the first and Space plays them"},
    {"--frame", "a time", applyFrame, "--frame T",
     "the one frame at time T (any real): with --save FILE drawn to\n"
     "FILE, with --write-genome the genome of that moment written"},
    {sLoopOption, "a number", applyAnswer<&SOptions::iLoopFrames, sLoopOption, 1, 1000000>,
     "--loop N",
     "the keyframes of the flame's loop instead (--pick, else the\n"
     "first): N frames a full turn of its xforms, as flam3-genome\n"
     "makes them; drawn as --frames and --frame say, or written with\n"
     "--write-genome, or played in the window"},
    {sSequenceOption, "a number",
     applyAnswer<&SOptions::iSequenceFrames, sSequenceOption, 1, 1000000>, "--sequence N",
     "the same for every flame of the file in turn: each looped in N\n"
     "frames and joined to the next in N more"},
    {"--quality", "a number", applyQuality, "--quality Q",
     "samples a pixel of a genome's picture (1 to 100000), over what\n"
     "the genome says"},
    {sWriteGenomeOption, "a file name", applyPath<&SOptions::sWriteGenomePath, sWriteGenomeOption>,
     "--write-genome FILE",
     "draw nothing: write the genome, as it would be drawn, to FILE\n"
     "as a .flame file (- for standard output)"},
    {"--seed", "a number", applySeed, "--seed N",
     "seed the random generator with N (0 to 4294967295) instead of\n"
     "the clock's second: the same answers and seed give the same\n"
     "picture again"},
    {"--save", "a file name", applySave, "--save FILE",
     "no window: compute the picture and write it to FILE as PNG,\n"
     "with its parameters in text chunks; GLUT options are ignored;\n"
     "a genome's to FILE.exr as OpenEXR, linear light, its genome\n"
     "and seed in the header"},
    {"--depth", "a number of bits", applyDepth, "--depth BITS",
     "a genome's picture with BITS a channel: a PNG 8 (unless given)\n"
     "or 16, an OpenEXR picture (--save NAME.exr) 16, half floats\n"
     "(unless given), or 32, floats"},
    {"--transparent", nullptr, applyFlag<&SOptions::bTransparent>, "--transparent",
     "a genome's picture with alpha, RGBA: the background left out,\n"
     "the flame's density its opacity"},
    {sStripsOption, "a number", applyAnswer<&SOptions::iStrips, sStripsOption, 1, iLargestSide>,
     "--strips N",
     "with --save, draw a genome's picture in N bands of rows (1 to\n"
     "16384, at most its height), one after another, each a whole\n"
     "run that keeps only its band's buckets: the memory of one band,\n"
     "the same pixels, N times the time of the samples"},
    {"--memory", "a number", applyMemory, "--memory MIB",
     "with --save, draw a genome's picture in as few bands as keep\n"
     "it within MIB mebibytes; without --strips or --memory, a picture\n"
     "too large for the memory available is drawn in bands that fit"},
    {sSaveStateOption, "a file name", applyPath<&SOptions::sSaveStatePath, sSaveStateOption>,
     "--save-state FILE",
     "with a genome: write the render's state to FILE as well (its\n"
     "genome, seed, the batches drawn and their buckets), or alone,\n"
     "without --save; Ctrl-C or SIGTERM then writes the state as far\n"
     "as the render got, and no picture"},
    {"--resume", "a file name", applyResume, "--resume FILE",
     "go on with a saved state: its picture, or with --quality the\n"
     "samples up to that quality added; given again, the states of\n"
     "parts added, the batches none holds drawn: the pixels of one\n"
     "run, bit for bit"},
    {"--part", "a share such as 2/5", applyPart, "--part K/N",
     "with --save-state and without --save: draw only the K-th of N\n"
     "shares of the render's batches, on any machine, for --resume\n"
     "to add up"},
    {"--live", nullptr, applyFlag<&SOptions::bLive>, "--live",
     "show the picture growing while the iterations run, coloured\n"
     "on the scale of the hits so far, about twice a second"},
    {"--help", nullptr, applyFlag<&SOptions::bHelp>, "--help", "show this help and exit"},
    {"--version", nullptr, applyFlag<&SOptions::bVersion>, "--version",
     "show the version and exit"},
};
const size_t iKnownOptions = std::size(knownOptions);
