#include "pictures/exr_codec.h"

#include "base/limits.h"
#include "pictures/whole_file.h"

#include <OpenEXR/ImfChannelList.h>
#include <OpenEXR/ImfFrameBuffer.h>
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfIO.h>
#include <OpenEXR/ImfInputFile.h>
#include <OpenEXR/ImfOutputFile.h>
#include <OpenEXR/ImfStringAttribute.h>
#include <Imath/half.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <stdexcept>

namespace {

constexpr const char* sChannels[] = {"R", "G", "B", "A"};

// The library's bytes into a stream of the C library's; the system's reason for a failed write
// kept, since the library's own message would only say that it failed.
class CFileStream : public Imf::OStream {
public:
    explicit CFileStream(FILE* pFile_) : Imf::OStream("picture"), pFile(pFile_) {}
    void write(const char c[], int n) override {
        if (std::fwrite(c, 1, static_cast<size_t>(n), pFile) != static_cast<size_t>(n))
            failed();
    }
    uint64_t tellp() override {
        const off_t iAt = ftello(pFile);
        if (iAt < 0) failed();
        return static_cast<uint64_t>(iAt);
    }
    void seekp(uint64_t uAt) override {
        if (fseeko(pFile, static_cast<off_t>(uAt), SEEK_SET) != 0) failed();
    }
    int error() const { return iErrno; }

private:
    [[noreturn]] void failed() {
        iErrno = errno ? errno : EIO;
        throw std::runtime_error(errorText(iErrno));
    }
    FILE* pFile;
    int iErrno = 0;
};

class CExrWriter : public CPictureWriter {
public:
    CExrWriter(int iDepth_, bool bTransparent_, FILE* pFile)
        : iDepth(iDepth_), bTransparent(bTransparent_), stream(pFile) {}

    bool begin(int iWidth_, int iHeight, const std::vector<SPngText>& vTexts) override {
        return attempt([&] {
            iWidth = iWidth_;
            const int iChannels = bTransparent ? 4 : 3;
            const size_t uValues = static_cast<size_t>(iWidth) * iChannels;
            vValues.assign(uValues, 0.0f);
            if (iDepth == 16) vHalves.assign(uValues, Imath::half());
            Imf::Header header(iWidth, iHeight);
            const Imf::PixelType eType = iDepth == 32 ? Imf::FLOAT : Imf::HALF;
            char* pRow = iDepth == 32 ? reinterpret_cast<char*>(vValues.data())
                                      : reinterpret_cast<char*>(vHalves.data());
            const size_t uBytes = iDepth == 32 ? sizeof(float) : sizeof(Imath::half);
            // Every row is written from the same one: no stride from row to row.
            Imf::FrameBuffer frame;
            for (int c = 0; c < iChannels; c++) {
                header.channels().insert(sChannels[c], Imf::Channel(eType));
                frame.insert(sChannels[c], Imf::Slice(eType, pRow + c * uBytes,
                                                      uBytes * iChannels, 0));
            }
            for (const SPngText& text : vTexts)
                header.insert(text.sKey, Imf::StringAttribute(text.sText));
            pFile = std::make_unique<Imf::OutputFile>(stream, header, 1);
            pFile->setFrameBuffer(frame);
        });
    }
    bool row(const STonedPixel* pRow) override {
        return attempt([&] {
            const int iChannels = bTransparent ? 4 : 3;
            for (int p = 0; p < iWidth; p++)
                exrValues(bTransparent, pRow[p], &vValues[static_cast<size_t>(p) * iChannels]);
            // The largest half float for a value past it, not infinity.
            for (size_t k = 0; k < vHalves.size(); k++)
                vHalves[k] = std::min(vValues[k], static_cast<float>(HALF_MAX));
            pFile->writePixels(1);
        });
    }
    // The library writes the table of its rows' places when the file is closed, and keeps any
    // failure to itself there: the stream's is looked at after.
    bool finish() override {
        return attempt([&] {
            pFile.reset();
            if (stream.error()) throw std::runtime_error(errorText(stream.error()));
        });
    }
    std::string error() const override { return sError; }

private:
    template <typename FWork>
    bool attempt(const FWork& work) {
        if (!sError.empty()) return false;
        try {
            work();
        } catch (const std::exception& failure) {
            sError = stream.error() ? errorText(stream.error()) : failure.what();
            if (sError.empty()) sError = "the OpenEXR library failed";
        }
        return sError.empty();
    }

    int iDepth;
    bool bTransparent;
    CFileStream stream;
    std::unique_ptr<Imf::OutputFile> pFile;
    int iWidth = 0;
    std::vector<float> vValues;  // a row's, 3 or 4 a pixel
    std::vector<Imath::half> vHalves;  // the same as half floats, for a picture of them
    std::string sError;
};

}  // namespace

std::unique_ptr<CPictureWriter> exrWriter(int iDepth, bool bTransparent, FILE* pFile) {
    return std::make_unique<CExrWriter>(iDepth, bTransparent, pFile);
}

// Only a regular file is read, never waiting on a FIFO or a device.
bool looksLikeExr(const std::string& sPath) {
    const int iFd = open(sPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (iFd < 0) return false;
    struct stat status {};
    unsigned char cMagic[4] = {};
    const bool bRead = fstat(iFd, &status) == 0 && S_ISREG(status.st_mode) &&
                       read(iFd, cMagic, 4) == 4;
    close(iFd);
    return bRead && cMagic[0] == 0x76 && cMagic[1] == 0x2f && cMagic[2] == 0x31 &&
           cMagic[3] == 0x01;
}

std::string readExrTexts(const std::string& sPath, std::vector<SPngText>& vTexts, int& iDepth,
                         bool& bAlpha) {
    struct stat status {};
    if (stat(sPath.c_str(), &status) != 0) return errorText(errno);
    if (!S_ISREG(status.st_mode)) return "not a regular file";
    try {
        Imf::InputFile file(sPath.c_str(), 1);
        const Imf::Header& header = file.header();
        size_t uBytes = 0;
        for (auto it = header.begin(); it != header.end(); ++it) {
            const auto* pText = dynamic_cast<const Imf::StringAttribute*>(&it.attribute());
            if (!pText) continue;
            uBytes += pText->value().size();
            if (uBytes > uMostPngTextBytes) return "its texts are too long";
            vTexts.push_back({it.name(), pText->value(), false});
        }
        const Imf::Channel* pRed = header.channels().findChannel("R");
        iDepth = pRed && pRed->type == Imf::FLOAT ? 32 : 16;
        bAlpha = header.channels().findChannel("A") != nullptr;
    } catch (const std::exception& failure) {
        return std::string("not a readable OpenEXR file: ") + failure.what();
    }
    return "";
}
