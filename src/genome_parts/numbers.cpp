#include "genome_parts/numbers.h"

#include "base/number_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

const char* skipBlanks(const char* p) {
    while (isBlank(*p)) p++;
    return p;
}

}  // namespace

bool readNumber(const char* sText, double& dValue) {
    const char* pEnd = nullptr;
    return finiteAt(skipBlanks(sText), pEnd, dValue) && *pEnd == '\0';
}

bool readInteger(const char* sText, int& iValue) {
    const char* p = skipBlanks(sText);
    if (*p == '+' && p[1] != '-') p++;
    const char* pLast = p + std::strlen(p);
    const std::from_chars_result result = std::from_chars(p, pLast, iValue);
    return result.ec == std::errc() && result.ptr == pLast;
}

bool readWholeValue(const char* sText, int& iValue) {
    double dValue;
    if (readInteger(sText, iValue)) return true;
    if (!readNumber(sText, dValue) || dValue != std::floor(dValue) || dValue < INT_MIN ||
        dValue > INT_MAX)
        return false;
    iValue = static_cast<int>(dValue);
    return true;
}

bool readNumberList(const char* sText, std::vector<double>& vValues) {
    vValues.clear();
    const char* p = skipBlanks(sText);
    while (*p != '\0') {
        double dValue;
        const char* pEnd = nullptr;
        if (!finiteAt(p, pEnd, dValue) || !(isBlank(*pEnd) || *pEnd == '\0')) return false;
        vValues.push_back(dValue);
        p = skipBlanks(pEnd);
    }
    return true;
}

bool readNumbers(const char* sText, int iCount, double* pValues) {
    std::vector<double> vValues;
    if (!readNumberList(sText, vValues) || static_cast<int>(vValues.size()) != iCount)
        return false;
    for (int i = 0; i < iCount; i++) pValues[i] = vValues[i];
    return true;
}

std::string numbersText(const double* pValues, int iCount) {
    std::string sText;
    for (int i = 0; i < iCount; i++) {
        if (i > 0) sText += ' ';
        sText += shortest(pValues[i]);
    }
    return sText;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
