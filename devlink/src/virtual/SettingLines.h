// The line format shared by printer.txt and faults.txt: one setting a line,
// words separated by blanks, '#' starts a comment, blank lines are ignored.
#ifndef QV7_VIRTUAL_SETTING_LINES_H
#define QV7_VIRTUAL_SETTING_LINES_H

#include <cstdint>
#include <string>
#include <vector>

namespace qv7::virtualprinter {

struct SettingLine {
    int number = 0;  // 1-based, for messages
    std::vector<std::string> words;
};

std::vector<SettingLine> SplitSettingLines(const std::string& text);

// A plain decimal number from minimum to maximum; no sign, no blanks.
bool ParseNumber(const std::string& word, uint32_t minimum, uint32_t maximum, uint32_t* value);

// "line 4: " + what, for a reason given back to the user.
std::string LineError(const SettingLine& line, const std::string& what);

}  // namespace qv7::virtualprinter

#endif
