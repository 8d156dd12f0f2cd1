#pragma once

// The limits of what a file or a command line may ask of the program, each stated once: the
// readers refuse what goes past one with a line naming it and the count, before the work or the
// memory it would take, and the writers hold what they write to them, so that what the program
// writes it reads back.

#include <cstddef>

// A genome's picture.
constexpr int iMostPixelsPerSide = 16384;
constexpr int iMostSupersample = 16;
constexpr int iMostPasses = 1000;
constexpr double dMostQuality = 100000;
constexpr double dMostSamples = 1e14;      // N = quality · 4^zoom · W · H
constexpr double dWidestEstimator = 400;   // estimator_radius × supersample, in buckets
constexpr int iWidestFilter = 255;         // the spatial filter's taps per axis

// A genome: its standard xforms, those its symmetries make included.
constexpr int iMostXforms = 1000;
constexpr int iMostMotions = 1000;         // <motion> elements, all its xforms' together

// Files: a genome file, the flames it holds, one genome's text as a picture keeps it, and all the
// texts of a picture, inflated.
constexpr std::size_t uMostGenomeFileBytes = std::size_t(64) << 20;
constexpr int iMostFlamesInFile = 1000000;
constexpr std::size_t uMostGenomeTextBytes = std::size_t(1) << 20;
constexpr std::size_t uMostPngTextBytes = std::size_t(8) << 20;
constexpr int iMostPngTexts = 1000;
