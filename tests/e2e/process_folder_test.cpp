// Where the files of the tests go: one folder for each test process under $TMPDIR, gone once the
// process has ended, however it ended.

#include "viewer_test.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A child of this process with sTmp as its TMPDIR: it makes its process folder, a scratch folder
// with a file in it there, and writes the scratch folder's path to iPathFd. Then it ends: by
// exit(0) for no signal, else when sent that signal.
[[noreturn]] void runChild(const std::string& sTmp, int iSignal, int iPathFd) {
    setenv("TMPDIR", sTmp.c_str(), 1);
    try {
        CScratchFolder folder;
        std::ofstream(folder / "file") << "written";
        const std::string sPath = folder.path.string();
        if (write(iPathFd, sPath.data(), sPath.size()) == static_cast<ssize_t>(sPath.size())) {
            if (iSignal == 0) exit(0);  // not the scratch folder's destructor: exit's own removal
            pause();
        }
    } catch (...) {
    }
    _exit(3);
}

// The first child also sweeps the folder of a process that has gone, not that of one alive.
TEST(ProcessFolderTest, UnderTmpdirAndGoneAfterExitSigtermSigintOrDeath) {
    CScratchFolder tmp;
    const pid_t iGone = fork();
    if (iGone == 0) _exit(0);
    ASSERT_GT(iGone, 0);
    ASSERT_EQ(waitpid(iGone, nullptr, 0), iGone);  // reaped: no process has that number now
    const std::string sGone = "flames-e2e-" + std::to_string(iGone) + "-x1y2z3";
    const std::string sAlive = "flames-e2e-" + std::to_string(getpid()) + "-x1y2z3";
    std::filesystem::create_directories(tmp.path / sGone / "scratch-a1b2c3");
    std::filesystem::create_directory(tmp.path / sAlive);

    for (const int iSignal : {0, SIGTERM, SIGINT}) {
        SCOPED_TRACE("signal " + std::to_string(iSignal));
        int iFds[2];
        ASSERT_EQ(pipe(iFds), 0);
        std::fflush(nullptr);  // else the child's exit writes out this process's buffered output
        const pid_t iPid = fork();
        if (iPid == 0) runChild(tmp.path, iSignal, iFds[1]);
        close(iFds[1]);
        char cPath[4096];
        const ssize_t iRead = read(iFds[0], cPath, sizeof cPath);  // a short write stays whole
        close(iFds[0]);
        ASSERT_GT(iRead, 0);
        const std::string sPath(cPath, static_cast<size_t>(iRead));
        const std::string sFolder = (tmp.path / "flames-e2e-").string() + std::to_string(iPid);
        EXPECT_EQ(sPath.rfind(sFolder + "-", 0), 0u) << sPath;
        if (iSignal != 0) {
            EXPECT_TRUE(std::filesystem::exists(sPath + "/file"));
            kill(iPid, iSignal);
        }
        int iStatus = 0;
        ASSERT_EQ(waitpid(iPid, &iStatus, 0), iPid);
        if (iSignal == 0) expectExitStatus(iStatus, 0);
        // Ended by the signal itself, as without the removal, so that a shell or ctest sees why.
        else EXPECT_TRUE(WIFSIGNALED(iStatus) && WTERMSIG(iStatus) == iSignal) << iStatus;
        EXPECT_EQ(tmp.names(), std::vector<std::string>{sAlive});
    }
}

}  // namespace
