#include "QV7_Sys_API.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "PcFile.h"
#include "qv7/Clock.h"
#include "qv7/DeviceDriver.h"

// Replies are copied into the caller's records and numbers as the wire has
// them, least significant byte first.
static_assert(std::endian::native == std::endian::little, "the printer's numbers are little-endian");

namespace {

// What a QV7_HANDLE points at: the backend's handle and the backend it came
// from. Copies of a connection share one device channel, so it counts them and
// is closed by the last.
struct Channel {
    std::shared_ptr<qv7::DeviceDriver> driver;
    qv7::DriverHandle native = nullptr;
    int users = 1;
};

Channel* AsChannel(QV7_HANDLE handle) {
    return static_cast<Channel*>(handle);
}

QV7_HANDLE Share(QV7_HANDLE handle) {
    if (handle) ++AsChannel(handle)->users;
    return handle;
}

void Release(QV7_HANDLE handle) {
    Channel* channel = AsChannel(handle);
    if (--channel->users == 0) {
        channel->driver->Close(channel->native);
        delete channel;
    }
}

// Beside the system's own texts: the printer is there but serves another
// program right now.
constexpr char kDeviceBusy[] = "Device Busy, used by another program";

void Latch(std::string& errorText, bool& errorFlag, std::string text) {
    errorFlag = true;
    errorText = std::move(text);
}

// ---- command blocks -------------------------------------------------------

constexpr uint32_t kHeaderLength = 8;
constexpr uint32_t kLongestPayload = 9;  // the stored-name reply

enum CommandCode : uint8_t {
    kGiveFirmware = 1,
    kGetFirmware = 2,
    kGiveFile = 3,
    kGetFile = 4,
    kFileTypes = 5,
    kFileTypeAttributes = 6,
    kFileMax = 7,
    kFileAttributes = 8,
    kFileStatus = 9,
};

struct CommandWords {
    const char* requestFailed;
    const char* sizeMismatch;  // prefix; null for commands without a reply
};

constexpr CommandWords kGiveFirmwareWords{"Device Failed To Send Start Upgrade Command", nullptr};
constexpr CommandWords kGetFirmwareWords{"Device Failed To Send Start Firmware Download Command",
                                         "Invalid Data Size Return from Firmware Download Expected: "};
constexpr CommandWords kGiveFileWords{"Device Failed To Send Give File Command", nullptr};
constexpr CommandWords kGetFileWords{"Device Failed To Send Get File Command",
                                     "Invalid Data Size Return from Get File Expected: "};
constexpr CommandWords kFileTypesWords{"Device Failed To Send Get File Types Command",
                                       "Invalid Data Size Return from Get File Types Expected: "};
constexpr CommandWords kFileTypeAttributesWords{"Device Failed To Send Get File Type Attributes Command",
                                                "Invalid Data Size Return from Get File Type Attributes Expected: "};
constexpr CommandWords kFileMaxWords{"Device Failed To Send Get File Max Command",
                                     "Invalid Data Size Return from Get File Max Expected: "};
constexpr CommandWords kFileAttributesWords{"Device Failed To Send Get File Attributes Command",
                                            "Invalid Data Size Return from Get File Attributes Expected: "};
constexpr CommandWords kFileStatusWords{"Device Failed To Send Get File Status Command",
                                        "Invalid Data Size Return from Get File Status Expected: "};

void PutLittleEndian16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

// Sends one command block and, for a command with a reply, takes exactly
// `length` reply bytes into `reply`. For a command without a reply, `payload`
// holds the `length` bytes that follow the header. Returns the text to latch,
// or an empty text when all went well.
std::string IssueCommand(QV7_HANDLE device, uint8_t code, uint16_t parameter1, uint16_t parameter2, uint16_t length,
                         const void* payload, void* reply, const CommandWords& words) {
    if (!device) return "Device not open";

    std::array<uint8_t, kHeaderLength + kLongestPayload> block{};
    block[0] = code;
    block[1] = 0;
    PutLittleEndian16(&block[2], parameter1);
    PutLittleEndian16(&block[4], parameter2);
    PutLittleEndian16(&block[6], length);
    if (payload) std::memcpy(&block[kHeaderLength], payload, length);

    Channel* channel = AsChannel(device);
    uint32_t returned = 0;
    const bool expectsReply = words.sizeMismatch != nullptr;
    const bool sent = expectsReply
                          ? channel->driver->Control(channel->native, IOCTL_GET_COMMAND, block.data(),
                                                     kHeaderLength + length, static_cast<uint8_t*>(reply), length,
                                                     &returned)
                          : channel->driver->Control(channel->native, IOCTL_GIVE_COMMAND, block.data(),
                                                     kHeaderLength + length, nullptr, 0, &returned);
    if (!sent) return words.requestFailed;
    if (expectsReply && returned != length) {
        return std::string(words.sizeMismatch) + std::to_string(length) + " Got: " + std::to_string(returned);
    }
    return {};
}

// ---- status wait ------------------------------------------------------------

constexpr uint64_t kSettleLimitMs = 20000;

struct SettleBits {
    uint16_t busy;
    uint16_t failed;
    const char* failedText;
    const char* timeoutText;
};

constexpr SettleBits kUploadSettle{QV7_STATUS_UPLOAD_BUSY, QV7_STATUS_UPLOAD_FAILED, "File Upload Error",
                                   "Upload Timeout"};
constexpr SettleBits kDownloadSettle{QV7_STATUS_DOWNLOAD_BUSY, QV7_STATUS_DOWNLOAD_FAILED, "File Download Error",
                                     "Download Timeout"};

// Polls the file status word until the device stops reporting busy. The limit
// runs on a monotonic clock: wall-clock seconds jump and wrap, and a printer
// stuck busy must not hold the program forever. Returns the text to latch; a
// failed status query has latched its own.
std::string WaitUntilSettled(CQV7_Sys_API& connection, const SettleBits& bits) {
    qv7::Clock& clock = qv7::CurrentClock();
    const uint64_t deadline = clock.MonotonicMs() + kSettleLimitMs;
    for (;;) {
        if (clock.MonotonicMs() > deadline) return bits.timeoutText;
        uint16_t status = 0;
        if (!connection.GetFileStatus(&status)) return {};
        if (status & bits.failed) return bits.failedText;
        if (!(status & bits.busy)) return {};
    }
}

// ---- bulk -------------------------------------------------------------------

struct BulkWords {
    const char* zeroCount;
    const char* shortfall;
};

constexpr BulkWords kSendWords{"No Point sending 0 bytes", "Write Failed, "};
constexpr BulkWords kReceiveWords{"No Point recieving 0 bytes", "Read Failed, "};

constexpr qv7::PipeTimeouts kWriteTimeouts{0, 0, 0, 0, 5000};
constexpr qv7::PipeTimeouts kReadTimeouts{0xFFFFFFFFu, 0xFFFFFFFFu, 5000, 0, 0};

// Where the bytes of a receive arrive: room that doubles as it fills, never
// beyond the announced count, so a device that announces much and sends
// little costs no more memory than what it sent. The room is not cleared
// first: every byte of it that is kept has arrived from the device.
class ArrivingBytes {
public:
    // False when the room cannot be had.
    bool MakeRoom(uint32_t needed, uint32_t announced) { return needed <= room_ || Grow(needed, announced); }
    uint8_t* data() { return bytes_.get(); }

private:
    bool Grow(uint32_t needed, uint32_t announced) {
        constexpr uint64_t kFirstRoom = 64 * 1024;
        uint64_t room = room_ < kFirstRoom ? kFirstRoom : uint64_t{room_} * 2;
        if (room > announced) room = announced;
        if (room < needed) room = needed;
        std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[room]);
        if (!grown) return false;
        if (room_ > 0) std::memcpy(grown.get(), bytes_.get(), room_);
        bytes_ = std::move(grown);
        room_ = static_cast<uint32_t>(room);
        return true;
    }

