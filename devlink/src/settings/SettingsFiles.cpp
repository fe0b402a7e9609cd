#include "SettingsFiles.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace qv7 {

namespace {

namespace fs = std::filesystem;

constexpr char kMachineFileName[] = "Orvale/Orvale_Quillory.conf";
constexpr char kUserFileName[] = "Orvale/Quillory.conf";
constexpr char kMachineFileVariable[] = "QUILLORY_MACHINE_SETTINGS";
constexpr char kConfigFoldersVariable[] = "XDG_CONFIG_DIRS";
constexpr char kConfigHomeVariable[] = "XDG_CONFIG_HOME";
constexpr char kDefaultConfigFolder[] = "/etc/xdg";
constexpr char kPrefixConfigFolder[] = "/etc/xdg";
constexpr char kDeletedMark[] = " (deleted)";
// Settings files are a few hundred bytes; anything past this is not one.
constexpr std::uintmax_t kMaxSettingsFileSize = 1 << 20;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string Join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool ReadSmallRegularFile(const std::string& path, std::string* content) {
    std::error_code error;
    // A pipe or device would never end, or block the program that reads it.
    if (!fs::is_regular_file(path, error) || fs::file_size(path, error) > kMaxSettingsFileSize || error) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    content->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | code >> 12));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One backslash escape starting at text[*at] (just past the backslash), as
// QSettings writes them: the C escapes, \xHHHH and octal \NNN.
bool Unescape(const std::string& text, size_t* at, std::string& out) {
    if (*at >= text.size()) return false;
    const char c = text[(*at)++];
    switch (c) {
    case 'a': out.push_back('\a'); return true;
    case 'b': out.push_back('\b'); return true;
    case 'f': out.push_back('\f'); return true;
    case 'n': out.push_back('\n'); return true;
    case 'r': out.push_back('\r'); return true;
    case 't': out.push_back('\t'); return true;
    case 'v': out.push_back('\v'); return true;
    case '"':
    case '\'':
    case '?':
    case '\\': out.push_back(c); return true;
    case 'x': {
        uint32_t code = 0;
        int digits = 0;
        for (; digits < 4 && *at < text.size() && HexDigit(text[*at]) >= 0; ++digits) {
            code = code << 4 | static_cast<uint32_t>(HexDigit(text[(*at)++]));
        }
        if (digits == 0) return false;
        AppendUtf8(out, code);
        return true;
    }
    default:
        if (c < '0' || c > '7') return false;
        uint32_t code = static_cast<uint32_t>(c - '0');
        for (int digits = 1; digits < 3 && *at < text.size() && text[*at] >= '0' && text[*at] <= '7'; ++digits) {
            code = code << 3 | static_cast<uint32_t>(text[(*at)++] - '0');
        }
        AppendUtf8(out, code);
        return true;
    }
}

IniValue Malformed(const std::string& written, const char* problem) {
    return IniValue{IniValue::State::Malformed, {}, written, problem};
}

// The value after the equals sign, blanks before it taken off, as QSettings
// reads it back.
IniValue Decode(const std::string& written) {
    std::string text;
    // Blanks at the ends of unquoted text are not part of the value.
    size_t kept = 0;
    bool quoted = false;
    size_t at = 0;
    while (at < written.size()) {
        const char c = written[at++];
        if (c == '"') {
            quoted = !quoted;
            kept = text.size();
        } else if (c == '\\') {
            if (!Unescape(written, &at, text)) return Malformed(written, "a backslash starts no known escape");
            kept = text.size();
        } else if (!quoted && c == ';') {
            break;
        } else if (!quoted && c == ',') {
            return Malformed(written, "an unquoted comma makes it a list");
        } else {
            text.push_back(c);
            if (quoted || (c != ' ' && c != '\t')) kept = text.size();
        }
    }
    if (quoted) return Malformed(written, "a quotation mark is not closed");
    text.resize(kept);
    // A leading @ marks a value of another type than text; "@@" is an @.
    if (text.rfind("@@", 0) == 0) return IniValue{IniValue::State::Found, text.substr(1), written, {}};
    if (text.rfind('@', 0) == 0) return Malformed(written, "it is not text but a value of another kind");
    return IniValue{IniValue::State::Found, text, written, {}};
}

}  // namespace

std::vector<std::string> MachineSettingsSearchOrder(const std::string& installPrefix) {
    const std::string chosen = Environment(kMachineFileVariable);
    if (!chosen.empty()) return {chosen};
    std::vector<std::string> folders;
    // Only absolute folders count: a relative one would depend on where the
    // program happened to be started.
    const std::string configFolders = Environment(kConfigFoldersVariable);
    for (size_t start = 0; start <= configFolders.size();) {
        const size_t end = std::min(configFolders.find(':', start), configFolders.size());
        const std::string folder = configFolders.substr(start, end - start);
        if (!folder.empty() && folder.front() == '/') folders.push_back(folder);
        start = end + 1;
    }
    if (folders.empty()) folders.push_back(kDefaultConfigFolder);
    // An installation made by `cmake --install` into a prefix of its own
    // brings its settings along, where no machine-wide ones exist.
    folders.push_back(installPrefix + kPrefixConfigFolder);
    std::vector<std::string> files;
    for (const std::string& folder : folders) files.push_back(Join(folder, kMachineFileName));
    return files;
}

std::string RunningProgramPrefix() {
    std::error_code error;
    std::string program = fs::read_symlink("/proc/self/exe", error).string();
    if (error || program.empty()) return {};
    // A program replaced while it runs (a package upgrade) is still where it
    // was; the kernel marks the old file as gone.
    const std::string deleted = kDeletedMark;
    if (program.size() > deleted.size() && program.compare(program.size() - deleted.size(), deleted.size(), deleted) == 0) {
        program.resize(program.size() - deleted.size());
    }
    return fs::path(program).parent_path().parent_path().lexically_normal().string();
}

std::string MachineSettingsFile() {
    for (const std::string& place : MachineSettingsSearchOrder(RunningProgramPrefix())) {
        std::error_code error;
        if (fs::exists(place, error)) return place;
    }
    return {};
}

std::string UserSettingsFile() {
    const std::string configHome = Environment(kConfigHomeVariable);
    if (!configHome.empty()) return Join(configHome, kUserFileName);
    return Join(Join(Environment("HOME"), ".config"), kUserFileName);
}

IniValue ReadIniValue(const std::string& file, const std::string& section, const std::string& key) {
    std::string content;
    if (!ReadSmallRegularFile(file, &content)) return {};
    // An editor on another system may have put a byte order mark first.
    if (content.rfind("\xEF\xBB\xBF", 0) == 0) content.erase(0, 3);

    IniValue found;
    // Keys before the first section header are top-level ones.
    std::string current = kTopLevelSection;
    for (size_t start = 0; start < content.size();) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line = Trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            if (close != std::string::npos) current = line.substr(1, close - 1);
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos || current != section || Trimmed(line.substr(0, equals)) != key) continue;
        // The last one wins, as when QSettings reads the file.
        found = Decode(Trimmed(line.substr(equals + 1)));
    }
    return found;
}

}  // namespace qv7
