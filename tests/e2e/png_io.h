#pragma once

// Windows and pictures as PNG files: the screenshot tool writes them, the tests read what the
// viewer saved.

#include "viewer_harness.h"

#include <map>
#include <string>

bool writePng(const std::string& sPath, const SPicture& picture);

// The pixels of an 8-bit RGB PNG and its text chunks; false when the file is not one.
bool readPng(const std::string& sPath, SPicture& picture,
             std::map<std::string, std::string>& text);
