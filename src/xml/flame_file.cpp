// CFlameFile and the readers of whole documents (declared in genome_xml.h).

#include "xml/genome_xml.h"

#include "xml/flame_read.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

// Every <flame> below root, depth first, none looked into; without recursion, so that no
// nesting however deep runs out of stack.
std::vector<pugi::xml_node> flamesIn(const pugi::xml_node& root) {
    std::vector<pugi::xml_node> vFlames;
    pugi::xml_node node = root.first_child();
    while (node && node != root) {
        const bool bFlame = node.type() == pugi::node_element &&
                            std::strcmp(node.name(), "flame") == 0;
        if (bFlame) vFlames.push_back(node);
        if (!bFlame && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != root && !node.next_sibling()) node = node.parent();
        if (node != root) node = node.next_sibling();
    }
    return vFlames;
}

// The line of the text an offset falls on, from 1.
int lineAt(const std::string& sText, std::ptrdiff_t iOffset) {
    const std::ptrdiff_t iEnd = std::min<std::ptrdiff_t>(iOffset, sText.size());
    return 1 + static_cast<int>(std::count(sText.begin(), sText.begin() + iEnd, '\n'));
}

// JWildfire's NAME#k# attribute names mended to NAME.k., the text's length kept: each '#' of a
// name between digits and a name character, outside quotes and comments, inside a tag. Where
// each was, and its name as written.
std::vector<std::pair<std::ptrdiff_t, std::string>> mendedNames(std::string& sText) {
    std::vector<std::pair<std::ptrdiff_t, std::string>> vMended;
    const auto isNameChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
    };
    bool bInTag = false;
    char cQuote = 0;
    for (size_t i = 0; i < sText.size(); i++) {
        const char c = sText[i];
        if (cQuote) {
            if (c == cQuote) cQuote = 0;
        } else if (!bInTag) {
            if (sText.compare(i, 4, "<!--") == 0) {
                const size_t uEnd = sText.find("-->", i + 4);
                i = uEnd == std::string::npos ? sText.size() : uEnd + 2;
            } else {
                bInTag = c == '<';
            }
        } else if (c == '"' || c == '\'') {
            cQuote = c;
        } else if (c == '>') {
            bInTag = false;
        } else if (c == '#' && i > 0 && isNameChar(sText[i - 1])) {
            size_t uEnd = i + 1;
            while (uEnd < sText.size() && std::isdigit(static_cast<unsigned char>(sText[uEnd])))
                uEnd++;
            if (uEnd == i + 1 || uEnd >= sText.size() || sText[uEnd] != '#') continue;
            size_t uStart = i;
            while (uStart > 0 && isNameChar(sText[uStart - 1])) uStart--;
            size_t uAfter = uEnd + 1;
            while (uAfter < sText.size() && isNameChar(sText[uAfter])) uAfter++;
            vMended.emplace_back(static_cast<std::ptrdiff_t>(i),
                                 sText.substr(uStart, uAfter - uStart));
            sText[i] = sText[uEnd] = '.';
            i = uEnd;
        }
    }
    return vMended;
}

}  // namespace

bool CFlameFile::parse(const std::string& sGiven, std::string& sError) {
    pDocument = std::make_unique<pugi::xml_document>();
    vFlames.clear();
    vLines.clear();
    vFlameEnds.clear();
    vMended.clear();
    std::string sMended;
    if (bMendNames) {
        sMended = sGiven;
        vMended = mendedNames(sMended);
    }
    const std::string& sText = bMendNames ? sMended : sGiven;
    // pugixml expands no entity a document declares and never reads or fetches anything the text
    // names; a document type that declares entities is refused, rather than drawn with them
    // left as written (no genome has one).
    const unsigned uOptions = pugi::parse_default | pugi::parse_doctype;
    const pugi::xml_parse_result result = pDocument->load_buffer(sText.data(), sText.size(),
                                                                 uOptions, pugi::encoding_utf8);
    if (!result) {
        sError = std::string("not XML: ") + result.description() + " at line " +
                 std::to_string(lineAt(sText, result.offset));
        return false;
    }
    for (const pugi::xml_node& node : pDocument->children()) {
        if (node.type() == pugi::node_doctype && std::strstr(node.value(), "ENTITY")) {
            sError = "its document type declares entities, which are never expanded";
            return false;
        }
    }
    const pugi::xml_node root = pDocument->document_element();
    vFlames = std::strcmp(root.name(), "flame") == 0 ? std::vector<pugi::xml_node>{root}
                                                    : flamesIn(root);
    if (vFlames.empty()) {
        sError = "no <flame> element";
        return false;
    }
    if (vFlames.size() > static_cast<size_t>(iMostFlamesInFile)) {
        sError = std::to_string(vFlames.size()) + " flames, over the " +
                 std::to_string(iMostFlamesInFile) + " a file may hold";
        vFlames.clear();
        return false;
    }
    // Lines counted on from flame to flame: the flames come in the order of the text.
    int iLine = 1;
    std::ptrdiff_t iCounted = 0;
    for (const pugi::xml_node& flame : vFlames) {
        const std::ptrdiff_t iOffset = std::min<std::ptrdiff_t>(flame.offset_debug(), sText.size());
        iLine += static_cast<int>(
            std::count(sText.begin() + iCounted, sText.begin() + iOffset, '\n'));
        iCounted = iOffset;
        vLines.push_back(iLine);
        if (!vFlameEnds.empty()) vFlameEnds.back() = iOffset;
        vFlameEnds.push_back(static_cast<std::ptrdiff_t>(sText.size()));
    }
    return true;
}

