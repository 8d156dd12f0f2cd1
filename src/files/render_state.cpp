#include "files/render_state.h"

#include "pictures/whole_file.h"
#include "render/render.h"
#include "tone/grid.h"
#include "xml/genome_xml.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr char sMagic[] = "flames render state 1\n";  // the format's version in its last digit
constexpr size_t uMagicBytes = sizeof sMagic - 1;
constexpr uint32_t uMostHeaderBytes = 64u << 20;  // a genome's text is at most a few MiB
constexpr size_t uBucketBytes = 5 * sizeof(uint64_t);
constexpr size_t uChunkBuckets = 4096;           // buckets converted and compressed at a time
constexpr size_t uStreamBytes = 1 << 18;         // compressed bytes read or written at a time

void putNumber(std::string& sBytes, uint64_t uValue, int iBytes) {
    for (int i = 0; i < iBytes; i++) sBytes.push_back(static_cast<char>(uValue >> (8 * i)));
}

uint64_t numberAt(const unsigned char* pBytes, int iBytes) {
    uint64_t uValue = 0;
    for (int i = iBytes - 1; i >= 0; i--) uValue = uValue << 8 | pBytes[i];
    return uValue;
}

uint32_t crcOf(uint32_t uCrc, const void* pBytes, size_t uBytes) {
    const unsigned char* p = static_cast<const unsigned char*>(pBytes);
    while (uBytes > 0) {  // zlib takes at most 4 GiB a call
        const uInt uPart = static_cast<uInt>(std::min<size_t>(uBytes, 1u << 30));
        uCrc = static_cast<uint32_t>(crc32(uCrc, p, uPart));
        p += uPart, uBytes -= uPart;
    }
    return uCrc;
}

// The five sums of a bucket, little-endian, one after another.
void bucketBytes(const SBucket& bucket, unsigned char* pBytes) {
    const uint64_t uSums[5] = {bucket.uRed, bucket.uGreen, bucket.uBlue, bucket.uAlpha,
                               bucket.uCount};
    for (int k = 0; k < 5; k++)
        for (int i = 0; i < 8; i++) *pBytes++ = static_cast<unsigned char>(uSums[k] >> (8 * i));
}

SBucket bucketOf(const unsigned char* pBytes) {
    SBucket bucket;
    uint64_t* pSums[5] = {&bucket.uRed, &bucket.uGreen, &bucket.uBlue, &bucket.uAlpha,
                          &bucket.uCount};
    for (int k = 0; k < 5; k++) *pSums[k] = numberAt(pBytes + 8 * k, 8);
    return bucket;
}

std::string headerOf(const CGenomeRender& render, unsigned int uSeed) {
    const SGridShape grid = gridShapeOf(render.renderedGenome());
    const CBatchSet batches = render.batchesIn();
    const std::string sGenome = genomeXml(render.renderedGenome());
    std::string sHeader;
    putNumber(sHeader, uSeed, 4);
    putNumber(sHeader, static_cast<uint64_t>(render.samplesTotal()), 8);
    putNumber(sHeader, static_cast<uint32_t>(grid.iWidth), 4);
    putNumber(sHeader, static_cast<uint32_t>(grid.iHeight), 4);
    putNumber(sHeader, batches.ranges().size(), 4);
    for (const SBatchRange& range : batches.ranges()) {
        putNumber(sHeader, range.uFirst, 8);
        putNumber(sHeader, range.uEnd, 8);
    }
    putNumber(sHeader, sGenome.size(), 4);
    return sHeader + sGenome;
}

// Bytes into the file, their CRC-32 carried on where pCrc is given; "" or the reason.
std::string written(FILE* pFile, const void* pBytes, size_t uBytes, uint32_t* pCrc = nullptr) {
    if (pCrc) *pCrc = crcOf(*pCrc, pBytes, uBytes);
    if (std::fwrite(pBytes, 1, uBytes, pFile) == uBytes) return "";
    return errorText(errno ? errno : EIO);
}

