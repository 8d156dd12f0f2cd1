#pragma once

// PNG files through libpng: pictures of 8-bit or 16-bit RGB or RGBA rows, top row first, with
// text chunks; and the text chunks of a file read back. libpng reports errors by a long jump, which never
// leaves this room: each call returns "" or the reason it failed.

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct SPngText {
    std::string sKey;
    std::string sText;
    bool        bCompressed = false;  // zTXt rather than tEXt
};

struct SPngSink;
struct png_struct_def;
struct png_info_def;
struct png_text_struct;

// zlib's compression levels: its default; and a quicker one for a flame's fine grain, where the
// default's longer search finds little (bench-a: 531 KB at 6, 524 KB at 3, in 60 % of the time:
// a third of a 640 x 480 picture's fixed cost), but where a sparse pattern would come out
// several times larger.
constexpr int iPngLevelDefault = 6, iPngLevelGrainy = 3;

// A PNG written row by row as its rows come, top row first: begin, row after row, finish. A
// call that fails returns false, and so does every later one; error() then says why.
class CPngWriter {
public:
    explicit CPngWriter(FILE* pFile, int iLevel = iPngLevelDefault);
    ~CPngWriter();
    CPngWriter(const CPngWriter&) = delete;
    CPngWriter& operator=(const CPngWriter&) = delete;

    // iChannels a pixel (3: RGB, 4: RGBA) of iBits each (8, or 16 as two bytes, the high one
    // first), and the texts before the image.
    bool begin(int iWidth, int iHeight, int iChannels, const std::vector<SPngText>& vTexts,
               int iBits = 8);
    bool row(const unsigned char* pRow);
    bool finish();
    std::string error() const;  // the system's reason for a failed write, else libpng's

private:
    bool writeHeader(int iWidth, int iHeight, int iChannels, int iBits, png_text_struct* pTexts,
                     int iTexts);

    std::unique_ptr<SPngSink> pSink;
    png_struct_def* pPng = nullptr;
    png_info_def* pInfo = nullptr;
    bool bFailed = false;
    int iLevel;
};

// Writes an iWidth x iHeight picture of iChannels bytes a pixel (3: RGB, 4: RGBA) to pFile, with
// vTexts before the image. Each row, top row first, is made by fillRow(iRow, pRow) into a row of
// iWidth x iChannels bytes just before it is written: a picture costs one row, not a copy.
// "" or the reason: the system's for a failed write, else libpng's.
std::string writePng(FILE* pFile, int iWidth, int iHeight, int iChannels,
                     const std::vector<SPngText>& vTexts,
                     const std::function<void(int iRow, unsigned char* pRow)>& fillRow);

// The text chunks of the PNG file at sPath before its image: its tEXt chunks in their order, then
// its compressed ones; "" or the reason it has none to give ("not a PNG file", "not a regular
// file", a bad CRC, a text with a NUL byte or over 1 MiB, over 1000 chunks...). Only a regular
// file is opened, so that a FIFO or a device is refused at once.
// pShape, if given, gets the bits a channel and whether it has alpha.
struct SPngShape {
    int  iBits = 8;
    bool bAlpha = false;
};
std::string readPngTexts(const std::string& sPath, std::vector<SPngText>& vTexts,
                         SPngShape* pShape = nullptr);
