// The tree's clicks, slot menus, symbol preview on click and files dropped
// from the desktop, on the real program offscreen.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include "BitmapFiles.h"
#include "CSendFileDialog.h"
#include "ProgramFixture.h"
#include "SlotDialogPort.h"
#include "StringTable.h"

namespace {

using namespace quillory;
using quillorytest::ProgramTest;

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

struct ShownMenu {
    QStringList items;  // text and id, "&Get data file...|32790"
    QPoint globalPos;
};

// Send dialogs that note what they open with, the tree's selected slot
// among it, and press OK with a fixed slot.
class AnsweringSlotDialogs : public SlotDialogPort {
public:
    explicit AnsweringSlotDialogs(const CQV7View& tree) : tree_(tree) {}
    bool RunGetDialog(GetFileForm& form, QWidget*) override {
        opened << QStringLiteral("get %1").arg(static_cast<int>(form.kind()));
        return false;
    }
    bool RunSendDialog(SendFileForm& form, QWidget*) override {
        FileKind kind;
        uint8_t selected = 0;
        if (!CQV7View::SlotOf(tree_.currentItem(), &kind, &selected)) selected = 0;
        opened << QStringLiteral("send %1 %2 selected %3")
                      .arg(static_cast<int>(form.kind()))
                      .arg(QFileInfo(form.sourcePath()).fileName())
                      .arg(selected);
        return form.Accept(form.sourcePath(), answerSlot, nullptr);
    }
    QStringList opened;
    uint8_t answerSlot = 5;

private:
    const CQV7View& tree_;
};

class TreeInteractions : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start();
        frame()->resize(640, 640);
        view()->SetMenuPresenter([this](QMenu* menu, const QPoint& globalPos) {
            ShownMenu shown{{}, globalPos};
            for (QAction* action : menu->actions()) {
                EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
                shown.items << action->text() + "|" + QString::number(action->data().toInt());
            }
            menus.push_back(shown);
        });
    }

    QTreeWidgetItem* Slot(FileKind kind, int slot) const { return folderItem(kind)->child(slot - 1); }

    // Clicks an item's middle, or a point of the tree.
    QPoint Click(QTreeWidgetItem* item, Qt::MouseButton button = Qt::LeftButton) {
        view()->scrollToItem(item);
        const QPoint at = view()->visualItemRect(item).center();
        Click(at, button);
        return at;
    }
    void Click(const QPoint& at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(view()->viewport(), button, Qt::NoModifier, at);
    }

    // Drags files over a point and drops them there when the drag is
    // accepted; true when it was. The drop's dialogs open right after.
    bool Drop(const QStringList& names, const QPoint& at) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& name : names) urls << QUrl::fromLocalFile(Path(qPrintable(name)));
        data.setUrls(urls);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view()->viewport(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view()->viewport(), &drop);
        EXPECT_TRUE(drop.isAccepted());
        QCoreApplication::processEvents();
        return true;
    }
    QPoint Over(QTreeWidgetItem* item) const { return view()->visualItemRect(item).center(); }

    int DeviceSearches() const {
        QFile trace(Path("trace.txt"));
        if (!trace.open(QIODevice::ReadOnly)) return 0;
        return static_cast<int>(trace.readAll().count("find "));
    }

    QRgb Pixel(int x, int y) const { return view()->viewport()->grab().toImage().pixel(x, y); }

    void WriteDataFile(const char* name) const {
        QByteArray bytes(32, 'x');
        bytes[kDataFileMarkerOffset] = static_cast<char>(kDataFileMarker);
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    std::vector<ShownMenu> menus;
};

TEST_F(TreeInteractions, ALeftOrRightClickOnASlotOpensItsKindsMenuThereAndNothingElseDoes) {
    folderItem(FileKind::Data)->setExpanded(true);
    folderItem(FileKind::Label)->setExpanded(true);
    const QPoint left = Click(Slot(FileKind::Data, 2));
    EXPECT_EQ(view()->currentItem(), Slot(FileKind::Data, 2));
    Click(Slot(FileKind::Data, 2), Qt::RightButton);
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0].items, (QStringList{"&Replace data file...|32789", "&Get data file...|32790"}));
    EXPECT_EQ(menus[1].items, menus[0].items);
    EXPECT_EQ(menus[0].globalPos, view()->viewport()->mapToGlobal(left));
    EXPECT_EQ(frame()->action(ID_REPLACE_DATA_FILE)->statusTip(), "Replaces data file in selected slot");

    Click(Slot(FileKind::Label, 30), Qt::RightButton);
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[2].items, (QStringList{"&Replace label file...|32791", "&Get label file...|32792"}))
        << "an empty slot has its menu too";
    EXPECT_EQ(frame()->action(ID_GET_SLOT_LABEL_FILE)->statusTip(), "Saves the selected label file to the PC");

    Click(folderItem(FileKind::Label));
    Click(view()->rootItem(), Qt::RightButton);
    Click(QPoint(300, view()->viewport()->height() - 5));
    EXPECT_EQ(menus.size(), 3u);
    EXPECT_EQ(view()->currentItem(), nullptr) << "a click on no item takes the selection away";
}