bool CFlameFile::load(const std::string& sPath, std::string& sError) {
    struct stat status;
    if (stat(sPath.c_str(), &status) != 0) {
        sError = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(status.st_mode) || static_cast<std::size_t>(status.st_size) >
                                        uMostGenomeFileBytes) {
        sError = S_ISREG(status.st_mode) ? "larger than 64 MiB: no genome file is so large"
                                          : "not a regular file";
        return false;
    }
    std::ifstream file(sPath, std::ios::binary);
    std::string sText((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file && !file.eof()) {
        sError = std::strerror(errno);
        return false;
    }
    return parse(sText, sError);
}

std::string CFlameFile::name(int iFlame) const {
    return vFlames[static_cast<size_t>(iFlame)].attribute("name").value();
}

bool CFlameFile::read(int iFlame, SGenome& genome, std::string& sError,
                      SLeniency* pLeniency) const {
    genome = SGenome();
    const std::string sWhich = "flame " + std::to_string(iFlame + 1);
    const size_t uDropped = pLeniency ? pLeniency->vDropped.size() : 0;
    if (!readFlame(vFlames[static_cast<size_t>(iFlame)], genome, sError, pLeniency)) {
        sError = sWhich + " (line " + std::to_string(vLines[static_cast<size_t>(iFlame)]) +
                 "): " + sError;
        return false;
    }
    if (pLeniency && pLeniency->bLenient && !mendedNote(iFlame).empty())
        pLeniency->vDropped.insert(pLeniency->vDropped.begin() + uDropped, mendedNote(iFlame));
    if (pLeniency)
        for (size_t i = uDropped; i < pLeniency->vDropped.size(); i++)
            pLeniency->vDropped[i] = sWhich + ": " + pLeniency->vDropped[i];
    return true;
}

// What was mended in the flame's text, in one line; "" for nothing.
std::string CFlameFile::mendedNote(int iFlame) const {
    const std::ptrdiff_t iStart = vFlames[static_cast<size_t>(iFlame)].offset_debug();
    const std::ptrdiff_t iEnd = vFlameEnds[static_cast<size_t>(iFlame)];
    std::vector<std::string> vNames;
    for (const auto& mended : vMended)
        if (mended.first >= iStart && mended.first < iEnd) vNames.push_back(mended.second);
    if (vNames.empty()) return "";
    std::string sNote = "read " + std::to_string(vNames.size()) + " attribute name" +
                        (vNames.size() > 1 ? "s" : "") +
                        " of the form NAME#k#, which are no XML names, as NAME.k. ('" +
                        vNames[0] + "'";
    return sNote + (vNames.size() > 1 ? " and more)" : ")");
}

namespace {

bool readEvery(const CFlameFile& file, std::vector<SGenome>& vGenomes, std::string& sError,
               SLeniency* pLeniency) {
    vGenomes.resize(static_cast<size_t>(file.count()));
    for (int i = 0; i < file.count(); i++)
        if (!file.read(i, vGenomes[static_cast<size_t>(i)], sError, pLeniency)) {
            vGenomes.clear();
            return false;
        }
    return true;
}

}  // namespace

bool readGenomes(const std::string& sText, std::vector<SGenome>& vGenomes, std::string& sError,
                 SLeniency* pLeniency) {
    vGenomes.clear();
    CFlameFile file;
    return file.parse(sText, sError) && readEvery(file, vGenomes, sError, pLeniency);
}

bool readGenomeFile(const std::string& sPath, std::vector<SGenome>& vGenomes,
                    std::string& sError) {
    vGenomes.clear();
    CFlameFile file;
    return file.load(sPath, sError) && readEvery(file, vGenomes, sError, nullptr);
}
