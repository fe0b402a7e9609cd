// The main frame's menu bar and toolbar, as the program lays them out: item
// texts, command ids, separators (id 0) and the toolbar's order.
#ifndef QUILLORY_FRAME_COMMANDS_H
#define QUILLORY_FRAME_COMMANDS_H

#include <vector>

namespace quillory {

inline constexpr int kSeparator = 0;

struct MenuItemEntry {
    int id;            // kSeparator for a separator
    const char* text;  // with '&' before the mnemonic
};

struct MenuEntry {
    const char* title;
    std::vector<MenuItemEntry> items;
};

const std::vector<MenuEntry>& MainMenu();

// The tree's pop-up menus, each with the number of the menu it is.
inline constexpr int IDR_DATA_SLOT_MENU = 114;
inline constexpr int IDR_LABEL_SLOT_MENU = 129;
inline constexpr int IDR_SYMBOL_SLOT_MENU = 159;

// A data slot's and a label slot's commands.
const std::vector<MenuItemEntry>& DataSlotMenu();
const std::vector<MenuItemEntry>& LabelSlotMenu();
// The pop-up menu of a symbol slot whose symbol is in the preview.
const std::vector<MenuItemEntry>& SymbolSlotMenu();

// Toolbar buttons left to right; kSeparator between groups.
const std::vector<int>& ToolbarButtons();

// Commands disabled while a transfer runs: starting them could reach the
// printer mid-transfer or end the program under it.
bool IsGuardedDuringTransfer(int commandId);

}  // namespace quillory

#endif
