// Time from starting the program to a window whose tree is filled from a
// virtual printer, against a bare Qt window started the same way: both are
// this executable, run as a child process, timed from the spawn until the
// child says it is ready (before any shut-down).
//   QT_QPA_PLATFORM=offscreen ui_startup_bench [ROUNDS]
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "CMainFrame.h"
#include "CQV7View.h"
#include "CQuilloryApp.h"
#include "FileDialogChoice.h"
#include "MessageBoxPrompt.h"

extern char** environ;

namespace {

void SayReady() {
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
}

int RunBareWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QTreeWidget);
    window.resize(345, 480);
    window.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    SayReady();
    return 0;
}

int RunProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    quillory::MessageBoxPrompt prompt;
    quillory::FileDialogChoice files;
    quillory::CQuilloryApp program(prompt, files);
    program.InitInstance();
    const bool filled = program.mainFrame()->view()->topLevelItemCount() == 1;
    if (filled) SayReady();
    return filled ? 0 : 1;
}

// Seconds from spawning `self mode` to its "ready" line; negative on failure.
double TimeOneStart(const char* self, const char* mode) {
    int channel[2];
    if (pipe(channel) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    char* const args[] = {const_cast<char*>(self), const_cast<char*>(mode), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self, &actions, nullptr, args, environ);
    close(channel[1]);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    char line[8] = {};
    const ssize_t got = read(channel[0], line, sizeof line - 1);
    const auto ready = std::chrono::steady_clock::now();
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got <= 0 || std::strncmp(line, "ready", 5) != 0) return -1;
    return std::chrono::duration<double>(ready - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--bare") == 0) return RunBareWindow(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--program") == 0) return RunProgram(argc, argv);

    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir folder;
    setenv("QUILLORY_DEVICE", qPrintable("virtual:" + folder.filePath("printer")), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(folder.filePath("config")), 1);
    setenv("XDG_DATA_HOME", qPrintable(folder.filePath("data")), 1);
    unsetenv("QUILLORY_TRACE");

    // The first start seeds the printer and fills the caches; it is not counted.
    if (TimeOneStart(argv[0], "--program") < 0 || TimeOneStart(argv[0], "--bare") < 0) {
        std::fputs("a start failed\n", stderr);
        return 1;
    }
    std::vector<double> bare;
    std::vector<double> program;
    for (int i = 0; i < rounds; ++i) {
        bare.push_back(TimeOneStart(argv[0], "--bare"));
        program.push_back(TimeOneStart(argv[0], "--program"));
        if (bare.back() < 0 || program.back() < 0) {
            std::fputs("a start failed\n", stderr);
            return 1;
        }
    }
    const double bareMedian = Median(bare);
    const double programMedian = Median(program);
    std::printf("bare Qt window:          %7.1f ms (median of %d)\n", bareMedian * 1e3, rounds);
    std::printf("Quillory with its tree:  %7.1f ms (median of %d)\n", programMedian * 1e3, rounds);
    std::printf("ratio:                   %7.2f\n", programMedian / bareMedian);
    return 0;
}
