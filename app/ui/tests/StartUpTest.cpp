// Starting and restarting the program: the first window, the tree filled from
// the printer, and what the settings carry from one run to the next.
#include <QCoreApplication>
#include <QScrollBar>
#include <QStatusBar>

#include "CPrinterService.h"
#include "ProgramFixture.h"
#include "StringTable.h"

namespace {

using quillory::FileKind;
using quillorytest::ProgramTest;
using quillorytest::ScriptedSlotDialogs;

QStringList ChildTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
    return texts;
}

class StartUp : public ProgramTest {};

TEST_F(StartUp, TheFoldersStartCollapsedAndKeepTheirExpandedStateFromOneRunToTheNext) {
    Start();
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_TRUE(view()->rootItem()->isExpanded());
    EXPECT_FALSE(folderItem(FileKind::Label)->isExpanded());
    EXPECT_TRUE(prompt.shown.empty());

    folderItem(FileKind::Label)->setExpanded(true);
    Restart();
    EXPECT_FALSE(folderItem(FileKind::Data)->isExpanded());
    EXPECT_TRUE(folderItem(FileKind::Label)->isExpanded());
    EXPECT_FALSE(folderItem(FileKind::Symbol)->isExpanded());
}

TEST_F(StartUp, WithoutAPrinterTheHintsReadWholeInTheFirstWindowAndPrinterCommandsSaySoUntilItIsPluggedIn) {
    WritePrinterFile("faults.txt", "no-device\n");
    Start();
    ASSERT_EQ(frame()->size(), QSize(345, 480));
    ASSERT_EQ(view()->topLevelItemCount(), 1);
    const QTreeWidgetItem* line = view()->topLevelItem(0);
    EXPECT_GE(line->childCount(), 3) << "what to try";
    EXPECT_EQ(view()->rootItem(), nullptr);
    EXPECT_TRUE(prompt.shown.empty()) << "no box waits for an answer";
    std::vector<const QTreeWidgetItem*> lines{line};
    for (int i = 0; i < line->childCount(); ++i) lines.push_back(line->child(i));
    // As first shown, and narrowed again after a wider window laid the lines out unwrapped.
    for (int width : {345, 700, 345}) {
        frame()->resize(width, 480);
        QCoreApplication::processEvents();
        for (const QTreeWidgetItem* item : lines) {
            // The row lies inside the tree and is as tall as its text wrapped
            // to the row's width less the style's margins and the icon.
            const QRect row = view()->visualItemRect(item);
            const int margins = 8 + (item->icon(0).isNull() ? 0 : view()->iconSize().width() + 8);
            const QRect text = view()->fontMetrics().boundingRect(QRect(0, 0, row.width() - margins, 1000),
                                                                    Qt::TextWordWrap, item->text(0));
            EXPECT_LT(row.right(), view()->viewport()->width()) << item->text(0).toStdString();
            EXPECT_GE(row.height(), text.height()) << width << " " << item->text(0).toStdString();
        }
    }
    EXPECT_EQ(view()->horizontalScrollBar()->maximum(), 0) << "nothing to scroll to";

    // A command that lists or fills the printer's slots says there is no
    // printer rather than opening its dialog; one that needs no printer works.
    ScriptedSlotDialogs dialogs;
    frame()->SetSlotDialogs(&dialogs);
    for (int command : {quillory::ID_FILE_SEND_LABEL, quillory::ID_FILE_GET_ALL_FILES}) {
        prompt.shown.clear();
        frame()->SendCommand(command);
        ASSERT_EQ(prompt.shown.size(), 1u) << command;
        EXPECT_EQ(prompt.shown[0].icon, quillory::MessageIcon::Exclamation);
    }
    EXPECT_TRUE(dialogs.opened.empty());
    frame()->SendCommand(quillory::ID_FILE_CONVERT_CSV);
    EXPECT_EQ(files.asked.size(), 1u);

    // Plugged in since: the command reads the printer and goes on.
    QFile::remove(Path("printer/faults.txt"));
    prompt.shown.clear();
    frame()->SendCommand(quillory::ID_FILE_GET_DATA);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(folderItem(FileKind::Data)->childCount(), 16);
    frame()->SetSlotDialogs(nullptr);
}

TEST_F(StartUp, APrinterThatGoesAwayLeavesTheTreeAsItWasMarkedStaleUntilItIsBack) {
    Start();
    folderItem(FileKind::Data)->setExpanded(true);
    QTreeWidgetItem* root = view()->rootItem();
    const QStringList before = ChildTexts(folderItem(FileKind::Data));

    WritePrinterFile("faults.txt", "no-device\n");
    frame()->SendCommand(quillory::ID_VIEW_REFRESH);
    EXPECT_EQ(view()->rootItem(), root);
    EXPECT_EQ(ChildTexts(folderItem(FileKind::Data)), before);
    EXPECT_TRUE(folderItem(FileKind::Data)->isExpanded());
    EXPECT_TRUE(root->isDisabled());

    QFile::remove(Path("printer/faults.txt"));
    frame()->SendCommand(quillory::ID_VIEW_REFRESH);
    EXPECT_FALSE(view()->rootItem()->isDisabled());
    EXPECT_TRUE(frame()->statusBar()->currentMessage().isEmpty());
}

TEST_F(StartUp, ARebuildStartedElsewhereRenewsTheItems) {
    Start();
    folderItem(FileKind::Data)->setExpanded(true);
    WritePrinterFile("slots/DAT/02.name", "RENAMED\n");
    // Another part of the program (a file set, the firmware) rebuilds the
    // catalogue: the items must not keep the entries it replaced.
    ASSERT_TRUE(app->printerService().RebuildCatalog());
    QTreeWidgetItem* item = folderItem(FileKind::Data)->child(1);
    EXPECT_EQ(item->text(0), "(Slot 2)  RENAMED.dat");
    ASSERT_NE(view()->SlotEntryOf(item), nullptr);
    EXPECT_EQ(view()->SlotEntryOf(item)->fileName, "RENAMED");
    EXPECT_TRUE(folderItem(FileKind::Data)->isExpanded());
}

TEST_F(StartUp, NoSlotNameDisguisesItselfAndAPrinterWithMoreSlotsThanShownCrashesNothing) {
    WritePrinterFile("printer.txt", "driver-version 3\ntype QV7 35\ntype MAP 3\n");
    // A right-to-left override would show "AT.qv7" as "A7vq.T"; a C1 CSI
    // hides itself (and starts an escape sequence on a terminal).
    WritePrinterFile("slots/QV7/03.name", "A\u202eT\xc2\x9b\n");
    WritePrinterFile("slots/QV7/03.data", "label");
    Start();

    const QStringList labels = ChildTexts(folderItem(FileKind::Label));
    ASSERT_GE(labels.size(), 3);
    EXPECT_EQ(labels[2], "(Slot 3)  A\\u202eT\\x9b.qv7");
}

}  // namespace