    std::unique_ptr<uint8_t[]> bytes_;
    uint32_t room_ = 0;
};

// Moves count bytes in chunks of at most chunkSize, one pipe call each.
// Returns the bytes that did not move. A receive into `arriving` grows it as
// the bytes come in; *noMemory tells when growing failed.
uint32_t MoveChunks(Channel* pipe, bool sending, uint8_t* buffer, uint32_t count, uint32_t chunkSize,
                    QV7_PROGRESS_CALLBACK progress, ArrivingBytes* arriving = nullptr, bool* noMemory = nullptr) {
    qv7::DeviceDriver& driver = *pipe->driver;
    uint32_t remaining = count;
    if (progress) progress(0, count);
    while (remaining > 0) {
        const uint32_t chunk = remaining >= chunkSize ? chunkSize : remaining;
        const uint32_t done = count - remaining;
        if (arriving) {
            if (!arriving->MakeRoom(done + chunk, count)) {
                *noMemory = true;
                break;
            }
            buffer = arriving->data();
        }
        uint8_t* at = buffer + done;
        uint32_t moved = 0;
        const bool ok = sending ? driver.WritePipe(pipe->native, at, chunk, &moved)
                                : driver.ReadPipe(pipe->native, at, chunk, &moved);
        if (!ok || moved < chunk) {
            if (progress) progress(count - remaining, count);
            break;
        }
        remaining -= chunk;
        if (progress) progress(count - remaining, count);
    }
    return remaining;
}

