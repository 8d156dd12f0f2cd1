#pragma once

// The program's own options, one row each: what it is called, what it takes, what it does to the
// options, and what the help says of it. The parser and the help read the same rows.

#include "cli/options.h"

#include <cstddef>
#include <string>

struct SKnownOption {
    const char* sName;
    const char* sValueName;  // what the option takes, as a message names it; null: nothing
    bool (*pfApply)(SOptions& options, const std::string& sValue, std::string& sError);
    const char* sHelpLabel;  // "--size WxH"; null: said with the option before it
    const char* sHelp;       // its lines; {names} stands for the names of a flame's functions
};

extern const SKnownOption knownOptions[];
extern const size_t iKnownOptions;

constexpr int iMostThreads = 256;  // --threads asks for 1 to this

std::string quoted(const std::string& sText);  // 'TEXT', shown on one line
