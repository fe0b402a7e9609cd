// qv7's help as its users read it: every command and option of the command
// table in `qv7 --help` and each command's --help, in the manual page as man
// shows it (without a warning from groff), and offered by bash, fish and zsh
// with the completions the build wrote.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "CommandHelp.h"
#include "Commands.h"
#include "ProgramRun.h"
#include "TempFolder.h"

namespace {

using qv7cli::AllCommands;
using qv7cli::Command;
using qv7cli::Option;
using qv7test::Outcome;

const std::string kHelpDir = QV7_HELP_DIR;
constexpr char kBashCompletion[] = "/usr/share/bash-completion/bash_completion";

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string Found(const char* program) {
    for (const char* folder : {"/usr/bin/", "/bin/"}) {
        const std::string path = std::string(folder) + program;
        if (access(path.c_str(), X_OK) == 0) return path;
    }
    return "";
}

// What a shell offers after each line, one block per line: "== LINE" and
// then the offers, one a line.
std::vector<std::string> Lines() {
    std::vector<std::string> lines{"qv7 "};
    for (const Command& command : AllCommands()) {
        lines.push_back("qv7 " + std::string(command.name) + " -");
        lines.push_back("qv7 " + std::string(command.name) + " ");
    }
    return lines;
}

std::string Offers(const std::string& said, const std::string& line) {
    const size_t start = said.find("== " + line + "\n");
    if (start == std::string::npos) return "";
    const size_t from = start + line.size() + 4;
    return said.substr(from, said.find("== ", from) - from);
}

// Each offer on a line, first field only (fish adds a tab and a description).
bool Offered(const std::string& offers, const std::string& word) {
    return Has("\n" + offers, "\n" + word + "\n") || Has("\n" + offers, "\n" + word + "\t");
}

// Every command offered first; after a command, its options and the words
// its first argument takes.
void ExpectCompletions(const std::string& shell, const std::string& said) {
    for (const Command& command : AllCommands()) {
        EXPECT_TRUE(Offered(Offers(said, "qv7 "), command.name)) << shell << " does not offer " << command.name;
        const std::string options = Offers(said, "qv7 " + std::string(command.name) + " -");
        for (const Option& option : command.options) {
            EXPECT_TRUE(Offered(options, option.name)) << shell << ": qv7 " << command.name << " " << option.name;
            EXPECT_TRUE(!option.shortName || Offered(options, option.shortName)) << shell << " " << command.name;
        }
        if (!command.operands.empty() && command.operands[0].completion == qv7cli::Completion::Words) {
            const std::string first = Offers(said, "qv7 " + std::string(command.name) + " ");
            const std::string words = command.operands[0].name;
            EXPECT_TRUE(Offered(first, words.substr(0, words.find('|')))) << shell << ": qv7 " << command.name;
        }
    }
}

class Qv7Help : public ::testing::Test {
protected:
    Outcome Run(const std::vector<std::string>& words) { return qv7test::RunProgram(words, folder.path()); }
    qv7test::TempFolder folder;
};

TEST_F(Qv7Help, TheProgramsHelpNamesEveryCommandAndOption) {
    const Outcome general = Run({QV7_PROGRAM, "--help"});
    EXPECT_EQ(general.code, 0);
    for (const Option& option : qv7cli::Program().globalOptions) EXPECT_TRUE(Has(general.out, option.name));
    for (const Command& command : AllCommands()) {
        EXPECT_TRUE(Has(general.out, "\n  " + std::string(command.name) + " ")) << command.name;
        const Outcome own = Run({QV7_PROGRAM, command.name, "--help"});
        EXPECT_EQ(own.code, 0) << command.name;
        std::string forms;
        for (const std::string& form : qv7cli::UsageForms(command)) {
            EXPECT_TRUE(Has(own.out, "qv7 " + form + "\n")) << own.out;
            forms += form + "\n";
        }
        // Usage lines written by hand name every option too.
        for (const Option& option : command.options) {
            EXPECT_TRUE(Has(own.out, "  " + qv7cli::OptionLabel(option) + " ")) << own.out;
            EXPECT_TRUE(Has(forms, std::string(option.name) + " ") || Has(forms, std::string(option.name) + "]"))
                << forms << option.name;
        }
    }
}

TEST_F(Qv7Help, TheManualPageShowsWithoutWarningsAndHoldsEveryCommandAndOption) {
    const std::string man = Found("man");
    if (man.empty()) GTEST_SKIP() << "man is missing (Debian package man-db): scripts/install-deps.sh installs it";
    const qv7test::ScopedEnvironment wide{{"MANWIDTH", "250"}};
    const Outcome shown = Run({man, "--warnings", "-E", "ascii", "-l", kHelpDir + "/qv7.1"});
    EXPECT_EQ(shown.code, 0);
    EXPECT_EQ(shown.err, "") << "groff warns";
    std::vector<Option> options = qv7cli::Program().globalOptions;
    for (const Command& command : AllCommands()) {
        for (const std::string& form : qv7cli::UsageForms(command)) EXPECT_TRUE(Has(shown.out, "qv7 " + form + "\n"));
        options.insert(options.end(), command.options.begin(), command.options.end());
    }
    for (const Option& option : options) {
        EXPECT_TRUE(Has(shown.out, "       " + qv7cli::OptionLabel(option))) << option.name;
    }
}

// bash and fish are asked what they offer after each line, with the
// completion the build wrote.
TEST_F(Qv7Help, BashAndFishOfferEveryCommandAndOption) {
    const std::string bash = Found("bash"), fish = Found("fish");
    if (bash.empty() || access(kBashCompletion, R_OK) != 0 || fish.empty()) {
        GTEST_SKIP() << "bash, its package bash-completion or fish is missing: scripts/install-deps.sh installs them";
    }
    const std::string bashScript =
        "source " + std::string(kBashCompletion) + "; source \"$0\"\n"
        "for line in \"$@\"; do\n"
        "    echo \"== $line\"\n"
        "    COMP_LINE=$line; COMP_POINT=${#line}; read -ra COMP_WORDS <<<\"$line\"\n"
        "    [[ $line == *' ' ]] && COMP_WORDS+=('')\n"
        "    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMPREPLY=()\n"
        "    _qv7\n"
        "    printf '%s\\n' \"${COMPREPLY[@]}\"\n"
        "done\n";
    const std::string fishScript = "source " + kHelpDir + "/qv7.fish\n"
                                   "for line in $argv; echo \"== $line\"; complete -C \"$line\"; end";
    for (std::vector<std::string> words : {std::vector<std::string>{bash, "-c", bashScript, kHelpDir + "/qv7.bash"},
                                           std::vector<std::string>{fish, "--no-config", "-c", fishScript}}) {
        const std::string shell = words[0];
        for (const std::string& line : Lines()) words.push_back(line);
        const Outcome said = Run(words);
        ASSERT_EQ(said.code, 0) << shell << ": " << said.err;
        EXPECT_EQ(said.err, "") << shell;
        ExpectCompletions(shell, said.out);
    }
}

// zsh completes only inside its line editor; the file is read by zsh itself
// and each command's branch is checked for its options.
TEST_F(Qv7Help, ZshReadsTheCompletionAndEachCommandsBranchHoldsItsOptions) {
    const std::string zsh = Found("zsh");
    if (zsh.empty()) GTEST_SKIP() << "zsh is missing: scripts/install-deps.sh installs it";
    const Outcome read = Run({zsh, "-n", kHelpDir + "/_qv7"});
    EXPECT_EQ(read.code, 0) << read.err;
    const std::string text = qv7test::ReadText(kHelpDir + "/_qv7");
    for (const Command& command : AllCommands()) {
        const size_t start = text.find("\n        " + std::string(command.name) + ")\n");
        ASSERT_NE(start, std::string::npos) << command.name;
        const std::string branch = text.substr(start, text.find(";;", start) - start);
        for (const Option& option : command.options) {
            EXPECT_TRUE(Has(branch, option.name)) << command.name << " " << option.name;
        }
    }
}

}  // namespace
