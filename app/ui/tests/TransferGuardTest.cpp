// What the program allows while a transfer runs: the transfer pumps events
// after every chunk, and the user acts from inside that pump.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QProgressBar>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <functional>

#include "FirmwareOperations.h"
#include "CPleaseWaitDlg.h"
#include "CPrinterService.h"
#include "MessageBoxPrompt.h"
#include "PlatformPaths.h"
#include "ProgramFixture.h"
#include "ProgressWindow.h"
#include "ScriptedDriver.h"
#include "ScriptedFirmwareChoices.h"
#include "StringTable.h"

namespace {

using namespace quillory;
using quillorytest::RunningProgramTest;

class DuringATransfer : public RunningProgramTest {
protected:
    // Runs the operation with `during` run once from inside the first
    // transfer's event pump, once its window is up and the first bytes have
    // moved.
    void During(const std::function<void()>& operation, const std::function<void()>& during) {
        bool ran = false;
        // Gone with this function, so it cannot fire later into a finished test.
        QTimer pumpAction;
        pumpAction.setSingleShot(true);
        QObject::connect(&pumpAction, &QTimer::timeout, [&] {
            auto* window = dynamic_cast<CPleaseWaitDlg*>(ProgressWindow::Current());
            if (!window || !window->isVisible() || window->progressControl()->value() == 0) {
                pumpAction.start(0);
                return;
            }
            EXPECT_TRUE(app->printerService().IsTransferInProgress());
            during();
            ran = true;
        });
        pumpAction.start(0);
        operation();
        EXPECT_TRUE(ran) << "the transfer never let the program act";
    }
    // Receives label slot 1 that way; true when the file came across.
    bool ReceiveLabel(const std::function<void()>& during) {
        bool received = false;
        During([&] { received = app->printerService().ReceiveLabelFile(1, Path("label.qv7"), frame()); }, during);
        return received;
    }

    bool Enabled(int commandId) const { return frame()->action(commandId)->isEnabled(); }

};

TEST_F(DuringATransfer, GuardedCommandsAreDisabledUntilItEndsAndHelpSaysWhatIsMissingWithoutABox) {
    const int guarded[] = {ID_APP_EXIT, ID_VIEW_REFRESH, ID_FIRMWARE_UPGRADE, ID_FILE_SEND_DATA};
    PlatformRoots nothingInstalled;
    nothingInstalled.installPrefix = Path("prefix");
    PlatformPaths::SetRoots(nothingInstalled);
    QStringList said;
    ASSERT_TRUE(ReceiveLabel([&] {
        for (int id : guarded) EXPECT_FALSE(Enabled(id)) << id;
        for (int id : {ID_HELP_READ_ME, ID_CONTEXT_HELP}) {
            EXPECT_TRUE(Enabled(id)) << id;
            frame()->SendCommand(id);
            said << frame()->statusBar()->currentMessage();
        }
    }));
    PlatformPaths::SetRoots({});
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(said.size(), 2);
    for (const QString& text : said) EXPECT_TRUE(text.contains(Path("prefix/"))) << text.toStdString();
    QCoreApplication::processEvents();
    for (int id : guarded) EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(DuringATransfer, AQuitTakesEffectOnlyAfterIt) {
    ASSERT_TRUE(ReceiveLabel([&] { QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit)); }));
    EXPECT_TRUE(frame()->isVisible()) << "the transfer ran to its end";
    EXPECT_TRUE(prompt.shown.empty()) << "a held-back quit does not ask the window to close";
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame()->isVisible()) << "the quit was passed on after the transfer";

    // Until the application's own loop has run, a quit keeps every later
    // modal loop in this process from starting.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

// Real message boxes, answered by a user, noting those that opened while a
// transfer ran.
class WatchedMessageBoxes : public MessageBoxPrompt {
public:
    explicit WatchedMessageBoxes(CQuilloryApp*& app) : app_(app) {}
    MessageAnswer ShowMessage(const QString& text, MessageIcon icon, MessageButtons buttons) override {
        texts << text;
        if (app_->printerService().IsTransferInProgress()) openedDuringTransfer << text;
        return MessageBoxPrompt::ShowMessage(text, icon, buttons);
    }
    QStringList texts;
    QStringList openedDuringTransfer;

private:
    CQuilloryApp*& app_;
};

class WithRealBoxes : public DuringATransfer {
protected:
    void SetUp() override {
        DuringATransfer::SetUp();  // the first run seeds the printer
        app.reset();
        // A megabyte keeps the transfer going long enough for a box to get in its way.
        WritePrinterFile("slots/QV7/01.data", QByteArray(1 << 20, 'q'));
        app = std::make_unique<CQuilloryApp>(boxes, files);
        running = app.get();
        ASSERT_TRUE(app->InitInstance());
        QObject::connect(&user, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
        });
        user.start(5);
    }

    CQuilloryApp* running = nullptr;
    WatchedMessageBoxes boxes{running};
    QTimer user;
};

