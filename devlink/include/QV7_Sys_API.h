// QV7_Sys_API — the device link library of the QV7E label printers.
//
// One CQV7_Sys_API object is one connection to the printer: constructing it
// finds and opens the device, its operations send commands and move files, and
// every failure is latched as a flag plus a text that the caller collects with
// GetError(). Nothing here throws and nothing is shown to the user.
#ifndef QV7_SYS_API_H
#define QV7_SYS_API_H

#include <cstdint>
#include <string>
#include <vector>

// The version of this library, not of the printer's driver (that is
// GetVersion's answer). The major number is the one in the library's file
// name (libQV7_Sys_API.so.2): it changes only when programs built against an
// older header can no longer run with it. The build reads the numbers from
// here, for the library's file name and its pkg-config file.
#define QV7_SYS_API_VERSION_MAJOR 2
#define QV7_SYS_API_VERSION_MINOR 2
#define QV7_SYS_API_VERSION_PATCH 0
// All three as one number, for comparisons in #if: 2.2.0 is 20200.
#define QV7_SYS_API_VERSION \
    (QV7_SYS_API_VERSION_MAJOR * 10000 + QV7_SYS_API_VERSION_MINOR * 100 + QV7_SYS_API_VERSION_PATCH)

// An open device or pipe. Null means "no device"; QV7_INVALID_HANDLE_VALUE is
// what a refused pipe open gives back.
typedef void* QV7_HANDLE;
#define QV7_INVALID_HANDLE_VALUE (reinterpret_cast<QV7_HANDLE>(static_cast<intptr_t>(-1)))

// Progress of a bulk transfer: (bytes done, bytes in total). Called with
// (0, total) first and after every chunk. May be null.
typedef void (*QV7_PROGRESS_CALLBACK)(uint32_t done, uint32_t total);

// Driver control codes (device type 0x22, buffered, any access).
#define IOCTL_GET_VERSION 0x22000CU
#define IOCTL_GIVE_COMMAND 0x220010U
#define IOCTL_GET_COMMAND 0x220014U

// Bits of the file status word (reply of GetFileStatus).
#define QV7_STATUS_UPLOAD_BUSY 0x0001U
#define QV7_STATUS_UPLOAD_FAILED 0x0002U
#define QV7_STATUS_DOWNLOAD_BUSY 0x0004U
#define QV7_STATUS_DOWNLOAD_FAILED 0x0008U

#pragma pack(push, 1)
// Reply of GetFileAttributes: the stored file's name, zero-terminated, up to 8 characters.
struct QV7_FILE_ATTRIBUTES {
    char fileName[9];
};
// Reply of GetFileTypeAttributes: the type's name ("DAT", "QV7", "MAP"), zero-terminated.
struct QV7_FILE_TYPE_ATTRIBUTES {
    char typeName[4];
};
#pragma pack(pop)

static_assert(sizeof(QV7_FILE_ATTRIBUTES) == 9, "reply record is 9 bytes on the wire");
static_assert(sizeof(QV7_FILE_TYPE_ATTRIBUTES) == 4, "reply record is 4 bytes on the wire");

// The version of the library a program runs with, which may be newer than the
// header it was built with. Any of the pointers may be null.
void QV7_GetLibraryVersion(uint32_t* major, uint32_t* minor, uint32_t* patch);

class CQV7_Sys_API {
public:
    CQV7_Sys_API();
    // Copies share the device handle; the handle is closed when the last copy goes.
    CQV7_Sys_API(const CQV7_Sys_API& other);
    ~CQV7_Sys_API();
    CQV7_Sys_API& operator=(const CQV7_Sys_API& other);

    bool IsError() const;
    std::string GetError();
    bool GetVersion(uint32_t* version);

    bool GetFileTypes(uint16_t* typeCount);
    bool GetFileMax(uint16_t typeIndex, uint16_t* slotCount);
    bool GetFileAttributes(uint16_t typeIndex, uint16_t slotIndex, QV7_FILE_ATTRIBUTES* attributes);
    bool GetFileTypeAttributes(uint16_t typeIndex, QV7_FILE_TYPE_ATTRIBUTES* attributes);
    bool GetFileStatus(uint16_t* status);

    void GiveFile(uint8_t typeIndex, uint8_t slotIndex, std::string path, QV7_PROGRESS_CALLBACK progress);
    void GetFile(uint8_t typeIndex, uint8_t slotIndex, std::string path, QV7_PROGRESS_CALLBACK progress);
    void GiveFirmware(std::string path, QV7_PROGRESS_CALLBACK progress);
    void GetFirmware(std::string path, QV7_PROGRESS_CALLBACK progress);

private:
    QV7_HANDLE GetDeviceHandle();

    void SendGiveFirmwareCommand(uint32_t imageSize);
    uint32_t SendGetFirmwareCommand();
    void SendGiveFileCommand(uint8_t typeIndex, uint8_t slotIndex, uint32_t fileSize);
    uint32_t SendGetFileCommand(uint8_t typeIndex, uint8_t slotIndex);

    QV7_HANDLE OpenPipe(std::string pipeName);
    void SendBulkData(const uint8_t* data, uint32_t count, QV7_PROGRESS_CALLBACK progress);
    void ReceiveBulkData(uint8_t* buffer, uint32_t count, QV7_PROGRESS_CALLBACK progress);

    QV7_HANDLE deviceHandle;
    std::string errorText;
    bool errorFlag;
    std::string devicePath;
    uint32_t chunkSize;
    std::string inPipeName;
    std::string outPipeName;
};

// Tells a program when the printer is plugged in or out, so that it can read
// the printer afresh without being asked. It never talks to the printer.
// Only the usb device setting is watched, for the ids in use when the watch
// is made, and only where the system tells of plugging (Linux); elsewhere,
// and for a virtual printer, IsWatching() is false. The watch belongs to the
// one thread that made it, usually the one running the program's event loop:
// wait until one of WaitHandles() is readable (poll, a QSocketNotifier),
// then call TakeChanges().
class CQV7_PrinterWatch {
public:
    CQV7_PrinterWatch();
    ~CQV7_PrinterWatch();
    CQV7_PrinterWatch(const CQV7_PrinterWatch&) = delete;
    CQV7_PrinterWatch& operator=(const CQV7_PrinterWatch&) = delete;

    bool IsWatching() const;
    // File descriptors to wait on for reading; the same for the watch's life.
    std::vector<int> WaitHandles() const;
    // Takes in what the system told since the last call, without waiting:
    // true when the printer came or went. A readable descriptor may bring
    // no such news.
    bool TakeChanges();

private:
    struct Watch;
    Watch* watch;
};

#endif