// The buckets through zlib's deflate, at its fastest level: a poster's grid is gigabytes, of
// which the empty buckets make most.
std::string writeBuckets(FILE* pFile, const CHistogram& histogram, uint32_t& uCrc) {
    z_stream stream{};
    if (deflateInit(&stream, Z_BEST_SPEED) != Z_OK) return "zlib cannot compress";
    std::vector<unsigned char> vIn(uChunkBuckets * uBucketBytes), vOut(uStreamBytes);
    std::string sReason;
    const size_t uBuckets = static_cast<size_t>(histogram.width()) * histogram.height();
    const SBucket* pBuckets = histogram.row(0);
    for (size_t uDone = 0; sReason.empty();) {
        const size_t uCount = std::min(uChunkBuckets, uBuckets - uDone);
        for (size_t i = 0; i < uCount; i++)
            bucketBytes(pBuckets[uDone + i], &vIn[i * uBucketBytes]);
        uDone += uCount;
        const int iFlush = uDone == uBuckets ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = vIn.data();
        stream.avail_in = static_cast<uInt>(uCount * uBucketBytes);
        int iResult = Z_OK;
        do {
            stream.next_out = vOut.data();
            stream.avail_out = static_cast<uInt>(vOut.size());
            iResult = deflate(&stream, iFlush);
            sReason = written(pFile, vOut.data(), vOut.size() - stream.avail_out, &uCrc);
        } while (sReason.empty() && (stream.avail_out == 0 || stream.avail_in > 0));
        if (iFlush == Z_FINISH && sReason.empty()) {
            if (iResult != Z_STREAM_END) sReason = "zlib cannot compress";
            break;
        }
    }
    deflateEnd(&stream);
    return sReason;
}

std::string writeState(CWholeFile& file, const std::string& sFolder, const CGenomeRender& render,
                       unsigned int uSeed) {
    if (const int iError = file.create(sFolder)) return errorText(iError);
    FILE* pFile = file.stream();
    const std::string sHeader = headerOf(render, uSeed);
    std::string sFraming;
    putNumber(sFraming, sHeader.size(), 4);
    std::string sCrc;
    putNumber(sCrc, crcOf(0, sHeader.data(), sHeader.size()), 4);
    std::string sReason = written(pFile, sMagic, uMagicBytes);
    if (sReason.empty()) sReason = written(pFile, sFraming.data(), sFraming.size());
    if (sReason.empty()) sReason = written(pFile, sHeader.data(), sHeader.size());
    if (sReason.empty()) sReason = written(pFile, sCrc.data(), sCrc.size());
    uint32_t uCrc = 0;
    if (sReason.empty()) sReason = writeBuckets(pFile, render.histogram(), uCrc);
    sCrc.clear();
    putNumber(sCrc, uCrc, 4);
    if (sReason.empty()) sReason = written(pFile, sCrc.data(), sCrc.size());
    return sReason;
}

// A header's fields in order, each read only where the bytes before it were there.
class CHeaderBytes {
public:
    explicit CHeaderBytes(const std::string& sBytes) : sBytes(sBytes) {}
    uint64_t number(int iBytes) {
        if (uAt + iBytes > sBytes.size()) {
            bShort = true;
            return 0;
        }
        uAt += iBytes;
        return numberAt(reinterpret_cast<const unsigned char*>(sBytes.data()) + uAt - iBytes,
                        iBytes);
    }
    std::string text(uint64_t uBytes) {
        if (bShort || uBytes > sBytes.size() - uAt) {
            bShort = true;
            return "";
        }
        uAt += uBytes;
        return sBytes.substr(uAt - uBytes, uBytes);
    }
    bool whole() const { return !bShort && uAt == sBytes.size(); }

private:
    const std::string& sBytes;
    size_t uAt = 0;
    bool bShort = false;
};

// The batches as kept, in order, apart, within the render's.
bool readBatches(CHeaderBytes& bytes, uint64_t uBatches, CBatchSet& batches) {
    const uint64_t uRanges = bytes.number(4);
    uint64_t uEnd = 0;
    for (uint64_t k = 0; k < uRanges; k++) {
        const uint64_t uFirst = bytes.number(8), uRangeEnd = bytes.number(8);
        if (uFirst < uEnd || (k > 0 && uFirst == uEnd) || uRangeEnd <= uFirst ||
            uRangeEnd > uBatches)
            return false;
        batches.add(uFirst, uRangeEnd);
        uEnd = uRangeEnd;
    }
    return true;
}

