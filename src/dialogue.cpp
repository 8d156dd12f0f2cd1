#include "dialogue.h"

#include "calc.h"
#include "colouring.h"
#include "patterns.h"

#include <istream>
#include <ostream>

namespace {

constexpr int iFirstSinglePattern = 6;  // the note below stands before its menu line
const char* const singlePatternNote[] = {
    "The following are the original functions provided by Vantor.",
    "The used coefficients are taken from the above examples.",
    "These functions are not meant to be used separately,",
    "so the result is not very pleasing.",
};

void emptyLines(std::ostream& out, int iCount) {
    for (int i = 0; i < iCount; i++) out << std::endl;
}

// Stores the answer only when the extraction succeeded: a failed extraction into an int
// writes 0 or the int's limits, which would overwrite the default.
void readAnswer(std::istream& in, int& iChoice) {
    int iAnswer = 0;
    if (in >> iAnswer) iChoice = iAnswer;
}

}  // namespace

void askChoices(std::istream& in, std::ostream& out, CCalculation& calc) {
    emptyLines(out, 2);
    out << "----------------------------------------------" << std::endl;
    out << "--Welcome to Vemo's tests on fractal flames.--" << std::endl;
    out << "----------------------------------------------" << std::endl;
    emptyLines(out, 2);
    out << "Please choose the number of iterations" << std::endl;
    out << "(recommended between 100000 and 100000000," << std::endl;
    out << "for the colours 'rainbow' and 'all blues' even more)." << std::endl;
    emptyLines(out, 1);
    readAnswer(in, calc.iIterations);

    emptyLines(out, 2);
    out << "Please choose a pattern from the following list:" << std::endl;
    for (int iPattern = 1; iPattern <= iPatternCount; iPattern++) {
        if (iPattern == iFirstSinglePattern)
            for (const char* pLine : singlePatternNote) out << pLine << std::endl;
        out << patternTable[iPattern - 1].sMenuLine << std::endl;
    }
    emptyLines(out, 1);
    readAnswer(in, calc.iPattern);

    emptyLines(out, 2);
    out << "Please choose the type of colouring from the following list:" << std::endl;
    for (const char* pLine : colourMenu) out << pLine << std::endl;
    emptyLines(out, 1);
    readAnswer(in, calc.iColourType);
    emptyLines(out, 2);
}
