#include "pictures/png_codec.h"

#include "base/limits.h"

#include <fcntl.h>
#include <png.h>
#include <zlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <memory>

// Where libpng's bytes go, and why it stopped: the system's reason for a failed write, else
// libpng's own message.
struct SPngSink {
    FILE* pFile;
    int   iErrno;
    char  cMessage[160];
};

namespace {


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

// What reading takes from a file: its text chunks (the compressed ones apart, to come after the
// others), and the reason it stopped where it was not libpng's own. Filled in by libpng's
// callbacks.
struct SPngReading {
    std::vector<SPngText>* pTexts;
    std::vector<SPngText>* pCompressed;
    size_t                 iTextBytes;  // of every text, as inflated
    int                    iChunks;
    char                   cProblem[160];
};

constexpr size_t iMostChunkBytes = uMostGenomeTextBytes + 80;  // a text and its keyword
constexpr size_t iMostTextBytes = uMostPngTextBytes;  // of all the texts together
constexpr int iMostChunks = iMostPngTexts;            // before the image

int refused(SPngReading& reading, const std::string& sProblem) {
    std::snprintf(reading.cProblem, sizeof reading.cProblem, "%s", sProblem.c_str());
    return -1;  // libpng stops with an error
}

// The text of zlib data inflated, at most uMost bytes: an inflated text counts toward the texts'
// limit as it grows, so that a small file of compressed chunks cannot cost gigabytes.
bool inflateText(const unsigned char* pData, size_t uSize, size_t uMost, std::string& sText) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return false;
    stream.next_in = const_cast<unsigned char*>(pData);
    stream.avail_in = static_cast<uInt>(uSize);
    unsigned char cOut[1 << 14];
    int iResult = Z_OK;
    while (iResult == Z_OK && sText.size() <= uMost) {
        stream.next_out = cOut;
        stream.avail_out = sizeof cOut;
        iResult = inflate(&stream, Z_NO_FLUSH);
        sText.append(reinterpret_cast<const char*>(cOut), sizeof cOut - stream.avail_out);
        if (iResult == Z_BUF_ERROR && stream.avail_in == 0) break;  // cut short
    }
    inflateEnd(&stream);
    return iResult == Z_STREAM_END && sText.size() <= uMost;
}

// Where the text of a chunk begins, after its keyword: a zTXt's after its method byte, an iTXt's
// after its flag, method, language and translated keyword (bInflate whether it is compressed);
// null where the chunk is cut short.
const char* textStart(const png_unknown_chunk& chunk, const char* pText, const char* pEnd,
                      bool& bInflate) {
    bInflate = std::memcmp(chunk.name, "zTXt", 4) == 0;
    if (bInflate) return pText < pEnd ? pText + 1 : nullptr;
    if (std::memcmp(chunk.name, "iTXt", 4) != 0) return pText;
    if (pEnd - pText < 2) return nullptr;
    bInflate = pText[0] == 1;
    pText += 2;
    for (int iField = 0; iField < 2; iField++) {
        const char* pNul = static_cast<const char*>(std::memchr(pText, 0, pEnd - pText));
        if (!pNul) return nullptr;
        pText = pNul + 1;
    }
    return pText;
}

// A text chunk's text: tEXt's as it stands, zTXt's and iTXt's inflated (an iTXt may also be
// uncompressed), at most uMost bytes; "" or the problem.
std::string chunkText(const png_unknown_chunk& chunk, const char* pText, size_t uMost,
                      std::string& sText) {
    const char* pEnd = reinterpret_cast<const char*>(chunk.data) + chunk.size;
    bool bInflate = false;
    const char* pStart = textStart(chunk, pText, pEnd, bInflate);
    if (!pStart) return "a text chunk is cut short";
    if (!bInflate) {
        if (static_cast<size_t>(pEnd - pStart) > uMost) return "its texts are too long";
        sText.assign(pStart, pEnd);
    } else if (!inflateText(reinterpret_cast<const unsigned char*>(pStart),
                            static_cast<size_t>(pEnd - pStart), uMost, sText)) {
        return sText.size() > uMost ? "its texts are too long" : "a compressed text is broken";
    }
    return "";
}

