// Genomes read from and written to XML.

#include "reference_support.h"

#include "genome/attributes.h"
#include "xml/genome_xml.h"
#include "genome/palette.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>

namespace {

const char* const sXform = "<xform weight=\"1\" linear=\"1\"/>";

std::string flame(const std::string& sAttributes, const std::string& sBody = sXform) {
    return "<flame size=\"10 10\" " + sAttributes + ">" + sBody + "</flame>";
}

std::string errorOf(const std::string& sXml) {
    std::vector<SGenome> vGenomes;
    std::string sError;
    EXPECT_FALSE(readGenomes(sXml, vGenomes, sError)) << sXml;
    return sError;
}

TEST(GenomeReadTest, RefusesWhatItCannotDraw) {
    const struct {
        std::string sXml;
        const char* sError;
    } cases[] = {
        {"flame", "not XML: No document element found at line 1"},
        {"<flames>\n<flame size=\"1 1\">\n<xform weight=\"1\"", "at line 3"},
        {"<flames><other/></flames>", "no <flame> element"},
        {"<flame/>", "a <flame> with no attributes"},
        {flame("", ""), "no xform with a weight above 0"},
        {flame("", "<xform weight=\"0\" linear=\"1\"/>"), "no xform with a weight above 0"},
        {flame("", "<xform weight=\"1\" crackle=\"1\"/>"),
         "xform 1: unknown variation or attribute 'crackle'"},
        {flame("", "<xform weight=\"1\" coefs=\"1 0 0 1 0\"/>"), "is not six finite numbers"},
        {flame("", "<xform weight=\"1\" julian_power=\"nan\"/>"), "is not a finite number"},
        {flame("", "<xform weight=\"1 \"/>"), "weight=\"1 \" is not a finite number"},
        {flame("", "<xform weight=\"-1\"/>"), "xform 1 has a negative weight"},
        {flame("", "<xform weight=\"1\" var1=\"99\"/>"), "a variation number from 0 to 98"},
        {flame("", "<xform weight=\"1\" var=\"1 0\"/>"), "a list of 99 variation weights"},
        {flame("", "<xform weight=\"1\" motion_frequency=\"1\"/>"), "'motion_frequency'"},
        {flame("", "<xform weight=\"1\" weight=\"2\"/>"), "<xform> has weight twice"},
        {flame("", std::string(sXform) + "<finalxform weight=\"1\"/>"), "a weight other than 0"},
        {flame("", std::string(sXform) + "<finalxform/><finalxform/>"), "more than one"},
        {flame("", std::string(sXform) + "<symmetry kind=\"0\"/>"), "a kind other than 0"},
        {flame("", std::string(sXform) + "<symmetry kind=\"2\" x=\"1\"/>"), "attribute 'x'"},
        {flame("", std::string(sXform) + "<color index=\"256\" rgb=\"1 2 3\"/>"), "index"},
        {flame("", std::string(sXform) + "<color index=\"1\" rgb=\"1 2\"/>"), "bad rgb"},
        {flame("", std::string(sXform) + "<palette index0=\"1\" index1=\"2\"/>"), "old form"},
        {flame("", std::string(sXform) + "<colors count=\"2\" data=\"00ff0000\"/>"), "count"},
        {"<flame size=\"0 10\">" + std::string(sXform) + "</flame>",
         "size 0 10 is out of 1 to 16384 per side"},
        {"<flame size=\"16385 10\">" + std::string(sXform) + "</flame>", "out of 1 to 16384"},
        {flame("quality=\"0\""), "quality 0 is out of (0, 100000]"},
        {flame("quality=\"100001\""), "quality 100001 is out of"},
        {flame("supersample=\"17\""), "supersample 17 is out of 1 to 16"},
        {flame("estimator_radius=\"1\" estimator_minimum=\"2\""), "is below estimator_minimum"},
        {flame("estimator_curve=\"0\""), "estimator_curve 0 is not > 0"},
        {flame("scale=\"1e999\""), "scale=\"1e999\" is not a finite number"},
        {flame("palette=\"9999\""), "no palette 9999 in the palette library"},
        {flame("temporal_samples=\"1.5\""), "temporal_samples=\"1.5\" is not a whole number"},
    };
    for (const auto& example : cases)
        EXPECT_NE(errorOf(example.sXml).find(example.sError), std::string::npos)
            << example.sXml << " gave: " << errorOf(example.sXml);
}

// What the editors write, by its meaning: settings of no effect read without a word; settings
// that change the picture accepted at their neutral value, else named, all of them and every
// unknown variation in one line; read leniently, drawn without each, each said.
TEST(GenomeReadTest, EditorsAttributesAreReadByTheirMeaning) {
    const struct {
        std::string sFlame, sXform;
        const char* sError;  // "": read as the plain flame
        size_t uDropped;     // things a lenient reading draws it without
    } cases[] = {
        {"version=\"v\" grad_edit_hue_curve_x1=\"23\" blend_seconds=\"2\" nick=\"n\"",
         "name=\"a\" animate_origin=\"1\" linear_fx_priority=\"0\" mod_hue=\"0.0\"", "", 0},
        {"curves=\"0 0 1 0.5 0.5 1\" red_curve=\"0 0 1 1\" post_symmetry_type=\"NONE\" "
         "white_level=\"220.0\" cam_zoom=\"1\"",
         "material=\"0.0\" var_color=\"1\" zxCoefs=\"1 0 0 1 0 0\" color_type=\"DIFFUSION\"", "",
         0},
        {"post_symmetry_type=\"X_AXIS\" post_blur_radius=\"0.5\"", "",
         "post_symmetry_type=\"X_AXIS\" is not drawn here; post_blur_radius=\"0.5\" is not "
         "drawn here", 2},
        {"", "foo=\"1\" foo_a=\"2\" bar=\"1\" color_type=\"TARGET\"",
         "flame 1 (line 1): xform 1: unknown variations or attributes 'foo', 'bar'; xform 1: "
         "color_type=\"TARGET\" is not drawn here", 3},
    };
    const SGenome plain = firstGenomeOf(flame(""));
    for (const auto& example : cases) {
        const std::string sXml = flame(example.sFlame, "<xform weight=\"1\" linear=\"1\" " +
                                                           example.sXform + "/>");
        SLeniency leniency;
        leniency.bLenient = true;
        std::vector<SGenome> vGenomes;
        std::string sError;
        ASSERT_TRUE(readGenomes(sXml, vGenomes, sError, &leniency)) << sError;
        EXPECT_TRUE(vGenomes[0] == plain) << sXml;
        if (*example.sError == '\0') {
            EXPECT_TRUE(leniency.vDropped.empty() && firstGenomeOf(sXml) == plain) << sXml;
            continue;
        }
        EXPECT_NE(errorOf(sXml).find(example.sError), std::string::npos) << errorOf(sXml);
        EXPECT_EQ(leniency.vDropped.size(), example.uDropped);
        EXPECT_EQ(leniency.vDropped[0].rfind("flame 1: drawn without ", 0), 0u);
    }
    // JWildfire's final xforms after the first: named; read leniently, left out.
    const std::string sTwoFinals =
        flame("", std::string(sXform) + "<finalxform linear=\"1\"/><finalxform spherical=\"1\"/>");
    EXPECT_EQ(errorOf(sTwoFinals), "flame 1 (line 1): more than one <finalxform>");
    SLeniency leniency;
    leniency.bLenient = true;
    std::vector<SGenome> vGenomes;
    std::string sError;
    ASSERT_TRUE(readGenomes(sTwoFinals, vGenomes, sError, &leniency)) << sError;
    EXPECT_EQ(vGenomes[0].finalXform.variations[variationIndex("linear")], 1);
    EXPECT_EQ(leniency.vDropped,
              std::vector<std::string>{"flame 1: drawn without the <finalxform> after the first"});
    // An editor's switch for density estimation is honoured: off, its radius is 0.
    EXPECT_EQ(firstGenomeOf(flame("enable_de=\"0\" estimator_radius=\"9\"")).dEstimatorRadius, 0);
}

// JWildfire's camera zoom and the Houdini editor's palette adjustment are drawn: folded into the
// scale and the palette, so that the genome written back draws the same; values they cannot be
// drawn at are named.
TEST(GenomeReadTest, EditorsZoomAndPaletteAdjustmentAreFoldedIn) {
    const std::string sRed = std::string(sXform) + "<color index=\"0\" rgb=\"128 64 64\"/>";
    const SGenome zoomed = firstGenomeOf(flame("scale=\"40\" cam_zoom=\"1.5\""));
    EXPECT_EQ(zoomed.dScale, 60);
    // h 0, s 0.5, v 128/255: saturation 1.5 times, value 1.5 times, then held at 1.
    const struct {
        const char* sHsv;
        double dRed, dGreen, dBlue;
    } adjustments[] = {{"1 1.5 1.5", 192, 48, 48}, {"1 4 1", 128, 0, 0},
                       {"1 1 3", 255, 127.5, 127.5}, {"1 0 1", 128, 128, 128}};
    for (const auto& adjustment : adjustments) {
        const std::string sAdjusted = "flam3h_hsv=\"" + std::string(adjustment.sHsv) + "\"";
        const SGenome adjusted = firstGenomeOf(flame(sAdjusted, sRed));
        const SColourBytes bytes = colourToBytes(adjusted.palette[0]);
        EXPECT_NEAR(bytes.dRed, adjustment.dRed, 1e-9) << adjustment.sHsv;
        EXPECT_NEAR(bytes.dGreen, adjustment.dGreen, 1e-9) << adjustment.sHsv;
        EXPECT_NEAR(bytes.dBlue, adjustment.dBlue, 1e-9) << adjustment.sHsv;
        EXPECT_TRUE(firstGenomeOf(genomeXml(adjusted)) == adjusted) << adjustment.sHsv;
    }
    for (const char* sAttribute : {"cam_zoom=\"0\"", "cam_zoom=\"-2\"",
                                   "flam3h_hsv=\"0.5 1 1\"", "flam3h_hsv=\"1 -1 1\"",
                                   "flam3h_hsv=\"1 1\""})
        EXPECT_NE(errorOf(flame(sAttribute)).find(std::string(sAttribute) + " is not drawn here"),
                  std::string::npos)
            << errorOf(flame(sAttribute));
}

// A few bytes that would make thousands of xforms, and colours that could be drawn but not
// written back: refused, naming the limit and the count, before the xforms are made.
TEST(GenomeReadTest, WhatWouldCostGigabytesIsRefusedAtOnce) {
    std::string sSymmetries, sXforms;
    for (int i = 0; i < 10; i++) sSymmetries += "<symmetry kind=\"1000\"/>";
    for (int i = 0; i < 1001; i++) sXforms += sXform;
    const struct {
        std::string sXml;
        const char* sError;
    } cases[] = {
        {flame("", sXform + sSymmetries), "9991 xforms, over the 1000 a flame may hold"},
        {flame("", sXforms), "1001 xforms, over the 1000 a flame may hold"},
        {flame("", std::string(sXform) + "<color index=\"0\" rgb=\"1e308 1e308 1e308\"/>"
                                         "<color index=\"9\" rgb=\"-1e308 0 0\"/>"),
         "its colours are too large for a palette to hold"},
    };
    for (const auto& example : cases)
        EXPECT_NE(errorOf(example.sXml).find(example.sError), std::string::npos)
            << errorOf(example.sXml);
    // A file of a million and one flames, each as short as a flame can be: refused when parsed,
    // before any is read.
    std::string sFlames = "<f>";
    for (int i = 0; i <= 1000000; i++) sFlames += "<flame/>";
    CFlameFile file;
    std::string sError;
    EXPECT_FALSE(file.parse(sFlames + "</f>", sError));
    EXPECT_EQ(sError, "1000001 flames, over the 1000000 a file may hold");
    // At the limit, it is read, and it writes back.
    std::string sThousand;
    for (int i = 0; i < 1000; i++) sThousand += sXform;
    const SGenome thousand = firstGenomeOf(flame("", sThousand));
    EXPECT_EQ(thousand.vXforms.size(), 1000u);
    EXPECT_TRUE(firstGenomeOf(genomeXml(thousand)) == thousand);
}

TEST(GenomeReadTest, NamesTheFlameAndItsLine) {
    EXPECT_EQ(errorOf("<f>" + flame("") + "\n" + flame("quality=\"-1\"") + "</f>"),
              "flame 2 (line 2): quality -1 is out of (0, 100000]");
}

TEST(GenomeReadTest, FindsFlamesAtAnyDepthInDocumentOrder) {
    std::vector<SGenome> vGenomes;
    std::string sError;
    const std::string sXml = "<a><b>" + flame("name=\"1\"") + "</b>" + flame("name=\"2\"") +
                             "<c><d>" + flame("name=\"3\"") + "</d></c></a>";
    ASSERT_TRUE(readGenomes(sXml, vGenomes, sError)) << sError;
    ASSERT_EQ(vGenomes.size(), 3u);
    for (int i = 0; i < 3; i++) EXPECT_EQ(vGenomes[i].sName, std::to_string(i + 1));
    EXPECT_EQ(firstGenomeOf(flame("name=\"bare\"")).sName, "bare");
}

TEST(GenomeReadTest, ReadsOldAndShortForms) {
    std::string sList;  // flam3's 99 weights by number: pre_blur 0.2, mobius 0.5
    for (int i = 0; i < 99; i++) sList += i == 67 ? "0.2 " : i == 98 ? "0.5 " : "0 ";
    const SGenome genome = firstGenomeOf(flame("hue=\"1.25\"",
        "<xform weight=\"1\" var1=\"2\" symmetry=\"0.5\" color=\"0.3 0.9\" plotmode=\"off\" "
        "chaos=\"0 2\"/><xform weight=\"2\" sinusoidal=\"1\"/>"
        "<xform weight=\"1\" var=\"" + sList + "\"/><xform weight=\"1\" var1=\"98\"/>"));
    const SXform& xform = genome.vXforms[0];
    EXPECT_EQ(xform.variations[2], 1);
    EXPECT_EQ(xform.dColorSpeed, 0.25);  // (1 − σ)/2
    EXPECT_EQ(xform.dColor, 0.3);
    EXPECT_EQ(xform.dOpacity, 0);
    EXPECT_EQ(xform.vChaos, (std::vector<double>{0, 2}));
    EXPECT_EQ(genome.vXforms[1].dColor, 1);  // odd xforms default to colour 1
    EXPECT_EQ(genome.dHue, 0.25);
    const std::array<double, iVariationCount>& listed = genome.vXforms[2].variations;
    EXPECT_EQ(listed[67], 0.2);
    EXPECT_EQ(listed[98], 0.5);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), 0.0), iVariationCount - 2);
    EXPECT_EQ(genome.vXforms[3].variations[98], 1);
    // A count as JWildfire writes it.
    EXPECT_EQ(firstGenomeOf(flame("temporal_samples=\"3.0\"")).iTemporalSamples, 3);
}

