// Genomes from the command line: a picture that keeps its seed and genome and draws again from
// them, a written genome file that draws alike, every file that is no genome refused with its
// name, at once, with nothing written, and the keyframes of loops of moving xforms written as
// flam3-genome writes them. That a seed gives the same pixels at any number of
// threads is checked in-process (RenderThreadsTest), where more threads than cores can be had.

#include "png_io.h"
#include "viewer_test.h"

#include "xml/genome_xml.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using TChunks = std::map<std::string, std::string>;

// Two flames as flam3's tools write them: a symmetry, a final xform, a palette by number.
const std::string sTwoFlames = R"(<pick version="FLAM3-LNX-3.1.1">
<flame name="first" size="96 72" center="0 0" scale="30" quality="20" palette="12">
   <symmetry kind="-2"/>
   <xform weight="0.5" color="0" julia="0.6" arch="0.4" coefs="0.63 -0.19 -0.26 0.05 0.03 -0.06"/>
   <xform weight="0.5" color="1" hyperbolic="0.7" fan="0.3" coefs="-0.68 -0.74 -0.26 0.46 0.82 0.24"/>
   <finalxform color="0.5" color_speed="0" spherical="1" coefs="1 0 0 1 0 0"/>
</flame>
<flame name="second" size="96 72" center="0.1 0" scale="25" rotate="30" quality="20" palette="40">
   <xform weight="0.7" color="0" swirl="1" coefs="0.5 0.2 -0.3 0.6 0.1 0.2"/>
   <xform weight="0.3" color="1" linear="0.5" sinusoidal="0.5" coefs="0.7 -0.1 0.1 0.5 -0.3 0.1"/>
</flame>
</pick>
)";

void writeFile(const std::string& sPath, const std::string& sText) {
    std::ofstream(sPath, std::ios::binary) << sText;
}

// A run without a display that must end with iStatus.
CViewerRun& ran(CViewerRun& run, int iStatus) {
    expectExitStatus(run.waitForExit(dFrameTimeout), iStatus);
    return run;
}

SViewerLaunch launchOf(const std::vector<std::string>& vArgs) {
    SViewerLaunch launch;
    launch.vArgs = vArgs;
    return launch;
}

SPicture savedGenome(const std::vector<std::string>& vArgs, const std::string& sPath,
                     TChunks* pText = nullptr) {
    std::vector<std::string> vLine = vArgs;
    vLine.insert(vLine.end(), {"--save", sPath});
    CViewerRun run(launchOf(vLine));
    EXPECT_EQ(ran(run, 0).errors(), "");
    return readPicture(sPath, pText);
}

TEST(GenomeTest, PictureKeepsItsSeedAndGenomeAndDrawsAgainFromThem) {
    CScratchFolder folder;
    writeFile(folder / "two.flame", sTwoFlames);
    for (const char* sPick : {"1", "2"}) {
        SCOPED_TRACE(sPick);
        const std::vector<std::string> vGenome = {"--genome", folder / "two.flame", "--pick",
                                                  sPick, "--seed", "7"};
        TChunks text;
        const SPicture picture = savedGenome(vGenome, folder / "one.png", &text);
        EXPECT_EQ(picture.iWidth, 96);
        EXPECT_GT(litPixels(picture), 96 * 72 / 25);
        EXPECT_EQ(text["Seed"], "7");
        EXPECT_NE(text["flam3_genome"].find(sPick[0] == '1' ? "first" : "second"),
                  std::string::npos);
        EXPECT_TRUE(savedGenome({"--load", folder / "one.png"}, folder / "again.png") == picture);
        std::vector<std::string> vArgs = vGenome;
        vArgs.insert(vArgs.end(), {"--write-genome", folder / "written.flame"});
        CViewerRun writing(launchOf(vArgs));
        EXPECT_EQ(ran(writing, 0).output(), "");
        EXPECT_TRUE(savedGenome({"--genome", folder / "written.flame", "--seed", "7"},
                                folder / "written.png") == picture);
    }
}

