#include "dialogue.h"

#include "calc.h"
#include "colouring.h"

#include <istream>
#include <iterator>
#include <ostream>

namespace {

const char* const patternMenu[] = {
    "1 - Sierpinsky's Triangle, functions by Vantor.",
    "2 - Cloud-like , example by Vantor.",
    "3 - linear & spiral & swirl , example by Vantor.",
    "4 - Vemo's try out 1.",
    "5 - Vemo's try out 2.",
    "6 - Vantor's - linear -.",
    "7 - Vantor's - sinusoidal -.",
    "8 - Vantor's - spherical -.",
    "9 - Vantor's - swirl -.",
    "10 - Vantor's - horseshoe -.",
    "11 - Vantor's - polar -.",
    "12 - Vantor's - handkerchief -.",
    "13 - Vantor's - heart -.",
    "14 - Vantor's - disc -.",
    "15 - Vantor's - spiral -.",
    "16 - Vantor's - hyperbolic -.",
    "17 - Vantor's - diamond -.",
    "18 - Vantor's - ex -.",
    "19 - Vantor's - fisheye -.",
    "20 - Vantor's - cosine -.",
};
static_assert(std::size(patternMenu) == iPatternCount);

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
        out << patternMenu[iPattern - 1] << std::endl;
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
