#include "png_io.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

bool writePng(const std::string& sPath, const SPicture& picture) {
    FILE* pFile = std::fopen(sPath.c_str(), "wb");
    if (!pFile) return false;
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    bool bWritten = false;
    if (pInfo && !setjmp(png_jmpbuf(pPng))) {
        png_init_io(pPng, pFile);
        png_set_IHDR(pPng, pInfo, picture.iWidth, picture.iHeight, 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(pPng, pInfo);
        for (int iY = 0; iY < picture.iHeight; iY++)
            png_write_row(pPng, picture.at(0, iY));
        png_write_end(pPng, nullptr);
        bWritten = true;
    }
    png_destroy_write_struct(&pPng, &pInfo);
    return std::fclose(pFile) == 0 && bWritten;
}

bool readPng(const std::string& sPath, SPicture& picture,
             std::map<std::string, std::string>& text) {
    FILE* pFile = std::fopen(sPath.c_str(), "rb");
    if (!pFile) return false;
    png_structp pPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    bool bRead = false;
    if (pInfo && !setjmp(png_jmpbuf(pPng))) {
        png_init_io(pPng, pFile);
        png_read_png(pPng, pInfo, PNG_TRANSFORM_IDENTITY, nullptr);
        const bool bRgb8 = png_get_color_type(pPng, pInfo) == PNG_COLOR_TYPE_RGB &&
                           png_get_bit_depth(pPng, pInfo) == 8;
        picture.iWidth = static_cast<int>(png_get_image_width(pPng, pInfo));
        picture.iHeight = static_cast<int>(png_get_image_height(pPng, pInfo));
        png_bytepp pRows = png_get_rows(pPng, pInfo);
        picture.vRgb.clear();
        for (int iY = 0; bRgb8 && iY < picture.iHeight; iY++)
            picture.vRgb.insert(picture.vRgb.end(), pRows[iY], pRows[iY] + 3 * picture.iWidth);
        png_textp pText = nullptr;
        const int iTexts = png_get_text(pPng, pInfo, &pText, nullptr);
        for (int i = 0; i < iTexts; i++) text[pText[i].key] = pText[i].text;
        bRead = bRgb8;
    }
    png_destroy_read_struct(&pPng, &pInfo, nullptr);
    std::fclose(pFile);
    return bRead;
}
