// Starts a program for real and waits for it, without limit or for a while.
#ifndef QUILLORY_SETUP_PROCESS_RUNNER_H
#define QUILLORY_SETUP_PROCESS_RUNNER_H

#include <string>
#include <vector>

namespace quillory::setup::linux_host {

inline constexpr int kWaitWithoutLimit = -1;

struct ProcessResult {
    bool started = false;
    bool finished = false;  // false when the limit ran out first
    int exitCode = -1;
    std::string output;  // standard output, kept only when waited for without limit
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments, int limitMs);

}  // namespace quillory::setup::linux_host

#endif
