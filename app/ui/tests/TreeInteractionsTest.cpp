// The tree's clicks, symbol preview on click and files dropped
// from the desktop, on the real program offscreen.
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>

#include "BitmapFiles.h"
#include "CSendFileDialog.h"
#include "ProgramFixture.h"
#include "SlotDialogPort.h"
#include "StringTable.h"

namespace {

using namespace quillory;

// Send dialogs that note the kind, file and the tree's selected slot each
// opens with, then press OK for slot 5.
class AnsweringSlotDialogs : public SlotDialogPort {
public:
    explicit AnsweringSlotDialogs(const CQV7View& tree) : tree_(tree) {}
    bool RunGetDialog(GetFileForm& form, QWidget*) override {
        opened << QStringLiteral("get %1").arg(int(form.kind()));
        return false;
    }
    bool RunSendDialog(SendFileForm& form, QWidget*) override {
        FileKind kind;
        uint8_t selected = 0;
        CQV7View::SlotOf(tree_.currentItem(), &kind, &selected);
        opened << QStringLiteral("send %1 %2 %3")
                      .arg(int(form.kind()))
                      .arg(QFileInfo(form.sourcePath()).fileName())
                      .arg(selected);
        return form.Accept(form.sourcePath(), 5, nullptr);
    }
    QStringList opened;

private:
    const CQV7View& tree_;
};

class TreeInteractions : public quillorytest::RunningProgramTest {
protected:
    void SetUp() override {
        RunningProgramTest::SetUp();
        frame()->resize(640, 640);
        for (FileKind kind : {FileKind::Data, FileKind::Label, FileKind::Symbol}) folderItem(kind)->setExpanded(true);
        view()->SetMenuPresenter([this](QMenu*, const QPoint&) { ++menus; });
    }

    QTreeWidgetItem* Slot(FileKind kind, int slot) const { return folderItem(kind)->child(slot - 1); }
    QPoint At(QTreeWidgetItem* item) const {
        view()->scrollToItem(item);
        return view()->visualItemRect(item).center();
    }
    void Click(const QPoint& at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(view()->viewport(), button, Qt::NoModifier, at);
    }

    // Drags files over a point and drops them there if the drag is taken.
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
        QCoreApplication::processEvents();
        return true;
    }

    int menus = 0;
};

TEST_F(TreeInteractions, ASymbolClickFetchesItsSlotOnceAndAnEmptySlotNothing) {
    qputenv("QUILLORY_TRACE", Path("trace.txt").toUtf8());
    folderItem(FileKind::Data)->setExpanded(false);
    folderItem(FileKind::Label)->setExpanded(false);
    const QPoint at = At(Slot(FileKind::Symbol, 3));  // "(Slot 3)  Btmap03.bmp"

    Click(at);
    Click(at, Qt::RightButton);
    EXPECT_EQ(DeviceSearches(), 1);
    EXPECT_EQ(menus, 2);

    Click(At(Slot(FileKind::Symbol, 10)));  // "(Slot 10)  <empty slot>"
    EXPECT_EQ(DeviceSearches(), 1);
    EXPECT_TRUE(view()->previewedItemText().isEmpty());
}

