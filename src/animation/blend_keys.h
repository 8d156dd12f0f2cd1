#pragma once

constexpr int iMostBlendKeys = 4;  // two keyframes on a straight line, four on a curve