// The element adds its xforms where it stands, beside any that the file lists already.
TEST(GenomeReadTest, SymmetryAddsXformsEvenWhenListed) {
    const SGenome genome = firstGenomeOf(flame("",
        "<symmetry kind=\"-3\"/><xform weight=\"1\" linear=\"1\" coefs=\"-1 0 0 1 0 0\"/>"));
    ASSERT_EQ(genome.vXforms.size(), 4u);
    EXPECT_EQ(genome.vXforms[0].coefs, (std::array<double, 6>{-1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(genome.vXforms[1].coefs,
              (std::array<double, 6>{-0.5, 0.866025, -0.866025, -0.5, 0, 0}));
    EXPECT_EQ(genome.vXforms[2].dColor, 1);  // (k − 1)/(m − 2) for k = 2 of m = 3
    EXPECT_EQ(genome.vXforms[0].dColorSpeed, 0);
    EXPECT_EQ(genome.vXforms[3].coefs, genome.vXforms[0].coefs);
}

// Inline colours premultiplied, the gaps blended round the ring; alpha only when last.
TEST(GenomeReadTest, InlinePalettesFillTheirGaps) {
    const SGenome genome = firstGenomeOf(flame("", std::string(sXform) +
        "<color index=\"10\" rgb=\"255 0 0\" a=\"51\"/><color index=\"250\" a=\"0\" "
        "rgb=\"0 0 255\"/>"));
    EXPECT_EQ(genome.palette[10], (SColour{0.2, 0, 0, 0.2}));
    EXPECT_EQ(genome.palette[250], (SColour{0, 0, 1, 1}));  // a came before rgb: reset
    const SColour middle = genome.palette[(250 + 8) % 256];  // 8 of 16 steps across 255 → 0
    EXPECT_NEAR(middle.dRed, 0.1, 1e-12);
    EXPECT_NEAR(middle.dBlue, 0.5, 1e-12);
    EXPECT_NEAR(middle.dAlpha, 0.6, 1e-12);
    EXPECT_EQ(firstGenomeOf(flame("")).palette[7], (SColour{0, 0, 0, 0}));  // no palette: nothing
}

// The library's palette replaces inline colours, and only it turns with hue.
TEST(GenomeReadTest, LibraryPalettesOverrideAndTurn) {
    const std::string sInline = std::string(sXform) + "<color index=\"0\" rgb=\"255 0 0\"/>";
    const SGenome plain = firstGenomeOf(flame("palette=\"0\"", sInline));
    EXPECT_NEAR(plain.palette[0].dRed, 0xb9 / 255.0, 1e-15);  // 00b9eaeb, as the file has it
    EXPECT_EQ(firstGenomeOf(flame("hue=\"0.5\"", sInline)).palette[0], (SColour{1, 0, 0, 1}));
    const SGenome turned = firstGenomeOf(flame("palette=\"0\" hue=\"0.5\"", sInline));
    double hsv[3], turnedHsv[3];
    rgbToHsv({plain.palette[0].dRed, plain.palette[0].dGreen, plain.palette[0].dBlue}, hsv);
    rgbToHsv({turned.palette[0].dRed, turned.palette[0].dGreen, turned.palette[0].dBlue},
             turnedHsv);
    EXPECT_NEAR(std::fmod(hsv[0] + 3, 6), turnedHsv[0], 1e-12);
    EXPECT_NEAR(hsv[1], turnedHsv[1], 1e-12);
}

TEST(GenomeReadTest, MissingLibrarySaysWhichPackageHasIt) {
    setenv("flam3_palettes", "/nonexistent/flam3-palettes.xml", 1);
    const std::string sError = errorOf(flame("palette=\"3\""));
    unsetenv("flam3_palettes");
    EXPECT_NE(sError.find("the package flam3-palette provides it"), std::string::npos) << sError;
}

// No entity is expanded: an entity bomb, ten levels of ten, would be ten gigabytes expanded,
// and is refused for what its text is; an external entity is never read.
TEST(GenomeReadTest, EntitiesAreNeitherExpandedNorFetched) {
    std::string sBomb = "<!DOCTYPE x [<!ENTITY a \"aaaaaaaaaa\">";
    for (char cName = 'b'; cName <= 'j'; cName++) {
        std::string sTens;
        for (int i = 0; i < 10; i++) sTens += std::string("&") + static_cast<char>(cName - 1) + ";";
        sBomb += "<!ENTITY " + std::string(1, cName) + " \"" + sTens + "\">";
    }
    sBomb += "]>" + flame("name=\"&j;\"");
    const std::string sRefused = "its document type declares entities, which are never expanded";
    EXPECT_EQ(errorOf(sBomb), sRefused);
    const std::string sExternal = "<!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>" +
                                  flame("name=\"&e;\"");
    EXPECT_EQ(errorOf(sExternal), sRefused);
    EXPECT_EQ(firstGenomeOf(flame("name=\"&e;\"")).sName, "&e;");  // undeclared: left as written
}

TEST(GenomeReadTest, RefusesHugeFilesUnread) {
    char sPath[] = "/tmp/genome-huge-XXXXXX";
    const int iFile = mkstemp(sPath);
    ASSERT_GE(iFile, 0);
    ASSERT_EQ(ftruncate(iFile, 65 << 20), 0);  // sparse: costs no disk
    close(iFile);
    std::vector<SGenome> vGenomes;
    std::string sError;
    EXPECT_FALSE(readGenomeFile(sPath, vGenomes, sError));
    unlink(sPath);
    EXPECT_EQ(sError, "larger than 64 MiB: no genome file is so large");
}

// What is written reads back the same, bit for bit, and holds no <symmetry>.
TEST(GenomeWriteTest, WrittenGenomesReadBackIdentical) {
    std::string sEvery;
    for (int i = 0; i < iVariationCount; i++)
        sEvery += std::string(" ") + variationOf(i).sName + "=\"" + std::to_string(0.01 * i) +
                  "\"";
    const std::string cases[] = {
        flame("palette=\"17\" hue=\"0.37\" rotate=\"12.5\" zoom=\"0.7\" name=\"a &amp; b\""),
        flame("background=\"0.1 0.2 0.3\" filter_shape=\"mitchell\" palette_mode=\"linear\"",
              "<symmetry kind=\"-4\"/><xform weight=\"0.3\" julian_power=\"0.1\"" + sEvery +
                  " chaos=\"1 0.5\" post=\"0.9 0.1 -0.1 0.9 0.2 0.3\"/>"
                  "<finalxform spherical=\"1\" opacity=\"0.4\"/>"
                  "<color index=\"3\" rgb=\"250 7 1\" a=\"100\"/>"
                  "<color index=\"70\" rgb=\"0.5 100.25 33\"/>"),
        flame("", std::string(sXform) +
                      "<palette count=\"2\" format=\"RGBA\">FF808040 10204000</palette>"),
    };
    for (const std::string& sXml : cases) {
        const SGenome genome = firstGenomeOf(sXml);
        const std::string sWritten = genomeXml(genome);
        EXPECT_EQ(sWritten.find("<symmetry"), std::string::npos);
        const SGenome again = firstGenomeOf(sWritten);
        EXPECT_TRUE(again == genome) << sWritten;
        EXPECT_EQ(genomeXml(again), sWritten);
        for (int i = 0; i < iPaletteSize; i++)
            EXPECT_EQ(again.palette[i], genome.palette[i]) << "entry " << i << " of " << sXml;
    }
}

// The editors' colour curves, read as they read them: clamped, sorted, the older form's doubled
// end points mended, the curves read last winning; the Houdini editor's rip switch and the
// share of a set colour an xform keeps, each read, checked and written back.
TEST(GenomeReadTest, EditorsCurvesAndSwitchesAreRead) {
    const std::string sOld = "curves=\"0 0 1 0.3 0.5 1 1 1 1 1 1 1" +
                             std::string(3, ' ') + [] {
                                 std::string s;
                                 for (int i = 0; i < 3; i++) s += " 0 0 1 0 0 1 1 1 1 1 1 1";
                                 return s;
                             }() + "\"";
    const struct {
        std::string sAttributes;
        int iCurve;
        CCurveKnots knots;
    } cases[] = {
        {"overall_curve=\"0.5 0.6 1 1.5 0 -1\"", 0, {0, 0, 0.5, 0.6, 1, 1}},
        {"red_curve=\"0 0 0.3 0.3 1 1\"", 1, neutralCurve()},  // the identity
        {sOld, 0, {0, 0, 0.3, 0.5, 0.75, 0.75, 1, 1}},
        {sOld, 1, neutralCurve()},
        {sOld + " overall_curve=\"0 0 1 0.5\"", 0, {0, 0, 1, 0.5}},
    };
    for (const auto& example : cases)
        EXPECT_EQ(firstGenomeOf(flame(example.sAttributes)).curves[example.iCurve],
                  example.knots) << example.sAttributes;
    EXPECT_TRUE(curvesOff(firstGenomeOf(flame(sOld + " overall_curve=\"0 0 1 1\"")).curves));
    EXPECT_NE(errorOf(flame("red_curve=\"0 0 0.5 0.2 0.5 0.4 1 1\"")).find("no two of the same x"),
              std::string::npos);
    EXPECT_NE(errorOf(flame("blue_curve=\"0.5\"")).find("at least two"), std::string::npos);
    EXPECT_NE(errorOf(flame("flam3h_rip=\"2\"")).find("is not 0 or 1"), std::string::npos);
    const SGenome ripped = firstGenomeOf(flame("flam3h_rip=\"1\""));
    EXPECT_EQ(ripped.iRemoveInvalid, 1);
    EXPECT_NE(genomeXml(ripped).find("flam3h_rip=\"1\""), std::string::npos);
    EXPECT_EQ(genomeXml(firstGenomeOf(flame("flam3h_rip=\"0\""))).find("flam3h_rip"),
              std::string::npos);
    const struct {
        const char* sValue;
        double dKept;
    } shares[] = {{"0.5", 0.5}, {"1.7", 1}, {"-2", 0}};
    for (const auto& share : shares)
        EXPECT_EQ(firstGenomeOf(flame("", "<xform weight=\"1\" linear=\"1\" var_color=\"" +
                                              std::string(share.sValue) + "\"/>"))
                      .vXforms[0].dVarColor, share.dKept);
}

// A <palette> of fewer colours than its count: those it holds, then opaque black up to its
// count, the rest filled as any gap is.
TEST(GenomeReadTest, ShortPalettesAreBlackUpToTheirCount) {
    const SGenome genome = firstGenomeOf(flame("", std::string(sXform) +
        "<palette count=\"4\" format=\"RGB\">FF0000 00FF00</palette>"));
    const SColour expected[] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}};
    for (int i = 0; i < 4; i++) EXPECT_EQ(genome.palette[i], expected[i]) << i;
    EXPECT_NE(errorOf(flame("", std::string(sXform) +
                                    "<palette count=\"4\" format=\"RGB\">FF00</palette>"))
                  .find("that many colours"),
              std::string::npos);
}

// JWildfire's NAME#k# names, no XML names: refused as not XML; read leniently as repeats of
// their variation, said in one line, written in a form read back strictly. A '#' in a value or
// a comment is left as it is.
TEST(GenomeReadTest, RepeatNamesAreMendedOnlyWhenLenient) {
    const std::string sXml =
        "<!-- a#1#b --><flame size=\"10 10\" name=\"a#1#b\"><xform weight=\"1\" "
        "julian=\"0.5\" julian#2#=\"0.25\" julian#2#_power=\"3\"/></flame>";
    EXPECT_EQ(errorOf(sXml).rfind("not XML", 0), 0u);
    CFlameFile file;
    file.mendNames(true);
    std::string sError;
    ASSERT_TRUE(file.parse(sXml, sError)) << sError;
    SLeniency leniency;
    leniency.bLenient = true;
    SGenome genome;
    ASSERT_TRUE(file.read(0, genome, sError, &leniency)) << sError;
    EXPECT_EQ(leniency.vDropped, std::vector<std::string>{
        "flame 1: read 2 attribute names of the form NAME#k#, which are no XML names, as "
        "NAME.k. ('julian#2#' and more)"});
    EXPECT_EQ(genome.sName, "a#1#b");
    ASSERT_EQ(genome.vXforms[0].vUses.size(), 1u);
    const SVariationUse& use = genome.vXforms[0].vUses[0];
    EXPECT_EQ(use.iRepeat, 2);
    EXPECT_EQ(use.dWeight, 0.25);
    EXPECT_EQ(use.parameters[0], 3);
    EXPECT_EQ(genome.vXforms[0].variations[variationIndex("julian")], 0.5);
    EXPECT_TRUE(firstGenomeOf(genomeXml(genome)) == genome);
    // A repeat adds to the sum as the plain variation does: half and half of linear is linear.
    const std::string sHalves = "<flame size=\"16 16\" quality=\"4\"><xform weight=\"1\" "
                                "coefs=\"0.5 0 0 0.5 0.1 0\" linear=\"0.5\" linear.1.=\"0.5\"/>"
                                "<xform weight=\"1\" coefs=\"0.5 0 0 0.5 -0.2 0.3\" linear=\"1\"/>"
                                "</flame>";
    std::string sHalves1 = sHalves;
    sHalves1.replace(sHalves1.find("linear=\"0.5\" linear.1.=\"0.5\""), 28, "linear=\"1\"");
    EXPECT_EQ(renderOurs(sHalves, 3, 1, sError).vRgb, renderOurs(sHalves1, 3, 1, sError).vRgb);
    EXPECT_NE(renderOurs(sHalves, 3, 1, sError).vRgb.size(), 0u) << sError;
}

// Every attribute of the tables away from its default: the comparison sees it, and it reads back
// as written. A row that equality or the writer leaves out fails here, and so does a row this
// test gives no value.
TEST(GenomeWriteTest, EveryAttributeIsComparedWrittenAndReadBack) {
    const std::map<std::string, std::string> flameValues = {
        {"name", "n"}, {"size", "20 30"}, {"center", "0.5 -1"}, {"scale", "70"},
        {"zoom", "0.5"}, {"rotate", "30"}, {"supersample", "2"}, {"filter", "0.8"},
        {"filter_shape", "box"}, {"quality", "3"}, {"passes", "2"},
        {"background", "0.1 0.2 0.3"}, {"brightness", "5"}, {"gamma", "2"},
        {"gamma_threshold", "0.2"}, {"vibrancy", "0.5"}, {"highlight_power", "1"},
        {"hue", "0.25"}, {"palette", "3"}, {"palette_mode", "linear"},
        {"estimator_radius", "5"}, {"estimator_minimum", "1"}, {"estimator_curve", "0.6"},
        {"soloxform", "0"}, {"cam_pitch", "0.5"}, {"cam_yaw", "-0.5"}, {"cam_persp", "0.2"},
        {"cam_zpos", "1"}, {"cam_dof", "0.1"}, {"cam_roll", "0.3"}, {"blur_curve", "2"},
        {"time", "3"},
        {"interpolation", "smooth"}, {"interpolation_type", "linear"},
        {"palette_interpolation", "sweep"}, {"hsv_rgb_palette_blend", "0.5"},
        {"temporal_samples", "4"}, {"temporal_filter_type", "exp"},
        {"temporal_filter_width", "2"}, {"temporal_filter_exp", "-1"},
        {"overall_curve", "0 0 0.5 0.7 1 1"}, {"red_curve", "0 0.1 1 1"},
        {"green_curve", "0 0 0.4 0.3 1 1"}, {"blue_curve", "0 0 1 0.9"}, {"flam3h_rip", "1"},
        {"version", "JWildfire V7.50 (12.03.2022)"}, {"contrast", "2"}, {"white_level", "200"},
        {"low_density_brightness", "0.5"}, {"balancing_red", "0.5"},
        {"balancing_green", "1.5"}, {"balancing_blue", "2"}, {"saturation", "1.2"},
        {"fg_opacity", "0.5"}};
    const std::map<std::string, std::string> xformValues = {
        {"weight", "0.7"}, {"color", "0.3"}, {"color_speed", "0.1"}, {"opacity", "0.6"},
        {"coefs", "0.5 0 0 0.5 0.1 0"}, {"post", "1 0 0 1 0.2 0"}, {"chaos", "2"},
        {"animate", "0"}, {"yzCoefs", "0 1 -1 0 0.5 0.25"}, {"zxCoefs", "0.5 0 0 2 0.1 -0.2"},
        {"yzPost", "1 0 0 1 0 0.5"}, {"zxPost", "2 0 0 1 0 0"}, {"var_color", "0.5"}};
    const std::string sPlain = "<flame version=\"1\">" + std::string(sXform) + "</flame>";
    const auto expectSeenAndReadBack = [&](const std::string& sXml) {
        const SGenome changed = firstGenomeOf(sXml);
        EXPECT_FALSE(changed == firstGenomeOf(sPlain)) << sXml;
        EXPECT_TRUE(firstGenomeOf(genomeXml(changed)) == changed) << sXml;
    };
    for (const SAttribute<SGenome>& row : flameAttributes()) {
        if (!row.sDefault) continue;  // an old form, never written
        ASSERT_EQ(flameValues.count(row.sName), 1u) << row.sName;
        const bool bVersion = row.sName == std::string("version");
        expectSeenAndReadBack((bVersion ? "<flame " : "<flame version=\"1\" ") +
                              std::string(row.sName) + "=\"" + flameValues.at(row.sName) +
                              "\">" + sXform + "</flame>");
    }
    for (const SAttribute<SXform>& row : xformAttributes()) {
        if (!row.sDefault) continue;
        ASSERT_EQ(xformValues.count(row.sName), 1u) << row.sName;
        const std::string sWeight = row.sName == std::string("weight") ? "" : " weight=\"1\"";
        expectSeenAndReadBack("<flame version=\"1\"><xform linear=\"1\"" + sWeight + " " +
                              row.sName + "=\"" + xformValues.at(row.sName) + "\"/></flame>");
    }
}

}  // namespace
