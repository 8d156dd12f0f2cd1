#pragma once

// The start-up dialogue: the greeting and the three questions, each answer read as an integer.

#include <iosfwd>

class CCalculation;

// Writes the dialogue to out and reads the iteration count, the pattern and the colouring from
// in into calc. An answer that is not an int leaves its choice and, since the stream then stays
// failed, every later one as it was; the texts are printed all the same.
void askChoices(std::istream& in, std::ostream& out, CCalculation& calc);

// The same, and one line on err for each answer that was not what it seemed meant to be: one
// that is not a whole number (naming the text found and the choices kept), or a number that
// computes nothing, moves nothing or colours nothing. Valid answers write nothing there.
void askChoices(std::istream& in, std::ostream& out, std::ostream& err, CCalculation& calc);
