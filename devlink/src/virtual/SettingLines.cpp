#include "SettingLines.h"

namespace qv7::virtualprinter {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

std::vector<SettingLine> SplitSettingLines(const std::string& text) {
    std::vector<SettingLine> lines;
    int number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        ++number;

        SettingLine line;
        line.number = number;
        std::string word;
        for (size_t i = start; i < end && text[i] != '#'; ++i) {
            if (IsBlank(text[i])) {
                if (!word.empty()) line.words.push_back(std::move(word));
                word.clear();
            } else {
                word.push_back(text[i]);
            }
        }
        if (!word.empty()) line.words.push_back(std::move(word));
        if (!line.words.empty()) lines.push_back(std::move(line));

        start = end + 1;
    }
    return lines;
}

bool ParseNumber(const std::string& word, uint32_t minimum, uint32_t maximum, uint32_t* value) {
    if (word.empty() || word.size() > 10) return false;
    uint64_t number = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + static_cast<uint64_t>(c - '0');
    }
    if (number < minimum || number > maximum) return false;
    *value = static_cast<uint32_t>(number);
    return true;
}

std::string LineError(const SettingLine& line, const std::string& what) {
    return "line " + std::to_string(line.number) + ": " + what;
}

}  // namespace qv7::virtualprinter
