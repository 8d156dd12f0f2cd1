#pragma once

// Numbers in genome attributes, read and written in the C locale whatever the program's: each
// single value is the whole attribute (leading white space allowed, as flam3 allows it), a
// list holds exactly its count, and only finite values pass.

#include <string>
#include <vector>

bool readNumber(const char* sText, double& dValue);
bool readInteger(const char* sText, int& iValue);
// A whole number, or a real one of whole value ("1.0", as JWildfire writes counts).
bool readWholeValue(const char* sText, int& iValue);
bool readNumbers(const char* sText, int iCount, double* pValues);  // exactly iCount of them
bool readNumberList(const char* sText, std::vector<double>& vValues);  // any count

// Each in the shortest text that reads back to the same double, separated by one blank.
std::string numbersText(const double* pValues, int iCount);

// The value of a hex digit, either case; -1 for any other character.
int hexValue(char c);