// A text chunk, taken whole rather than through libpng's own reading, which would cut its text
// at a NUL byte without a word and inflate compressed ones without a limit: a keyword, one NUL,
// and a text without one.
int onTextChunk(png_structp pPng, png_unknown_chunkp pChunk) {
    SPngReading& reading = *static_cast<SPngReading*>(png_get_user_chunk_ptr(pPng));
    const char* pData = reinterpret_cast<const char*>(pChunk->data);
    const char* pKeyEnd = static_cast<const char*>(std::memchr(pData, 0, pChunk->size));
    if (!pKeyEnd) return refused(reading, "a text chunk has no text");
    const std::string sKey(pData, pKeyEnd);
    if (++reading.iChunks > iMostChunks)
        return refused(reading, "over " + std::to_string(iMostChunks) + " text chunks");
    const bool bCompressed = std::memcmp(pChunk->name, "tEXt", 4) != 0;
    const size_t uLeft = iMostTextBytes - reading.iTextBytes;
    std::string sText;
    try {
        const std::string sProblem =
            chunkText(*pChunk, pKeyEnd + 1, std::min(uLeft, iMostChunkBytes), sText);
        if (!sProblem.empty()) return refused(reading, sProblem);
        if (sText.find('\0') != std::string::npos)
            return refused(reading, "its " + sKey + " chunk holds a NUL byte");
        reading.iTextBytes += sText.size();
        (bCompressed ? reading.pCompressed : reading.pTexts)->push_back({sKey, sText, bCompressed});
    } catch (const std::bad_alloc&) {
        return refused(reading, std::strerror(ENOMEM));
    }
    return 1;
}

// Reads the file's header and the chunks before its image, with limits on what they may cost:
// a chunk that says it is larger than a text needs, too many of them, and a bad CRC anywhere end
// the reading. libpng's long jump comes back to the setjmp here, whose function holds only plain
// data; once it has returned, nothing that is called on the structures can fail.
bool readPngInfo(FILE* pFile, png_structp& pPng, png_infop& pInfo, SPngSink& sink,
                 SPngReading& reading) {
    pPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, &sink, onPngError, onPngWarning);
    pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    if (!pInfo) {
        std::snprintf(sink.cMessage, sizeof sink.cMessage, "%s", std::strerror(ENOMEM));
        return false;
    }
    if (setjmp(png_jmpbuf(pPng))) return false;
    png_set_chunk_malloc_max(pPng, iMostChunkBytes);
    png_set_chunk_cache_max(pPng, iMostChunks);
    png_set_benign_errors(pPng, 0);
    png_set_crc_action(pPng, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    png_set_read_user_chunk_fn(pPng, &reading, onTextChunk);
    const png_byte cTexts[] = {'t', 'E', 'X', 't', 0, 'z', 'T', 'X', 't', 0, 'i', 'T', 'X', 't', 0};
    png_set_keep_unknown_chunks(pPng, PNG_HANDLE_CHUNK_ALWAYS, cTexts, 3);
    png_init_io(pPng, pFile);
    png_set_sig_bytes(pPng, 8);
    png_read_info(pPng, pInfo);
    return true;
}

// A regular file opened for reading, never waiting on a FIFO or a device; "" or the reason.
std::string openRegular(const std::string& sPath, FILE*& pFile) {
    const int iFd = open(sPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (iFd < 0) return std::strerror(errno);
    struct stat status {};
    std::string sReason;
    if (fstat(iFd, &status) != 0) sReason = std::strerror(errno);
    else if (S_ISDIR(status.st_mode)) sReason = std::strerror(EISDIR);
    else if (!S_ISREG(status.st_mode)) sReason = "not a regular file";
    else if (!(pFile = fdopen(iFd, "rb"))) sReason = std::strerror(errno);
    if (!sReason.empty()) close(iFd);
    return sReason;
}

}  // namespace

CPngWriter::CPngWriter(FILE* pFile, int iLevel_)
    : pSink(std::make_unique<SPngSink>(SPngSink{pFile, 0, ""})), iLevel(iLevel_) {}

CPngWriter::~CPngWriter() { png_destroy_write_struct(&pPng, &pInfo); }

std::string CPngWriter::error() const { return pSink->cMessage; }

