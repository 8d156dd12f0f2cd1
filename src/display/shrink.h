#pragma once

// A picture larger than the screen shown at 1/k: each window pixel the average of the k x k
// pixels of the picture it stands for, of those the picture has at its far edges. The pattern
// window averages the colours of its counts, the genome window the bytes of its tone-mapped
// rows; both through this, so that the two agree on what a shrunk pixel is.

#include <algorithm>
#include <cstddef>
#include <vector>

class CShrinkRows {
public:
    static constexpr int iChannels = 4;  // red, green, blue, alpha

    CShrinkRows(int iPictureWidth, int iPictureHeight, int iFactor);
    int width() const { return iWidth; }  // the window's pixels
    int height() const { return iHeight; }
    int factor() const { return iFactor; }

    // A pixel of the picture's row being summed, its four channels added to its square.
    template <typename TValue>
    void add(int iPictureColumn, const TValue* pValues) {
        double* pSum = &vSums[iChannels * static_cast<size_t>(iPictureColumn / iFactor)];
        for (int k = 0; k < iChannels; k++) pSum[k] += pValues[k];
    }

    // The picture's rows are taken in order, from its row 0: this one is the last of its
    // window row, which is then written out.
    bool endsWindowRow(int iPictureRow) const {
        return iPictureRow % iFactor == iFactor - 1 || iPictureRow == iPictureHeight - 1;
    }

    // Window row iWindowRow (counted as the picture's rows are) into pBytes, four bytes a
    // pixel, each average made a byte by toByte; the sums start again from nothing.
    template <typename FByte>
    void writeRow(int iWindowRow, unsigned char* pBytes, FByte toByte) {
        const int iRows = std::min(iFactor, iPictureHeight - iWindowRow * iFactor);
        for (int iColumn = 0; iColumn < iWidth; iColumn++) {
            const int iColumns = std::min(iFactor, iPictureWidth - iColumn * iFactor);
            const double dPixels = static_cast<double>(iRows) * iColumns;
            for (int k = 0; k < iChannels; k++)
                *pBytes++ = toByte(vSums[iChannels * static_cast<size_t>(iColumn) + k] / dPixels);
        }
        std::fill(vSums.begin(), vSums.end(), 0.0);
    }

private:
    int iPictureWidth;
    int iPictureHeight;
    int iFactor;
    int iWidth;
    int iHeight;
    std::vector<double> vSums;  // of the window row being summed, each pixel's four channels
};