// The receive of a whole file or image of the size the device announced, on
// a pipe the caller opened; the pipe is released here. Returns the text to
// latch, or an empty text.
std::string ReceiveAnnounced(QV7_HANDLE pipe, uint32_t count, uint32_t chunkSize, QV7_PROGRESS_CALLBACK progress,
                             ArrivingBytes* bytes, const std::string& allocationFailure) {
    if (pipe == QV7_INVALID_HANDLE_VALUE) return "Bulk Pipe not open";
    Channel* channel = AsChannel(pipe);
    std::string failure;
    if (count == 0) {
        failure = kReceiveWords.zeroCount;
    } else {
        channel->driver->SetPipeTimeouts(channel->native, kReadTimeouts);
        bool noMemory = false;
        const uint32_t remaining = MoveChunks(channel, false, nullptr, count, chunkSize, progress, bytes, &noMemory);
        if (noMemory) {
            failure = allocationFailure;
        } else if (remaining > 0) {
            failure = kReceiveWords.shortfall + std::to_string(remaining) + " Bytes Remaining";
        }
    }
    Release(pipe);
    return failure;
}

// What a failed read of a PC file to send latches: the two operations word
// the allocation failure a little differently.
std::string PcFileReadFailure(qv7::PcFileRead result, const std::string& path, uint64_t size,
                              const char* allocationPrefix) {
    if (result == qv7::PcFileRead::CannotOpen) return "Invalid file name:" + path;
    if (result == qv7::PcFileRead::ShortRead) return "Unable to read file:" + path;
    return allocationPrefix + std::to_string(size) + " Bytes";
}

}  // namespace

// ---- connection -------------------------------------------------------------

CQV7_Sys_API::CQV7_Sys_API()
    : deviceHandle(nullptr),
      errorText(),
      errorFlag(false),
      devicePath(),
      chunkSize(16),
      inPipeName("PIPE00"),
      outPipeName("PIPE01") {
    deviceHandle = GetDeviceHandle();
}

CQV7_Sys_API::CQV7_Sys_API(const CQV7_Sys_API& other)
    : deviceHandle(Share(other.deviceHandle)),
      errorText(other.errorText),
      errorFlag(other.errorFlag),
      devicePath(other.devicePath),
      chunkSize(other.chunkSize),
      inPipeName(other.inPipeName),
      outPipeName(other.outPipeName) {}

CQV7_Sys_API::~CQV7_Sys_API() {
    if (deviceHandle) {
        Release(deviceHandle);
        deviceHandle = nullptr;
    }
}

CQV7_Sys_API& CQV7_Sys_API::operator=(const CQV7_Sys_API& other) {
    if (this == &other) return *this;
    QV7_HANDLE shared = Share(other.deviceHandle);
    if (deviceHandle) Release(deviceHandle);
    deviceHandle = shared;
    errorText = other.errorText;
    errorFlag = other.errorFlag;
    devicePath = other.devicePath;
    chunkSize = other.chunkSize;
    inPipeName = other.inPipeName;
    outPipeName = other.outPipeName;
    return *this;
}

bool CQV7_Sys_API::IsError() const {
    return errorFlag;
}

