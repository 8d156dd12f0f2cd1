#pragma once

// The attributes of a <flame> and of an <xform>, one row each: the name a file gives it, the
// value a file that leaves it out stands for, how its text is read and written, how two values
// compare, and how it moves between keyframes. The genome's defaults, the reader, the writer and
// equality all walk these rows, in this order, which is the order the writer writes them in. A
// new attribute is a row.
//
// The variations and their parameters are rows of the variation table (variations.h), and the
// palette and the xforms are elements of their own: none of them is here.

#include <string>
#include <vector>

struct SGenome;
struct SXform;

// How an attribute moves between keyframes: blended, Σ c_k·v_k over the keyframes' values v_k,
// then as the row says; or not at all.
enum EInterpolation {
    eBlend,             // as it is
    eBlendRounded,      // the nearest whole number
    eBlendNonNegative,  // at least 0
    eBlendWithinUnit,   // within [0, 1]
    eBlendAffine,       // the six coefs, each column by angle and magnitude
    eFromFirst,         // not blended: the first keyframe's of the segment
};

template <class TOwner>
struct SAttribute {
    const char*    sName;
    const char*    sDefault;    // as a file writes it; null: an old form, read and never written
    const char*    sExpected;   // what a value that cannot be read is said not to be
    EInterpolation eInterpolation;
    bool (*pfRead)(const char* sText, TOwner& owner);        // false: not such a value
    bool (*pfWrite)(const TOwner& owner, std::string& sText);  // false: left out of the file
    bool (*pfSame)(const TOwner& one, const TOwner& other);
    bool           bInFinal = true;  // written for a final xform too
    // Σ c_k·v_k of the keyframes' values into out, finished as eInterpolation says; null where
    // the attribute is not blended (eFromFirst) or is not a number (eBlendAffine: by its own
    // rules, which need the flame's interpolation_type).
    void (*pfBlend)(const TOwner* const* pKeys, const double* pWeights, int iKeys,
                    EInterpolation eInterpolation, TOwner& out) = nullptr;
    bool           bOnlyIfChanged = false;  // written only where not at its default
    bool           bMoves = true;  // a <motion> element may hold it (not chaos, nor plotmode)
    // Only JWildfire writes it: a flame that holds it away from its default is JWildfire's,
    // drawn as JWildfire draws it; and it is written only for such a flame.
    bool           bJwildfire = false;
};

// A blended sum finished as a row says: rounded to the nearest whole number (halves to even),
// at least 0, within [0, 1], or as it is.
double blendFinished(double dSum, EInterpolation eInterpolation);

const std::vector<SAttribute<SGenome>>& flameAttributes();
const std::vector<SAttribute<SXform>>& xformAttributes();

// The row of an attribute name, or null.
const SAttribute<SGenome>* flameAttribute(const char* sName);
const SAttribute<SXform>* xformAttribute(const char* sName);

// Whether a flame's version names JWildfire: "JWildfire V7.50 (12.03.2022)", or the form of its
// first releases, a number and a day, "0.16 (06.11.2011)".
bool isJwildfireVersion(const char* sVersion);

// Whether a row is written for the owner: a JWildfire row only for a JWildfire flame.
bool writtenFor(const SAttribute<SGenome>& row, const SGenome& genome);
bool writtenFor(const SAttribute<SXform>& row, const SXform& xform);

// Every row's default read into owner.
void setDefaults(SGenome& genome);
void setDefaults(SXform& xform);