// A picture larger than a memory bound is drawn in the strips it needs, said in one line, and is
// the file of one piece, byte for byte; a bound too small for a strip of one row, or more strips
// than rows, is one line, its status, and nothing written.
TEST(GenomeTest, MemoryBoundDrawsInStripsTheFileOfOnePiece) {
    CScratchFolder folder;
    writeFile(folder / "two.flame", sTwoFlames);
    const std::vector<std::string> vGenome = {"--genome", folder / "two.flame", "--seed", "7",
                                              "--size", "400x300", "--quality", "2",
                                              "--threads", "1"};
    savedGenome(vGenome, folder / "one.png");
    const struct {
        std::vector<std::string> vArgs;
        int iStatus;
        const char* sSaid;
    } cases[] = {
        {{"--memory", "32"}, 0, "drawn in 4 strips to stay within --memory 32\n"},
        {{"--memory", "30"}, 1, "flames: --memory 30: too little for the 400 x 300 picture at "
                                "supersample 1: a strip of one row needs 31 MiB\n"},
        {{"--strips", "301"}, 2, "flames: --strips 301: more strips than the 300 rows of the "
                                 "picture\n"},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.sSaid);
        std::vector<std::string> vArgs = vGenome;
        vArgs.insert(vArgs.end(), example.vArgs.begin(), example.vArgs.end());
        vArgs.insert(vArgs.end(), {"--save", folder / "strips.png"});
        CViewerRun run(launchOf(vArgs));
        const std::string sErrors = ran(run, example.iStatus).errors();
        EXPECT_NE(sErrors.find(example.sSaid), std::string::npos) << sErrors;
        EXPECT_EQ(sErrors.find('\n'), sErrors.size() - 1) << sErrors;
        if (example.iStatus != 0) {
            std::vector<std::string> vNames = folder.names();
            std::sort(vNames.begin(), vNames.end());
            EXPECT_EQ(vNames, (std::vector<std::string>{"one.png", "two.flame"}));
            continue;
        }
        std::ifstream one(folder / "one.png", std::ios::binary);
        std::ifstream strips(folder / "strips.png", std::ios::binary);
        EXPECT_TRUE(std::equal(std::istreambuf_iterator<char>(one), {},
                               std::istreambuf_iterator<char>(strips), {}));
        std::remove((folder / "strips.png").c_str());
    }
}

// Each a line naming the file and what is wrong, status 1, and no picture.
TEST(GenomeTest, WhatIsNoGenomeIsRefusedAtOnce) {
    const std::string sXform = R"(<xform weight="1" linear="1" coefs="1 0 0 1 0 0"/>)";
    const std::string sBomb = R"(<?xml version="1.0"?><!DOCTYPE f [<!ENTITY a "aaaaaaaaaa">
        <!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;"><!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">
        <!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;"><!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">
        ]><flame name="&e;&e;&e;&e;&e;&e;&e;&e;">)" + sXform + "</flame>";
    const struct {
        std::string sText;
        std::vector<std::string> vMore;
        std::string sSaid;  // a part of the line after "flames: FILE: "
    } cases[] = {
        {"not a genome at all", {}, "not XML"},
        {"<flame size=\"10 10\">" + sXform, {}, "not XML"},
        {"<flames><flame size=\"10 10\"/></flames>", {}, "xform"},
        {R"(<flame size="8 8"><xform weight="1" frob="1" coefs="1 0 0 1 0 0"/></flame>)", {},
         "frob"},
        {R"(<flame size="8 8"><xform weight="1" linear="1" coefs="1 0 nan 1 0 0"/></flame>)", {},
         "coefs"},
        {"<flame size=\"0 10\">" + sXform + "</flame>", {}, "size"},
        {"<flame quality=\"0\">" + sXform + "</flame>", {}, "quality"},
        {"<flame supersample=\"99\">" + sXform + "</flame>", {}, "supersample"},
        {"<flame size=\"8 8\">" + sXform + "</flame>", {"--pick", "2"},
         "--pick 2: it holds 1 flame"},
        {sBomb, {}, "entities"},
        {R"(<!DOCTYPE f [<!ENTITY x SYSTEM "file:///etc/passwd">]><flame name="&x;">)" +
             sXform + "</flame>",
         {}, "entities"},
    };
    CScratchFolder folder;
    for (const auto& example : cases) {
        SCOPED_TRACE(example.sText.substr(0, 60));
        writeFile(folder / "odd.flame", example.sText);
        std::vector<std::string> vArgs = {"--genome", folder / "odd.flame", "--save",
                                          folder / "odd.png"};
        vArgs.insert(vArgs.end(), example.vMore.begin(), example.vMore.end());
        CViewerRun run(launchOf(vArgs));
        expectExitStatus(run.waitForExit(dEndTimeout), 1);
        const std::string sPrefix = "flames: " + folder / "odd.flame" + ": ";
        EXPECT_EQ(run.errors().rfind(sPrefix, 0), 0u) << run.errors();
        EXPECT_NE(run.errors().find(example.sSaid, sPrefix.size()), std::string::npos)
            << run.errors();
        EXPECT_EQ(run.errors().find('\n'), run.errors().size() - 1) << run.errors();
        EXPECT_EQ(folder.names(), std::vector<std::string>{"odd.flame"});
    }
}

