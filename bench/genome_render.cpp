// genome_render IN.flame OUT.png [--seed N] [--threads N] [--quality Q] [--pick N] [--size WxH]
//
// A developer's tool until the viewer reads genomes itself: renders flame N (from 1, default
// the first) of IN, framed as it is at another size if asked, and writes it as an 8-bit RGBA
// PNG whose zTXt chunk flam3_genome holds the genome as this program writes it. Prints the
// time, samples and bad-value rate.

#include "genome/genome_xml.h"
#include "genome/render.h"

#include <png.h>

#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct SOptions {
    const char* sIn = nullptr;
    const char* sOut = nullptr;
    unsigned long long uSeed = 1;
    int iThreads = 2;
    double dQuality = 0;
    int iPick = 1;
    int iWidth = 0, iHeight = 0;  // 0: the genome's size
};

bool readOptions(int argc, char** argv, SOptions& options) {
    int iPositional = 0;
    for (int i = 1; i < argc; i++) {
        const bool bValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--seed") == 0 && bValue) {
            options.uSeed = std::strtoull(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--threads") == 0 && bValue) {
            options.iThreads = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--quality") == 0 && bValue) {
            options.dQuality = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--pick") == 0 && bValue) {
            options.iPick = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--size") == 0 && bValue) {
            if (std::sscanf(argv[++i], "%dx%d", &options.iWidth, &options.iHeight) != 2)
                return false;
        } else if (argv[i][0] != '-' && iPositional < 2) {
            (iPositional++ == 0 ? options.sIn : options.sOut) = argv[i];
        } else {
            return false;
        }
    }
    return iPositional == 2 && options.iThreads >= 1 && options.iPick >= 1;
}

// libpng reports errors by longjmp: this function holds no C++ object across setjmp, only plain
// pointers, and returns false on any error.
bool writePng(const char* sPath, int iWidth, int iHeight, const unsigned char* pRgba,
              const char* sGenome) {
    FILE* pFile = std::fopen(sPath, "wb");
    if (!pFile) return false;
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pInfo = pPng ? png_create_info_struct(pPng) : nullptr;
    if (!pInfo || setjmp(png_jmpbuf(pPng))) {
        png_destroy_write_struct(&pPng, pInfo ? &pInfo : nullptr);
        std::fclose(pFile);
        return false;
    }
    png_init_io(pPng, pFile);
    png_set_compression_level(pPng, 3);  // a developer's tool: quick rather than small
    png_set_IHDR(pPng, pInfo, static_cast<png_uint_32>(iWidth), static_cast<png_uint_32>(iHeight),
                 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_text text = {};
    text.compression = PNG_TEXT_COMPRESSION_zTXt;
    text.key = const_cast<char*>("flam3_genome");
    text.text = const_cast<char*>(sGenome);
    png_set_text(pPng, pInfo, &text, 1);
    png_write_info(pPng, pInfo);
    for (int j = 0; j < iHeight; j++)
        png_write_row(pPng, pRgba + static_cast<size_t>(j) * iWidth * 4);
    png_write_end(pPng, pInfo);
    png_destroy_write_struct(&pPng, &pInfo);
    return std::fclose(pFile) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    SOptions options;
    if (!readOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: genome_render IN.flame OUT.png [--seed N] [--threads N] "
                             "[--quality Q] [--pick N] [--size WxH]\n");
        return 2;
    }
    std::vector<SGenome> vGenomes;
    std::string sError;
    if (!readGenomeFile(options.sIn, vGenomes, sError)) {
        std::fprintf(stderr, "genome_render: %s: %s\n", options.sIn, sError.c_str());
        return 1;
    }
    if (options.iPick > static_cast<int>(vGenomes.size())) {
        std::fprintf(stderr, "genome_render: %s: has %zu flames, not %d\n", options.sIn,
                     vGenomes.size(), options.iPick);
        return 1;
    }
    const SGenome genome = options.iWidth > 0
        ? resizedGenome(vGenomes[options.iPick - 1], options.iWidth, options.iHeight)
        : vGenomes[options.iPick - 1];
    const auto start = std::chrono::steady_clock::now();
    CGenomeRender render(genome, options.uSeed, options.iThreads, options.dQuality);
    if (!render.error().empty()) {
        std::fprintf(stderr, "genome_render: %s: %s\n", options.sIn, render.error().c_str());
        return 1;
    }
    while (render.continueRender(std::chrono::milliseconds(1000))) {}
    // The picture kept in 8 bits only: the rows come out one by one, the buckets stay the cost.
    std::vector<unsigned char> vRgba(static_cast<size_t>(genome.iWidth) * genome.iHeight * 4);
    render.writeImage([&](int iRow, const unsigned char* pRgb) {
        unsigned char* pOut = &vRgba[static_cast<size_t>(iRow) * genome.iWidth * 4];
        for (int i = 0; i < genome.iWidth; i++, pOut += 4, pRgb += 3) {
            pOut[0] = pRgb[0];
            pOut[1] = pRgb[1];
            pOut[2] = pRgb[2];
            pOut[3] = 255;
        }
    });
    const double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!writePng(options.sOut, genome.iWidth, genome.iHeight, vRgba.data(),
                  genomeXml(render.renderedGenome()).c_str())) {
        std::fprintf(stderr, "genome_render: %s: could not be written\n", options.sOut);
        return 1;
    }
    std::printf("%s: %.3f s, %lld samples, bad-value rate %g\n", options.sOut, dSeconds,
                static_cast<long long>(render.samplesTotal()), render.badValueRate());
    return 0;
}
