// The program's string table: every text the user reads, by id. Shared by the
// core and the windows so a text is worded in one place only.
#ifndef QUILLORY_STRING_TABLE_H
#define QUILLORY_STRING_TABLE_H

#include <QString>

namespace quillory {

// Ids of the table, named after what they say.
enum StringId : int {
    IDS_MODIFY = 1,
    IDS_BROWSE = 2,
    IDS_SELECT_VALID_FOLDER = 3,
    IDS_SPECIFY_DESTINATION = 4,
    IDS_ALREADY_EXISTS = 5,
    IDS_SELECT_VALID_SOURCE = 6,
    IDS_DATA_FILES = 7,
    IDS_LABEL_FILES = 8,
    IDS_SELECT_SOURCE_FILE = 9,
    IDS_SELECT_DESTINATION_SLOT = 10,
    IDS_RECEIVE_DATA_INIT = 11,
    IDS_RECEIVE_DATA = 12,
    IDS_RECEIVE_DATA_FAILED = 13,
    IDS_RECEIVE_DATA_DONE = 14,
    IDS_RECEIVE_LABEL_INIT = 15,
    IDS_RECEIVE_LABEL = 16,
    IDS_RECEIVE_LABEL_FAILED = 17,
    IDS_RECEIVE_LABEL_DONE = 18,
    IDS_SEND_DATA_INIT = 19,
    IDS_SEND_DATA = 20,
    IDS_SEND_DATA_FAILED = 21,
    IDS_SEND_DATA_DONE = 22,
    IDS_SEND_LABEL_INIT = 23,
    IDS_SEND_LABEL = 24,
    IDS_SEND_LABEL_FAILED = 25,
    IDS_SEND_LABEL_DONE = 26,
    IDS_SYMBOL_FILES = 39,
    IDS_SLOT_WITH_FILE = 40,
    IDS_SLOT_EMPTY = 41,
    IDS_CLOSE_DURING_TRANSFER = 42,
    IDS_DATA_FILE_FILTER = 43,
    IDS_LABEL_FILE_FILTER = 44,
    IDS_APP_NAME = 57344,
    IDS_IDLE_MESSAGE = 57345,
    IDS_INDICATOR_CAPS = 59137,
    IDS_INDICATOR_NUM = 59138,
    IDS_INDICATOR_SCROLL = 59139,
    IDS_SEND_SYMBOL_INIT = 61204,
    IDS_SEND_SYMBOL = 61205,
    IDS_SEND_SYMBOL_FAILED = 61206,
    IDS_SEND_SYMBOL_DONE = 61207,
    IDS_RECEIVE_SYMBOL_FAILED = 61208,
    IDS_RECEIVE_SYMBOL_DONE = 61209,
    IDS_RECEIVE_SYMBOL_INIT = 61210,
    IDS_RECEIVE_SYMBOL = 61211,
};

// The program's commands, by the ids of its menus, toolbar and accelerators.
// The string of a command's id is its status-bar prompt, a line feed, and its
// toolbar tooltip.
enum CommandId : int {
    ID_FIRMWARE_UPGRADE = 32773,
    ID_FIRMWARE_GET_CURRENT = 32774,
    ID_VIEW_REFRESH = 32779,
    ID_FILE_SEND_DATA = 32781,
    ID_FILE_GET_DATA = 32782,
    ID_FILE_SEND_LABEL = 32784,
    ID_FILE_GET_LABEL = 32786,
    ID_FILE_SEND_FILE_SET = 32810,
    ID_FILE_GET_ALL_FILES = 32811,
    ID_FILE_CONVERT_CSV = 32820,
    ID_HELP_READ_ME = 32823,
    ID_HELP_REGISTER = 32824,
    ID_HELP_OPERATORS_MANUAL = 32825,
    ID_HELP_QUICK_REFERENCE = 32826,
    ID_HELP_WEBSITE = 32827,
    ID_FILE_DOWNLOAD_SYMBOL = 32828,
    ID_FILE_GET_SYMBOL = 32829,
    ID_FILE_SAVE_SYMBOL = 32831,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

// The text of an id; an empty text for an id the table does not hold.
QString LoadString(int id);

// True when the table holds the id.
bool HasString(int id);

}  // namespace quillory

#endif