TEST_F(TreeInteractions, TheSlotMenusCommandsSendAndGetForTheSelectedSlot) {
    AnsweringSlotDialogs dialogs(*view());
    frame()->SetSlotDialogs(&dialogs);
    WriteDataFile("list.dat");
    Store("DataUploadPath", Path("list.dat"));
    Store("LabelUploadPath", Path("missing.qv7"));
    folderItem(FileKind::Data)->setExpanded(true);
    Click(Slot(FileKind::Data, 4));

    frame()->SendCommand(ID_REPLACE_DATA_FILE);
    EXPECT_TRUE(view()->selectedItems().isEmpty()) << "a send that went across reads the tree afresh";
    view()->setCurrentItem(Slot(FileKind::Label, 2));
    frame()->SendCommand(ID_REPLACE_LABEL_FILE);
    EXPECT_EQ(view()->currentItem(), Slot(FileKind::Label, 2)) << "a send that did not happen leaves the tree as it was";
    frame()->SendCommand(ID_GET_SLOT_DATA_FILE);
    frame()->SendCommand(ID_GET_SLOT_LABEL_FILE);
    EXPECT_EQ(dialogs.opened, (QStringList{"send 0 list.dat selected 4", "send 1 missing.qv7 selected 2", "get 0",
                                           "get 1"}));
    EXPECT_EQ(QFile(Path("printer/slots/DAT/05.data")).size(), 32);
    EXPECT_EQ(prompt.Texts(),
              (std::vector<std::string>{"Data file transfer successful!", "Please select a valid source file"}));
    frame()->SetSlotDialogs(nullptr);
}

TEST_F(TreeInteractions, ASymbolClickFetchesOncePreviewsAboveTheClickAndOffersSaving) {
    const quillorytest::Bytes bytes = quillorytest::Bmp{150, 150, 1, quillorytest::BlackAndWhite()}.File();
    WritePrinterFile("slots/MAP/03.data", QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())));
    qputenv("QUILLORY_TRACE", Path("trace.txt").toUtf8());
    folderItem(FileKind::Symbol)->setExpanded(true);
    QTreeWidgetItem* slot3 = Slot(FileKind::Symbol, 3);
    ASSERT_EQ(slot3->text(0), "(Slot 3)  Btmap03.bmp");
    // Rows tall enough that slot 3, the seventh row, lies under y 200.
    for (int size = 16; size <= 40 && !view()->visualItemRect(slot3).contains(300, 200); ++size) {
        view()->setIconSize(QSize(size, size));
    }
    const int x = view()->visualItemRect(slot3).left() + 20;
    ASSERT_TRUE(view()->visualItemRect(slot3).contains(x, 200));

    Click(QPoint(x, 200));
    EXPECT_EQ(DeviceSearches(), 1);
    EXPECT_EQ(view()->previewedItemText(), slot3->text(0));
    EXPECT_EQ(Pixel(250, 149), kBlack);
    EXPECT_EQ(Pixel(250 + 111, 149 + 111), kBlack);
    EXPECT_EQ(Pixel(250, 148), kWhite);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].items, QStringList{"Save symbol file to PC...|32831"});

    Click(QPoint(x, 200), Qt::RightButton);
    EXPECT_EQ(DeviceSearches(), 1) << "the cache already holds it";
    EXPECT_EQ(Pixel(250, 149), kWhite);
    EXPECT_EQ(menus.size(), 2u);

    folderItem(FileKind::Symbol)->setExpanded(false);
    EXPECT_TRUE(view()->previewedItemText().isEmpty()) << "collapsing the folder takes the preview away";
}

