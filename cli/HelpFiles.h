// The manual page and the shell completions of qv7, written from its command
// table when the program is built.
#ifndef QV7_CLI_HELP_FILES_H
#define QV7_CLI_HELP_FILES_H

#include <string>

namespace qv7cli {

// qv7(1) in man(7) markup. `date` and `version` go into its title line.
std::string ManPage(const std::string& version, const std::string& date);

std::string BashCompletion();
std::string ZshCompletion();
std::string FishCompletion();

}  // namespace qv7cli

#endif
