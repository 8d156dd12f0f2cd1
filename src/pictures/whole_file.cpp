#include "pictures/whole_file.h"

#include "base/number_text.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

constexpr int iLinkDepth = 40;  // links followed at most, as the kernel does in a path

// A name to remove should a signal end the process while the name stands: set before the name
// is made, cleared once it is gone or has become the target's.
char cDoomedName[PATH_MAX];
volatile sig_atomic_t bDoomed = 0;

constexpr int cleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previousActions[std::size(cleanedSignals)];
bool bHandled[std::size(cleanedSignals)];

// Removes the name, then lets the signal do what it did before: as a rule, end the process.
void removeDoomedName(int iSignal) {
    if (bDoomed) unlink(cDoomedName);
    for (size_t i = 0; i < std::size(cleanedSignals); i++)
        if (cleanedSignals[i] == iSignal) sigaction(iSignal, &previousActions[i], nullptr);
    raise(iSignal);
}

// A signal that was ignored stays ignored: a run under nohup, say, keeps going.
void doom(const std::string& sName) {
    if (sName.size() >= sizeof cDoomedName) return;
    std::memcpy(cDoomedName, sName.c_str(), sName.size() + 1);
    bDoomed = 1;
    struct sigaction action {};
    action.sa_handler = removeDoomedName;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(cleanedSignals); i++) {
        sigaction(cleanedSignals[i], nullptr, &previousActions[i]);
        bHandled[i] = previousActions[i].sa_handler != SIG_IGN;
        if (bHandled[i]) sigaction(cleanedSignals[i], &action, nullptr);
    }
}

void spare() {
    bDoomed = 0;
    for (size_t i = 0; i < std::size(cleanedSignals); i++)
        if (bHandled[i]) sigaction(cleanedSignals[i], &previousActions[i], nullptr);
}

std::string linkText(const std::string& sLink, off_t iSize) {
    std::vector<char> vText(static_cast<size_t>(iSize > 0 ? iSize : PATH_MAX) + 1);
    const ssize_t iLength = readlink(sLink.c_str(), vText.data(), vText.size());
    return iLength < 0 ? "" : std::string(vText.data(), static_cast<size_t>(iLength));
}

std::string kindRefusal(mode_t iMode) {
    if (S_ISDIR(iMode)) return std::strerror(EISDIR);
    const char* sKind = S_ISCHR(iMode)    ? "a character device"
                        : S_ISBLK(iMode)  ? "a block device"
                        : S_ISFIFO(iMode) ? "a FIFO"
                        : S_ISSOCK(iMode) ? "a socket"
                                          : "a special file";
    return std::string(sKind) + ", not a regular file";
}

// Written through before the rename is known to last.
void syncFolder(const std::string& sFolder) {
    const int iFolder = open(sFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (iFolder < 0) return;
    fsync(iFolder);
    close(iFolder);
}

// A stand-in file gets the permissions the user's umask gives, not mkstemp's owner-only ones.
void allowAsUmaskDoes(int iFd) {
    const mode_t iMask = umask(0);
    umask(iMask);
    fchmod(iFd, 0666 & ~iMask);
}

}  // namespace

std::string folderOf(const std::string& sPath) {
    const size_t iSlash = sPath.find_last_of('/');
    if (iSlash == std::string::npos) return ".";
    return iSlash == 0 ? "/" : sPath.substr(0, iSlash);
}

std::string savingTarget(const std::string& sPath, std::string& sReason) {
    sReason.clear();
    std::string sTarget = sPath;
    for (int iLinks = 0;; iLinks++) {
        struct stat info;
        if (lstat(sTarget.c_str(), &info) != 0) {
            if (errno != ENOENT) sReason = std::strerror(errno);
            return sTarget;  // absent: the file is made there
        }
        if (S_ISREG(info.st_mode)) return sTarget;
        if (!S_ISLNK(info.st_mode)) {
            sReason = kindRefusal(info.st_mode);
            return sTarget;
        }
        const std::string sLink = linkText(sTarget, info.st_size);
        if (iLinks == iLinkDepth || sLink.empty()) {
            sReason = std::strerror(sLink.empty() ? errno : ELOOP);
            return sTarget;
        }
        sTarget = sLink[0] == '/' ? sLink : folderOf(sTarget) + "/" + sLink;
    }
}

CWholeFile::~CWholeFile() { forget(); }

