#pragma once

// A picture drawn in strips of rows, one after another, each by a render of its own that draws
// every sample and keeps only its strip's buckets: the memory of one strip at a time, the pixels
// of the whole picture. How many strips a memory bound asks for, and how much the machine has.

#include "render/render_plan.h"
#include "tone/grid.h"

// Strip k (from 0) of iStrips over a picture iHeight rows tall: as near the same height as
// whole rows make them, the taller ones last.
SRows stripRows(int iHeight, int iStrips, int k);

// Memory in bytes that no render is held to: the program itself, its libraries, its threads'
// stacks, the chaos game's tables.
constexpr double dProgramBytes = 24.0 * (1 << 20);

// The fewest strips whose renders (renderBytesOf) on iThreads each fit in dBytes with the
// program's own memory; 0 where a strip of one row does not. iLeastMiB gets the bound that one
// row would need, in MiB.
int stripsWithin(const SRenderPlan& plan, int iThreads, double dBytes, long long& iLeastMiB);

// The memory the machine has for a new render, in bytes: what the system says is available
// (MemAvailable), or its physical memory where it says nothing; less, under an address-space
// limit, than the limit leaves.
double availableBytes();
