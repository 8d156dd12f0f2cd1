#pragma once

// OpenEXR files through the OpenEXR library: a genome's picture written row by row, of half or
// full floats, RGB or RGBA, its texts kept as string attributes of its header; and those texts
// read back. The library reports errors by exceptions, which never leave this room: each call
// returns "" or the reason it failed.

#include "pictures/picture_writer.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// The writer of a picture of iDepth bits a channel (16: half floats, 32: floats) into pFile.
std::unique_ptr<CPictureWriter> exrWriter(int iDepth, bool bTransparent, FILE* pFile);

// Whether the file at sPath begins as an OpenEXR file does.
bool looksLikeExr(const std::string& sPath);

// The string attributes of the OpenEXR file's header, each as a text; iDepth gets its colours'
// bits (16 or 32) and bAlpha whether it has an alpha channel. "" or the reason (not a readable
// OpenEXR file, not a regular file, its texts over what a picture keeps).
std::string readExrTexts(const std::string& sPath, std::vector<SPngText>& vTexts, int& iDepth,
                         bool& bAlpha);
