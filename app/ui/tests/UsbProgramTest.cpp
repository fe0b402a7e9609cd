// Quillory on a printer on USB: the real main window, offscreen, reaching the
// emulated printer through libusb and the kernel's USB interface.
#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include "EmulatedUsbPrinter.h"
#include "PrinterPlugWatcher.h"
#include "ProgramFixture.h"
#include "StringTable.h"

namespace {

using namespace quillory;

class ProgramOverUsb : public quillorytest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        printer = std::make_unique<qv7test::EmulatedUsbPrinter>(Path("printer").toStdString(),
                                                                qv7::kHighSpeedBulkPacket);
        if (!printer->Unavailable().empty()) GTEST_SKIP() << printer->Unavailable();
        qv7test::ChooseEmulatedUsbPrinter();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        printer.reset();
        qv7test::ForgetEmulatedUsbPrinter();
    }

    std::unique_ptr<qv7test::EmulatedUsbPrinter> printer;
};

TEST_F(ProgramOverUsb, StartsAndRefreshesTheTreeAndGetsAndSendsAFile) {
    Start();
    ASSERT_NE(view()->rootItem(), nullptr) << view()->topLevelItem(0)->text(0).toStdString();
    EXPECT_EQ(folderItem(FileKind::Data)->child(0)->text(0), "(Slot 1)  PRICES.dat");
    frame()->SendCommand(ID_VIEW_REFRESH);
    EXPECT_EQ(view()->rootItem()->text(0), "Orvale QV7 Tandor");
    EXPECT_EQ(folderItem(FileKind::Label)->childCount(), 30);

    QDir().mkpath(Path("fetched"));
    // OK in the get and send dialogs: slot 1 into the folder, the file into slot 6.
    quillorytest::ScriptedSlotDialogs dialogs;
    dialogs.presses = {{Path("fetched"), 1}, {Path("fetched/PRICES.dat"), 6}};
    frame()->SetSlotDialogs(&dialogs);
    frame()->SendCommand(ID_FILE_GET_DATA);
    QCoreApplication::processEvents();  // the transfer's window closes, and the commands come back
    frame()->SendCommand(ID_FILE_SEND_DATA);
    frame()->SetSlotDialogs(nullptr);

    EXPECT_EQ(Read(Path("fetched/PRICES.dat")), Read(Path("printer/slots/DAT/01.data")));
    EXPECT_EQ(Read(Path("printer/slots/DAT/06.data")), Read(Path("fetched/PRICES.dat")));
    EXPECT_EQ(folderItem(FileKind::Data)->child(5)->text(0), "(Slot 6)  PRICES.dat");
    EXPECT_EQ(prompt.Texts(),
              (std::vector<std::string>{"Data file transfer successful!", "Data file transfer successful!"}));
}

TEST_F(ProgramOverUsb, PluggingThePrinterInOrOutReadsTheTreeByItselfOnceNoTransferHasThePrinter) {
    printer->Unplug();
    Start();
    if (!app->plugWatcher()->isWatching()) GTEST_SKIP() << "libusb tells of no plugging on this machine";
    ASSERT_EQ(view()->rootItem(), nullptr) << "the hints of a missing printer";
    ASSERT_TRUE(printer->PlugIn());
    ASSERT_TRUE(QTest::qWaitFor([this] { return view()->rootItem() != nullptr; }, 10000));
    EXPECT_EQ(folderItem(FileKind::Data)->child(0)->text(0), "(Slot 1)  PRICES.dat");

    QSignalSpy plugged(app->plugWatcher(), &PrinterPlugWatcher::printerPlugged);
    {
        TransferBusyGuard transfer(app->printerService());
        printer->Unplug();
        ASSERT_TRUE(plugged.wait(10000));
        EXPECT_FALSE(view()->rootItem()->isDisabled()) << "the tree is not read while a transfer has the printer";
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return view()->rootItem()->isDisabled(); }, 10000));
    EXPECT_EQ(view()->rootItem()->text(0), "Orvale QV7 Tandor (not refreshed: Invalid Device Instance)");
}

}  // namespace
