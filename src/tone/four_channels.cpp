#include "tone/four_channels.h"

bool wideHere() {
    static const bool bWide = __builtin_cpu_supports("avx");
    return bWide;
}
