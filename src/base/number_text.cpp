#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

bool readWholeNumber(const std::string& sText, long long iLowest, long long iHighest,
                     long long& iValue) {
    if (sText.empty()) return false;
    long long iRead = 0;
    for (const char c : sText) {
        if (c < '0' || c > '9') return false;
        iRead = iRead * 10 + (c - '0');
        if (iRead > iHighest) return false;  // before it can overflow
    }
    if (iRead < iLowest) return false;
    iValue = iRead;
    return true;
}

bool readSeed(const std::string& sText, unsigned int& uSeed) {
    long long iSeed = 0;
    if (!readWholeNumber(sText, 0, 4294967295LL, iSeed)) return false;
    uSeed = static_cast<unsigned int>(iSeed);
    return true;
}

bool finiteAt(const char* p, const char*& pEnd, double& dValue) {
    if (*p == '+' && p[1] != '-') p++;
    const char* pLast = p + std::strlen(p);
    const std::from_chars_result result = std::from_chars(p, pLast, dValue);
    if (result.ec != std::errc() || !std::isfinite(dValue)) return false;
    pEnd = result.ptr;
    return true;
}

bool readFinite(const std::string& sText, double& dValue) {
    const char* pEnd = nullptr;
    return finiteAt(sText.c_str(), pEnd, dValue) && pEnd == sText.c_str() + sText.size();
}

std::string shortest(double dValue) {
    char cText[32];
    const std::to_chars_result result = std::to_chars(cText, cText + sizeof cText, dValue);
    return std::string(cText, result.ptr);
}

std::string shownText(std::string_view sText, size_t iAtMost) {
    const bool bCut = sText.size() > iAtMost;
    std::string sShown;
    for (const char c : sText.substr(0, iAtMost)) {
        const unsigned char uByte = static_cast<unsigned char>(c);
        if (c == '\n') sShown += "\\n";
        else if (c == '\t') sShown += "\\t";
        else if (c == '\r') sShown += "\\r";
        else if (uByte < 0x20 || uByte >= 0x7f) {
            char cEscape[5];
            std::snprintf(cEscape, sizeof cEscape, "\\x%02x", uByte);
            sShown += cEscape;
        } else {
            sShown += c;
        }
    }
    return bCut ? sShown + "..." : sShown;
}
