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

TEST_F(StartUp, FirstStartShowsTheWindowWithTheFoldersCollapsed) {
    Start();
    EXPECT_TRUE(frame()->isVisible());

    QTreeWidgetItem* root = view()->rootItem();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(view()->topLevelItemCount(), 1);
    EXPECT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(root->child(i)->isExpanded()) << i;

    // The seeded printer: 16 data slots, 30 label and 10 symbol slots.
    EXPECT_EQ(folderItem(FileKind::Data)->childCount(), 16);
    EXPECT_EQ(folderItem(FileKind::Label)->childCount(), 30);
    EXPECT_EQ(folderItem(FileKind::Data)->child(0)->text(0), "(Slot 1)  PRICES.dat");
    EXPECT_EQ(folderItem(FileKind::Symbol)->child(2)->text(0), "(Slot 3)  Btmap03.bmp");
    EXPECT_EQ(folderItem(FileKind::Symbol)->child(9)->text(0), "(Slot 10)  <empty slot>");

    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(StartUp, AFolderKeepsItsExpandedStateFromOneRunToTheNext) {
    Start();
    folderItem(FileKind::Label)->setExpanded(true);
    EXPECT_EQ(Stored("LabelFolderExpanded").toInt(), 32);
    Restart();
    EXPECT_FALSE(folderItem(FileKind::Data)->isExpanded());
    EXPECT_TRUE(folderItem(FileKind::Label)->isExpanded());
    EXPECT_FALSE(folderItem(FileKind::Symbol)->isExpanded());

    folderItem(FileKind::Label)->setExpanded(false);
    folderItem(FileKind::Symbol)->setExpanded(true);
    Restart();
    EXPECT_FALSE(folderItem(FileKind::Label)->isExpanded());
    EXPECT_TRUE(folderItem(FileKind::Symbol)->isExpanded());
}

TEST_F(StartUp, AWindowClosedMaximisedOpensMaximisedAndRestoresItsNormalRectangle) {
    Start();
    frame()->move(40, 30);
    frame()->resize(500, 420);
    frame()->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(frame()->isMaximized());
    Restart();
    EXPECT_TRUE(frame()->isMaximized());

    frame()->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame()->pos(), QPoint(40, 30));
    EXPECT_EQ(frame()->size(), QSize(500, 420));
}

TEST_F(StartUp, EveryStartPutsTheSymbolFoldersBack) {
    Store("SymbolDownloadFolder", "/somewhere/else");
    Store("SymbolUploadPath", "/somewhere/else/");
    Start();
    const QString symbols = Path("data") + "/Quillory/Downloadable_Symbols";
    EXPECT_EQ(Stored("SymbolDownloadFolder").toString(), symbols);
    EXPECT_EQ(Stored("SymbolUploadPath").toString(), symbols + "/");
}

TEST_F(StartUp, ATraceThatCannotBeWrittenIsToldInTheStatusBar) {
    qputenv("QUILLORY_TRACE", Path("no-such-folder/trace.txt").toUtf8());
    Start();
    EXPECT_EQ(frame()->statusBar()->currentMessage(),
              "Cannot write the trace to " + Path("no-such-folder/trace.txt") + ": No such file or directory");
    EXPECT_EQ(folderItem(FileKind::Data)->childCount(), 16) << "the printer was read all the same";
}

TEST_F(StartUp, WithoutAPrinterTheHintsReadWholeInTheFirstWindowAndPrinterCommandsSaySoUntilItIsPluggedIn) {
    WritePrinterFile("faults.txt", "no-device\n");
    Start();
    ASSERT_EQ(frame()->size(), QSize(345, 480));
    ASSERT_EQ(view()->topLevelItemCount(), 1);
    const QTreeWidgetItem* line = view()->topLevelItem(0);
    EXPECT_TRUE(line->text(0).startsWith("No printer found: ")) << line->text(0).toStdString();
    EXPECT_GE(line->childCount(), 3) << "what to try";
    EXPECT_EQ(view()->rootItem(), nullptr);
    EXPECT_EQ(frame()->statusBar()->currentMessage(), line->text(0));
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
    for (int command : {quillory::ID_FILE_GET_DATA, quillory::ID_FILE_SEND_LABEL, quillory::ID_FILE_DOWNLOAD_SYMBOL,
                        quillory::ID_FILE_GET_ALL_FILES, quillory::ID_FILE_SEND_FILE_SET}) {
        prompt.shown.clear();
        frame()->SendCommand(command);
        EXPECT_EQ(prompt.shown, (std::vector<quillorytest::ShownMessage>{
                                    {"No printer is connected: Invalid Device Instance\nThis needs the printer: plug "
                                     "it in, switch it on and try again.",
                                     quillory::MessageIcon::Exclamation, quillory::MessageButtons::Ok}}))
            << command;
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
    EXPECT_EQ(root->text(0), "Orvale QV7 Tandor (not refreshed: Invalid Device Instance)");
    EXPECT_TRUE(root->isDisabled());

    QFile::remove(Path("printer/faults.txt"));
    frame()->SendCommand(quillory::ID_VIEW_REFRESH);
    EXPECT_EQ(view()->rootItem()->text(0), "Orvale QV7 Tandor");
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

TEST_F(StartUp, FoldersListTheirFixedSlotCountsWhateverThePrinterHasAndNoNameDisguisesItself) {
    // No data type at all, more label slots than the tree shows, fewer symbols.
    WritePrinterFile("printer.txt", "driver-version 3\ntype QV7 35\ntype MAP 3\n");
    // A right-to-left override would show "AT.qv7" as "A7vq.T"; a C1 CSI
    // hides itself (and starts an escape sequence on a terminal).
    WritePrinterFile("slots/QV7/03.name", "A\u202eT\xc2\x9b\n");
    WritePrinterFile("slots/QV7/03.data", "label");
    WritePrinterFile("slots/MAP/02.name", "Btmap02\n");
    WritePrinterFile("slots/MAP/02.data", "BM");
    Start();

    EXPECT_EQ(folderItem(FileKind::Data)->childCount(), 0);
    const QStringList labels = ChildTexts(folderItem(FileKind::Label));
    ASSERT_EQ(labels.size(), 30);
    EXPECT_EQ(labels[2], "(Slot 3)  A\\u202eT\\x9b.qv7");
    EXPECT_EQ(labels.last(), "(Slot 30)  <empty slot>");
    const QStringList symbols = ChildTexts(folderItem(FileKind::Symbol));
    ASSERT_EQ(symbols.size(), 10);
    EXPECT_EQ(symbols[1], "(Slot 2)  Btmap02.bmp");
    EXPECT_EQ(symbols.last(), "(Slot 10)  <empty slot>") << "slots past the printer's own are listed empty";
}

}  // namespace
