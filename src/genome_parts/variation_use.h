#pragma once

// An xform's uses of a variation beside its plain weight (SXform::variations): the editors' pre_X
// and post_X forms, which move the point before the variations see it and their sum after. The
// xform keeps them in the file's order, the order they act in. Their attribute names, both ways:
// the weight's pre_X or post_X, the parameters' pre_X_P or post_X_P for X's parameter X_P.
// A variation used once more beside its plain weight, as JWildfire writes it (X#k#, no XML name,
// which a lenient reading mends), is X.k. here: its weight X.k., its parameters X.k._P; it is
// added to the sum as the plain one is.

#include <string>
#include <vector>

enum EVariationForm { ePlainForm, ePreForm, ePostForm };

struct SVariationUse {
    int            iVariation;
    EVariationForm eForm;
    double         dWeight;
    std::vector<double> parameters; // the row's, in its order
    int            iRepeat = -1;    // k of a repeat X.k.; -1: none

    bool operator==(const SVariationUse& other) const;
};

// What an attribute name says: its variation and form, and the weight or a parameter.
struct SVariationName {
    int            iVariation = -1;
    EVariationForm eForm = ePlainForm;
    int            iParameter = -1;  // its place among the row's parameters; -1: the weight
    int            iRepeat = -1;     // k of a repeat X.k.; -1: none
};

// False for a name that is no variation's, parameter's or form's.
bool variationName(const char* sName, SVariationName& name);

// The attribute name of a use's weight (iParameter -1) or of its parameter iParameter.
std::string useAttributeName(const SVariationUse& use, int iParameter);

// The use that name stands for: found in vUses, or added at its end with weight 0 and the row's
// defaults (a parameter may come before its weight, or without it).
SVariationUse& useNamed(std::vector<SVariationUse>& vUses, const SVariationName& name);
