// The command line: which arguments are the program's, what each option takes, and which
// command lines are refused with what message.

#include "cli/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The arguments after the program's name.
bool parse(const std::vector<const char*>& vArgs, SOptions& options, std::string& sError) {
    std::vector<const char*> vArgv = {"flames"};
    vArgv.insert(vArgv.end(), vArgs.begin(), vArgs.end());
    return parseOptions(static_cast<int>(vArgv.size()), vArgv.data(), options, sError);
}

struct SCommandLine {
    std::vector<const char*> vArgs;  // after the program's name
    bool bSeed;
    unsigned int uSeed;
    std::string sSavePath;
    std::vector<std::string> vGlutArgs;  // after the program's name
};

const SCommandLine acceptedLines[] = {
    {{}, false, 0, "", {}},
    {{"--seed", "42"}, true, 42, "", {}},
    {{"--seed=42"}, true, 42, "", {}},
    {{"--seed", "0"}, true, 0, "", {}},
    {{"--seed", "4294967295"}, true, 4294967295u, "", {}},
    {{"--seed", "007"}, true, 7, "", {}},
    {{"--save", "a b.png"}, false, 0, "a b.png", {}},
    {{"--save=x=y.png"}, false, 0, "x=y.png", {}},
    {{"-display", ":1", "--seed", "3", "-iconic", "--save", "f.png", "-geometry", "+0+0"},
     true, 3, "f.png", {"-display", ":1", "-iconic", "-geometry", "+0+0"}},
    {{"-sync", "-direct", "-indirect", "-gldebug"}, false, 0, "",
     {"-sync", "-direct", "-indirect", "-gldebug"}},
    {{"-geometry", "-0-0"}, false, 0, "", {"-geometry", "-0-0"}},
};

TEST(ParseOptionsTest, AcceptedLinesGiveTheirOptionsAndPassGlutsOnInOrder) {
    for (const SCommandLine& line : acceptedLines) {
        SOptions options;
        std::string sError;
        ASSERT_TRUE(parse(line.vArgs, options, sError)) << sError;
        EXPECT_EQ(options.bSeed, line.bSeed);
        EXPECT_EQ(options.uSeed, line.uSeed);
        EXPECT_EQ(options.sSavePath, line.sSavePath);
        std::vector<std::string> vGlutArgs = {"flames"};
        vGlutArgs.insert(vGlutArgs.end(), line.vGlutArgs.begin(), line.vGlutArgs.end());
        EXPECT_EQ(options.vGlutArgs, vGlutArgs);
    }
}

// GLUT opens the display of the last -display: the one to check.
TEST(ParseOptionsTest, LastDisplayIsTheOneOpened) {
    SOptions options;
    std::string sError;
    ASSERT_TRUE(parse({"-display", ":1", "-display", ":7"}, options, sError)) << sError;
    EXPECT_EQ(options.sDisplay, ":7");
}

TEST(ParseOptionsTest, HelpVersionAndLiveAreFlags) {
    SOptions options;
    std::string sError;
    ASSERT_TRUE(parse({"--version", "-iconic", "--live", "--help"}, options, sError));
    EXPECT_TRUE(options.bHelp);
    EXPECT_TRUE(options.bVersion);
    EXPECT_TRUE(options.bLive);
}

