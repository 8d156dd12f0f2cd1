// The help and the manual page against the tables they describe: every option, the ranges of
// the patterns and colourings, and the names of a flame's functions, as the tables give them.

#include "app/option_table.h"
#include "core/colouring.h"
#include "core/patterns.h"
#include "text/text_forms.h"

#include <gtest/gtest.h>

#include <fstream>
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

}  // namespace
