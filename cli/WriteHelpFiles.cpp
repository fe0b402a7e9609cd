// Writes qv7's manual page and shell completions from its command table, at
// build time: qv7_help_files FOLDER VERSION DATE
#include <cstdio>
#include <fstream>
#include <string>

#include "HelpFiles.h"

namespace {

bool Write(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (file) return true;
    std::fprintf(stderr, "qv7_help_files: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: qv7_help_files FOLDER VERSION DATE\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = Write(folder + "/qv7.1", qv7cli::ManPage(argv[2], argv[3])) &&
                         Write(folder + "/qv7.bash", qv7cli::BashCompletion()) &&
                         Write(folder + "/_qv7", qv7cli::ZshCompletion()) &&
                         Write(folder + "/qv7.fish", qv7cli::FishCompletion());
    return written ? 0 : 1;
}