// Reading a state's file: "" for bytes read whole; "cut short" or the error.
std::string readBytes(FILE* pFile, void* pBytes, size_t uBytes) {
    if (std::fread(pBytes, 1, uBytes, pFile) == uBytes) return "";
    return std::ferror(pFile) ? errorText(errno ? errno : EIO) : "the state is cut short";
}

}  // namespace

bool saveRenderState(const std::string& sPath, const CGenomeRender& render, unsigned int uSeed,
                     std::string& sError) {
    std::string sReason;
    const std::string sTarget = savingTarget(sPath, sReason);
    CWholeFile file;
    if (sReason.empty()) sReason = writeState(file, folderOf(sTarget), render, uSeed);
    if (sReason.empty()) sReason = errorText(file.replace(sTarget));
    if (!sReason.empty()) sError = pathError(sPath, sReason);
    return sReason.empty();
}

std::string stateMismatch(const SRenderState& first, const SRenderState& other) {
    const SGenome &one = first.genome, &two = other.genome;
    if (other.uSeed != first.uSeed)
        return "drawn with seed " + std::to_string(other.uSeed) + ", the other states with " +
               std::to_string(first.uSeed);
    if (two.iWidth != one.iWidth || two.iHeight != one.iHeight ||
        two.iSupersample != one.iSupersample)
        return "a picture of another size or supersample than the other states'";
    if (two.dQuality != one.dQuality) return "drawn at another quality than the other states";
    if (other.sGenomeText != first.sGenomeText) return "the state of another genome";
    if (other.batches.overlaps(first.batches))
        return "holds batches another state holds too (a part given twice?)";
    return "";
}

CStateReader::~CStateReader() {
    if (pFile) std::fclose(pFile);
}

bool CStateReader::fail(const std::string& sReason, std::string& sError) const {
    sError = pathError(sPath, sReason);
    return false;
}

bool CStateReader::open(const std::string& sPath_, std::string& sError) {
    sPath = sPath_;
    pFile = std::fopen(sPath.c_str(), "rb");
    if (!pFile) return fail(errorText(errno), sError);
    const std::string sReason = readHeader();
    return sReason.empty() || fail(sReason, sError);
}

std::string CStateReader::readHeader() {
    char cMagic[uMagicBytes];
    unsigned char cFraming[4];
    if (std::fread(cMagic, 1, uMagicBytes, pFile) != uMagicBytes ||
        std::memcmp(cMagic, sMagic, uMagicBytes) != 0)
        return std::ferror(pFile) ? errorText(errno ? errno : EIO) : "not a render state of flames";
    std::string sReason = readBytes(pFile, cFraming, 4);
    const uint64_t uHeaderBytes = numberAt(cFraming, 4);
    if (sReason.empty() && uHeaderBytes > uMostHeaderBytes) return "its header is damaged";
    std::string sHeader(uHeaderBytes, '\0');
    unsigned char cCrc[4];
    if (sReason.empty()) sReason = readBytes(pFile, sHeader.data(), sHeader.size());
    if (sReason.empty()) sReason = readBytes(pFile, cCrc, 4);
    if (!sReason.empty()) return sReason;
    if (numberAt(cCrc, 4) != crcOf(0, sHeader.data(), sHeader.size()))
        return "its header is damaged (its checksum is wrong)";
    CHeaderBytes bytes(sHeader);
    myState.uSeed = static_cast<unsigned int>(bytes.number(4));
    myState.iSamples = static_cast<int64_t>(bytes.number(8));
    const uint64_t uGridWidth = bytes.number(4), uGridHeight = bytes.number(4);
    const uint64_t uBatches = (static_cast<uint64_t>(myState.iSamples) + iBatchSamples - 1) /
                              iBatchSamples;
    if (!readBatches(bytes, uBatches, myState.batches)) return "its header is damaged";
    myState.sGenomeText = bytes.text(bytes.number(4));
    if (!bytes.whole()) return "its header is damaged";
    std::vector<SGenome> vGenomes;
    std::string sProblem;
    if (!readGenomes(myState.sGenomeText, vGenomes, sProblem) || vGenomes.size() != 1)
        return "its genome: " + (sProblem.empty() ? "not one flame" : sProblem);
    myState.genome = vGenomes.front();
    const SGridShape grid = gridShapeOf(myState.genome);
    if (samplesOf(myState.genome) != myState.iSamples ||
        uGridWidth != static_cast<uint64_t>(grid.iWidth) ||
        uGridHeight != static_cast<uint64_t>(grid.iHeight))
        return "a state this version of flames does not draw alike (its samples or its grid)";
    return "";
}