void CWholeFile::forget() {
    if (pFile) std::fclose(pFile);
    else if (iFd >= 0) close(iFd);
    pFile = nullptr;
    iFd = -1;
    if (!sTemporary.empty()) {
        unlink(sTemporary.c_str());
        spare();
        sTemporary.clear();
    }
}

int CWholeFile::create(const std::string& sFolderOfFile) {
    static const bool bSizeLimitFails = signal(SIGXFSZ, SIG_IGN) != SIG_ERR;  // EFBIG, no kill
    (void)bSizeLimitFails;
    forget();
    sFolder = sFolderOfFile;
    iFd = bStandInName ? -1 : open(sFolder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (bStandInName || (iFd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))) {
        std::string sName = sFolder + "/.flames-XXXXXX";
        iFd = mkostemp(sName.data(), O_CLOEXEC);
        if (iFd >= 0) {
            sTemporary = sName;
            doom(sTemporary);
            allowAsUmaskDoes(iFd);
        }
    }
    if (iFd < 0) return errno;
    pFile = fdopen(iFd, "wb");
    if (pFile) return 0;
    const int iError = errno;
    forget();
    return iError;
}

int CWholeFile::complete() {
    if (!pFile) return EBADF;
    if (std::fflush(pFile) != 0 || fsync(iFd) != 0) return errno;
    return 0;
}

// The unnamed file is linked through its descriptor's entry in /proc; without /proc, by the
// descriptor itself, which needs privilege.
int CWholeFile::linkTo(const std::string& sName) {
    if (!sTemporary.empty()) return link(sTemporary.c_str(), sName.c_str()) == 0 ? 0 : errno;
    const std::string sEntry = "/proc/self/fd/" + std::to_string(iFd);
    if (linkat(AT_FDCWD, sEntry.c_str(), AT_FDCWD, sName.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != ENOENT || access("/proc/self/fd", F_OK) == 0) return errno;
    return linkat(iFd, "", AT_FDCWD, sName.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// An existing file is replaced by rename, which needs a name to rename: the unnamed file gets a
// stand-in name for that moment only.
int CWholeFile::renameTo(const std::string& sTarget) {
    static int iStandIns = 0;
    for (int iTry = 0; sTemporary.empty(); iTry++) {
        const std::string sName = sFolder + "/.flames-" + std::to_string(getpid()) + "-" +
                                  std::to_string(iStandIns++);
        doom(sName);
        const int iError = linkTo(sName);
        if (iError == 0) sTemporary = sName;
        else spare();
        if (iError != 0 && (iError != EEXIST || iTry == 100)) return iError;
    }
    if (rename(sTemporary.c_str(), sTarget.c_str()) != 0) return errno;
    spare();
    sTemporary.clear();
    return 0;
}

int CWholeFile::replace(const std::string& sTarget) {
    if (const int iError = complete()) return iError;
    struct stat info;
    if (stat(sTarget.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        fchmod(iFd, info.st_mode & 07777);
        if (info.st_uid != geteuid() || info.st_gid != getegid())
            (void)!fchown(iFd, info.st_uid, info.st_gid);  // where allowed: as root
    }
    // A target that is absent is named in one step, with no stand-in name at all.
    int iError = sTemporary.empty() ? linkTo(sTarget) : EEXIST;
    if (iError == EEXIST) iError = renameTo(sTarget);
    if (iError == 0) {
        syncFolder(sFolder);
        forget();
    }
    return iError;
}

int CWholeFile::linkAsNew(const std::string& sName) {
    if (const int iError = complete()) return iError;
    const int iError = linkTo(sName);
    if (iError == 0) {
        syncFolder(sFolder);
        forget();  // a stand-in name goes: the file keeps the new one
    }
    return iError;
}

int linkUnderFreeName(CWholeFile& file, const std::string& sStem, const std::string& sExtension,
                      std::string& sName) {
    for (int iCopy = 1;; iCopy++) {
        sName = sStem + (iCopy > 1 ? "-" + std::to_string(iCopy) : "") + sExtension;
        const int iError = file.linkAsNew(sName);
        if (iError != EEXIST || iCopy == 9999) return iError;
    }
}

std::string pathError(const std::string& sPath, const std::string& sReason) {
    return shownText(sPath) + ": " + sReason;
}

std::string errorText(int iError) { return iError == 0 ? "" : std::strerror(iError); }
