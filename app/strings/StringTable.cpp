#include "StringTable.h"

#include <algorithm>
#include <iterator>

namespace quillory {

namespace {

struct Entry {
    int id;
    const char* text;
};

// Sorted by id. Texts are worded exactly as the program has always shown them.
constexpr Entry kStrings[] = {
    {IDS_MODIFY, "Modify"},
    {IDS_BROWSE, "Browse..."},
    {IDS_SELECT_VALID_FOLDER, "Please select a valid destination folder"},
    {IDS_SPECIFY_DESTINATION, "Please specify destination"},
    {IDS_ALREADY_EXISTS, " already exists.\nDo you want to replace it?"},
    {IDS_SELECT_VALID_SOURCE, "Please select a valid source file"},
    {IDS_DATA_FILES, "Data files"},
    {IDS_LABEL_FILES, "Label files"},
    {IDS_SELECT_SOURCE_FILE, "Select Source File"},
    {IDS_SELECT_DESTINATION_SLOT, "Please select a destination file slot"},
    {IDS_RECEIVE_DATA_INIT, "Initializing data file transfer..."},
    {IDS_RECEIVE_DATA, "Receiving data file "},
    {IDS_RECEIVE_DATA_FAILED, "Error receiving data file!"},
    {IDS_RECEIVE_DATA_DONE, "Data file transfer successful!"},
    {IDS_RECEIVE_LABEL_INIT, "Initializing label file transfer..."},
    {IDS_RECEIVE_LABEL, "Receiving label file "},
    {IDS_RECEIVE_LABEL_FAILED, "Error receiving label file!"},
    {IDS_RECEIVE_LABEL_DONE, "Label file transfer successful!"},
    {IDS_SEND_DATA_INIT, "Initializing data file transfer..."},
    {IDS_SEND_DATA, "Sending data file "},
    {IDS_SEND_DATA_FAILED, "Error sending data file!  File may not be a valid QV7 data file..."},
    {IDS_SEND_DATA_DONE, "Data file transfer successful!"},
    {IDS_SEND_LABEL_INIT, "Initializing label file transfer..."},
    {IDS_SEND_LABEL, "Sending label file "},
    {IDS_SEND_LABEL_FAILED, "Error sending label file!"},
    {IDS_SEND_LABEL_DONE, "Label file transfer successful!"},
    {IDS_SYMBOL_FILES, "Symbol files"},
    {IDS_SLOT_WITH_FILE, "(Slot %d)  %s"},
    {IDS_SLOT_EMPTY, "(Slot %d)  <empty slot>"},
    {IDS_CLOSE_DURING_TRANSFER, "Cannot close Quillory while a transfer is in progress."},
    {IDS_DATA_FILE_FILTER, "QV7 Data Files (*.dat)|*.dat|All Files (*.*)|*.*||"},
    {IDS_LABEL_FILE_FILTER, "QV7 Label Files (*.qv7)|*.qv7|All Files (*.*)|*.*||"},
    {IDS_APP_NAME, "Quillory"},
    {IDS_IDLE_MESSAGE, "For Help, press F1"},
    {IDS_INDICATOR_CAPS, "CAP"},
    {IDS_INDICATOR_NUM, "NUM"},
    {IDS_INDICATOR_SCROLL, "SCRL"},
    {IDS_SEND_SYMBOL_INIT, "Initializing symbol file transfer..."},
    {IDS_SEND_SYMBOL, "Sending symbol file "},
    {IDS_SEND_SYMBOL_FAILED, "Error sending symbol file!"},
    {IDS_SEND_SYMBOL_DONE, "Symbol file transfer successful!"},
    {IDS_RECEIVE_SYMBOL_FAILED, "Error receiving Symbol file!"},
    {IDS_RECEIVE_SYMBOL_DONE, "Symbol file transfer successful!"},
    {IDS_RECEIVE_SYMBOL_INIT, "Initializing symbol file transfer..."},
    {IDS_RECEIVE_SYMBOL, "Receiving symbol file "},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }),
              "the table is searched by halves");

const Entry* Find(int id) {
    const Entry* found = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                          [](const Entry& entry, int wanted) { return entry.id < wanted; });
    return found != std::end(kStrings) && found->id == id ? found : nullptr;
}

}  // namespace

QString LoadString(int id) {
    const Entry* entry = Find(id);
    return entry ? QString::fromUtf8(entry->text) : QString();
}

bool HasString(int id) {
    return Find(id) != nullptr;
}

}  // namespace quillory