#ifndef __SANITIZE_ADDRESS__  // whose shadow memory no address-space limit leaves room for
// Files made to cost gigabytes or hours in a few bytes, each refused at once with its line, or
// read within its limits, under an address-space limit of about a gigabyte (how long each
// takes is said by hand, never asserted).
TEST(GenomeTest, HostileFilesAreRefusedWithinAMemoryLimit) {
    const std::string sXform = R"(<xform weight="1" linear="1" coefs="0.5 0 0 0.5 0 0"/>)";
    std::string sSymmetries, sXforms, sFlames = "<f>";
    for (int i = 0; i < 10; i++) sSymmetries += "<symmetry kind=\"1000\"/>";
    for (int i = 0; i < 1001; i++) sXforms += sXform;
    for (int i = 0; i <= 1000000; i++) sFlames += "<flame/>";
    const std::string sHead = "<flame size=\"32 24\" quality=\"1\" palette=\"1\" name=\"";
    const struct {
        std::string sText;
        int iStatus;
        std::string sSaid;  // a part of the line after "flames: FILE: "
    } cases[] = {
        {sHead + "\">" + sXform + sSymmetries + "</flame>", 1,
         "9991 xforms, over the 1000 a flame may hold"},
        {sHead + "\">" + sXforms + "</flame>", 1, "1001 xforms, over the 1000 a flame may hold"},
        {sFlames + "</f>", 1, "1000001 flames, over the 1000000 a file may hold"},
        {sHead + "\">" + sXform + "<color index=\"0\" rgb=\"1e308 1e308 1e308\"/></flame>", 1,
         "its colours are too large for a palette to hold"},
        {sHead + std::string(5000000, 'n') + "\">" + sXform + "</flame>", 1,
         "bytes of text, over the 1048576 a picture keeps"},
        {sHead + std::string(100000, 'n') + "\">" + sXform + "</flame>", 0, ""},
    };
    CScratchFolder folder;
    for (const auto& example : cases) {
        SCOPED_TRACE(example.sSaid);
        writeFile(folder / "odd.flame", example.sText);
        SViewerLaunch launch = launchOf({"--genome", folder / "odd.flame", "--save",
                                         folder / "odd.png"});
        launch.vWrapper = {"sh", "-c", "ulimit -v 1000000; exec \"$0\" \"$@\""};
        CViewerRun run(launch);
        expectExitStatus(run.waitForExit(dEndTimeout), example.iStatus);
        if (example.iStatus == 0) {
            TChunks text;
            readPicture(folder / "odd.png", &text);
            EXPECT_LE(text["Description"].size(), 200u);
            std::remove((folder / "odd.png").c_str());
            continue;
        }
        EXPECT_NE(run.errors().find(example.sSaid), std::string::npos) << run.errors();
        EXPECT_EQ(run.errors().find('\n'), run.errors().size() - 1) << run.errors();
        EXPECT_EQ(folder.names(), std::vector<std::string>{"odd.flame"});
    }
}

