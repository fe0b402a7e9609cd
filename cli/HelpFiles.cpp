#include "HelpFiles.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <vector>

#include "CommandHelp.h"
#include "Commands.h"

namespace qv7cli {

namespace {

// `qv7 help COMMAND`, which stands beside the commands of the table.
constexpr char kHelpSynopsis[] = "show the help of a command";

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : separator) + part;
    return text;
}

// The words a Completion::Words argument offers: "data|label|symbol".
std::string Words(const char* alternatives) {
    return Join(Split(alternatives, '|'), " ");
}

std::string CommandNames() {
    std::vector<std::string> names;
    for (const Command& command : AllCommands()) names.push_back(command.name);
    return Join(names, " ");
}

// Every option, global or a command's, that takes the next word as its
// argument: a shell must not count that word as an operand.
std::vector<std::string> OptionsWithArguments() {
    std::set<std::string> names;
    for (const Option& option : Program().globalOptions) {
        if (option.argument) names.insert(option.name);
    }
    for (const Command& command : AllCommands()) {
        for (const Option& option : command.options) {
            if (option.argument) names.insert(option.name);
        }
    }
    return {names.begin(), names.end()};
}

// The first clause of an option's or command's text, for the one line a
// shell shows beside it.
std::string Brief(const std::string& text) {
    size_t end = text.size();
    for (const char* stop : {"; ", ": ", " (", ". ", ", for "}) end = std::min(end, text.find(stop));
    return text.substr(0, end);
}

// Text inside '...' for a shell.
std::string SingleQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// ---- the manual page ---------------------------------------------------------