// The questions' answers, the picture's size and view, fit and load: taken as given.
TEST(ParseOptionsTest, AnswersSizeViewAndLoad) {
    SOptions options;
    std::string sError;
    ASSERT_TRUE(parse({"--iterations", "2147483647", "--pattern=20", "--colouring", "5", "--size",
                       "16x16384", "--view", "-1.5,-2,3e1,+4.", "--load", "a.png"},
                      options, sError))
        << sError;
    EXPECT_EQ(options.iIterations, 2147483647);
    EXPECT_EQ(options.iPattern, 20);
    EXPECT_EQ(options.iColourType, 5);
    ASSERT_TRUE(options.size);
    EXPECT_EQ(options.size->iWidth, 16);
    EXPECT_EQ(options.size->iHeight, 16384);
    ASSERT_TRUE(options.view);
    EXPECT_EQ(options.view->dXMin, -1.5);
    EXPECT_EQ(options.view->dYMax, 4.0);
    EXPECT_EQ(options.sLoadPath, "a.png");
    EXPECT_TRUE(answersGiven(options));
    ASSERT_TRUE(parse({"--fit", "--seed", "3", "--threads", "256"}, options, sError));
    EXPECT_TRUE(options.bFit);
    EXPECT_EQ(options.iThreads, 256);
    std::string sNote;
    const int iOnline = threadsOf(options, &sNote);  // capped at the processors, and said to be
    EXPECT_LT(iOnline, 256);
    EXPECT_EQ(sNote, "--threads 256: capped at the " + std::to_string(iOnline) + " processor" +
                         (iOnline > 1 ? "s" : "") + " online");
    EXPECT_FALSE(answersGiven(options));
}

struct SRefusedLine {
    std::vector<const char*> vArgs;
    const char* sError;
};