TEST_F(TreeInteractions, TheSymbolPreviewStaysInsideTheViewportAndGoesWhenTheRowsMove) {
    const quillorytest::Bytes bmp = quillorytest::Bmp{150, 150, 1, quillorytest::BlackAndWhite()}.File();
    WritePrinterFile("slots/MAP/03.data", QByteArray(reinterpret_cast<const char*>(bmp.data()), int(bmp.size())));
    frame()->resize(345, 480);
    folderItem(FileKind::Data)->setExpanded(false);
    folderItem(FileKind::Label)->setExpanded(false);
    QTreeWidgetItem* slot3 = Slot(FileKind::Symbol, 3);
    // Drawn whole inside the viewport: black at its four corners.
    auto drawnInside = [this] {
        const QRect area = view()->previewArea();
        const QImage seen = view()->viewport()->grab().toImage();
        return area.size() == QSize(112, 112) && view()->viewport()->rect().contains(area) &&
               seen.pixel(area.topLeft()) == qRgb(0, 0, 0) && seen.pixel(area.bottomRight()) == qRgb(0, 0, 0) &&
               seen.pixel(area.topRight()) == qRgb(0, 0, 0) && seen.pixel(area.bottomLeft()) == qRgb(0, 0, 0);
    };

    Click(At(slot3));
    EXPECT_TRUE(drawnInside());
    EXPECT_LT(view()->previewArea().left(), 250) << "x 250 would reach past the narrow window's edge";
    const QRect first = view()->previewArea();
    // The label slots push the symbol slots down: the preview must not stay behind.
    folderItem(FileKind::Label)->setExpanded(true);
    EXPECT_TRUE(view()->previewArea().isEmpty());
    EXPECT_EQ(view()->viewport()->grab().toImage().pixel(first.bottomRight()), qRgb(255, 255, 255));

    // Scrolled to slot 3 as the last row in view: the preview rises no
    // lower than the viewport's bottom, and goes on the next scroll.
    Click(At(slot3));
    ASSERT_GT(view()->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(drawnInside());
    view()->verticalScrollBar()->setValue(view()->verticalScrollBar()->value() - 1);
    EXPECT_TRUE(view()->previewArea().isEmpty());
    // Meant to start above the top row, it starts at the top.
    view()->ShowPreviewAt(-40, true);
    EXPECT_TRUE(drawnInside());
    EXPECT_EQ(view()->previewArea().top(), 0);
}

TEST_F(TreeInteractions, DroppedFilesOpenTheirSendDialogsInTurnAndASingleOnePreselectsTheSlotUnderIt) {
    AnsweringSlotDialogs dialogs(*view());
    frame()->SetSlotDialogs(&dialogs);
    EXPECT_FALSE(Drop({"LIST.DAT"}, At(Slot(FileKind::Data, 4))));
    EXPECT_FALSE(Drop({"list.dat", "logo.bmp"}, At(Slot(FileKind::Data, 4))));
    ASSERT_TRUE(Drop({"list.dat"}, At(Slot(FileKind::Label, 3))));
    ASSERT_TRUE(Drop({"list.dat", "shelf.qv7"}, At(Slot(FileKind::Data, 4))));
    ASSERT_TRUE(Drop({"shelf.qv7"}, At(Slot(FileKind::Label, 3))));
    view()->setCurrentItem(Slot(FileKind::Label, 2));
    frame()->SendCommand(ID_REPLACE_LABEL_FILE);
    frame()->SendCommand(ID_GET_SLOT_DATA_FILE);
    EXPECT_EQ(dialogs.opened, (QStringList{"send 0 list.dat 0", "send 0 list.dat 0", "send 1 shelf.qv7 0",
                                           "send 1 shelf.qv7 3", "send 1  2", "get 0"}));
    EXPECT_EQ(view()->currentItem(), Slot(FileKind::Label, 2)) << "no send went across: the tree stays";
    frame()->SetSlotDialogs(nullptr);

    QByteArray bytes(32, 'x');
    bytes[kDataFileMarkerOffset] = char(kDataFileMarker);
    WritePrinterFile("../list.dat", bytes);
    QStringList shown;
    WhenOpen<CSendFileDialog>([&](CSendFileDialog& dialog) {
        shown << dialog.sourceEdit()->text() << dialog.slotList()->currentText();
        dialog.accept();
    });
    ASSERT_TRUE(Drop({"list.dat"}, At(Slot(FileKind::Data, 4))));
    EXPECT_EQ(shown, (QStringList{Path("list.dat"), "(Slot 4)  <empty slot>"}));
    EXPECT_EQ(QFile(Path("printer/slots/DAT/04.data")).size(), 32);
    EXPECT_TRUE(view()->selectedItems().isEmpty()) << "the tree was read afresh";
}

}  // namespace
