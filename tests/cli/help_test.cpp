// The help and the manual page against the tables they describe: every option, the ranges of
// the patterns and colourings, the names of a flame's functions and a genome's variations by
// family, as the tables give them.

#include "cli/option_table.h"
#include "core/colouring.h"
#include "core/patterns.h"
#include "text/text_forms.h"
#include "variations/variations.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

// The manual page as it reads: roff's escapes of '-' taken out and its lines joined by blanks.
std::string manualText() {
    std::ifstream in(FLAMES_MANUAL_PATH);
    std::string sText, sLine;
    while (std::getline(in, sLine)) sText += sLine + " ";
    for (size_t i = sText.find("\\-"); i != std::string::npos; i = sText.find("\\-", i))
        sText.erase(i, 1);
    return sText;
}

std::string range(int iCount) { return "1 to " + std::to_string(iCount); }

TEST(HelpTest, HelpAndManualSayWhatTheTablesHold) {
    const std::string sHelp = helpText(), sManual = manualText();
    ASSERT_FALSE(sManual.empty()) << "no manual page at " << FLAMES_MANUAL_PATH;
    const std::string sUsage = sHelp.substr(0, sHelp.find("\n\n"));
    for (size_t i = 0; i < iKnownOptions; i++) {
        const std::string sName = knownOptions[i].sName;
        const bool bInUsage = sUsage.find("[" + sName + " ") != std::string::npos ||
                              sUsage.find("[" + sName + "]") != std::string::npos ||
                              sUsage.find("| " + sName) != std::string::npos ||
                              sUsage.find("(" + sName + " ") != std::string::npos;
        EXPECT_TRUE(bInUsage) << sName << " not in the usage";
        EXPECT_NE(sManual.find(sName), std::string::npos) << sName << " not in the manual page";
    }
    for (const std::string& sRange : {range(iPatternCount), range(iColourCount)}) {
        EXPECT_NE(sHelp.find("(" + sRange + ")"), std::string::npos) << sRange;
        EXPECT_NE(sManual.find("(" + sRange + ")"), std::string::npos) << sRange;
    }
    EXPECT_NE(sManual.find("P from " + range(iPatternCount) + ", C from " + range(iColourCount)),
              std::string::npos);
    EXPECT_NE(sManual.find("(" + flameFunctionNames() + ")"), std::string::npos);
    std::string sHelpNames = sHelp.substr(sHelp.find("the names: "));
    std::istringstream words(sHelpNames.substr(0, sHelpNames.find("\n  --")));
    std::string sWord, sJoined;
    while (words >> sWord) sJoined += (sJoined.empty() ? "" : " ") + sWord;
    EXPECT_EQ(sJoined, "the names: " + flameFunctionNames());
}

// Each family with all of its names in the table's order, in the help (folded at the indent),
// in the manual page (a tagged paragraph each) and in the README (a row each).
TEST(HelpTest, HelpManualAndReadmeListEveryVariationByFamily) {
    std::ifstream in(FLAMES_README_PATH);
    const std::string sReadme((std::istreambuf_iterator<char>(in)), {});
    ASSERT_FALSE(sReadme.empty()) << "no README at " << FLAMES_README_PATH;
    const std::string sHelp = helpText(), sManual = manualText();
    std::string sHelpJoined;  // its lines joined by one blank
    std::istringstream words(sHelp);
    for (std::string sWord; words >> sWord;) sHelpJoined += sWord + " ";
    int iListed = 0;
    for (const SVariationFamily& family : variationFamilies()) {
        const std::string sNames = familyNames(family);
        for (int i = family.iFirst; i < family.iFirst + family.iCount; i++, iListed++)
            EXPECT_NE(sNames.find(variationOf(i).sName), std::string::npos);
        const std::string sFamily = family.sName;
        EXPECT_NE(sHelpJoined.find(sFamily + " " + sNames + " "), std::string::npos) << sFamily;
        const std::string sManualName = sFamily.find(' ') == std::string::npos
                                            ? sFamily : "\"" + sFamily + "\"";
        EXPECT_NE(sManual.find(".B " + sManualName + " " + sNames + " "), std::string::npos)
            << sFamily;
        EXPECT_NE(sReadme.find("| " + sFamily + " | " + sNames + " |"), std::string::npos)
            << sFamily;
    }
    EXPECT_EQ(iListed, iVariationCount);
}

}  // namespace
