#pragma once

// The text forms of a run's parts, as options take them, a saved picture records them and a
// sentence says them (numbers alone are in base/number_text.h). Pure functions of their
// arguments: no input or output.

#include "core/run.h"

#include <string>

extern const char* const sProgramVersion;  // "flames " and the version of the project

// A size is "1200x900", each side from iSmallestSide to iLargestSide; a view is
// "XMIN,YMIN,XMAX,YMAX", four finite numbers with XMIN < XMAX and YMIN < YMAX, written each in
// the shortest form that reads back the same.
bool readSize(const std::string& sText, int& iWidth, int& iHeight);
bool readView(const std::string& sText, SView& view);
std::string sizeText(int iWidth, int iHeight);
std::string viewText(const SView& view);

// The flame of "NAME a b c d e f; NAME a b c d e f": two to four functions separated by ";",
// each the name of a function flames are made of and six finite numbers. False with sError
// naming the offending part.
bool readFlame(const std::string& sText, SFlame& flame, std::string& sError);

// Its text, each number in the shortest form that reads back to the same double.
std::string flameText(const SFlame& flame);

// "swirl & disc": as a sentence names it.
std::string flameNames(const SFlame& flame);

// "linear, sinusoidal, ..., cosine": the names a flame's functions may have.
std::string flameFunctionNames();

// What the run draws, as a sentence says it: "pattern 3, linear & spiral & swirl", "random flame
// 5, swirl & disc", "flame swirl & disc"; and as a file name says it: "p3", "r5", "f".
std::string drawnPhrase(const SRun& run);
std::string drawnTag(const SRun& run);

// "pattern 3, linear & spiral & swirl, 1000000 iterations, x from -1 to 1, y from -1 to 1": what
// a title says of a run.
std::string runCaption(const SRun& run);
