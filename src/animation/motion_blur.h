#pragma once

// A frame of a keyframe file drawn as flam3-animate draws it, blurred in time: passes × 
// temporal_samples moments spread evenly over [T − width/2, T + width/2], each the genome at its
// own time (its xforms, palette and camera), its plots weighed by the temporal filter (box,
// gaussian or exp). The picture's tone curve takes the moments' mean gamma, vibrancy and
// background, and the spatial filter is the first keyframe's, as flam3 draws it.

#include "animation/keyframe_source.h"
#include "genome/genome.h"
#include "render/render_plan.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr int iMostMoments = 100000;  // passes × temporal_samples of one frame

// The temporal filter's weights of N moments, the largest 1.
std::vector<double> temporalWeights(ETemporalFilter eFilter, double dExponent, int iMoments);

// The moments' times about dTime: evenly over dWidth, both ends included; dTime alone for one.
double momentTime(double dTime, double dWidth, int iMoment, int iMoments);

// The plan of the frame at dTime: false with sError where it cannot be drawn (too many
// moments). The keyframes are shared with the plan's genome source, which makes each moment's
// genome when the render comes to it: a frame holds one moment's at a time, however many.
bool framePlan(const CKeyframes& keys, double dTime, SRenderPlan& plan, std::string& sError);

// The plan of a frame drawn again from the keyframes its picture keeps (SRenderPlan's
// vFrameKeys): the same moments, and so the same pixels with the same seed.
bool keptFramePlan(const std::vector<SGenome>& vFrameKeys, double dTime, SRenderPlan& plan,
                   std::string& sError);

// The seed of the frame at dTime in a run seeded uSeed: its own, whatever else is drawn.
unsigned int frameSeed(unsigned int uSeed, double dTime);
