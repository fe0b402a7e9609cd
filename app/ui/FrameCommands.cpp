#include "FrameCommands.h"

#include <algorithm>

#include "StringTable.h"

namespace quillory {

const std::vector<MenuEntry>& MainMenu() {
    static const std::vector<MenuEntry> menu = {
        {"&File",
         {
             {ID_FILE_SEND_DATA, "&Send data file..."},
             {ID_FILE_GET_DATA, "&Get data file..."},
             {ID_FILE_SEND_LABEL, "&Send label file..."},
             {ID_FILE_GET_LABEL, "&Get label file..."},
             {kSeparator, nullptr},
             {ID_FILE_SEND_FILE_SET, "&Send file set..."},
             {ID_FILE_GET_ALL_FILES, "&Get all files..."},
             {kSeparator, nullptr},
             {ID_FILE_DOWNLOAD_SYMBOL, "&Download symbol..."},
             {ID_FILE_GET_SYMBOL, "Get sym&bol..."},
             {kSeparator, nullptr},
             {ID_FILE_CONVERT_CSV, "Convert CSV to DAT..."},
             {kSeparator, nullptr},
             {ID_APP_EXIT, "E&xit"},
         }},
        {"&Firmware",
         {
             {ID_FIRMWARE_UPGRADE, "&Upgrade firmware..."},
             {ID_FIRMWARE_GET_CURRENT, "&Get current firmware..."},
         }},
        {"&View",
         {
             {ID_VIEW_TOOLBAR, "&Toolbar"},
             {ID_VIEW_STATUS_BAR, "&Status Bar"},
             {kSeparator, nullptr},
             {ID_VIEW_REFRESH, "&Refresh"},
         }},
        {"&Help",
         {
             {ID_HELP_FINDER, "&Help Topics"},
             {ID_HELP_READ_ME, "&Read Me"},
             {ID_HELP_REGISTER, "R&egister"},
             {ID_HELP_OPERATORS_MANUAL, "QV7E &Operator's  Manual"},
             {ID_HELP_QUICK_REFERENCE, "QV7E Quick Ref. Card"},
             {ID_HELP_WEBSITE, "Orvale Website"},
             {kSeparator, nullptr},
             {ID_APP_ABOUT, "&About Quillory..."},
         }},
    };
    return menu;
}

const std::vector<MenuItemEntry>& DataSlotMenu() {
    static const std::vector<MenuItemEntry> menu = {{ID_REPLACE_DATA_FILE, "&Replace data file..."},
                                                    {ID_GET_SLOT_DATA_FILE, "&Get data file..."},
                                                    {ID_SAVE_SLOT_DATA_AS_CSV, "&Save as CSV..."}};
    return menu;
}

const std::vector<MenuItemEntry>& LabelSlotMenu() {
    static const std::vector<MenuItemEntry> menu = {{ID_REPLACE_LABEL_FILE, "&Replace label file..."},
                                                    {ID_GET_SLOT_LABEL_FILE, "&Get label file..."}};
    return menu;
}

const std::vector<MenuItemEntry>& SymbolSlotMenu() {
    static const std::vector<MenuItemEntry> menu = {{ID_FILE_SAVE_SYMBOL, "Save symbol file to PC..."}};
    return menu;
}

const std::vector<int>& ToolbarButtons() {
    static const std::vector<int> buttons = {
        ID_FILE_SEND_DATA,       ID_FILE_GET_DATA,   kSeparator,          ID_FILE_SEND_LABEL,
        ID_FILE_GET_LABEL,       kSeparator,         ID_FILE_DOWNLOAD_SYMBOL, ID_FILE_GET_SYMBOL,
        kSeparator,              ID_FIRMWARE_UPGRADE, kSeparator,         ID_FIRMWARE_GET_CURRENT,
        kSeparator,              ID_APP_ABOUT,
    };
    return buttons;
}

bool IsGuardedDuringTransfer(int commandId) {
    // Refresh is among them: a catalogue rebuild opens its own connection and
    // would send commands to the printer in the middle of the transfer. So is
    // About and the symbol commands: their boxes and dialogs are modal, and a
    // modal loop opened from inside the transfer's event pump holds the
    // transfer until the user answers.
    static const int guarded[] = {
        ID_FILE_SEND_DATA,     ID_FILE_GET_DATA,      ID_FILE_SEND_LABEL,  ID_FILE_GET_LABEL,
        ID_FILE_SEND_FILE_SET, ID_FILE_GET_ALL_FILES, ID_FILE_CONVERT_CSV, ID_FIRMWARE_UPGRADE,
        ID_FIRMWARE_GET_CURRENT, ID_APP_EXIT,         ID_VIEW_REFRESH,     ID_APP_ABOUT,
        ID_FILE_DOWNLOAD_SYMBOL, ID_FILE_GET_SYMBOL,
        // Its access code dialog would open from inside the transfer's pump.
        ID_FIRMWARE_RESTORE,
    };
    return std::find(std::begin(guarded), std::end(guarded), commandId) != std::end(guarded);
}

}  // namespace quillory
