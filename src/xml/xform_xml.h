#pragma once

// The attributes of one <xform> or <finalxform>, and its <motion> children, as flam3 reads
// them, for the genome reader.

#include "genome/genome.h"
#include "xml/not_drawn.h"

#include <pugixml.hpp>

#include <string>

// Reads node's attributes over xform (which holds the defaults), sPlace naming it ("xform 2").
// What it holds that is not drawn here (a name that is not a variation, a parameter or an xform
// attribute known here; an editor's attribute at a value not drawn) goes to notDrawn. False with
// sError when a value is not what it must be.
bool readXform(const pugi::xml_node& node, SXform& xform, const std::string& sPlace,
               CNotDrawn& notDrawn, std::string& sError);

// The <motion> children of node into xform's vMotions, each an amplitude for every number of
// the xform it names (0 for the others), its frequency and its function. A chaos or plotmode,
// a pre_ or post_ form, or (bFinal) a weight cannot move: false with sError ("xform 2's
// <motion> 1: chaos cannot move"), as for a value that is not what it must be. Unknown names
// go to notDrawn, as on the xform.
bool readMotions(const pugi::xml_node& node, bool bFinal, SXform& xform,
                 const std::string& sPlace, CNotDrawn& notDrawn, std::string& sError);

// The words of the reader's messages: a name in quotes, and the start of "NAME=\"VALUE\" is not
// what it must be".
std::string quoted(const char* s);
std::string badValue(const pugi::xml_attribute& attribute);
