#pragma once

// What the program says on the console: text from outside (an argument, a path, an answer)
// shown on one line whatever bytes it holds, and a standard output that knows why it failed.

#include <cstddef>
#include <string>
#include <string_view>

// sText with every control character and every byte from 0x80 written as an escape (\n, \t, \r,
// \xHH), so that a message stays one line and sends nothing to the terminal but text. Longer
// than iAtMost bytes, it is cut there and "..." added.
std::string shownText(std::string_view sText, size_t iAtMost = 200);

// Standard input, output and error opened on /dev/null where the program was started without
// them, so that no file or connection it opens later takes their numbers; false when standard
// output was among them, for a program whose output goes nowhere has failed.
bool standardStreamsOpen();

// std::cout written straight to descriptor 1, keeping the reason of the first write that failed:
// an output to a full disk or a closed pipe is then reported, not lost.
void watchStandardOutput();

// "" while every write to standard output has succeeded (flushed first), else the reason.
std::string standardOutputError();
