#include "SetupControls.h"

namespace quillory::setup {

const std::vector<ControlLayout>& DialogLayout() {
    using K = ControlKind;
    static const std::vector<ControlLayout> layout = {
        {id::kInstallGroup, K::GroupBox, "", 232, 0, 102, 138, true},
        {id::kDocumentGroup, K::GroupBox, "", 232, 133, 102, 99, true},
        {id::kInstallQuillory, K::Button, "Install Quillory", 238, 8, 90, 14, true},
        {id::kXpFileTransfer, K::Button, "Install Win XP File Transfer Driver", 238, 26, 90, 24, true},
        {id::kXpUpgrade, K::Button, "Install Win XP Upgrade Driver", 238, 54, 90, 24, true},
        {id::kXpScribeline, K::Button, "Install Win XP Scribeline Driver", 238, 82, 90, 24, true},
        {id::kVistaDrivers, K::Button, "Install Win Vista / 7 Drivers", 238, 110, 90, 24, true},
        {id::kReadMe, K::Button, "Read Me", 238, 141, 90, 14, true},
        {id::kRegister, K::Button, "Register", 238, 159, 90, 14, true},
        {id::kOperatorsManual, K::Button, "QV7E Operator's Manual", 238, 177, 90, 14, true},
        {id::kQuickRefCard, K::Button, "QV7E Quick Ref. Card", 238, 195, 90, 14, true},
        {id::kWebsite, K::Button, "Orvale Website", 238, 212, 90, 14, true},
        {id::kPicture, K::Picture, "", 12, 30, 208, 156, true},
        {id::kExit, K::DefaultButton, "Exit", 278, 236, 50, 14, true},
        {id::kPageTitle, K::GroupBox, "", 2, 0, 222, 252, false},
        {id::kPageText, K::Text, "", 6, 8, 214, 238, false},
        {id::kInstall, K::Button, "Install", 278, 200, 50, 14, false},
        {id::kNext, K::Button, "Next->", 278, 218, 50, 14, false},
        {id::kHelp, K::Button, "Help", 278, 218, 50, 14, false},
        {id::kBack, K::Button, "<-Back", 278, 236, 50, 14, false},
        {id::kCancel, K::Button, "Cancel", 224, 218, 50, 14, false},
    };
    return layout;
}

const std::vector<int>& MainPageControls() {
    static const std::vector<int> controls = {
        id::kPicture, id::kInstallQuillory, id::kXpFileTransfer, id::kXpUpgrade, id::kXpScribeline,
        id::kVistaDrivers, id::kReadMe, id::kRegister, id::kOperatorsManual, id::kQuickRefCard,
        id::kWebsite, id::kInstallGroup, id::kDocumentGroup};
    return controls;
}

ControlStates::ControlStates() {
    for (const ControlLayout& control : DialogLayout()) {
        states_[control.id] = ControlState{control.initiallyVisible, true, control.text};
    }
}

}  // namespace quillory::setup