std::string CQV7_Sys_API::GetError() {
    if (!errorFlag) return std::string();
    errorFlag = false;
    return errorText;
}

QV7_HANDLE CQV7_Sys_API::GetDeviceHandle() {
    std::shared_ptr<qv7::DeviceDriver> driver = qv7::SelectDriver();
    const qv7::FindResult found = driver->FindDevice();
    switch (found.step) {
    case qv7::FindStep::Found:
        break;
    case qv7::FindStep::NoInterfaceClass:
        Latch(errorText, errorFlag, "Invalid GUID/CLASS");
        return nullptr;
    case qv7::FindStep::NoDevice:
        Latch(errorText, errorFlag, "Invalid Device Instance");
        return nullptr;
    case qv7::FindStep::NoDetailLength:
        Latch(errorText, errorFlag, "Unable to obtain Symbolic Link Name String Length");
        return nullptr;
    case qv7::FindStep::NoDetail:
        Latch(errorText, errorFlag, "Unable to obtain Symbolic Link Name");
        return nullptr;
    }

    devicePath = found.path;
    qv7::DriverHandle native = driver->OpenDevice(devicePath);
    if (!native) {
        Latch(errorText, errorFlag, driver->HeldElsewhere() ? kDeviceBusy : "Invalid Device Handle Created");
        return nullptr;
    }
    return new Channel{std::move(driver), native, 1};
}

bool CQV7_Sys_API::GetVersion(uint32_t* version) {
    if (!deviceHandle) {
        Latch(errorText, errorFlag, "Device Handle was Invalid");
        return false;
    }
    Channel* channel = AsChannel(deviceHandle);
    uint32_t returned = 0;
    if (!channel->driver->Control(channel->native, IOCTL_GET_VERSION, nullptr, 0, reinterpret_cast<uint8_t*>(version),
                                  sizeof *version, &returned)) {
        Latch(errorText, errorFlag, "Unable To Get Driver Version");
        return false;
    }
    return true;
}

// ---- commands ---------------------------------------------------------------

bool CQV7_Sys_API::GetFileTypes(uint16_t* typeCount) {
    std::string failure = IssueCommand(deviceHandle, kFileTypes, 0, 0, sizeof *typeCount, nullptr, typeCount,
                                       kFileTypesWords);
    if (failure.empty()) return true;
    Latch(errorText, errorFlag, std::move(failure));
    return false;
}

bool CQV7_Sys_API::GetFileMax(uint16_t typeIndex, uint16_t* slotCount) {
    std::string failure = IssueCommand(deviceHandle, kFileMax, typeIndex, 0, sizeof *slotCount, nullptr, slotCount,
                                       kFileMaxWords);
    if (failure.empty()) return true;
    Latch(errorText, errorFlag, std::move(failure));
    return false;
}

bool CQV7_Sys_API::GetFileAttributes(uint16_t typeIndex, uint16_t slotIndex, QV7_FILE_ATTRIBUTES* attributes) {
    std::string failure = IssueCommand(deviceHandle, kFileAttributes, typeIndex, slotIndex, sizeof *attributes,
                                       nullptr, attributes, kFileAttributesWords);
    if (failure.empty()) return true;
    Latch(errorText, errorFlag, std::move(failure));
    return false;
}

bool CQV7_Sys_API::GetFileTypeAttributes(uint16_t typeIndex, QV7_FILE_TYPE_ATTRIBUTES* attributes) {
    std::string failure = IssueCommand(deviceHandle, kFileTypeAttributes, typeIndex, 0, sizeof *attributes, nullptr,
                                       attributes, kFileTypeAttributesWords);
    if (failure.empty()) return true;
    Latch(errorText, errorFlag, std::move(failure));
    return false;
}

bool CQV7_Sys_API::GetFileStatus(uint16_t* status) {
    std::string failure = IssueCommand(deviceHandle, kFileStatus, 0, 0, sizeof *status, nullptr, status,
                                       kFileStatusWords);
    if (failure.empty()) return true;
    Latch(errorText, errorFlag, std::move(failure));
    return false;
}