bool CStateReader::addInto(CHistogram& histogram, std::string& sError) {
    const std::string sReason = readBuckets(histogram);
    std::fclose(pFile);
    pFile = nullptr;
    return sReason.empty() || fail(sReason, sError);
}

// Inflated a stretch at a time and added in; the compressed bytes' CRC-32 at the end, and
// nothing after it.
std::string CStateReader::readBuckets(CHistogram& histogram) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return "zlib cannot decompress";
    std::vector<unsigned char> vIn(uStreamBytes), vOut(uChunkBuckets * uBucketBytes);
    std::vector<SBucket> vBuckets(uChunkBuckets);
    const size_t uBuckets = static_cast<size_t>(histogram.width()) * histogram.height();
    size_t uDone = 0, uFill = 0;  // buckets added; bytes of the next one already inflated
    uint32_t uCrc = 0;
    int iResult = Z_OK;
    std::string sReason;
    while (sReason.empty() && iResult != Z_STREAM_END) {
        if (stream.avail_in == 0) {
            stream.next_in = vIn.data();
            stream.avail_in = static_cast<uInt>(std::fread(vIn.data(), 1, vIn.size(), pFile));
            if (stream.avail_in == 0) {
                sReason = std::ferror(pFile) ? errorText(errno ? errno : EIO)
                                             : "the state is cut short";
                break;
            }
        }
        const unsigned char* pFrom = stream.next_in;
        stream.next_out = vOut.data() + uFill;
        stream.avail_out = static_cast<uInt>(vOut.size() - uFill);
        iResult = inflate(&stream, Z_NO_FLUSH);
        uCrc = crcOf(uCrc, pFrom, static_cast<size_t>(stream.next_in - pFrom));
        if (iResult != Z_OK && iResult != Z_STREAM_END) {
            sReason = "its buckets are damaged";
            break;
        }
        uFill = static_cast<size_t>(stream.next_out - vOut.data());
        const size_t uWhole = uFill / uBucketBytes;
        if (uWhole > uBuckets - uDone) {
            sReason = "its buckets are damaged (more than its picture has)";
            break;
        }
        for (size_t i = 0; i < uWhole; i++) vBuckets[i] = bucketOf(&vOut[i * uBucketBytes]);
        histogram.addBuckets(uDone, vBuckets.data(), uWhole);
        uDone += uWhole;
        // A bucket split between two stretches: its first bytes moved ahead of the rest.
        uFill -= uWhole * uBucketBytes;
        std::memmove(vOut.data(), vOut.data() + uWhole * uBucketBytes, uFill);
    }
    std::vector<unsigned char> vEnd(stream.next_in, stream.next_in + stream.avail_in);
    inflateEnd(&stream);
    if (!sReason.empty()) return sReason;
    if (uDone != uBuckets || uFill != 0)
        return "its buckets are damaged (fewer than its picture has)";
    unsigned char cMore[8];
    const size_t uMore = std::fread(cMore, 1, sizeof cMore, pFile);
    vEnd.insert(vEnd.end(), cMore, cMore + uMore);
    if (vEnd.size() < 4) return "the state is cut short";
    if (vEnd.size() > 4) return "bytes follow the end of the state";
    if (numberAt(vEnd.data(), 4) != uCrc)
        return "its buckets are damaged (their checksum is wrong)";
    return "";
}
