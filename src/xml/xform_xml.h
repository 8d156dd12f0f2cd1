#pragma once

// The attributes of one <xform> or <finalxform>, as flam3 reads them, for the genome reader.

#include "genome/genome.h"

#include <pugixml.hpp>

#include <string>

// Reads node's attributes over xform (which holds the defaults). False with sError naming the
// attribute when one is not a variation, a parameter or an xform attribute flam3 knows, or its
// value is not what it must be: the picture is never drawn without what it names.
bool readXform(const pugi::xml_node& node, SXform& xform, std::string& sError);

// JWildfire writes a variation used once more as NAME#k#, which is no XML name: before parsing,
// each # in an element's attribute names becomes the middle dot "·" (a name character no
// attribute of a genome has), and readXform reads it as # again. Nothing else of the text
// changes.
std::string withParsableNames(const std::string& sText);

// The words of the reader's messages: a name in quotes, and the start of "NAME=\"VALUE\" is not
// what it must be".
std::string quoted(const char* s);
std::string badValue(const pugi::xml_attribute& attribute);
