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

// The text of an id; an empty text for an id the table does not hold.
QString LoadString(int id);

// True when the table holds the id.
bool HasString(int id);

}  // namespace quillory

#endif
