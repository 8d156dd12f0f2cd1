#include "core/patterns.h"

// The coefficients digit for digit. The loop reads them by row, which costs what a constant
// would: the address of each is known when the program is linked.
const SAffine affineMaps[] = {
    //   a           b           c          d            e           f
    { 0.562482,  -0.539599,  -0.42992,   0.397861,   0.501088,  -0.112404},  // cloud map 1: 2
    { 0.830039,   0.16248,    0.91022,  -0.496174,   0.750468,   0.288389},  // cloud map 2: 2
    { 0.98396,    0.359416,  -0.85059,   0.298328,  -0.583541,   0.378754},  // linear map: 3, 6
    {-0.900388,   0.397598,   0.465126,  0.293063,   0.0225629, -0.277212},  // spiral map: 3, 7, 8
    {-0.329863,  -0.369381,   0.977861, -0.0855261, -0.858379,   0.547595},  // swirl map: 3, 10-16, 18-20
    { 0.125503,  -0.00125,    0.004588, -0.0850061, -0.136802,   0.430655},  // pattern-9 map: 9
    {-0.329863,  -0.369381,   0.977861, -0.0855261, -0.858379,   0.54759},   // diamond map: 17
};