const SRefusedLine refusedLines[] = {
    {{"--bogus"}, "unknown option '--bogus'"},
    {{"--bogus=1"}, "unknown option '--bogus'"},
    {{"--"}, "unknown option '--'"},
    {{"--seed"}, "option '--seed' needs a number"},
    {{"--seed", "--save", "f.png"}, "option '--seed' needs a number"},
    {{"--save"}, "option '--save' needs a file name"},
    {{"--save", "--seed", "1"}, "option '--save' needs a file name"},
    {{"--save="}, "--save: the file name is empty"},
    {{"--help=yes"}, "option '--help' takes no value"},
    {{"--seed", "-1"}, "--seed: '-1' is not a whole number from 0 to 4294967295"},
    {{"--seed", "4294967296"}, "--seed: '4294967296' is not a whole number from 0 to 4294967295"},
    {{"--seed", "99999999999999999999"},
     "--seed: '99999999999999999999' is not a whole number from 0 to 4294967295"},
    {{"--seed", "12ab"}, "--seed: '12ab' is not a whole number from 0 to 4294967295"},
    {{"--seed="}, "--seed: '' is not a whole number from 0 to 4294967295"},
    {{"--seed", " 5"}, "--seed: ' 5' is not a whole number from 0 to 4294967295"},
    {{"--seed", "+5"}, "--seed: '+5' is not a whole number from 0 to 4294967295"},
    {{"-seed", "5", "--save", "x.png"}, "unknown option '-seed' (did you mean '--seed'?)"},
    {{"-h"}, "unknown option '-h' (did you mean '--help'?)"},
    {{"--color", "4"}, "unknown option '--color' (did you mean '--colouring'?)"},
    {{"--colour=4"}, "unknown option '--colour' (did you mean '--colouring'?)"},
    {{"--itterations", "5"}, "unknown option '--itterations' (did you mean '--iterations'?)"},
    {{"--saev", "x.png"}, "unknown option '--saev' (did you mean '--save'?)"},
    {{"-"}, "unknown option '-'"},
    {{"stray"}, "unexpected argument 'stray'"},
    {{"-display"}, "option '-display' needs a display name"},
    {{"-geometry", "--seed", "1"}, "option '-geometry' needs a geometry"},
    {{"--sa\nve\x1b"}, "unknown option '--sa\\nve\\x1b' (did you mean '--save'?)"},
    {{"--seed", "7\xff"}, "--seed: '7\\xff' is not a whole number from 0 to 4294967295"},
    {{"--iterations", "0"}, "--iterations: '0' is not a whole number from 1 to 2147483647"},
    {{"--iterations", "2147483648"},
     "--iterations: '2147483648' is not a whole number from 1 to 2147483647"},
    {{"--iterations", "1e6"}, "--iterations: '1e6' is not a whole number from 1 to 2147483647"},
    {{"--pattern", "21"}, "--pattern: '21' is not a whole number from 1 to 20"},
    {{"--pattern", "-1"}, "--pattern: '-1' is not a whole number from 1 to 20"},
    {{"--colouring", "0"}, "--colouring: '0' is not a whole number from 1 to 5"},
    {{"--size", "15x800"}, "--size: '15x800' is not WIDTHxHEIGHT, each from 16 to 16384"},
    {{"--size", "800x16385"}, "--size: '800x16385' is not WIDTHxHEIGHT, each from 16 to 16384"},
    {{"--size", "800"}, "--size: '800' is not WIDTHxHEIGHT, each from 16 to 16384"},
    {{"--view", "1,0,1,2"}, "--view: '1,0,1,2' is not XMIN,YMIN,XMAX,YMAX, four finite numbers "
                            "with XMIN < XMAX and YMIN < YMAX"},
    {{"--view", "0,0,1"}, "--view: '0,0,1' is not XMIN,YMIN,XMAX,YMAX, four finite numbers "
                          "with XMIN < XMAX and YMIN < YMAX"},
    {{"--view", "0,0,1,inf"}, "--view: '0,0,1,inf' is not XMIN,YMIN,XMAX,YMAX, four finite "
                              "numbers with XMIN < XMAX and YMIN < YMAX"},
    {{"--view", "0, 0,1,1"}, "--view: '0, 0,1,1' is not XMIN,YMIN,XMAX,YMAX, four finite "
                             "numbers with XMIN < XMAX and YMIN < YMAX"},
    // Numbers as a genome file writes them: no hexadecimal, as --quality 0x10 was once 16.
    {{"--view", "0,0,1,0x1p2"}, "--view: '0,0,1,0x1p2' is not XMIN,YMIN,XMAX,YMAX, four "
                                "finite numbers with XMIN < XMAX and YMIN < YMAX"},
    {{"--genome", "a.flame", "--quality", "0x10"},
     "--quality: '0x10' is not a number from 1 to 100000"},
    {{"--save", "picture.jpg"}, "--save: 'picture.jpg': pictures are written as PNG, to a name "
                                "ending in .png (or with no extension)"},
    {{"--genome", "a.flame", "--pick", "all"},
     "--pick all draws every flame, each to a file of its own: it needs --save PREFIX"},
    {{"--lenient"}, "--lenient needs --genome: it is how a genome file's flame is read"},
    {{"--fit", "--view", "0,0,1,1"}, "--fit and --view do not go together: each sets the view"},
    {{"--load="}, "--load: the file name is empty"},
    {{"--threads", "0"}, "--threads: '0' is not a whole number from 1 to 256"},
    {{"--threads", "257"}, "--threads: '257' is not a whole number from 1 to 256"},
    {{"--threads", "x"}, "--threads: 'x' is not a whole number from 1 to 256"},
    {{"--live", "--save", "f.png"},
     "--live and --save do not go together: a saved run has no window to watch"},
    {{"--genome", "a.flame", "--flame", "swirl 1 0 0 1 0 0; disc 1 0 0 1 0 0"},
     "--genome and --random-genome do not go with --pattern, --flame, --random or each other: "
     "each says what to draw"},
    {{"--random-genome", "3", "--genome", "a.flame"},
     "--genome and --random-genome do not go with --pattern, --flame, --random or each other: "
     "each says what to draw"},
    {{"--genome", "a.flame", "--colouring", "3"},
     "--genome and --random-genome do not go with --iterations, --colouring or --view: a genome "
     "says its own"},
    {{"--genome", "a.flame", "--load", "b.png"},
     "--genome and --random-genome do not go with --load: each says what to draw"},
    {{"--random-genome", "-1"}, "--random-genome: '-1' is not a whole number from 0 to 4294967295"},
    {{"--random-genome", "3", "--pick", "2"},
     "--pick needs --genome: it picks a flame of a genome file"},
    {{"--pick", "2"}, "--pick needs --genome: it picks a flame of a genome file"},
    {{"--genome", "a.flame", "--pick", "0"}, "--pick: '0' is not a whole number from 1 to "
                                             "2147483647"},
    {{"--quality", "5"}, "--quality and --write-genome need a genome: --genome, --random-genome, "
                         "or --load of its picture"},
    {{"--genome", "a.flame", "--quality", "0.5"}, "--quality: '0.5' is not a number from 1 to "
                                                  "100000"},
    {{"--genome", "a.flame", "--quality", "inf"}, "--quality: 'inf' is not a number from 1 to "
                                                  "100000"},
    {{"--genome", "a.flame", "--write-genome", "b.flame", "--save", "c.png"},
     "--write-genome draws nothing: not with --save or --live"},
    {{"--genome="}, "--genome: the file name is empty"},
    {{"--genome", "a.flame", "--save", "f", "--strips", "0"},
     "--strips: '0' is not a whole number from 1 to 16384"},
    {{"--genome", "a.flame", "--save", "f", "--strips", "two"},
     "--strips: 'two' is not a whole number from 1 to 16384"},
    {{"--genome", "a.flame", "--save", "f", "--memory", "0"},
     "--memory: '0' is not a whole number of MiB from 1 to 1099511627776"},
    {{"--genome", "a.flame", "--save", "f", "--memory", "1.5"},
     "--memory: '1.5' is not a whole number of MiB from 1 to 1099511627776"},
    {{"--genome", "a.flame", "--save", "f", "--strips", "3", "--memory", "100"},
     "--strips and --memory do not go together: each says how the picture is cut"},
    {{"--genome", "a.flame", "--strips", "3"},
     "--strips and --memory cut a genome's picture saved to a file: they need --save, and "
     "--genome, --random-genome or --load of a genome's picture"},
    {{"--genome", "a.flame", "--save", "f.exr", "--strips", "3"},
     "--strips and --memory draw an 8-bit RGB PNG: not with --depth, --transparent or "
     "OpenEXR (.exr)"},
    {{"--genome", "a.flame", "--save", "f", "--depth", "16", "--memory", "100"},
     "--strips and --memory draw an 8-bit RGB PNG: not with --depth, --transparent or "
     "OpenEXR (.exr)"},
    {{"--pattern", "3", "--save", "f", "--memory", "100"},
     "--strips and --memory cut a genome's picture saved to a file: they need --save, and "
     "--genome, --random-genome or --load of a genome's picture"},
    {{"--genome", "k.flame", "--frames", "5:3", "--save", "f"},
     "--frames: '5:3': the first frame is after the last"},
    {{"--genome", "k.flame", "--frames", "1:2:0", "--save", "f"},
     "--frames: '1:2:0' is not FIRST:LAST or FIRST:LAST:STEP (frames from -1000000000 to "
     "1000000000, either left out for the default, a step from 1)"},
    {{"--frames", "0:9", "--save", "f"},
     "--frames, --frame, --loop and --sequence need --genome: they animate a genome file"},
    {{"--genome", "k.flame", "--frames", ":", "--frame", "2", "--save", "f"},
     "--frames and --frame do not go together: each says which frames to draw"},
    {{"--genome", "k.flame", "--frame", "2"},
     "--frame draws one frame to a file: --save FILE, or --write-genome FILE for its "
     "genome (the window plays --frames)"},
    {{"--genome", "k.flame", "--frame", "nan", "--save", "f"},
     "--frame: 'nan' is not a time from -1000000000 to 1000000000"},
    {{"--genome", "a.flame", "--depth", "12", "--save", "f.png"}, "--depth: '12' is not 8, 16 or 32"},
    {{"--genome", "a.flame", "--depth=", "--save", "f.png"}, "--depth: '' is not 8, 16 or 32"},
    {{"--genome", "a.flame", "--depth", "32", "--save", "f.png"},
     "--depth 32: a PNG picture (.png) has 8 or 16 bits a channel"},
    {{"--genome", "a.flame", "--save", "f", "--depth", "32"},
     "--depth 32: a PNG picture (.png) has 8 or 16 bits a channel"},
    {{"--load", "a.png", "--depth", "8", "--save", "f.EXR"},
     "--depth 8: an OpenEXR picture (.exr) has 16 (half floats) or 32 (floats) bits a channel"},
    {{"--genome", "a.flame", "--depth", "16"},
     "--depth and --transparent need --save: they say how the picture file is written"},
    {{"--genome", "a.flame", "--transparent", "--frames", "0:9"},
     "--depth and --transparent need --save: they say how the picture file is written"},
    {{"--pattern", "3", "--transparent", "--save", "f.png"},
     "--depth, --transparent and OpenEXR (.exr) are for a genome's picture: --genome, "
     "--random-genome, or --load of its picture"},
    {{"--flame", "swirl 1 0 0 1 0 0; disc 1 0 0 1 0 0", "--save", "f.exr"},
     "--depth, --transparent and OpenEXR (.exr) are for a genome's picture: --genome, "
     "--random-genome, or --load of its picture"},
    {{"--genome", "k.flame", "--sequence", "10", "--pick", "2", "--save", "f"},
     "--pick does not go with --sequence or with frames of --pick all: a sequence takes every "
     "flame, and frames animate one file"},
    {{"--genome", "k.flame", "--save-state", "s", "--part", "4/3"},
     "--part: '4/3' is not K/N, a share K from 1 to N of N from 1 to 1000000"},
    {{"--genome", "k.flame", "--save-state", "s", "--part", "0/2"},
     "--part: '0/2' is not K/N, a share K from 1 to N of N from 1 to 1000000"},
    {{"--genome", "k.flame", "--part", "1/2", "--save", "a.png"},
     "--part draws a share of a render for --resume to add up: it needs --save-state, and not "
     "--save"},
    {{"--resume", "s", "--seed", "3", "--save", "a.png"},
     "--resume goes on with the genome, seed and size of its states: not with what says another "
     "(--genome, --load, --size, --seed, ...)"},
    {{"--resume", "s"}, "--resume draws to files: --save FILE, --save-state FILE or both"},
    {{"--pattern", "3", "--save-state", "s"},
     "--save-state needs a genome: --genome, --random-genome, --load of its picture, or "
     "--resume"},
    {{"--genome", "k.flame", "--frames", "0:9", "--save", "f", "--save-state", "s"},
     "--save-state, --resume and --part keep one still render: not with frames, --pick all, "
     "--write-genome or --live"},
};

