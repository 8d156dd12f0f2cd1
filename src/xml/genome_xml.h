#pragma once

// Genomes as XML, the .flame format flam3 reads and writes. Reading takes any document whose
// root is a <flame> or holds <flame> elements at any depth, and gives every flame in document
// order. No document type is processed, so no entity is expanded and nothing is fetched.
//
// A genome that this renderer cannot draw as flam3 would is refused rather than drawn otherwise:
// an unknown variation or xform attribute is an error here (flam3 warns and ignores it), and so
// are an attribute an editor wrote at a value that changes the picture in a way not drawn here
// (editor_attributes.h) and an unknown palette number (flam3 draws white). Errors are one line
// naming what is wrong, every such thing of the flame, for the caller to prefix with the file's
// name.
//
// The editors' vocabulary is read too: their camera in three dimensions and the pre_ and post_
// forms of every variation. A file that is not well-formed XML is refused as flam3 refuses it,
// JWildfire's NAME#k# attribute names among them, unless the file is read with its names
// mended (CFlameFile::mendNames), as --lenient reads it.

#include "genome/genome.h"

#include <pugixml.hpp>

#include <cstddef>
#include <memory>
#include <utility>
#include <string>
#include <vector>

// What the reader does with what a flame holds that is not drawn here: refuse the flame, or
// (bLenient) draw it without, each such thing said in vDropped ("flame 2: drawn without 'foo'
// of xform 1").
struct SLeniency {
    bool bLenient = false;
    std::vector<std::string> vDropped;
};

// A genome file, its XML parsed once, its flames each read when asked for.
class CFlameFile {
public:
    // Before parse or load: JWildfire's repeats NAME#k#, no XML names, read as NAME.k. (the
    // form this program writes them in); each flame read leniently says it was mended.
    void mendNames(bool bMend) { bMendNames = bMend; }

    bool parse(const std::string& sText, std::string& sError);  // false: not a genome file
    bool load(const std::string& sPath, std::string& sError);    // the file read and parsed

    int count() const { return static_cast<int>(vFlames.size()); }
    std::string name(int iFlame) const;  // its name attribute; iFlame from 0

    // Flame iFlame, checked, its palette made: false with sError "flame N (line L): why".
    bool read(int iFlame, SGenome& genome, std::string& sError,
              SLeniency* pLeniency = nullptr) const;

private:
    std::unique_ptr<pugi::xml_document> pDocument;
    std::vector<pugi::xml_node> vFlames;
    std::vector<int> vLines;  // where each flame begins
    bool bMendNames = false;
    std::vector<std::ptrdiff_t> vFlameEnds;  // where each flame's text ends, an offset
    std::vector<std::pair<std::ptrdiff_t, std::string>> vMended;  // where, and the name as written
    std::string mendedNote(int iFlame) const;
};

// Every flame of a document or file, or none with sError naming the first that cannot be read.
bool readGenomes(const std::string& sText, std::vector<SGenome>& vGenomes, std::string& sError,
                 SLeniency* pLeniency = nullptr);
bool readGenomeFile(const std::string& sPath, std::vector<SGenome>& vGenomes,
                    std::string& sError);

// The <flame> element of genome as this program stores it, in PNG files and .flame files: every
// attribute explicit, numbers in the shortest form that reads back to the same double, the
// palette as 256 <color> elements, and the xforms written out one by one, each <motion> with
// its frequency, its function and the amplitudes it gives (those not 0). There is no
// <symmetry> element: reading one adds xforms, so writing it beside the xforms it stands for
// would double them. readGenomes gives back a genome == this one, and flam3 draws it alike if it
// uses nothing of the editors'.
std::string genomeXml(const SGenome& genome);
