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
    {IDS_FIRMWARE_POWER_STEPS,
     "Please perform the following steps:\n\n1) Disconnect power from the QV7 unit\n\n2) Hold down the F5 button on "
     "the QV7 and reconnect power.\n\n3) Click OK."},
    {IDS_FIRMWARE_CONNECT_FAILED,
     "Error connecting to Orvale QV7.\n\nMake sure device is connnected and in Quillory mode then try again.\n"},
    {IDS_FIRMWARE_UPGRADE_INIT, "Initializing firmware upgrade..."},
    {IDS_FIRMWARE_UPGRADE, "Upgrading firmware...  Do not interrupt this process or turn off power!"},
    {IDS_FIRMWARE_UPGRADE_FAILED, "Error upgrading QV7 firmware.\n\n"},
    {IDS_FIRMWARE_UPGRADE_DONE, "Firmware upgrade successful!"},
    {IDS_FIRMWARE_RECEIVE_INIT, "Initializing firmware transfer..."},
    {IDS_FIRMWARE_RECEIVE, "Receiving firmware..."},
    {IDS_FIRMWARE_RECEIVE_FAILED, "Error receiving QV7 firmware.\n\n"},
    {IDS_FIRMWARE_RECEIVE_DONE,
     "Firmware transfer successful!\n\nDisconnect and reconnect power to\nthe QV7 to return to normal operation."},
    {IDS_SELECT_FIRMWARE_FILE, "Select Firmware File"},
    {IDS_SELECT_DESTINATION_FILE, "Select Destination File"},
    {IDS_SYMBOL_FILES, "Symbol files"},
    {IDS_SLOT_WITH_FILE, "(Slot %d)  %s"},
    {IDS_SLOT_EMPTY, "(Slot %d)  <empty slot>"},
    {IDS_CLOSE_DURING_TRANSFER, "Cannot close Quillory while a transfer is in progress."},
    {IDS_DATA_FILE_FILTER, "QV7 Data Files (*.dat)|*.dat|All Files (*.*)|*.*||"},
    {IDS_LABEL_FILE_FILTER, "QV7 Label Files (*.qv7)|*.qv7|All Files (*.*)|*.*||"},
    {IDS_FILE_SET_FILTER, "QV7 File Set Definition Files (*.fsd)|*.fsd|All Files (*.*)|*.*||"},
    {IDS_FIRMWARE_FILE_FILTER, "QV7 Firmware Files (*.bin)|*.bin|All Files (*.*)|*.*||"},
    {IDS_SELECT_FILE_SET, "Select file set definition..."},
    {IDS_SELECT_VALID_FILE_SET, "Please select a valid file set definition file"},
    {IDS_SEND_FILE_SET_FAILED, "An error occurred sending the file set!"},
    {IDS_SEND_FILE_SET_DONE, "File set sent sucessfully!"},
    {IDS_OVERWRITE_FOLDER, "This may overwrite files in this directory!  Continue?"},
    {IDS_RECEIVE_ALL_FAILED, "One or more errors occurred while receiving files."},
    {IDS_RECEIVE_ALL_DONE, "All files received successfully!"},
    {IDS_FIRMWARE_BACKUP_INIT, "Initializing firmware backup..."},
    {IDS_FIRMWARE_BACKUP, "Backing up firmware..."},
    {IDS_NO_PRINTER_CONNECTED,
     "No printer is connected: %1\nThis needs the printer: plug it in, switch it on and try again."},
    {ID_FIRMWARE_UPGRADE, "Upgrades the QV7E firmware\nUpgrade firmware"},
    {ID_FIRMWARE_GET_CURRENT, "Retrieves the current firmware from the QV7E\nGet current firmware"},
    {ID_VIEW_REFRESH, "Refreshes the QV7 file listing.\nRefresh"},
    {ID_FILE_SEND_DATA, "Sends a data file to the QV7E printer\nSend data file"},
    {ID_FILE_GET_DATA, "Saves a data file from the QV7E printer to the PC\nGet data file"},
    {ID_FILE_SEND_LABEL, "Sends a label file to the QV7E printer\nSend label file"},
    {ID_FILE_GET_LABEL, "Saves a label file from the QV7E printer to the PC\nGet label file"},
    {ID_REPLACE_DATA_FILE, "Replaces data file in selected slot"},
    {ID_GET_SLOT_DATA_FILE, "Saves the selected data file to the PC"},
    {ID_REPLACE_LABEL_FILE, "Replaces the label file in selected slot"},
    {ID_GET_SLOT_LABEL_FILE, "Saves the selected label file to the PC"},
    {ID_FILE_SEND_FILE_SET, "Sends a set of files to the QV7E printer\nSend file set"},
    {ID_FILE_GET_ALL_FILES, "Gets all files from the QV7E printer\nGet all files"},
    {ID_FILE_CONVERT_CSV, "Converts a comma-seperated value file to an QV7E data file\nConvert CSV to DAT"},
    {ID_HELP_READ_ME, "Link to the ReadMe file.\nRead Me"},
    {ID_HELP_REGISTER, "Register.\nRegister"},
    {ID_HELP_OPERATORS_MANUAL, "Open QV7E Operator's Manual.\nOperator's Manual"},
    {ID_HELP_QUICK_REFERENCE, "Open QV7E Quick Ref. Card.\nQuick Ref. Card"},
    {ID_HELP_WEBSITE, "Visit Orvale on the web at www.orvale.example\nOrvale Website"},
    {ID_FILE_DOWNLOAD_SYMBOL, "Download a symbol to the QV7E printer\nDownload symbol"},
    {ID_FILE_GET_SYMBOL, "Save a symbol from the QV7E printer to the PC\nGet symbol"},
    {ID_FILE_SAVE_SYMBOL, "Save symbol file to the PC\nSave symbol file..."},
    {ID_FIRMWARE_RESTORE, "Restores the QV7E firmware\nRestore firmware"},
    {ID_SAVE_SLOT_DATA_AS_CSV, "Saves the selected data file to the PC as CSV text"},
    {IDS_APP_NAME, "Quillory"},
    {IDS_IDLE_MESSAGE, "For Help, press F1"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_HELP_FINDER, "List Help topics\nHelp Topics"},
    {IDS_INDICATOR_CAPS, "CAP"},
    {IDS_INDICATOR_NUM, "NUM"},
    {IDS_INDICATOR_SCROLL, "SCRL"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToolbar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nStatus Bar"},
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

}  // namespace quillory