// Keyframes of values the program accepts that once cost gigabytes or hours: each drawn,
// written or refused with its line at once, under an address-space limit of a quarter of a
// gigabyte (a frame's 20000 moments, a loop of a million keyframes, a billion frames), and
// nothing written where refused.
TEST(GenomeTest, HostileKeyframesAreDrawnOrRefusedWithinAMemoryLimit) {
    // sMore's attributes, and quality 1 and temporal_samples 1 where it leaves them out.
    const auto key = [](const std::string& sTime, std::string sMore) {
        for (const char* sDefault : {"quality=\"1\"", "temporal_samples=\"1\""})
            if (sMore.find(std::string(sDefault).substr(0, 8)) == std::string::npos)
                sMore += std::string(" ") + sDefault;
        return "<flame time=\"" + sTime + "\" size=\"8 6\" scale=\"4\" palette=\"12\" " +
               sMore + R"(>
  <xform weight="1" color="0" linear="1" coefs="0.5 0 0 0.5 0 0"/>
  <xform weight="1" color="1" linear="1" coefs="0.5 0 0 0.5 1 0.5"/></flame>)";
    };
    const auto keys = [&](const std::string& sFirst, const std::string& sSecond) {
        return "<flames>" + key("0", sFirst) + key("1", sSecond) + "</flames>";
    };
    const std::string sMoments = R"(temporal_samples="20000" palette_interpolation="sweep")";
    const struct {
        std::string sKeys;
        std::vector<std::string> vArgs;  // after --genome FILE
        int iStatus;
        std::string sSaid;  // a part of the one line said; "": nothing said
        std::vector<std::string> vWritten;
    } cases[] = {
        {keys(sMoments, sMoments), {"--frame", "0.5", "--save", "f.png"}, 0, "", {"f.png"}},
        {keys("", ""), {"--loop", "1000000", "--frame", "999999.5", "--write-genome", "g.flame"},
         0, "", {"g.flame"}},
        {keys("", ""), {"--sequence", "100000", "--frame", "150001", "--save", "f.png"}, 0, "",
         {"f.png"}},
        {keys("", ""), {"--loop", "10000", "--write-genome", "g.flame"}, 1, "(64 MiB)", {}},
        {keys("", ""), {"--loop", "1000000", "--write-genome", "-"}, 1,
         "1000001 flames, over the 1000000", {}},
        {keys("", R"(quality="0.5")"), {"--frames", "0:999999999", "--save", "f"}, 1,
         "frame 2: quality", {}},
        {keys(R"(rotate="1e300")", R"(rotate="-1e300")"), {"--frames", "0:1", "--save", "f"}, 0,
         "", {"f00000.png", "f00001.png"}},
        {keys(R"(interpolation="smooth")", ""), {"--frame", "0.5", "--save", "f.png"}, 0,
         "the first segment can only be linear (a curve needs a keyframe on either side): drawn "
         "linear, as flam3 draws it",
         {"f.png"}},
        {"<flames>" + key("0", "") + key("1e-20", "") + "</flames>",
         {"--frame", "0", "--save", "f.png"}, 1, "flame 2's time 1e-20 is within 1e-06 of", {}},
        {"<flames>" + key("0", "") + key("4.9e-324", "") + "</flames>",
         {"--frame", "0", "--save", "f.png"}, 1, "is within 1e-06 of flame 1's 0", {}},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.vArgs.front() + " " + example.vArgs[1] + " " + example.sSaid);
        CScratchFolder folder;
        writeFile(folder / "keys.flame", example.sKeys);
        std::vector<std::string> vLine = {"--genome", folder / "keys.flame"};
        for (const std::string& sArg : example.vArgs)
            vLine.push_back(sArg == "-" || sArg.front() == '-' || std::isdigit(sArg.front())
                                ? sArg
                                : folder / sArg);
        SViewerLaunch launch = launchOf(vLine);
        launch.vWrapper = {"sh", "-c", "ulimit -v 250000; exec \"$0\" \"$@\" > /dev/null"};
        CViewerRun run(launch);
        expectExitStatus(run.waitForExit(dEndTimeout), example.iStatus);
        if (example.sSaid.empty()) {
            EXPECT_EQ(run.errors(), "");
        } else {
            EXPECT_NE(run.errors().find(example.sSaid), std::string::npos) << run.errors();
            EXPECT_EQ(run.errors().find('\n'), run.errors().size() - 1) << run.errors();
        }
        std::vector<std::string> vNames = {"keys.flame"};
        vNames.insert(vNames.end(), example.vWritten.begin(), example.vWritten.end());
        std::vector<std::string> vFound = folder.names();
        std::sort(vNames.begin(), vNames.end());
        std::sort(vFound.begin(), vFound.end());
        EXPECT_EQ(vFound, vNames);
    }
}
#endif