TEST_F(TreeInteractions, ASymbolSlotWithoutASymbolsNameGetsNoPreviewAndNoMenu) {
    qputenv("QUILLORY_TRACE", Path("trace.txt").toUtf8());
    folderItem(FileKind::Symbol)->setExpanded(true);
    QTreeWidgetItem* slot = nullptr;
    for (int i = 10; i >= 1 && !slot; --i) {
        if (!Slot(FileKind::Symbol, i)->text(0).contains("Btmap")) slot = Slot(FileKind::Symbol, i);
    }
    ASSERT_NE(slot, nullptr) << "the virtual printer leaves some symbol slots empty";
    Click(slot);
    EXPECT_EQ(DeviceSearches(), 0);
    EXPECT_TRUE(menus.empty());
    EXPECT_EQ(view()->previewX(), 250);
}

TEST_F(TreeInteractions, OnlyDatAndQv7FilesMayBeDroppedAndASingleOneHighlightsItsKindsSlot) {
    folderItem(FileKind::Data)->setExpanded(true);
    folderItem(FileKind::Label)->setExpanded(true);
    QMimeData data;
    auto dragged = [&](const QStringList& names, QTreeWidgetItem* over) {
        QList<QUrl> urls;
        for (const QString& name : names) urls << QUrl::fromLocalFile(Path(qPrintable(name)));
        data.setUrls(urls);
        QDragEnterEvent enter(Over(over), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view()->viewport(), &enter);
        return enter.isAccepted();
    };
    EXPECT_FALSE(dragged({"LIST.DAT"}, Slot(FileKind::Data, 4)));
    EXPECT_FALSE(dragged({"list.dat", "logo.bmp"}, Slot(FileKind::Data, 4)));
    EXPECT_EQ(view()->dropHighlightItem(), nullptr);
    EXPECT_TRUE(dragged({"list.dat"}, Slot(FileKind::Data, 4)));
    EXPECT_EQ(view()->dropHighlightItem(), Slot(FileKind::Data, 4));
    EXPECT_TRUE(dragged({"list.dat"}, Slot(FileKind::Label, 4)));
    EXPECT_EQ(view()->dropHighlightItem(), Slot(FileKind::Data, 4)) << "left where it was";
    EXPECT_TRUE(dragged({"shelf.qv7"}, Slot(FileKind::Label, 4)));
    EXPECT_EQ(view()->dropHighlightItem(), Slot(FileKind::Label, 4));
    EXPECT_FALSE(Drop({"LIST.DAT"}, Over(Slot(FileKind::Data, 4))));
}

TEST_F(TreeInteractions, DroppedFilesOpenTheirSendDialogsOneAfterAnotherPreselectingOnlyASingleFilesSlot) {
    AnsweringSlotDialogs dialogs(*view());
    dialogs.answerSlot = 0;  // cancelled: no slot chosen
    frame()->SetSlotDialogs(&dialogs);
    folderItem(FileKind::Data)->setExpanded(true);
    folderItem(FileKind::Label)->setExpanded(true);

    ASSERT_TRUE(Drop({"list.dat"}, Over(Slot(FileKind::Label, 3))));
    ASSERT_TRUE(Drop({"list.dat", "shelf.qv7"}, Over(Slot(FileKind::Data, 4))));
    ASSERT_TRUE(Drop({"shelf.qv7"}, Over(Slot(FileKind::Label, 3))));
    EXPECT_EQ(dialogs.opened, (QStringList{"send 0 list.dat selected 0", "send 0 list.dat selected 0",
                                           "send 1 shelf.qv7 selected 0", "send 1 shelf.qv7 selected 3"}));
    frame()->SetSlotDialogs(nullptr);
}

TEST_F(TreeInteractions, AFileDroppedOntoADataSlotGoesThereThroughTheSendDialog) {
    WriteDataFile("list.dat");
    folderItem(FileKind::Data)->setExpanded(true);
    QString shownPath;
    int shownSlot = -1;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<CSendFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        answer.stop();
        shownPath = dialog->sourceEdit()->text();
        shownSlot = dialog->slotList()->currentIndex();
        dialog->accept();
    });
    answer.start(5);
    ASSERT_TRUE(Drop({"list.dat"}, Over(Slot(FileKind::Data, 4))));
    EXPECT_EQ(shownPath, Path("list.dat"));
    EXPECT_EQ(shownSlot, 3);
    EXPECT_EQ(QFile(Path("printer/slots/DAT/04.data")).size(), 32);
    EXPECT_EQ(Stored("DataUploadPath").toString(), Path("list.dat"));
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"Data file transfer successful!"});
}

}  // namespace