// Text as man(7) shows it literally: backslashes and minus signs escaped, and
// no line starting with a control character.
std::string Roff(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

bool IsPlaceholder(const std::string& word) {
    if (word.empty() || word[0] < 'A' || word[0] > 'Z') return false;
    const size_t dot = word.find('.');
    for (char c : word.substr(0, dot)) {
        if ((c < 'A' || c > 'Z') && c != '_') return false;
    }
    return true;
}

// A usage line in the manual's fonts: the words to type in bold, the
// placeholders in italics, the brackets and bars in roman.
std::string RoffUsage(const std::string& line) {
    std::string out;
    std::string word;
    const auto flush = [&] {
        if (word.empty()) return;
        out += (IsPlaceholder(word) ? "\\fI" : "\\fB") + Roff(word) + "\\fR";
        word.clear();
    };
    for (char c : line) {
        if (c == '[' || c == ']' || c == '|' || c == ' ') {
            flush();
            out += c;
        } else {
            word += c;
        }
    }
    flush();
    return out;
}

std::string RoffParagraphs(const char* text) {
    std::string out;
    for (const Paragraph& paragraph : Paragraphs(text)) {
        out += ".PP\n";
        if (paragraph.verbatim) out += ".RS\n.nf\n";
        for (const std::string& line : paragraph.lines) out += Roff(line) + "\n";
        if (paragraph.verbatim) out += ".fi\n.RE\n";
    }
    return out;
}

std::string RoffOptions(const std::vector<Option>& options) {
    std::string out;
    for (const Option& option : options) {
        std::string label = option.shortName ? RoffUsage(option.shortName) + ", " : "";
        label += RoffUsage(option.name);
        if (option.argument) label += " " + RoffUsage(option.argument);
        out += ".TP\n" + label + "\n" + Roff(option.description) + ".\n";
    }
    return out;
}

std::string RoffEntries(const std::vector<ProgramHelp::Entry>& entries, const char* font) {
    std::string out;
    for (const ProgramHelp::Entry& entry : entries) {
        out += ".TP\n" + std::string(font) + Roff(entry.term) + "\\fR\n" + Roff(entry.text) + ".\n";
    }
    return out;
}

// ---- bash ----------------------------------------------------------------------

std::string BashArgument(Completion completion, const char* words, const char* extension) {
    switch (completion) {
    case Completion::Nothing: return "";
    case Completion::Words: return "COMPREPLY=($(compgen -W " + SingleQuoted(Words(words)) + " -- \"$cur\"))";
    case Completion::File: return extension ? std::string("_filedir ") + extension : "_filedir";
    case Completion::Folder: return "_filedir -d";
    case Completion::Device: return "_qv7_device";
    }
    return "";
}

std::string BashOptionWords(const std::vector<Option>& options) {
    std::vector<std::string> words;
    for (const Option& option : options) {
        if (option.shortName) words.push_back(option.shortName);
        words.push_back(option.name);
    }
    return Join(words, " ");
}

// ---- zsh -----------------------------------------------------------------------

// Text inside an _arguments description: brackets and colons escaped.
std::string ZshText(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '[' || c == ']' || c == ':' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string ZshAction(Completion completion, const char* words, const char* extension) {
    switch (completion) {
    case Completion::Nothing: return " ";
    case Completion::Words: return "(" + Words(words) + ")";
    case Completion::File: return extension ? std::string("_files -g \"*.") + extension + "\"" : "_files";
    case Completion::Folder: return "_files -/";
    case Completion::Device: return "_qv7_device";
    }
    return " ";
}

std::vector<std::string> ZshOptionLines(const std::vector<Option>& options) {
    std::vector<std::string> lines;
    for (const Option& option : options) {
        const std::string text = "[" + ZshText(Brief(option.description)) + "]";
        std::string argument;
        if (option.argument) {
            argument = ":" + ZshText(option.argument) + ":" +
                       ZshAction(option.completion, option.argument, nullptr);
        }
        if (option.shortName) {
            const std::string both = std::string(option.shortName) + " " + option.name;
            lines.push_back("'(" + both + ")'{" + option.shortName + "," + option.name + "}" +
                            SingleQuoted(text + argument));
        } else {
            lines.push_back(SingleQuoted(std::string(option.name) + (option.argument ? "=" : "") + text + argument));
        }
    }
    return lines;
}

// ---- fish ----------------------------------------------------------------------

std::string FishOption(const Option& option) {
    std::string line = option.shortName ? std::string(" -s ") + (option.shortName + 1) : "";
    line += std::string(" -l ") + (option.name + 2);
    if (option.argument) {
        switch (option.completion) {
        case Completion::Words: line += " -x -a " + SingleQuoted(Words(option.argument)); break;
        case Completion::File: line += " -r -F"; break;
        case Completion::Folder: line += " -x -a '(__fish_complete_directories)'"; break;
        case Completion::Device: line += " -x -a '(__qv7_device)'"; break;
        case Completion::Nothing: line += " -x"; break;
        }
    }
    return line + " -d " + SingleQuoted(Brief(option.description));
}

std::string FishOperand(const Operand& operand) {
    switch (operand.completion) {
    case Completion::Words: return "-a " + SingleQuoted(Words(operand.name));
    case Completion::File:
        return operand.extension ? std::string("-k -a '(__fish_complete_suffix .") + operand.extension + ")'" : "-F";
    case Completion::Folder: return "-a '(__fish_complete_directories)'";
    case Completion::Device: return "-a '(__qv7_device)'";
    case Completion::Nothing: return "";
    }
    return "";
}

}  // namespace

std::string ManPage(const std::string& version, const std::string& date) {
    const ProgramHelp& program = Program();
    std::string out = ".\\\" qv7(1), written from qv7's command table when it is built.\n";
    out += ".TH QV7 1 \"" + date + "\" \"Quillory " + version + "\" \"User Commands\"\n";
    out += ".nh\n.SH NAME\nqv7 \\- " + Roff(program.summary) + "\n";

    out += ".SH SYNOPSIS\n";
    std::string global = "qv7";
    for (const Option& option : program.globalOptions) {
        if (option.argument) global += std::string(" [") + option.name + " " + option.argument + "]";
    }
    out += RoffUsage(global + " COMMAND [ARGUMENTS]") + "\n";
    for (const Command& command : AllCommands()) {
        for (const std::string& form : UsageForms(command)) out += ".br\n" + RoffUsage("qv7 " + form) + "\n";
    }

    out += ".SH DESCRIPTION\n" + RoffParagraphs(program.description);

    out += ".SH COMMANDS\n";
    for (const Command& command : AllCommands()) {
        out += ".SS " + std::string(command.name) + "\n";
        bool first = true;
        for (const std::string& form : UsageForms(command)) {
            out += (first ? "" : ".br\n") + RoffUsage("qv7 " + form) + "\n";
            first = false;
        }
        out += RoffParagraphs(command.description);
        out += RoffOptions(command.options);
    }
    out += ".PP\n" + RoffUsage("qv7 help COMMAND") + " and " + RoffUsage("qv7 COMMAND --help") +
           " show a command's help.\n";

    out += ".SH OPTIONS\nThese stand before or after the command.\n" + RoffOptions(program.globalOptions);
    out += ".SH \"EXIT STATUS\"\n" + RoffEntries(program.exitStatus, "\\fB");
    out += ".SH ENVIRONMENT\n" + RoffEntries(program.environment, "\\fB");
    out += ".SH FILES\n" + RoffEntries(program.files, "\\fI");
    out += ".SH EXAMPLES\n.nf\n";
    for (const char* example : program.examples) out += Roff(example) + "\n";
    out += ".fi\n.SH \"SEE ALSO\"\n";
    for (size_t i = 0; i < program.seeAlso.size(); ++i) {
        const std::string reference = program.seeAlso[i];
        const size_t paren = reference.find('(');
        out += ".BR " + Roff(reference.substr(0, paren)) + " " + reference.substr(paren) +
               (i + 1 < program.seeAlso.size() ? ",\n" : "\n");
    }
    return out;
}

std::string BashCompletion() {
    std::string out =
        "# bash completion for qv7, written from qv7's command table when it is built.\n"
        "\n"
        "_qv7_device() {\n"
        "    if [[ $cur == virtual:* ]]; then\n"
        "        COMPREPLY=($(compgen -P virtual: -d -- \"${cur#virtual:}\"))\n"
        "        compopt -o nospace\n"
        "    else\n"
        "        COMPREPLY=($(compgen -W 'usb virtual:' -- \"$cur\"))\n"
        "        [[ $COMPREPLY == virtual: ]] && compopt -o nospace\n"
        "    fi\n"
        "    __ltrim_colon_completions \"$cur\"\n"
        "}\n"
        "\n"
        "_qv7() {\n"
        "    local cur prev words cword\n"
        "    # virtual:DIR is one word, though ':' ends words for readline.\n"
        "    _init_completion -n : || return\n"
        "\n"
        "    case $prev in\n";
    for (const Option& option : Program().globalOptions) {
        if (!option.argument) continue;
        out += std::string("        ") + option.name + ")\n            " +
               BashArgument(option.completion, option.argument, nullptr) + "\n            return\n            ;;\n";
    }
    out +=
        "    esac\n"
        "\n"
        "    # The command is the first word that is neither an option nor an\n"
        "    # option's argument; the operands are the words after it.\n"
        "    local i command=\"\" position=0\n"
        "    for ((i = 1; i < cword; i++)); do\n"
        "        case ${words[i]} in\n"
        "            " + Join(OptionsWithArguments(), " | ") + ") ((i++)) ;;\n"
        "            -*) ;;\n"
        "            *)\n"
        "                if [[ -z $command ]]; then\n"
        "                    command=${words[i]}\n"
        "                else\n"
        "                    ((position++))\n"
        "                fi\n"
        "                ;;\n"
        "        esac\n"
        "    done\n"
        "\n"
        "    if [[ -z $command ]]; then\n"
        "        COMPREPLY=($(compgen -W " +
        SingleQuoted(CommandNames() + " help " + BashOptionWords(Program().globalOptions)) +
        " -- \"$cur\"))\n"
        "        return\n"
        "    fi\n"
        "\n"
        "    case $command in\n";
    for (const Command& command : AllCommands()) {
        out += std::string("        ") + command.name + ")\n";
        out += "            case $prev in\n";
        for (const Option& option : command.options) {
            if (!option.argument) continue;
            out += std::string("                ") + option.name + ")\n                    " +
                   BashArgument(option.completion, option.argument, nullptr) +
                   "\n                    return\n                    ;;\n";
        }
        out += "            esac\n";
        out += "            if [[ $cur == -* ]]; then\n";
        out += "                COMPREPLY=($(compgen -W " +
               SingleQuoted(BashOptionWords(command.options) + " " + BashOptionWords(Program().globalOptions)) +
               " -- \"$cur\"))\n";
        out += "                return\n            fi\n";
        out += "            case $position in\n";
        for (size_t i = 0; i < command.operands.size(); ++i) {
            const Operand& operand = command.operands[i];
            const std::string action = BashArgument(operand.completion, operand.name, operand.extension);
            if (!action.empty()) out += "                " + std::to_string(i) + ") " + action + " ;;\n";
        }
        out += "            esac\n            ;;\n";
    }
    out += "        help)\n            ((position == 0)) && COMPREPLY=($(compgen -W " + SingleQuoted(CommandNames()) +
           " -- \"$cur\"))\n            ;;\n";
    out += "    esac\n} &&\n    complete -F _qv7 qv7\n";
    return out;
}

std::string ZshCompletion() {
    std::string out =
        "#compdef qv7\n"
        "# zsh completion for qv7, written from qv7's command table when it is built.\n"
        "\n"
        "_qv7_device() {\n"
        "  if compset -P 'virtual:'; then\n"
        "    _files -/\n"
        "  else\n"
        "    compadd usb\n"
        "    compadd -S '' virtual:\n"
        "  fi\n"
        "}\n"
        "\n"
        "_qv7() {\n"
        "  local curcontext=\"$curcontext\" state line ret=1\n"
        "  typeset -A opt_args\n"
        "  _arguments -C \\\n";
    for (const std::string& line : ZshOptionLines(Program().globalOptions)) out += "    " + line + " \\\n";
    out +=
        "    '1:command:->command' \\\n"
        "    '*::argument:->argument' && ret=0\n"
        "\n"
        "  case $state in\n"
        "    command)\n"
        "      local -a commands\n"
        "      commands=(\n";
    for (const Command& command : AllCommands()) {
        out += "        " + SingleQuoted(std::string(command.name) + ":" + command.synopsis) + "\n";
    }
    out += "        " + SingleQuoted(std::string("help:") + kHelpSynopsis) + "\n";
    out +=
        "      )\n"
        "      _describe -t commands 'qv7 command' commands && ret=0\n"
        "      ;;\n"
        "    argument)\n"
        "      curcontext=${curcontext%:*:*}:qv7-$words[1]:\n"
        "      case $words[1] in\n";
    for (const Command& command : AllCommands()) {
        out += std::string("        ") + command.name + ")\n          _arguments";
        std::vector<std::string> lines = ZshOptionLines(command.options);
        for (const std::string& line : ZshOptionLines(Program().globalOptions)) lines.push_back(line);
        for (size_t i = 0; i < command.operands.size(); ++i) {
            const Operand& operand = command.operands[i];
            lines.push_back(SingleQuoted(std::to_string(i + 1) + (operand.optional ? "::" : ":") +
                                         ZshText(operand.name) + ":" +
                                         ZshAction(operand.completion, operand.name, operand.extension)));
        }
        for (const std::string& line : lines) out += " \\\n            " + line;
        out += " && ret=0\n          ;;\n";
    }
    out += "        help)\n          _arguments " + SingleQuoted("1:command:(" + CommandNames() + ")") +
           " && ret=0\n          ;;\n";
    out += "      esac\n      ;;\n  esac\n  return ret\n}\n\n_qv7 \"$@\"\n";
    return out;
}

std::string FishCompletion() {
    std::string out =
        "# fish completion for qv7, written from qv7's command table when it is built.\n"
        "\n"
        "# The number of operands before the word being completed, after the command.\n"
        "function __qv7_operand --argument-names wanted\n"
        "    set -l count -1\n"
        "    set -l skip 0\n"
        "    for word in (commandline -opc)[2..-1]\n"
        "        if test $skip = 1\n"
        "            set skip 0\n"
        "            continue\n"
        "        end\n"
        "        switch $word\n"
        "            case " + Join(OptionsWithArguments(), " ") + "\n"
        "                set skip 1\n"
        "            case '-*'\n"
        "            case '*'\n"
        "                set count (math $count + 1)\n"
        "        end\n"
        "    end\n"
        "    test $count = $wanted\n"
        "end\n"
        "\n"
        "function __qv7_device\n"
        "    set -l token (string replace -r '^--device=' '' -- (commandline -ct))\n"
        "    if string match -q 'virtual:*' -- $token\n"
        "        for folder in (__fish_complete_directories (string replace 'virtual:' '' -- $token))\n"
        "            echo virtual:$folder\n"
        "        end\n"
        "    else\n"
        "        printf '%s\\n' usb virtual:\n"
        "    end\n"
        "end\n"
        "\n"
        "set -l commands " + CommandNames() + " help\n"
        "complete -c qv7 -f\n";
    for (const Option& option : Program().globalOptions) out += "complete -c qv7" + FishOption(option) + "\n";
    for (const Command& command : AllCommands()) {
        out += "complete -c qv7 -n \"not __fish_seen_subcommand_from $commands\" -a " + std::string(command.name) +
               " -d " + SingleQuoted(command.synopsis) + "\n";
    }
    out += "complete -c qv7 -n \"not __fish_seen_subcommand_from $commands\" -a help -d " + SingleQuoted(kHelpSynopsis) +
           "\n";
    out += "complete -c qv7 -n '__fish_seen_subcommand_from help; and __qv7_operand 0' -a " +
           SingleQuoted(CommandNames()) + "\n";
    for (const Command& command : AllCommands()) {
        const std::string seen = std::string("__fish_seen_subcommand_from ") + command.name;
        for (const Option& option : command.options) {
            out += "complete -c qv7 -n " + SingleQuoted(seen) + FishOption(option) + "\n";
        }
        for (size_t i = 0; i < command.operands.size(); ++i) {
            const std::string action = FishOperand(command.operands[i]);
            if (action.empty()) continue;
            out += "complete -c qv7 -n " + SingleQuoted(seen + "; and __qv7_operand " + std::to_string(i)) + " " +
                   action + "\n";
        }
    }
    return out;
}

}  // namespace qv7cli
