// The send dialog over the real tree, offscreen: a symbol the preview refuses
// cannot be sent.
#include <QPushButton>

#include "CSendFileDialog.h"
#include "ProgramFixture.h"
#include "SlotDialogForms.h"
#include "StringTable.h"
#include "SymbolSourceChooser.h"

namespace {

using namespace quillory;

// Symbol browsing answered from a script: each browse picks the next file and
// says whether it may be sent, as the preview would.
class ScriptedSymbolChooser : public SymbolSourceChooser {
public:
    explicit ScriptedSymbolChooser(std::deque<std::pair<QString, bool>> picks) : picks_(std::move(picks)) {}
    bool Browse(QWidget*, const QString&, const QString&, QString* path) override {
        *path = picks_.front().first;
        acceptable_ = picks_.front().second;
        picks_.pop_front();
        return true;
    }
    bool IsAcceptable() const override { return acceptable_; }

private:
    std::deque<std::pair<QString, bool>> picks_;
    bool acceptable_ = true;
};

class SlotDialogs : public quillorytest::RunningProgramTest {};

TEST_F(SlotDialogs, ASymbolTheBrowserRefusesBlocksOkUntilAnAcceptableOneIsChosen) {
    WritePrinterFile("../wrong.bmp", "150 x 151");
    WritePrinterFile("../right.bmp", "150 x 150");
    view()->setCurrentItem(folderItem(FileKind::Symbol)->child(0));
    SendFileForm form(prompt, FileKind::Symbol, QString());
    auto send = std::make_unique<CSendFileDialog>(
        form, *view(), files,
        std::make_unique<ScriptedSymbolChooser>(
            std::deque<std::pair<QString, bool>>{{Path("wrong.bmp"), false}, {Path("right.bmp"), true}}),
        frame());
    send->show();
    send->browseButton()->click();
    send->accept();
    EXPECT_TRUE(send->isVisible());
    EXPECT_EQ(prompt.shown.size(), 1u);

    send->browseButton()->click();
    send->accept();
    EXPECT_EQ(send->result(), QDialog::Accepted);
    EXPECT_EQ(form.sourcePath(), Path("right.bmp"));
    EXPECT_EQ(form.chosenSlot(), 1);
}

}  // namespace
