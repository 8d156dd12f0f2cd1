// Saving a picture: what may stand at the path, and that a save that fails or is interrupted
// changes nothing there and leaves nothing beside it.

#include "core/calc.h"
#include "files/genome_file.h"
#include "files/picture_file.h"
#include "pictures/whole_file.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {


std::string fileText(const std::string& sPath) {
    std::ifstream in(sPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool isPng(const std::string& sPath) { return fileText(sPath).rfind("\x89PNG\r\n\x1a\n", 0) == 0; }

void writeText(const std::string& sPath, const std::string& sText) {
    std::ofstream(sPath, std::ios::binary) << sText;
}

// A computation of iIterations of pattern 3 from seed 7, in rainbow colours, iDone of them done.
CCalculation runOf(int iIterations, int iDone) {
    SRun run;
    run.iIterations = iIterations;
    run.iPattern = 3;
    run.uSeed = 7;
    CCalculation calc(run);
    calc.iColourType = 4;
    calc.beginCalculate();
    calc.runIterations(iDone);
    return calc;
}

const CCalculation someRun = runOf(1000, 1000);

void makeNothing(const CFolder&) {}
void makeFile600(const CFolder& folder) {
    writeText(folder / "target", "old");
    chmod((folder / "target").c_str(), 0600);
}
void makeLink(const CFolder& folder) {
    writeText(folder / "real", "old");
    chmod((folder / "real").c_str(), 0640);
    symlink("real", (folder / "target").c_str());
}
void makeDanglingLink(const CFolder& folder) { symlink("made", (folder / "target").c_str()); }
void makeFolder(const CFolder& folder) { mkdir((folder / "target").c_str(), 0755); }
void makeFifo(const CFolder& folder) { mkfifo((folder / "target").c_str(), 0644); }
void makeLinkToFifo(const CFolder& folder) {
    mkfifo((folder / "fifo").c_str(), 0644);
    symlink("fifo", (folder / "target").c_str());
}
void makeDevice(const CFolder& folder) {  // a null device of its own: as root only
    mknod((folder / "target").c_str(), S_IFCHR | 0666, makedev(1, 3));
}
void makeSocket(const CFolder& folder) {
    const int iSocket = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", (folder / "target").c_str());
    bind(iSocket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    close(iSocket);
}

struct STarget {
    const char* sWhat;
    void (*pfMake)(const CFolder& folder);  // what stands in the folder before, at "target"
    const char* sRefusal;                   // "": saved
    const char* sPicture;                   // the name that holds the picture afterwards
    mode_t iMode;                           // its permission bits
};

const STarget targets[] = {
    {"nothing", makeNothing, "", "target", 0},
    {"a file of mode 600", makeFile600, "", "target", 0600},
    {"a link", makeLink, "", "real", 0640},
    {"a link to nothing", makeDanglingLink, "", "made", 0},
    {"a folder", makeFolder, "Is a directory", "", 0},
    {"a FIFO", makeFifo, "a FIFO, not a regular file", "", 0},
    {"a link to a FIFO", makeLinkToFifo, "a FIFO, not a regular file", "", 0},
    {"a socket", makeSocket, "a socket, not a regular file", "", 0},
    {"a device", makeDevice, "a character device, not a regular file", "", 0},
};

class SavePictureTest : public ::testing::Test {};

// Refused before the run and again at the save, with what stood there left as it was; saved over
// the file a link names, keeping its permissions, and with no other name left in the folder.
TEST_F(SavePictureTest, SavesOnlyOverRegularFiles) {
    for (const STarget& target : targets) {
        SCOPED_TRACE(target.sWhat);
        CFolder folder;
        target.pfMake(folder);
        const std::set<std::string> namesBefore = folder.names();
        if (namesBefore.empty() && target.pfMake != makeNothing) continue;  // no mknod: not root
        struct stat before {};
        lstat((folder / "target").c_str(), &before);
        std::string sChecked, sSaved;
        const bool bChecked = checkSavable(folder / "target", sChecked);
        const bool bSaved = savePicture(folder / "target", someRun, 1000, sSaved);
        EXPECT_EQ(bChecked, *target.sRefusal == '\0');
        EXPECT_EQ(bSaved, *target.sRefusal == '\0');
        if (!bSaved) {
            EXPECT_EQ(sSaved, folder / "target" + ": " + target.sRefusal);
            EXPECT_EQ(sChecked, sSaved);
            struct stat after {};
            lstat((folder / "target").c_str(), &after);
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(after.st_mode, before.st_mode);
            EXPECT_EQ(folder.names(), namesBefore);
            continue;
        }
        EXPECT_TRUE(isPng(folder / target.sPicture));
        struct stat picture {};
        stat((folder / target.sPicture).c_str(), &picture);
        if (target.iMode != 0) {
            EXPECT_EQ(picture.st_mode & 07777, target.iMode);
        }
        std::set<std::string> namesAfter = namesBefore;
        namesAfter.insert(target.sPicture);
        EXPECT_EQ(folder.names(), namesAfter);
    }
}

// Past a file-size limit the write fails, it does not kill: the old file stays, and nothing else.
TEST_F(SavePictureTest, FileSizeLimitKeepsTheOldFile) {
    CFolder folder;
    writeText(folder / "target", "old");
    const pid_t iPid = fork();
    if (iPid == 0) {
        const rlimit limit{1000, 1000};  // bytes; an empty picture takes some 2,000
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string sError;
        const bool bSaved = savePicture(folder / "target", someRun, 1000, sError);
        _exit(!bSaved && sError == folder / "target" + ": File too large" ? 0 : 1);
    }
    int iStatus = 0;
    waitpid(iPid, &iStatus, 0);
    EXPECT_TRUE(WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0) << "status " << iStatus;
    EXPECT_EQ(fileText(folder / "target"), "old");
    EXPECT_EQ(folder.names(), std::set<std::string>{"target"});
}

// The s key's names: the first free one, and no second name left behind.
TEST_F(SavePictureTest, SaveAsNewTakesFreeNamesOnly) {
    CFolder folder;
    const fs::path home = fs::current_path();
    fs::current_path(folder.path);
    std::string sFirst, sSecond, sError;
    const CCalculation partial = runOf(5000, 1234);  // a run in progress: what it holds
    EXPECT_TRUE(savePictureAsNew(partial, 1234, sFirst, sError)) << sError;
    EXPECT_TRUE(savePictureAsNew(partial, 1234, sSecond, sError)) << sError;
    fs::current_path(home);
    EXPECT_EQ(sFirst, "flame-p3-c4-1234-7.png");
    EXPECT_EQ(sSecond, "flame-p3-c4-1234-7-2.png");
    EXPECT_EQ(folder.names(), (std::set<std::string>{sFirst, sSecond}));
}

// A file being written, ended by a signal: nothing of it is left, named or not.
TEST(WholeFileTest, SignalWhileWritingLeavesNothing) {
    const struct {
        bool bStandInName;
        int iSignal;
    } cases[] = {{true, SIGTERM}, {true, SIGINT}, {false, SIGKILL}, {true, 0}};
    for (const auto& example : cases) {
        SCOPED_TRACE(std::to_string(example.bStandInName) + " " + std::to_string(example.iSignal));
        CFolder folder;
        const pid_t iPid = fork();
        if (iPid == 0) {
            CWholeFile file(example.bStandInName);
            if (file.create(folder.path.string()) != 0) _exit(1);
            const std::string sData(100000, 'x');
            std::fwrite(sData.data(), 1, sData.size(), file.stream());
            std::fflush(file.stream());
            if (example.iSignal) raise(example.iSignal);
            _exit(file.linkAsNew(folder / "named") == 0 ? 0 : 1);  // no signal: just the name
        }
        int iStatus = 0;
        waitpid(iPid, &iStatus, 0);
        if (example.iSignal) {
            EXPECT_TRUE(WIFSIGNALED(iStatus) && WTERMSIG(iStatus) == example.iSignal);
            EXPECT_EQ(folder.names(), std::set<std::string>{});
        } else {
            EXPECT_TRUE(WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0);
            EXPECT_EQ(folder.names(), std::set<std::string>{"named"});
        }
    }
}

// What a picture keeps it reads back: a genome whose text is over what a picture keeps is said
// before anything is drawn or written, and its name is bounded in the Description as in a file
// name.
TEST(GenomePictureTest, WhatCannotBeReadBackIsSaidBeforeSaving) {
    SGenome genome;
    genome.vXforms.resize(1);
    genome.sName = std::string(5000000, 'n');
    std::string sError;
    EXPECT_FALSE(genomeKeepable(genome, sError));
    EXPECT_NE(sError.find("bytes of text, over the 1048576 a picture keeps"), std::string::npos);
    EXPECT_EQ(genomeCaption(genome, 7), "flame " + std::string(64, 'n') + "..., 100 x 100, "
                                        "quality 1, seed 7");
    genome.sName = std::string(63, 'l') + "\xc3\xa5";  // the cut falls inside å: before it
    EXPECT_EQ(genomeCaption(genome, 7).substr(0, 72), "flame " + std::string(63, 'l') + "...");
    genome.sName = "short";
    EXPECT_TRUE(genomeKeepable(genome, sError));
}

}  // namespace