// A frame's picture drawn again with --load is the frame, pixel for pixel: its moments blended
// from the keyframes it keeps, a file's or a sequence's.
TEST(GenomeTest, SavedFrameDrawsAgainWithLoad) {
    CScratchFolder folder;
    writeFile(folder / "keys.flame", R"(<flames>
<flame time="0" size="32 24" scale="8" quality="5" temporal_samples="3" palette="12">
  <xform weight="1" color="0" linear="1" coefs="0.5 0 0 0.5 0 0"/>
  <xform weight="1" color="1" spherical="1" coefs="0.5 0.2 -0.2 0.5 1 0.5"/></flame>
<flame time="4" size="32 24" scale="10" rotate="60" quality="5" temporal_samples="3"
       palette="40">
  <xform weight="1" color="0" linear="1" coefs="0.3 0.4 -0.4 0.3 0.5 0"/>
  <xform weight="1" color="1" spherical="1" coefs="0.5 -0.2 0.2 0.5 -1 0.5"/></flame>
</flames>)");
    for (const std::vector<std::string>& vFrame :
         {std::vector<std::string>{"--frame", "2.5"}, {"--sequence", "3", "--frame", "4.5"}}) {
        SCOPED_TRACE(vFrame.front());
        std::vector<std::string> vLine = {"--genome", folder / "keys.flame", "--seed", "7"};
        vLine.insert(vLine.end(), vFrame.begin(), vFrame.end());
        const SPicture frame = savedGenome(vLine, folder / "frame.png");
        const SPicture again = savedGenome({"--load", folder / "frame.png"}, folder / "again.png");
        EXPECT_EQ(again.vRgb, frame.vRgb);
    }
}

// What is not drawn here refuses the flame, one line naming each thing and nothing written;
// --lenient draws without them, a line each, and records the genome as drawn, which draws the
// same pixels again without --lenient.
TEST(GenomeTest, LenientDrawsWithoutWhatIsNotDrawnHere) {
    CScratchFolder folder;
    writeFile(folder / "odd.flame",
              R"(<flame size="48 36" scale="20" quality="10" palette="3" curves="0 0 1 1 0 1">
              <xform weight="1" linear="0.5" frob="1" coefs="0.5 0 0 0.5 0 0"/>
              <xform weight="1" spherical="1" coefs="0.5 0 0 0.5 0.5 0"/></flame>)");
    CViewerRun strict(launchOf({"--genome", folder / "odd.flame", "--save", folder / "x.png"}));
    EXPECT_NE(ran(strict, 1).errors().find("curves=\"0 0 1 1 0 1\" is not drawn here; xform 1: "
                                           "unknown variation or attribute 'frob'"),
              std::string::npos) << strict.errors();
    EXPECT_EQ(folder.names(), std::vector<std::string>{"odd.flame"});
    CViewerRun lenient(launchOf({"--genome", folder / "odd.flame", "--lenient", "--seed", "3",
                                 "--save", folder / "lenient.png"}));
    const std::string sPrefix = "flames: " + folder / "odd.flame" + ": flame 1: drawn without ";
    EXPECT_EQ(ran(lenient, 0).errors(), sPrefix + "curves=\"0 0 1 1 0 1\"\n" + sPrefix +
                                             "'frob' of xform 1\n");
    TChunks text;
    const SPicture picture = readPicture(folder / "lenient.png", &text);
    EXPECT_EQ(text["flam3_genome"].find("frob"), std::string::npos);
    EXPECT_TRUE(savedGenome({"--load", folder / "lenient.png"}, folder / "again.png") == picture);
}