// Each call into libpng sits in a function of its own with its own setjmp, holding only plain
// data: a long jump from libpng lands there and never crosses the caller's objects.
bool CPngWriter::begin(int iWidth, int iHeight, int iChannels,
                       const std::vector<SPngText>& vTexts, int iBits) {
    pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, pSink.get(), onPngError, onPngWarning);
    pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    if (!pInfo) {
        std::snprintf(pSink->cMessage, sizeof pSink->cMessage, "%s", std::strerror(ENOMEM));
        return bFailed = true, false;
    }
    std::vector<png_text> vChunks(vTexts.size());
    for (size_t i = 0; i < vTexts.size(); i++) {
        vChunks[i].compression =
            vTexts[i].bCompressed ? PNG_TEXT_COMPRESSION_zTXt : PNG_TEXT_COMPRESSION_NONE;
        vChunks[i].key = const_cast<char*>(vTexts[i].sKey.c_str());
        vChunks[i].text = const_cast<char*>(vTexts[i].sText.c_str());
    }
    const int iTexts = static_cast<int>(vChunks.size());
    return writeHeader(iWidth, iHeight, iChannels, iBits, vChunks.data(), iTexts);
}

bool CPngWriter::writeHeader(int iWidth, int iHeight, int iChannels, int iBits,
                             png_text* pTexts, int iTexts) {
    if (setjmp(png_jmpbuf(pPng))) return bFailed = true, false;
    png_set_write_fn(pPng, pSink.get(), onPngWrite, onPngFlush);
    png_set_IHDR(pPng, pInfo, static_cast<png_uint_32>(iWidth), static_cast<png_uint_32>(iHeight),
                 iBits, iChannels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(pPng, iLevel);
    png_set_text(pPng, pInfo, pTexts, iTexts);
    png_write_info(pPng, pInfo);
    return true;
}

bool CPngWriter::row(const unsigned char* pRow) {
    if (bFailed) return false;
    if (setjmp(png_jmpbuf(pPng))) return bFailed = true, false;
    png_write_row(pPng, pRow);
    return true;
}

bool CPngWriter::finish() {
    if (bFailed) return false;
    if (setjmp(png_jmpbuf(pPng))) return bFailed = true, false;
    png_write_end(pPng, nullptr);
    return true;
}

std::string writePng(FILE* pFile, int iWidth, int iHeight, int iChannels,
                     const std::vector<SPngText>& vTexts,
                     const std::function<void(int iRow, unsigned char* pRow)>& fillRow) {
    CPngWriter writer(pFile);
    std::vector<unsigned char> vRow(static_cast<size_t>(iChannels) * static_cast<size_t>(iWidth));
    bool bWritten = writer.begin(iWidth, iHeight, iChannels, vTexts);
    for (int iRow = 0; iRow < iHeight && bWritten; iRow++) {
        fillRow(iRow, vRow.data());
        bWritten = writer.row(vRow.data());
    }
    return bWritten && writer.finish() ? "" : writer.error();
}

std::string readPngTexts(const std::string& sPath, std::vector<SPngText>& vTexts,
                         SPngShape* pShape) {
    FILE* pFile = nullptr;
    std::string sReason = openRegular(sPath, pFile);
    if (!sReason.empty()) return sReason;
    unsigned char cSignature[8] = {};
    if (std::fread(cSignature, 1, 8, pFile) != 8 || png_sig_cmp(cSignature, 0, 8) != 0) {
        sReason = std::ferror(pFile) ? std::strerror(errno)
                  : cSignature[0] == '<' ? "not a PNG file: XML, a genome file? --genome draws it"
                                          : "not a PNG file";
    } else {
        SPngSink sink{pFile, 0, ""};
        std::vector<SPngText> vCompressed;
        SPngReading reading{&vTexts, &vCompressed, 0, 0, ""};
        png_structp pPng = nullptr;
        png_infop pInfo = nullptr;
        const bool bRead = readPngInfo(pFile, pPng, pInfo, sink, reading);
        vTexts.insert(vTexts.end(), vCompressed.begin(), vCompressed.end());
        if (reading.cProblem[0]) sReason = reading.cProblem;
        else if (!bRead) sReason = std::string("not a readable PNG file: ") + sink.cMessage;
        if (sReason.empty() && pShape) {
            pShape->iBits = png_get_bit_depth(pPng, pInfo);
            pShape->bAlpha = (png_get_color_type(pPng, pInfo) & PNG_COLOR_MASK_ALPHA) != 0;
        }
        png_destroy_read_struct(&pPng, &pInfo, nullptr);
    }
    std::fclose(pFile);
    return sReason;
}
