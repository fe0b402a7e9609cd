#include "CommandHelp.h"

#include <algorithm>
#include <sstream>

namespace qv7cli {

namespace {

constexpr size_t kWidth = 79;
constexpr size_t kOptionColumn = 24;

// The words of `text`, filled into lines of at most kWidth columns, each
// indented by `indent` blanks.
std::string Fill(const std::string& text, size_t indent) {
    std::istringstream words(text);
    std::string out;
    std::string line;
    for (std::string word; words >> word;) {
        if (!line.empty() && indent + line.size() + 1 + word.size() > kWidth) {
            out += std::string(indent, ' ') + line + '\n';
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) out += std::string(indent, ' ') + line + '\n';
    return out;
}

// A label and its text in two columns; a label too wide for its column
// stands on a line of its own.
std::string TwoColumns(const std::string& label, const std::string& text, size_t column) {
    std::string first = "  " + label;
    const std::string filled = Fill(text, column);
    if (first.size() + 1 > column) return first + '\n' + filled;
    first.resize(column, ' ');
    return first + filled.substr(column);
}

std::string ParagraphsText(const char* text, size_t indent) {
    std::string out;
    for (const Paragraph& paragraph : Paragraphs(text)) {
        if (!out.empty()) out += '\n';
        for (const std::string& line : paragraph.lines) {
            out += paragraph.verbatim ? std::string(indent, ' ') + line + '\n' : Fill(line, indent);
        }
    }
    return out;
}

std::string OptionsText(const std::vector<Option>& options) {
    std::string out;
    for (const Option& option : options) out += TwoColumns(OptionLabel(option), option.description, kOptionColumn);
    return out;
}

}  // namespace

std::vector<std::string> UsageForms(const Command& command) {
    if (!command.forms.empty()) return {command.forms.begin(), command.forms.end()};
    std::string line = command.name;
    for (const Operand& operand : command.operands) {
        line += operand.optional ? std::string(" [") + operand.name + "]" : std::string(" ") + operand.name;
    }
    for (const Option& option : command.options) {
        line += std::string(" [") + option.name + (option.argument ? std::string(" ") + option.argument : "") + "]";
    }
    return {line};
}

std::string OptionLabel(const Option& option) {
    std::string label = option.shortName ? std::string(option.shortName) + ", " + option.name : option.name;
    if (option.argument) label += std::string(" ") + option.argument;
    return label;
}

std::vector<Paragraph> Paragraphs(const char* text) {
    std::vector<Paragraph> paragraphs;
    std::istringstream lines(text);
    bool open = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) {
            open = false;
            continue;
        }
        const bool verbatim = line.rfind("  ", 0) == 0;
        if (!open) paragraphs.push_back({verbatim, {}});
        open = true;
        Paragraph& paragraph = paragraphs.back();
        if (paragraph.verbatim) {
            paragraph.lines.push_back(line.substr(2));
        } else if (paragraph.lines.empty()) {
            paragraph.lines.push_back(line);
        } else {
            paragraph.lines.back() += ' ' + line;
        }
    }
    return paragraphs;
}

std::string GeneralHelpText() {
    const ProgramHelp& program = Program();
    std::string out = "Usage: qv7";
    for (const Option& option : program.globalOptions) {
        if (option.argument) out += std::string(" [") + option.name + " " + option.argument + "]";
    }
    out += " COMMAND [ARGUMENTS]\n\n" + ParagraphsText(program.description, 0);
    out += "\nOptions (before or after the command):\n" + OptionsText(program.globalOptions);
    out += "\nCommands:\n";
    size_t column = 0;
    for (const Command& command : AllCommands()) column = std::max(column, std::string(command.name).size() + 4);
    for (const Command& command : AllCommands()) out += TwoColumns(command.name, command.synopsis, column);
    std::string codes = "Exit codes:";
    for (const ProgramHelp::Entry& code : program.exitStatus) codes += std::string(" ") + code.term + " " + code.text + ",";
    codes.back() = '.';
    return out + "\n'qv7 COMMAND --help' tells more about a command.\n\n" + Fill(codes, 0);
}

std::string CommandHelpText(const Command& command) {
    std::string out;
    const std::vector<std::string> forms = UsageForms(command);
    for (size_t i = 0; i < forms.size(); ++i) out += (i == 0 ? "Usage: qv7 " : "       qv7 ") + forms[i] + '\n';
    out += '\n' + ParagraphsText(command.description, 0);
    if (!command.options.empty()) out += "\nOptions:\n" + OptionsText(command.options);
    return out;
}

}  // namespace qv7cli
