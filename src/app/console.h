#pragma once

// The standard streams of the program: opened where they were closed, and a standard output
// that knows why it failed.

#include <string>

// Standard input, output and error opened on /dev/null where the program was started without
// them, so that no file or connection it opens later takes their numbers; false when standard
// output was among them, for a program whose output goes nowhere has failed.
bool standardStreamsOpen();

// std::cout written straight to descriptor 1, keeping the reason of the first write that failed:
// an output to a full disk or a closed pipe is then reported, not lost.
void watchStandardOutput();

// "" while every write to standard output has succeeded (flushed first), else the reason.
std::string standardOutputError();
