#pragma once

// What the genome tests share: a genome read from XML, our picture of a genome, flam3-render's
// picture of it, and how alike two pictures are.

#include "genome/genome.h"

#include <string>
#include <vector>

struct SPicture {
    int iWidth = 0, iHeight = 0;
    std::vector<unsigned char> vRgb;  // row after row, top first
};

// The first genome of sXml rendered by this program at seed uSeed on iThreads threads; an
// empty picture, with sError, when it cannot be read or drawn.
SPicture renderOurs(const std::string& sXml, unsigned long long uSeed, int iThreads,
                    std::string& sError);

// The path of flam3-render, or empty when it is not installed.
std::string referenceRenderer();

// flam3-render's picture of sXml, with isaac_seed=sSeed on one thread (where it is repeatable),
// or an empty one with sError. Each (sXml, sSeed) is rendered once per test run: the tests ask
// for the same pictures more than once.
SPicture renderReference(const std::string& sXml, const std::string& sSeed, std::string& sError);

// flam3-animate's frame iFrame of the keyframes sXml, as renderReference draws a still.
SPicture renderReferenceFrame(const std::string& sXml, long long iFrame, const std::string& sSeed,
                              std::string& sError);

// A picture's levels, any depth and channels: row after row, top first, iChannels a pixel.
struct SLevels {
    int iWidth = 0, iHeight = 0, iChannels = 0;
    std::vector<unsigned int> vLevels;
};

// Ours again in 16 bits a channel (iBits 16) or 8, RGBA where bTransparent, at the levels the
// tone layer gives a picture file.
SLevels renderOursLevels(const std::string& sXml, unsigned long long uSeed, int iBits,
                         bool bTransparent, std::string& sError);

// flam3-render's PNG picture of sXml with bpc=iBits and transparency=1 where bTransparent, RGBA,
// as renderReference draws it (each drawn once a test run).
SLevels renderReferenceLevels(const std::string& sXml, const std::string& sSeed, int iBits,
                              bool bTransparent, std::string& sError);

// The mean absolute difference of channel iChannel of two pictures of one size.
double channelDistance(const SLevels& a, const SLevels& b, int iChannel);

// SSIM of the two pictures' luminance (0.299 R + 0.587 G + 0.114 B), over 11 × 11 Gaussian
// windows of σ 1.5 with the usual constants (0.01 · 255)² and (0.03 · 255)²; 1 for equal
// pictures. Both of one size.
double lumaSsim(const SPicture& a, const SPicture& b);

// The mean of channel iChannel (0 red, 1 green, 2 blue) over the picture.
double channelMean(const SPicture& picture, int iChannel);

// A binary PPM's (P6, 8 bits) picture; false where the text is not one.
bool readPpm(const std::string& sText, SPicture& picture);

// A file's text, or "" when it cannot be read.
std::string fileText(const std::string& sPath);

// The first genome of sXml, read as a file's are; the test fails where it cannot be read, and an
// empty genome stands for it.
SGenome firstGenomeOf(const std::string& sXml);
