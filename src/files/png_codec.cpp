#include "files/png_codec.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>

namespace {

// Where libpng's bytes go, and why it stopped: the system's reason for a failed write, else
// libpng's own message.
struct SPngSink {
    FILE* pFile;
    int   iErrno;
    char  cMessage[160];
};

void onPngError(png_structp pPng, png_const_charp sMessage) {
    SPngSink* pSink = static_cast<SPngSink*>(png_get_error_ptr(pPng));
    std::snprintf(pSink->cMessage, sizeof pSink->cMessage, "%s",
                  pSink->iErrno ? std::strerror(pSink->iErrno) : sMessage);
    png_longjmp(pPng, 1);
}

void onPngWarning(png_structp, png_const_charp) {}  // nothing a user could act on

void onPngWrite(png_structp pPng, png_bytep pBytes, size_t iSize) {
    SPngSink* pSink = static_cast<SPngSink*>(png_get_io_ptr(pPng));
    if (std::fwrite(pBytes, 1, iSize, pSink->pFile) == iSize) return;
    pSink->iErrno = errno ? errno : EIO;
    png_error(pPng, "write error");
}

void onPngFlush(png_structp pPng) {
    std::fflush(static_cast<SPngSink*>(png_get_io_ptr(pPng))->pFile);
}

// What goes into the file: its size, the texts, and the rows, each made into pRow as it is due.
struct SPngImage {
    int            iWidth, iHeight, iChannels;
    png_text*      pTexts;
    int            iTexts;
    unsigned char* pRow;
    const std::function<void(int, unsigned char*)>* pfFillRow;
};

// libpng reports an error by a long jump back to the setjmp here: between the two, this function
// holds only plain data, whose lifetime the jump cannot cut short.
bool writeImage(SPngSink& sink, const SPngImage& image) {
    png_structp pPng =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, onPngError, onPngWarning);
    png_infop pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    if (!pInfo) {
        png_destroy_write_struct(&pPng, nullptr);
        std::snprintf(sink.cMessage, sizeof sink.cMessage, "%s", std::strerror(ENOMEM));
        return false;
    }
    if (setjmp(png_jmpbuf(pPng))) {
        png_destroy_write_struct(&pPng, &pInfo);
        return false;
    }
    png_set_write_fn(pPng, &sink, onPngWrite, onPngFlush);
    png_set_IHDR(pPng, pInfo, static_cast<png_uint_32>(image.iWidth),
                 static_cast<png_uint_32>(image.iHeight), 8,
                 image.iChannels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_text(pPng, pInfo, image.pTexts, image.iTexts);
    png_write_info(pPng, pInfo);
    for (int iRow = 0; iRow < image.iHeight; iRow++) {
        (*image.pfFillRow)(iRow, image.pRow);
        png_write_row(pPng, image.pRow);
    }
    png_write_end(pPng, nullptr);
    png_destroy_write_struct(&pPng, &pInfo);
    return true;
}

// Reads the file's header and the chunks before its image. libpng's long jump comes back to the
// setjmp here, whose function holds only plain data; once it has returned, nothing that is
// called on the structures can fail.
bool readPngInfo(FILE* pFile, png_structp& pPng, png_infop& pInfo, SPngSink& sink) {
    pPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, &sink, onPngError, onPngWarning);
    pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    if (!pInfo) {
        std::snprintf(sink.cMessage, sizeof sink.cMessage, "%s", std::strerror(ENOMEM));
        return false;
    }
    if (setjmp(png_jmpbuf(pPng))) return false;
    png_init_io(pPng, pFile);
    png_set_sig_bytes(pPng, 8);
    png_read_info(pPng, pInfo);
    return true;
}

}  // namespace

std::string writePng(FILE* pFile, int iWidth, int iHeight, int iChannels,
                     const std::vector<SPngText>& vTexts,
                     const std::function<void(int iRow, unsigned char* pRow)>& fillRow) {
    std::vector<png_text> vChunks(vTexts.size());
    for (size_t i = 0; i < vTexts.size(); i++) {
        vChunks[i].compression =
            vTexts[i].bCompressed ? PNG_TEXT_COMPRESSION_zTXt : PNG_TEXT_COMPRESSION_NONE;
        vChunks[i].key = const_cast<char*>(vTexts[i].sKey.c_str());
        vChunks[i].text = const_cast<char*>(vTexts[i].sText.c_str());
    }
    std::vector<unsigned char> vRow(static_cast<size_t>(iChannels) * static_cast<size_t>(iWidth));
    SPngSink sink{pFile, 0, ""};
    const SPngImage image{iWidth,         iHeight,    iChannels, vChunks.data(),
                          static_cast<int>(vChunks.size()), vRow.data(), &fillRow};
    return writeImage(sink, image) ? "" : sink.cMessage;
}

std::string readPngTexts(const std::string& sPath, std::vector<SPngText>& vTexts) {
    FILE* pFile = std::fopen(sPath.c_str(), "rb");
    if (!pFile) return std::strerror(errno);
    unsigned char cSignature[8] = {};
    std::string sReason;
    if (std::fread(cSignature, 1, 8, pFile) != 8 || png_sig_cmp(cSignature, 0, 8) != 0) {
        sReason = std::ferror(pFile) ? std::strerror(errno) : "not a PNG file";
    } else {
        SPngSink sink{pFile, 0, ""};
        png_structp pPng = nullptr;
        png_infop pInfo = nullptr;
        if (readPngInfo(pFile, pPng, pInfo, sink)) {
            png_textp pTexts = nullptr;
            const int iTexts = png_get_text(pPng, pInfo, &pTexts, nullptr);
            for (int i = 0; i < iTexts; i++)
                vTexts.push_back({pTexts[i].key, pTexts[i].text,
                                  pTexts[i].compression != PNG_TEXT_COMPRESSION_NONE});
        } else {
            sReason = std::string("not a readable PNG file: ") + sink.cMessage;
        }
        png_destroy_read_struct(&pPng, &pInfo, nullptr);
    }
    std::fclose(pFile);
    return sReason;
}