void CQV7_Sys_API::SendGiveFirmwareCommand(uint32_t imageSize) {
    std::string failure = IssueCommand(deviceHandle, kGiveFirmware, 0, 0, sizeof imageSize, &imageSize, nullptr,
                                       kGiveFirmwareWords);
    if (!failure.empty()) Latch(errorText, errorFlag, std::move(failure));
}

uint32_t CQV7_Sys_API::SendGetFirmwareCommand() {
    uint32_t imageSize = 0;
    std::string failure = IssueCommand(deviceHandle, kGetFirmware, 0, 0, sizeof imageSize, nullptr, &imageSize,
                                       kGetFirmwareWords);
    if (!failure.empty()) Latch(errorText, errorFlag, std::move(failure));
    return imageSize;
}

void CQV7_Sys_API::SendGiveFileCommand(uint8_t typeIndex, uint8_t slotIndex, uint32_t fileSize) {
    std::string failure = IssueCommand(deviceHandle, kGiveFile, typeIndex, slotIndex, sizeof fileSize, &fileSize,
                                       nullptr, kGiveFileWords);
    if (!failure.empty()) Latch(errorText, errorFlag, std::move(failure));
}

uint32_t CQV7_Sys_API::SendGetFileCommand(uint8_t typeIndex, uint8_t slotIndex) {
    uint32_t fileSize = 0;
    std::string failure = IssueCommand(deviceHandle, kGetFile, typeIndex, slotIndex, sizeof fileSize, nullptr,
                                       &fileSize, kGetFileWords);
    if (!failure.empty()) Latch(errorText, errorFlag, std::move(failure));
    return fileSize;
}

// ---- pipes ------------------------------------------------------------------

QV7_HANDLE CQV7_Sys_API::OpenPipe(std::string pipeName) {
    if (devicePath.empty()) {
        Latch(errorText, errorFlag, "Device improperly Initialized");
        return QV7_INVALID_HANDLE_VALUE;
    }
    const std::string pipePath = devicePath + "\\" + pipeName;
    std::shared_ptr<qv7::DeviceDriver> driver =
        deviceHandle ? AsChannel(deviceHandle)->driver : qv7::SelectDriver();
    uint32_t errorNumber = 0;
    qv7::DriverHandle native = driver->OpenPipe(pipePath, &errorNumber);
    if (!native) {
        Latch(errorText, errorFlag, "Failed to open (" + pipePath + ") = " + std::to_string(errorNumber));
        return QV7_INVALID_HANDLE_VALUE;
    }
    return new Channel{std::move(driver), native, 1};
}

void CQV7_Sys_API::SendBulkData(const uint8_t* data, uint32_t count, QV7_PROGRESS_CALLBACK progress) {
    QV7_HANDLE pipe = OpenPipe(outPipeName);
    if (pipe == QV7_INVALID_HANDLE_VALUE) {
        Latch(errorText, errorFlag, "Bulk Pipe not open");
        return;
    }
    Channel* channel = AsChannel(pipe);
    if (count == 0) {
        Latch(errorText, errorFlag, kSendWords.zeroCount);
        Release(pipe);
        return;
    }
    channel->driver->SetPipeTimeouts(channel->native, kWriteTimeouts);
    // The chunk loop serves both directions; a send never writes into the buffer.
    const uint32_t remaining = MoveChunks(channel, true, const_cast<uint8_t*>(data), count, chunkSize, progress);
    if (remaining > 0) {
        Latch(errorText, errorFlag, kSendWords.shortfall + std::to_string(remaining) + " Bytes Remaining");
    }
    Release(pipe);
}

void CQV7_Sys_API::ReceiveBulkData(uint8_t* buffer, uint32_t count, QV7_PROGRESS_CALLBACK progress) {
    QV7_HANDLE pipe = OpenPipe(inPipeName);
    if (pipe == QV7_INVALID_HANDLE_VALUE) {
        Latch(errorText, errorFlag, "Bulk Pipe not open");
        return;
    }
    Channel* channel = AsChannel(pipe);
    if (count == 0) {
        Latch(errorText, errorFlag, kReceiveWords.zeroCount);
        Release(pipe);
        return;
    }
    channel->driver->SetPipeTimeouts(channel->native, kReadTimeouts);
    const uint32_t remaining = MoveChunks(channel, false, buffer, count, chunkSize, progress);
    if (remaining > 0) {
        Latch(errorText, errorFlag, kReceiveWords.shortfall + std::to_string(remaining) + " Bytes Remaining");
    }
    Release(pipe);
}

