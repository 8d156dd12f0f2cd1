#pragma once

// A point of the plane: what a nonlinear function yields, an orbit is made of, and the dense
// frame is worked out from.

struct SPoint {
    double dX;
    double dY;
};