TEST_F(DuringATransfer, ATreeClickOpensNoMenuAndFetchesNothingAndADropIsRefused) {
    int menus = 0;
    view()->SetMenuPresenter([&](QMenu*, const QPoint&) { ++menus; });
    folderItem(FileKind::Data)->setExpanded(true);
    folderItem(FileKind::Symbol)->setExpanded(true);
    auto slotPoint = [&](FileKind kind) { return view()->visualItemRect(folderItem(kind)->child(2)).center(); };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path("list.dat"))});
    bool dragAccepted = true;
    ASSERT_TRUE(ReceiveLabel([&] {
        QTest::mouseClick(view()->viewport(), Qt::RightButton, Qt::NoModifier, slotPoint(FileKind::Data));
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, slotPoint(FileKind::Symbol));
        QDragEnterEvent enter(slotPoint(FileKind::Data), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view()->viewport(), &enter);
        dragAccepted = enter.isAccepted();
    }));
    EXPECT_EQ(menus, 0);
    EXPECT_TRUE(view()->previewedItemText().isEmpty());
    EXPECT_FALSE(dragAccepted);
    EXPECT_TRUE(prompt.shown.empty());

    QCoreApplication::processEvents();
    QTest::mouseClick(view()->viewport(), Qt::RightButton, Qt::NoModifier, slotPoint(FileKind::Data));
    EXPECT_EQ(menus, 1) << "after the transfer the menu is back";
}

TEST_F(WithRealBoxes, ClosingIsRefusedWithABoxThatNeverOpensInsideTheTransfersPump) {
    EXPECT_TRUE(ReceiveLabel([&] {
        EXPECT_FALSE(frame()->close());
        frame()->SendCommand(ID_APP_EXIT);
        EXPECT_TRUE(frame()->isVisible());
    }));
    EXPECT_EQ(QFile(Path("label.qv7")).size(), 1 << 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !boxes.texts.isEmpty(); }, 5000));
    EXPECT_EQ(boxes.texts.size(), 1) << "Exit is disabled, so only the close request reaches the guard";
    EXPECT_TRUE(boxes.openedDuringTransfer.isEmpty());
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_TRUE(frame()->close()) << "after the transfer the window closes";
}

TEST_F(WithRealBoxes, AClosingRefusedDuringTheBackupIsToldWhenTheUpgradeAfterItEnds) {
    // The backup and the upgrade each hold the busy flag and each end with a
    // box of their own, opened while they still hold it.
    qputenv("QUILLORY_FIRMWARE_DIR", Path("images").toUtf8());
    Write(Path("images/QV7E_200.bin"), QByteArray(kFirmwareImageSize200, 'E'));
    quillorytest::ScriptedFirmwareChoices choices;
    choices.model = kModelQV7E;
    frame()->firmware().SetChoices(choices);

    const QByteArray seeded = Read(Path("printer/firmware.bin"));
    During([&] { frame()->SendCommand(ID_FIRMWARE_UPGRADE); }, [&] { EXPECT_FALSE(frame()->close()); });
    qunsetenv("QUILLORY_FIRMWARE_DIR");
    EXPECT_EQ(Read(Path("data/Quillory/QV7_200_BK.bin")), seeded);
    EXPECT_EQ(Read(Path("printer/firmware.bin")), QByteArray(kFirmwareImageSize200, 'E'));
    const QString refusal = "Cannot close Quillory while a transfer is in progress.";
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.texts.contains(refusal); }, 5000));
    EXPECT_FALSE(boxes.openedDuringTransfer.contains(refusal));
    EXPECT_TRUE(frame()->close()) << "both let go of the busy flag";
}

TEST_F(DuringATransfer, TheWindowOutlivesAParentThatGoesUnderIt) {
    auto* parent = new QWidget;
    parent->show();
    QTimer::singleShot(0, parent, [parent] { delete parent; });
    EXPECT_TRUE(app->printerService().ReceiveLabelFile(1, Path("label.qv7"), parent));
}

// The window on its own, fed as TransferProgress feeds it.
class PleaseWaitWindow : public RunningProgramTest {};

TEST_F(PleaseWaitWindow, ScalesATotalPastAnIntAndCannotBeClosedByTheUser) {
    CPleaseWaitDlg window("Initializing data file transfer...", "Sending data file STOCK.dat...", frame());
    window.Open();
    // A 3 GiB total is more than the bar's int holds: the bar is scaled, not wrapped.
    TransferProgress(0xC0000000u, 0xC0000000u);
    EXPECT_GT(window.progressControl()->maximum(), 0);
    EXPECT_EQ(window.progressControl()->value(), window.progressControl()->maximum());

    QCloseEvent close;
    QCoreApplication::sendEvent(&window, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_TRUE(window.isVisible());

    window.Close();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(PleaseWaitWindow, CatchesUpWithTheReportsAndTheUserOnlyOnceTheIntervalHasPassed) {
    qv7test::SteppingClock clock(0);
    CPleaseWaitDlg window("Initializing label file transfer...", "Receiving label file LABEL.qv7...", frame());
    window.Open();
    auto bar = [&] { return window.progressControl()->value(); };
    int answered = 0;  // what the user asked of the program meanwhile, done
    TransferProgress(0, 4096);
    QMetaObject::invokeMethod(qApp, [&] { ++answered; }, Qt::QueuedConnection);

    TransferProgress(16, 4096);
    clock.Advance(CPleaseWaitDlg::kCatchUpIntervalMs - 1);
    TransferProgress(32, 4096);
    EXPECT_EQ(bar(), 0);
    EXPECT_EQ(answered, 0);
    clock.Advance(1);
    TransferProgress(48, 4096);
    EXPECT_EQ(bar(), 48);
    EXPECT_EQ(answered, 1);

    // A transfer that stops short leaves its last report on the bar.
    TransferProgress(64, 4096);
    EXPECT_EQ(bar(), 48);
    window.Close();
    EXPECT_EQ(bar(), 64);
}

}  // namespace