// ---- whole files ------------------------------------------------------------

void CQV7_Sys_API::GiveFile(uint8_t typeIndex, uint8_t slotIndex, std::string path, QV7_PROGRESS_CALLBACK progress) {
    qv7::PcFileImage image;
    const qv7::PcFileRead read = qv7::ReadPcFile(path, &image);
    if (read != qv7::PcFileRead::Ok) {
        Latch(errorText, errorFlag, PcFileReadFailure(read, path, image.size, "Unable to Allocate: "));
        return;
    }

    SendGiveFileCommand(typeIndex, slotIndex, image.size);
    if (errorFlag) return;
    SendBulkData(image.bytes.get(), image.size, progress);

    // The device may still be taking in what did arrive, so the wait runs even after a shortfall.
    std::string failure = WaitUntilSettled(*this, kUploadSettle);
    if (!failure.empty()) Latch(errorText, errorFlag, std::move(failure));
}

void CQV7_Sys_API::GetFile(uint8_t typeIndex, uint8_t slotIndex, std::string path, QV7_PROGRESS_CALLBACK progress) {
    // The bytes go to a new file beside the target, which replaces the target
    // only once the whole file has arrived: a failed get leaves the user's file as it was.
    qv7::PcFileReplacement target(path);
    if (!target.Begin()) {
        Latch(errorText, errorFlag, "Invalid file name:" + path);
        return;
    }

    const uint32_t size = SendGetFileCommand(typeIndex, slotIndex);
    if (errorFlag) return;

    // The size comes from the printer: more than any QV7E file can be is refused
    // before a byte is asked for.
    const std::string noMemory = "Unable to Allocate: " + std::to_string(size) + " Bytes";
    if (size > qv7::kLargestImage) {
        Latch(errorText, errorFlag, noMemory);
        return;
    }
    ArrivingBytes bytes;
    std::string failure = ReceiveAnnounced(OpenPipe(inPipeName), size, chunkSize, progress, &bytes, noMemory);
    if (!failure.empty()) Latch(errorText, errorFlag, std::move(failure));

    failure = WaitUntilSettled(*this, kDownloadSettle);
    if (!failure.empty()) Latch(errorText, errorFlag, std::move(failure));

    if (!errorFlag && !target.Commit(bytes.data(), size)) {
        Latch(errorText, errorFlag, "Unable to write file:" + path);
    }
}

void CQV7_Sys_API::GiveFirmware(std::string path, QV7_PROGRESS_CALLBACK progress) {
    qv7::PcFileImage image;
    const qv7::PcFileRead read = qv7::ReadPcFile(path, &image);
    if (read != qv7::PcFileRead::Ok) {
        Latch(errorText, errorFlag, PcFileReadFailure(read, path, image.size, "Unable to Allocate:"));
        return;
    }

    SendGiveFirmwareCommand(image.size);
    if (errorFlag) return;
    // No status wait: the printer takes over with the new image.
    SendBulkData(image.bytes.get(), image.size, progress);
}

void CQV7_Sys_API::GetFirmware(std::string path, QV7_PROGRESS_CALLBACK progress) {
    qv7::PcFileReplacement target(path);
    if (!target.Begin()) {
        Latch(errorText, errorFlag, "Invalid file name:" + path);
        return;
    }

    const uint32_t size = SendGetFirmwareCommand();
    if (errorFlag) return;

    const std::string noMemory = "Unable to Allocate:" + std::to_string(size) + " Bytes";
    if (size > qv7::kLargestImage) {
        Latch(errorText, errorFlag, noMemory);
        return;
    }
    ArrivingBytes bytes;
    std::string failure = ReceiveAnnounced(OpenPipe(inPipeName), size, chunkSize, progress, &bytes, noMemory);
    if (!failure.empty()) Latch(errorText, errorFlag, std::move(failure));

    if (!errorFlag && !target.Commit(bytes.data(), size)) {
        Latch(errorText, errorFlag, "Unable to write file:" + path);
    }
}
