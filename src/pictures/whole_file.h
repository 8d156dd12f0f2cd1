#pragma once

// A file written whole or not at all. Its bytes go into a file with no name yet (O_TMPFILE),
// which is named only once it is complete and on the disk: a process that dies while writing,
// even by SIGKILL, leaves nothing behind. Where the file system has no unnamed files, a hidden
// temporary name beside the target stands in, removed on failure and on SIGINT, SIGTERM or
// SIGHUP. A file-size limit makes the write fail (EFBIG) instead of killing the process.

#include <sys/types.h>

#include <cstdio>
#include <string>

// The file that saving to sPath writes: a symbolic link is followed to the file it names, which
// may not exist yet. sReason is "" when that is absent or a regular file, else why not (a folder,
// a device, a FIFO, a socket, a loop of links).
std::string savingTarget(const std::string& sPath, std::string& sReason);

// "PATH: reason", the path shown on one line whatever it holds; and an errno as a reason ("" for
// none).
std::string pathError(const std::string& sPath, const std::string& sReason);
std::string errorText(int iError);

// The folder of a path, where its new file is made.
std::string folderOf(const std::string& sPath);

class CWholeFile;

// The complete file named sStem + sExtension in the current folder, or with -2, -3, ... added
// where that name is taken: two savers never take the same name, and no file is replaced. 0 or
// the errno of the failure; sName gets the name tried last.
int linkUnderFreeName(CWholeFile& file, const std::string& sStem, const std::string& sExtension,
                      std::string& sName);

class CWholeFile {
public:
    // bStandInName: a hidden name from the start, as where the file system has no unnamed files.
    explicit CWholeFile(bool bStandInName = false) : bStandInName(bStandInName) {}
    ~CWholeFile();  // a file that was not named goes
    CWholeFile(const CWholeFile&) = delete;
    CWholeFile& operator=(const CWholeFile&) = delete;

    // A new file in sFolder to write to, with no name; 0 or the errno of the failure.
    int create(const std::string& sFolder);
    FILE* stream() const { return pFile; }

    // Written out and on the disk, then named. replace puts it in place of the file at sTarget
    // (a regular file or none, as savingTarget gives it) in one step, keeping that file's
    // permission bits, and syncs the folder; linkAsNew names it sName only where no file has
    // that name (EEXIST otherwise). 0 or the errno of the failure.
    int replace(const std::string& sTarget);
    int linkAsNew(const std::string& sName);

private:
    int complete();
    int linkTo(const std::string& sName);
    int renameTo(const std::string& sTarget);
    void forget();

    FILE* pFile = nullptr;
    int iFd = -1;
    std::string sTemporary;  // the stand-in name where there are no unnamed files; "" none
    std::string sFolder;
    bool bStandInName;
};