// The frames' options, each as it is read: a side left out is the default's.
TEST(ParseOptionsTest, FramesTheirRangeAndTime) {
    SOptions options;
    std::string sError;
    ASSERT_TRUE(parse({"--genome", "k.flame", "--frames", "-3::2", "--loop", "30", "--save", "f"},
                      options, sError)) << sError;
    ASSERT_TRUE(options.frames.has_value());
    EXPECT_EQ(options.frames->iFirst.value_or(0), -3);
    EXPECT_FALSE(options.frames->iLast.has_value());
    EXPECT_EQ(options.frames->iStep, 2);
    EXPECT_EQ(options.iLoopFrames.value_or(0), 30);
    ASSERT_TRUE(parse({"--genome", "k.flame", "--frame", "2.5", "--write-genome", "-"}, options,
                      sError)) << sError;
    EXPECT_EQ(options.dFrame.value_or(0), 2.5);
}

// Without --save, frames open the window; --frame still draws to a file.
TEST(ParseOptionsTest, FramesWithoutSaveOpenTheWindow) {
    const std::vector<const char*> vLines[] = {
        {"--genome", "k.flame", "--frames", "0:9"},
        {"--genome", "k.flame", "--loop", "30", "--pick", "2"},
        {"--genome", "k.flame", "--sequence", "5", "--frames", "all"},
    };
    for (const std::vector<const char*>& vArgs : vLines) {
        SOptions options;
        std::string sError;
        EXPECT_TRUE(parse(vArgs, options, sError)) << sError;
        EXPECT_TRUE(animates(options) && options.sSavePath.empty());
    }
}

TEST(ParseOptionsTest, RefusedLinesNameTheirProblem) {
    for (const SRefusedLine& line : refusedLines) {
        SOptions options;
        std::string sError;
        EXPECT_FALSE(parse(line.vArgs, options, sError));
        EXPECT_EQ(sError, line.sError);
    }
}

}  // namespace
