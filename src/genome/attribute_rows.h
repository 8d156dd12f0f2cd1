#pragma once

// The kinds of row the attribute tables are made of (attributes.cpp): one number, a whole
// number, several numbers, a pair, one of a few names, an old name; each row knows how to read,
// write, compare and blend its member, given as a pointer to member.

#include "base/number_text.h"
#include "genome/attributes.h"
#include "genome_parts/numbers.h"

#include <array>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>

namespace attribute_rows {

// The owner and value type of a pointer to member.
template <class> struct SMemberOf;
template <class TValue, class TOwner> struct SMemberOf<TValue TOwner::*> {
    using Owner = TOwner;
    using Value = TValue;
};
template <auto pMember> using OwnerOf = typename SMemberOf<decltype(pMember)>::Owner;

// How many numbers an array member holds.
template <class> struct SCount;
template <class T, std::size_t N> struct SCount<T[N]> { static constexpr int i = N; };
template <class T, std::size_t N> struct SCount<std::array<T, N>> { static constexpr int i = N; };
template <auto pMember>
constexpr int iCountOf = SCount<typename SMemberOf<decltype(pMember)>::Value>::i;

template <auto pMember>
bool sameMember(const OwnerOf<pMember>& one, const OwnerOf<pMember>& other) {
    return one.*pMember == other.*pMember;
}

// Σ c_k·v_k over the keyframes, in their order, finished as the row says; cast back to the
// member's type (a whole number is rounded first).
template <class TValue, class FValue>
TValue blendedValue(const double* pWeights, int iKeys, EInterpolation eInterpolation,
                    const FValue& value) {
    double dSum = 0;
    for (int k = 0; k < iKeys; k++) dSum += pWeights[k] * static_cast<double>(value(k));
    if (std::is_integral_v<TValue>) dSum = std::nearbyint(dSum);
    return static_cast<TValue>(blendFinished(dSum, eInterpolation));
}

// The blend of a member that is one number, or an array of them, each blended on its own.
template <auto pMember>
void blendMember(const OwnerOf<pMember>* const* pKeys, const double* pWeights, int iKeys,
                 EInterpolation eInterpolation, OwnerOf<pMember>& out) {
    using TValue = typename SMemberOf<decltype(pMember)>::Value;
    if constexpr (std::is_arithmetic_v<TValue>) {
        out.*pMember = blendedValue<TValue>(pWeights, iKeys, eInterpolation,
                                            [&](int k) { return pKeys[k]->*pMember; });
    } else {
        for (int i = 0; i < iCountOf<pMember>; i++) {
            const auto valueOf = [&](int k) { return (pKeys[k]->*pMember)[i]; };
            (out.*pMember)[i] = blendedValue<double>(pWeights, iKeys, eInterpolation, valueOf);
        }
    }
}

template <auto pMember>
constexpr auto pfBlendOf(EInterpolation eInterpolation) {
    using FBlend = decltype(SAttribute<OwnerOf<pMember>>::pfBlend);
    return eInterpolation == eFromFirst || eInterpolation == eBlendAffine
               ? FBlend(nullptr)
               : FBlend(blendMember<pMember>);
}

// One value, read by pfReadText; written in the shortest form that reads back the same.
template <auto pMember, auto pfReadText>
SAttribute<OwnerOf<pMember>> single(const char* sName, const char* sDefault,
                                    const char* sExpected, EInterpolation eInterpolation) {
    using TOwner = OwnerOf<pMember>;
    return {sName, sDefault, sExpected, eInterpolation,
            [](const char* sText, TOwner& owner) { return pfReadText(sText, owner.*pMember); },
            [](const TOwner& owner, std::string& sText) {
                sText = shortest(owner.*pMember);
                return true;
            },
            sameMember<pMember>, true, pfBlendOf<pMember>(eInterpolation)};
}

template <auto pMember>
SAttribute<OwnerOf<pMember>> number(const char* sName, const char* sDefault,
                                    EInterpolation eInterpolation) {
    return single<pMember, readNumber>(sName, sDefault, "a finite number", eInterpolation);
}

template <auto pMember>
SAttribute<OwnerOf<pMember>> whole(const char* sName, const char* sDefault,
                                   EInterpolation eInterpolation) {
    return single<pMember, readInteger>(sName, sDefault, "a whole number", eInterpolation);
}

// Several numbers in one attribute, kept in an array member.
template <auto pMember>
SAttribute<OwnerOf<pMember>> numbers(const char* sName, const char* sDefault,
                                     const char* sExpected, EInterpolation eInterpolation) {
    using TOwner = OwnerOf<pMember>;
    constexpr int iCount = iCountOf<pMember>;
    return {sName, sDefault, sExpected, eInterpolation,
            [](const char* sText, TOwner& owner) {
                return readNumbers(sText, iCount, std::data(owner.*pMember));
            },
            [](const TOwner& owner, std::string& sText) {
                sText = numbersText(std::data(owner.*pMember), iCount);
                return true;
            },
            [](const TOwner& one, const TOwner& other) {
                return std::equal(std::begin(one.*pMember), std::end(one.*pMember),
                                  std::begin(other.*pMember));
            },
            true, pfBlendOf<pMember>(eInterpolation)};
}

// A number written only where it is not 0: a flame without it is written as before there was
// such an attribute.
template <auto pMember>
SAttribute<OwnerOf<pMember>> numberUnlessZero(const char* sName, EInterpolation eInterpolation) {
    using TOwner = OwnerOf<pMember>;
    SAttribute<TOwner> row = number<pMember>(sName, "0", eInterpolation);
    row.pfWrite = [](const TOwner& owner, std::string& sText) {
        sText = shortest(owner.*pMember);
        return owner.*pMember != 0;
    };
    return row;
}

// An old name of an attribute, read and never written.
template <class TOwner>
SAttribute<TOwner> oldForm(const char* sName, const char* sExpected,
                           bool (*pfRead)(const char* sText, TOwner& owner)) {
    return {sName, nullptr, sExpected, eFromFirst, pfRead, nullptr, nullptr};
}

// Two numbers in one attribute, kept in two members.
template <auto pFirst, auto pSecond>
SAttribute<OwnerOf<pFirst>> numberPair(const char* sName, const char* sDefault,
                                       EInterpolation eInterpolation) {
    using TOwner = OwnerOf<pFirst>;
    return {sName, sDefault, "two finite numbers", eInterpolation,
            [](const char* sText, TOwner& owner) {
                double dPair[2];
                if (!readNumbers(sText, 2, dPair)) return false;
                owner.*pFirst = dPair[0];
                owner.*pSecond = dPair[1];
                return true;
            },
            [](const TOwner& owner, std::string& sText) {
                const double dPair[2] = {owner.*pFirst, owner.*pSecond};
                sText = numbersText(dPair, 2);
                return true;
            },
            [](const TOwner& one, const TOwner& other) {
                return one.*pFirst == other.*pFirst && one.*pSecond == other.*pSecond;
            },
            true,
            [](const TOwner* const* pKeys, const double* pWeights, int iKeys,
               EInterpolation eInterpolation, TOwner& out) {
                blendMember<pFirst>(pKeys, pWeights, iKeys, eInterpolation, out);
                blendMember<pSecond>(pKeys, pWeights, iKeys, eInterpolation, out);
            }};
}

// One of a few names, kept as its place among sNames, the first its default. A name not among
// them reads as the default, as flam3 reads it: a still genome that was read before these were
// honoured is read still.
template <auto pMember, const char* const* psNames, int iNames>
SAttribute<OwnerOf<pMember>> choice(const char* sName) {
    using TOwner = OwnerOf<pMember>;
    using TValue = typename SMemberOf<decltype(pMember)>::Value;
    return {sName, psNames[0], "", eFromFirst,
            [](const char* sText, TOwner& owner) {
                owner.*pMember = TValue(0);
                for (int i = 0; i < iNames; i++)
                    if (std::strcmp(sText, psNames[i]) == 0) owner.*pMember = TValue(i);
                return true;
            },
            [](const TOwner& owner, std::string& sText) {
                sText = psNames[owner.*pMember];
                return true;
            },
            sameMember<pMember>};
}

// A row written only where its value is not the default: the attributes of animation, which a
// still genome leaves at their defaults and so writes as it did before they were honoured.
template <class TOwner>
SAttribute<TOwner> ifChanged(SAttribute<TOwner> row) {
    row.bOnlyIfChanged = true;
    return row;
}

// A row a <motion> element may not hold: flam3 refuses a motion that has it.
template <class TOwner>
SAttribute<TOwner> unmoving(SAttribute<TOwner> row) {
    row.bMoves = false;
    return row;
}

// A row of JWildfire's alone.
template <class TOwner>
SAttribute<TOwner> jwildfireOnly(SAttribute<TOwner> row) {
    row.bJwildfire = true;
    return row;
}

}  // namespace attribute_rows
