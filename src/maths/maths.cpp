// Each function of maths.h is the fused variant's or the plain one's, chosen once when the
// program loads (GNU indirect functions): the same bits either way, so the choice is speed
// alone.

#include "maths/maths.h"

#include "maths/variants.h"

// A resolver runs while the program is being loaded, before any constructor and before the
// sanitizers are ready: it asks the processor and nothing else, uninstrumented.
#define FLAMES_MATHS_RESOLVER \
    extern "C" __attribute__((no_sanitize("address", "undefined", "thread")))

#define FLAMES_MATHS_CHOSEN(name, type)                                                  \
    FLAMES_MATHS_RESOLVER type* maths_resolve_##name() {                                 \
        __builtin_cpu_init();                                                            \
        return __builtin_cpu_supports("fma") ? &maths::fused::name : &maths::plain::name; \
    }                                                                                    \
    namespace maths {                                                                    \
    type name __attribute__((ifunc("maths_resolve_" #name)));                            \
    }

using FOne = double(double);
using FTwo = double(double, double);
using FBoth = maths::VSineCosine(double);
FLAMES_MATHS_CHOSEN(sineCosine, FBoth)
FLAMES_MATHS_CHOSEN(atan2, FTwo)
FLAMES_MATHS_CHOSEN(atan, FOne)
FLAMES_MATHS_CHOSEN(acos, FOne)
FLAMES_MATHS_CHOSEN(exp, FOne)
FLAMES_MATHS_CHOSEN(log, FOne)
FLAMES_MATHS_CHOSEN(log10, FOne)
FLAMES_MATHS_CHOSEN(log1p, FOne)
FLAMES_MATHS_CHOSEN(pow, FTwo)
FLAMES_MATHS_CHOSEN(sinh, FOne)
FLAMES_MATHS_CHOSEN(cosh, FOne)