// Motions of every kind: sin, triangle and hill, several on one xform, on the final xform, past
// the ranges of colour and weight, on a still xform's animate; and a second flame of other
// motions and fewer xforms, to blend into.
const std::string sMoving = R"(<flame size="10 10">
  <xform weight="0.5" color="1.5" linear="1" animate="0" coefs="1 0 0 1 0 0.2">
    <motion motion_frequency="1" motion_function="sin" coefs="0 0 0 0 1 0" animate="1"/>
    <motion motion_frequency="3" motion_function="triangle" color="-2" weight="1"/>
    <motion motion_frequency="2" julian="1" julian_dist="0.5" post="0 0 0 0 0 1"/>
  </xform>
  <xform weight="0.5" spherical="1" coefs="0.5 0 0 0.5 0 0"/>
  <finalxform linear="1"><motion motion_frequency="2" julia="0.5" opacity="-1"/></finalxform>
</flame>)";
const std::string sOther = R"(<flame size="10 10">
  <xform weight="0.5" linear="1" coefs="0.5 0 0 0.5 0 0">
    <motion motion_frequency="1" motion_function="sin" coefs="0 0.5 0 0 0 1" swirl="2"/>
  </xform>
</flame>)";

// Every number of the keyframes' xforms: their attributes, variations and the parameters of
// those they use. A final xform never turns, and flam3 writes no animate for it.
std::vector<double> numbersIn(const std::string& sPath) {
    std::vector<SGenome> vKeys;
    std::string sError;
    EXPECT_TRUE(readGenomeFile(sPath, vKeys, sError)) << sError;
    std::vector<double> vNumbers;
    for (SGenome& key : vKeys) {
        key.finalXform.dAnimate = 1;
        if (key.bFinalXform) key.vXforms.push_back(key.finalXform);
        for (const SXform& x : key.vXforms) {
            vNumbers.insert(vNumbers.end(), {key.dTime, x.dWeight, x.dColor, x.dColorSpeed,
                                             x.dOpacity, x.dAnimate});
            vNumbers.insert(vNumbers.end(), x.coefs.begin(), x.coefs.end());
            vNumbers.insert(vNumbers.end(), x.post.begin(), x.post.end());
            vNumbers.insert(vNumbers.end(), x.variations.begin(), x.variations.end());
            for (int i = 0; i < iVariationCount; i++)
                if (x.variations[i] != 0)
                    for (int k = 0; k < variationOf(i).parameterCount(); k++)
                        vNumbers.push_back(x.parameters[firstParameter(i) + k]);
        }
    }
    return vNumbers;
}

// A loop's keyframes and a sequence's, written, are flam3-genome's: moved, turned and blended.
TEST(GenomeTest, LoopsAndSequencesMoveAsFlam3GenomeMovesThem) {
    ASSERT_NE(std::string(FLAM3_GENOME_PATH), "")
        << "no flam3-genome: scripts/install-deps.sh installs flam3-utils";
    CScratchFolder folder;
    writeFile(folder / "one.flame", sMoving);
    writeFile(folder / "two.flame", "<flames>" + sMoving + sOther + "</flames>");
    for (const char* sFlames : {"one.flame", "two.flame"}) {
        SCOPED_TRACE(sFlames);
        const std::string sMode = sFlames == std::string("one.flame") ? "--loop" : "--sequence";
        CViewerRun run(launchOf({"--genome", folder / sFlames, sMode, "8", "--write-genome",
                                 folder / "ours.flame"}));
        EXPECT_EQ(ran(run, 0).errors(), "");
        const std::string sReference = "env sequence=" + folder / sFlames + " nframes=8 " +
                                       FLAM3_GENOME_PATH + " > " + folder / "theirs.flame" +
                                       " 2> /dev/null";
        ASSERT_EQ(std::system(sReference.c_str()), 0) << sReference;
        const std::vector<double> vOurs = numbersIn(folder / "ours.flame"),
                                  vTheirs = numbersIn(folder / "theirs.flame");
        ASSERT_EQ(vOurs.size(), vTheirs.size());
        for (size_t i = 0; i < vOurs.size(); i++)  // to the six digits flam3 writes
            EXPECT_NEAR(vOurs[i], vTheirs[i], 1e-5 * std::max(1.0, std::fabs(vTheirs[i]))) << i;
        std::ifstream written(folder / "ours.flame");
        const std::string sWritten((std::istreambuf_iterator<char>(written)),
                                   std::istreambuf_iterator<char>());
        EXPECT_EQ(sWritten.find("<motion"), std::string::npos);
    }
}

}  // namespace
