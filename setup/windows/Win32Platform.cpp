// The one file of the launcher that speaks Win32.
#include "Win32Platform.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace quillory::setup::win {

namespace {

// CreateProcess may write into its command line, so it gets a copy of its own.
std::vector<char> WritableLine(const std::string& commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return line;
}

void WaitAndRelease(PROCESS_INFORMATION& process, int limitMs) {
    WaitForSingleObject(process.hProcess, limitMs < 0 ? INFINITE : static_cast<DWORD>(limitMs));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

std::optional<std::string> FolderFrom(UINT (*lookup)(LPSTR, UINT)) {
    char folder[MAX_PATH + 1] = {};
    const UINT length = lookup(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) {
        return std::nullopt;
    }
    return std::string(folder, length);
}

class RegistryKey {
public:
    explicit RegistryKey(const std::string& path) {
        opened_ = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key_) == ERROR_SUCCESS;
    }
    ~RegistryKey() {
        if (opened_) {
            RegCloseKey(key_);
        }
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    bool opened() const { return opened_; }
    HKEY handle() const { return key_; }

private:
    HKEY key_ = nullptr;
    bool opened_ = false;
};

class Win32Platform : public WinPlatform {
public:
    bool RunAndWait(const std::string& commandLine, int limitMs, bool inheritHandles) override {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        std::vector<char> line = WritableLine(commandLine);
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, inheritHandles ? TRUE : FALSE,
                            CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &process)) {
            return false;
        }
        WaitAndRelease(process, limitMs);
        return true;
    }

    bool RunAsLauncher(const std::string& commandLine) override {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &token)) {
            return false;
        }
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        std::vector<char> line = WritableLine(commandLine);
        const BOOL started = CreateProcessAsUserA(token, nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                                  nullptr, &startup, &process);
        CloseHandle(token);
        if (!started) {
            return false;
        }
        WaitAndRelease(process, kWaitWithoutLimit);
        return true;
    }

    std::optional<std::string> ReadMachineText(const std::string& keyPath, const std::string& value) override {
        RegistryKey key(keyPath);
        if (!key.opened()) {
            return std::nullopt;
        }
        // Ask for the size first: the value may be longer than any buffer we
        // would have guessed, and it may grow between the two calls.
        for (int attempt = 0; attempt < 3; ++attempt) {
            DWORD type = 0;
            DWORD size = 0;
            if (RegQueryValueExA(key.handle(), value.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
                (type != REG_SZ && type != REG_EXPAND_SZ)) {
                return std::nullopt;
            }
            std::vector<char> text(size + 1, '\0');
            DWORD filled = size;
            const LONG result = RegQueryValueExA(key.handle(), value.c_str(), nullptr, &type,
                                                 reinterpret_cast<BYTE*>(text.data()), &filled);
            if (result == ERROR_MORE_DATA) {
                continue;
            }
            if (result != ERROR_SUCCESS) {
                return std::nullopt;
            }
            // Stored text need not end in a terminator; the extra byte provides one.
            return std::string(text.data());
        }
        return std::nullopt;
    }

    RegistryNumber ReadMachineNumber(const std::string& keyPath, const std::string& value) override {
        RegistryKey key(keyPath);
        RegistryNumber number;
        number.keyOpened = key.opened();
        if (!key.opened()) {
            return number;
        }
        DWORD type = 0;
        DWORD data = 0;
        DWORD size = sizeof data;
        if (RegQueryValueExA(key.handle(), value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof data) {
            number.value = data;
        }
        return number;
    }

    std::optional<OsVersion> QueryOsVersion() override {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof info;
        if (!GetVersionExA(&info)) {
            return std::nullopt;
        }
        return OsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId};
    }

    std::optional<std::string> WindowsDirectory() override { return FolderFrom(&GetWindowsDirectoryA); }
    std::optional<std::string> SystemDirectory() override { return FolderFrom(&GetSystemDirectoryA); }

    void CopyReplacing(const std::string& from, const std::string& to) override {
        CopyFileA(from.c_str(), to.c_str(), FALSE);
    }
    void CreateFolder(const std::string& path) override { CreateDirectoryA(path.c_str(), nullptr); }
    void RemoveFile(const std::string& path) override { DeleteFileA(path.c_str()); }

    void ShellOpen(const std::string& target, bool minimized) override {
        ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
    }
};

}  // namespace

std::unique_ptr<WinPlatform> MakeWin32Platform() { return std::make_unique<Win32Platform>(); }

}  // namespace quillory::setup::win
