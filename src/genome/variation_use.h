#pragma once

// An xform's uses of a variation beside its plain weight (SXform::variations): the editors' pre_X
// and post_X forms, which move the point before the variations see it and their sum after, and
// JWildfire's X#k#, variation X once more with weight and parameters of its own. The xform keeps
// them in the file's order, the order the forms act in. Their attribute names, both ways: the
// weight's [pre_|post_]X[#k#], the parameters' [pre_|post_]X[#k#]_P for X's parameter X_P.

#include <string>
#include <vector>

enum EVariationForm { ePlainForm, ePreForm, ePostForm };

struct SVariationUse {
    int            iVariation;
    EVariationForm eForm;
    int            iRepeat;         // k of X#k#; 0 for none
    double         dWeight;
    std::vector<double> parameters; // the row's, in its order

    bool operator==(const SVariationUse& other) const;
};

// What an attribute name says: its variation, form and repeat, and the weight or a parameter.
struct SVariationName {
    int            iVariation = -1;
    EVariationForm eForm = ePlainForm;
    int            iRepeat = 0;
    int            iParameter = -1;  // its place among the row's parameters; -1: the weight
};

// False for a name that is no variation's, parameter's, form's or repeat's.
bool variationName(const char* sName, SVariationName& name);

// The attribute name of a use's weight (iParameter -1) or of its parameter iParameter.
std::string useAttributeName(const SVariationUse& use, int iParameter);

// The use that name stands for: found in vUses, or added at its end with weight 0 and the row's
// defaults (a parameter may come before its weight, or without it).
SVariationUse& useNamed(std::vector<SVariationUse>& vUses, const SVariationName& name);
