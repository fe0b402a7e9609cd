// The dialog's controls by their ids, and the state the logic keeps of each:
// the main page and every page are only visibility states of these controls.
#ifndef QUILLORY_SETUP_CONTROLS_H
#define QUILLORY_SETUP_CONTROLS_H

#include <map>
#include <string>
#include <vector>

namespace quillory::setup {

namespace id {
inline constexpr int kExit = 1;
inline constexpr int kCancel = 2;
inline constexpr int kInstallQuillory = 1000;
inline constexpr int kXpFileTransfer = 1001;
inline constexpr int kPicture = 1002;
inline constexpr int kPageText = 1003;
inline constexpr int kVistaDrivers = 1004;
inline constexpr int kPageTitle = 1005;
inline constexpr int kReadMe = 1006;
inline constexpr int kRegister = 1007;
inline constexpr int kOperatorsManual = 1008;
inline constexpr int kWebsite = 1009;
inline constexpr int kQuickRefCard = 1010;
inline constexpr int kInstallGroup = 1011;
inline constexpr int kDocumentGroup = 1012;
inline constexpr int kXpScribeline = 1013;
inline constexpr int kNext = 1014;
inline constexpr int kBack = 1015;
inline constexpr int kInstall = 1016;
inline constexpr int kHelp = 1017;
inline constexpr int kXpUpgrade = 1021;
}  // namespace id

// Where a control sits, in dialog units, and what it is.
enum class ControlKind { Button, DefaultButton, GroupBox, Picture, Text };
struct ControlLayout {
    int id;
    ControlKind kind;
    const char* text;
    int left, top, width, height;
    bool initiallyVisible;
};
const std::vector<ControlLayout>& DialogLayout();
inline constexpr int kDialogWidth = 337;
inline constexpr int kDialogHeight = 256;

// The main page's controls, "Exit" not included.
const std::vector<int>& MainPageControls();

struct ControlState {
    bool visible = true;
    bool enabled = true;
    std::string text;
};

class ControlStates {
public:
    ControlStates();
    void Show(int id, bool visible) { states_[id].visible = visible; }
    void Enable(int id, bool enabled) { states_[id].enabled = enabled; }
    void SetText(int id, const std::string& text) { states_[id].text = text; }
    const ControlState& operator[](int id) const { return states_.at(id); }
    const std::map<int, ControlState>& All() const { return states_; }

private:
    std::map<int, ControlState> states_;
};

}  // namespace quillory::setup

#endif
