#pragma once

// The start-up dialogue: the greeting and the three questions, each answer read as an integer.

#include "core/run.h"

#include <iosfwd>

// What the dialogue asks for: the run's iterations and pattern, and the colouring.
struct SChoices {
    SRun run;             // the rest of it as it came
    int  iColourType = 1;
};

// Writes the dialogue to out and reads the iteration count, the pattern and the colouring from
// in into choices. An answer that is not an int leaves its choice and, since the stream then
// stays failed, every later one as it was; the texts are printed all the same.
void askChoices(std::istream& in, std::ostream& out, SChoices& choices);

// What odd answers lead to: the window shows what they give, the defaults included;
// a picture saved by a script is made only of answers taken as given.
enum EAnswers { eAnswersAsTheyCome, eAnswersAsGiven };

// The same, and one line on err for each answer that was not what it seemed meant to be: one
// that is not a whole number, or is missing (naming the text found, shortened and escaped), or
// a number that computes nothing, moves nothing or colours nothing; each line ends with what
// follows: the choices kept, or what the window shows, or, for eAnswersAsGiven, that nothing is
// saved. Valid answers write nothing there. True when every answer was taken as given.
bool askChoices(std::istream& in, std::ostream& out, std::ostream& err, SChoices& choices,
                EAnswers answers = eAnswersAsTheyCome);

// "calculating......." and two empty lines: said once the run begins.
void sayCalculating(std::ostream& out);
