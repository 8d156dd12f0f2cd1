#pragma once

// Genomes as XML, the .flame format flam3 reads and writes. Reading takes any document whose
// root is a <flame> or holds <flame> elements at any depth, and gives every flame in document
// order. No document type is processed, so no entity is expanded and nothing is fetched.
//
// A genome that this renderer cannot draw as flam3 would is refused rather than drawn otherwise:
// an unknown variation or xform attribute is an error here (flam3 warns and ignores it), and so
// is an unknown palette number (flam3 draws white). Errors are one line naming what is wrong,
// for the caller to prefix with the file's name.
//
// The editors' vocabulary is read too: their camera in three dimensions, the pre_ and post_ forms
// of every variation, and JWildfire's NAME#k# (not well-formed XML, which flam3 refuses).

#include "genome/genome.h"

#include <cstddef>
#include <string>
#include <vector>

constexpr std::size_t uMostGenomeFileBytes = std::size_t(64) << 20;

bool readGenomes(const std::string& sText, std::vector<SGenome>& vGenomes, std::string& sError);
bool readGenomeFile(const std::string& sPath, std::vector<SGenome>& vGenomes,
                    std::string& sError);

// The <flame> element of genome as this program stores it, in PNG files and .flame files: every
// attribute explicit, numbers in the shortest form that reads back to the same double, the
// palette as 256 <color> elements, and the xforms written out one by one. There is no
// <symmetry> element: reading one adds xforms, so writing it beside the xforms it stands for
// would double them. readGenomes gives back a genome == this one, and flam3 draws it alike if it
// uses nothing of the editors'.
std::string genomeXml(const SGenome& genome);
