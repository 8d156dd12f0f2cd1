#pragma once

// Numbers as text, as a command line, a saved picture and a genome file read and write them
// alike, and text from outside shown safely on one line. Pure functions of their arguments: no
// input or output.

#include <cstddef>
#include <string>
#include <string_view>

// A whole number is decimal digits only, no sign, from iLowest to iHighest.
bool readWholeNumber(const std::string& sText, long long iLowest, long long iHighest,
                     long long& iValue);
bool readSeed(const std::string& sText, unsigned int& uSeed);  // 0 to 4294967295
bool readFinite(const std::string& sText, double& dValue);  // all of it, as finiteAt reads

// A finite number in decimal at p, as a genome file and a command line write it alike: an
// optional sign ('+' too), digits, a point, an exponent; no hexadecimal, no "inf", whatever the
// locale. pEnd gets where it stops.
bool finiteAt(const char* p, const char*& pEnd, double& dValue);
std::string shortest(double dValue);  // the shortest text that reads back to dValue

// sText with every control character and every byte from 0x80 written as an escape (\n, \t, \r,
// \xHH), so that a message stays one line and sends nothing to the terminal but text. Longer
// than iAtMost bytes, it is cut there and "..." added.
std::string shownText(std::string_view sText, size_t iAtMost = 200);
