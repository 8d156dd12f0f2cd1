#pragma once

// A folder of a test's own, for the files it writes.

#include <cstdlib>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

// A fresh folder under TMPDIR, removed with everything in it.
class CFolder {
public:
    CFolder() {
        const char* sTmp = std::getenv("TMPDIR");
        std::string sTemplate = std::string(sTmp && *sTmp ? sTmp : "/tmp") + "/flames-unit-XXXXXX";
        if (!mkdtemp(sTemplate.data())) throw std::runtime_error("mkdtemp");
        path = sTemplate;
    }
    ~CFolder() { fs::remove_all(path); }
    std::string operator/(const std::string& sName) const { return (path / sName).string(); }
    std::set<std::string> names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(path))
            names.insert(entry.path().filename().string());
        return names;
    }
    fs::path path;
};
