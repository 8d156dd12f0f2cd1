#include "options.h"

#include "console.h"

#include <cctype>
#include <cstdint>

const char* const sProgramVersion = "flames " FLAMES_VERSION;

namespace {

std::string quoted(const std::string& sText) { return "'" + shownText(sText) + "'"; }

constexpr uint64_t uSeedLimit = 4294967295u;  // the largest seed: the generator's word

// A decimal number of digits only: no sign, no blank, no base prefix; 0 to uSeedLimit.
bool readSeed(const std::string& sText, unsigned int& uSeed) {
    if (sText.empty()) return false;
    uint64_t uValue = 0;
    for (const char c : sText) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        uValue = uValue * 10 + static_cast<uint64_t>(c - '0');
        if (uValue > uSeedLimit) return false;
    }
    uSeed = static_cast<unsigned int>(uValue);
    return true;
}

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

bool applySave(SOptions& options, const std::string& sValue, std::string& sError) {
    options.sSavePath = sValue;
    if (sValue.empty()) sError = "--save: the file name is empty";
    return !sValue.empty();
}

struct SKnownOption {
    const char* sName;
    const char* sValueName;  // what the option takes, as a message names it; null: nothing
    bool (*pfApply)(SOptions& options, const std::string& sValue, std::string& sError);
};

constexpr SKnownOption knownOptions[] = {
    {"--seed",    "a number",    applySeed},
    {"--save",    "a file name", applySave},
    {"--live",    nullptr,       applyFlag<&SOptions::bLive>},
    {"--help",    nullptr,       applyFlag<&SOptions::bHelp>},
    {"--version", nullptr,       applyFlag<&SOptions::bVersion>},
};

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

// A word that is neither the program's nor GLUT's: "-seed" for "--seed" is the likely slip.
std::string unknownWord(const std::string& sArg) {
    if (sArg.empty() || sArg[0] != '-') return "unexpected argument " + quoted(sArg);
    std::string sError = "unknown option " + quoted(sArg);
    if (findOption("-" + sArg)) sError += " (did you mean '-" + sArg + "'?)";
    return sError;
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
        sError = "unknown option " + quoted(sArg.substr(0, iEquals));
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

}  // namespace

bool parseOptions(int argc, const char* const* argv, SOptions& options, std::string& sError) {
    options = SOptions();
    options.vGlutArgs.push_back(argc > 0 ? argv[0] : "flames");
    for (int i = 1; i < argc; i++) {
        const bool bOwn = std::string(argv[i]).rfind("--", 0) == 0;
        if (!(bOwn ? takeOwnOption : takeGlutOption)(i, argc, argv, options, sError)) return false;
    }
    if (options.bLive && !options.sSavePath.empty()) {
        sError = "--live and --save do not go together: a saved run has no window to watch";
        return false;
    }
    return true;
}

std::string helpText() {
    return R"(Usage: flames [--seed N] [--save FILE] [--live] [--help] [--version]
              [GLUT options]

Plays the chaos game with one point and shows the fractal flame it draws in an
800 x 800 window. Three questions are asked on standard input, each answered
with a whole number (typed without thousands separators), or all three on one
line: the number of iterations (100000 to 100000000 is a good range), the
pattern (1 to 20) and the colouring (1 to 5).

Options:
  --seed N       seed the random generator with N (0 to 4294967295) instead of
                 the clock's second: the same answers and seed give the same
                 picture again
  --save FILE    no window: compute the picture and write it to FILE as PNG,
                 with its parameters in text chunks; GLUT options are ignored
  --live         show the picture growing while the iterations run, coloured
                 on the scale of the hits so far, about twice a second
  --help         show this help and exit
  --version      show the version and exit
GLUT's own options go to GLUT: -display NAME, -geometry SPEC (such as +0+0),
-iconic, -indirect, -direct, -gldebug and -sync; any other word is refused.

Keys in the window (also on the right button's menu):
  1 to 5         colour the same hits again: black & white, logarithmic grey,
                 traffic light, rainbow, all blues
  s              save the picture shown as flame-pP-cC-ITERATIONS-SEED.png in
                 the current folder (never over an existing file)
  q, Escape      quit, also in the middle of the run

Exit status:
  0  done
  1  the picture could not be written, no display could be opened, an answer
     could not be taken as given with --save, or standard output failed
  2  the command line was wrong

Example:
  printf '5000000\n3\n4\n' | flames --seed 7 --save flame.png
)";
}
