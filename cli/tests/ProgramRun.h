// Runs a program as a user's shell would: its own process, the test's
// environment, input from /dev/null, output and errors caught apart.
#ifndef QV7_CLI_TESTS_PROGRAM_RUN_H
#define QV7_CLI_TESTS_PROGRAM_RUN_H

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "TempFolder.h"

extern char** environ;

namespace qv7test {

struct Outcome {
    int code = -1;  // the exit code, 128 + the signal, or -1 when it did not start
    std::string out;
    std::string err;
};

// `words[0]` (a path) with the rest as its arguments, started in `folder`,
// which also holds the caught output.
inline Outcome RunProgram(std::vector<std::string> words, const std::string& folder) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string out = folder + "/.out.txt";
    const std::string err = folder + "/.err.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    Outcome run;
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadText(out);
    run.err = ReadText(err);
    return run;
}

}  // namespace qv7test

#endif
