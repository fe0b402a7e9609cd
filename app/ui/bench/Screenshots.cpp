// Renders the main window, its menus, the About box, the send and get dialogs,
// the file set dialogs, the progress window, the symbol browse dialog, the
// tree's slot menu and symbol preview (also in a scrolled tree), the window
// without a printer and the firmware dialogs to PNG files,
// for looking at the program without a display:
//   QT_QPA_PLATFORM=offscreen ui_screenshots OUTPUT_DIR
// The printer is a fresh virtual one and the settings a fresh store, both in a
// temporary folder.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileSystemModel>
#include <QListView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include <cstdio>
#include <cstdlib>

#include "AppIcons.h"
#include "AboutBox.h"
#include "CBitmapPreviewSource.h"
#include "CMainFrame.h"
#include "CGetFileDialog.h"
#include "CPleaseWaitDlg.h"
#include "CPreviewFileDialog.h"
#include "CQV7View.h"
#include "CPasswordDialog.h"
#include "CQuilloryApp.h"
#include "CSelectModelDialog.h"
#include "CSendFileDialog.h"
#include "FileDialogChoice.h"
#include "FileSetDialogs.h"
#include "MessageBoxPrompt.h"
#include "PlatformPaths.h"
#include "SettingsStore.h"
#include "SlotDialogForms.h"
#include "StringTable.h"
#include "SymbolFiles.h"
#include "SymbolSourceChooser.h"

namespace {

void Save(QWidget* widget, const QString& folder, const char* name) {
    QCoreApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (!widget->grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// The icons at the sizes they are drawn for, enabled and greyed, on one sheet.
void SaveIconSheet(const QString& folder) {
    const int ids[] = {quillory::ID_FILE_SEND_DATA,       quillory::ID_FILE_GET_DATA,   quillory::ID_FILE_SEND_LABEL,
                       quillory::ID_FILE_GET_LABEL,       quillory::ID_FILE_DOWNLOAD_SYMBOL,
                       quillory::ID_FILE_GET_SYMBOL,      quillory::ID_FIRMWARE_UPGRADE,
                       quillory::ID_FIRMWARE_GET_CURRENT, quillory::ID_APP_ABOUT};
    const int sizes[] = {16, 24, 48, 96};
    QPixmap sheet(10 * 100, 4 * 100 + 200);
    sheet.fill(QColor(0xef, 0xef, 0xef));
    QPainter painter(&sheet);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 9; ++column) {
            const QIcon icon = quillory::CommandIcon(ids[column]);
            painter.drawPixmap(column * 100 + 2, row * 100 + 2, icon.pixmap(sizes[row], sizes[row]));
        }
        painter.drawPixmap(900 + 2, row * 100 + 2, quillory::ApplicationIcon().pixmap(sizes[row], sizes[row]));
    }
    for (int column = 0; column < 9; ++column) {
        const QIcon icon = quillory::CommandIcon(ids[column]);
        painter.drawPixmap(column * 100 + 2, 402, icon.pixmap(24, 24, QIcon::Disabled));
        painter.drawPixmap(column * 100 + 2, 452, icon.pixmap(48, 48, QIcon::Disabled));
    }
    painter.end();
    sheet.save(folder + QLatin1String("/icons.png"));
}

// The browse dialog as the send dialog opens it, in the symbol folder with one
// sample selected.
void SaveSymbolBrowser(quillory::PromptPort& prompt, QWidget* parent, const QString& folder) {
    quillory::CBitmapPreviewSource source(prompt);
    quillory::CPreviewFileDialog dialog(
        &source, true, QStringLiteral("bmp"), QStringLiteral("*.bmp"),
        quillory::kHideReadOnly | quillory::kNoChangeDir | quillory::kPathMustExist | quillory::kFileMustExist,
        QStringLiteral("Bitmap Files (*.bmp)|*.bmp|"), parent);
    dialog.setWindowTitle(quillory::LoadString(quillory::IDS_SELECT_SOURCE_FILE));
    dialog.setDirectory(quillory::PlatformPaths::SymbolFolder());
    dialog.resize(760, 420);
    dialog.show();
    auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    QElapsedTimer waited;
    waited.start();
    while (model->rowCount(list->rootIndex()) == 0 && waited.elapsed() < 5000) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    // As a click does: the name into the file name field, the file made current.
    const QString star =
        quillory::PlatformPaths::Join(quillory::PlatformPaths::SymbolFolder(), QStringLiteral("Star.bmp"));
    list->selectionModel()->setCurrentIndex(model->index(star),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Save(&dialog, folder, "symbol-browse.png");
}

// A click on a point of the tree, as the mouse makes it.
void ClickTree(quillory::CQV7View* view, const QPoint& at, Qt::MouseButton button) {
    const QPointF local(at);
    const QPointF global(view->viewport()->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &release);
}

// The main window with the pop-up menu that is open drawn over it where it
// pops up, its first item under the mouse.
void SaveWithPopup(QWidget* window, const QString& folder, const char* name) {
    QCoreApplication::processEvents();
    QPixmap shot = window->grab();
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        menu->setActiveAction(menu->actions().value(0));
        QCoreApplication::processEvents();
        shot = window->grab();
        QPainter painter(&shot);
        painter.drawPixmap(window->mapFromGlobal(menu->pos()), menu->grab());
        painter.end();
        menu->hide();
    }
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (!shot.save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// The tree with a data slot right-clicked: its menu open beside the slot.
void SaveSlotMenu(quillory::CQuilloryApp& application, const QString& folder) {
    quillory::CMainFrame* frame = application.mainFrame();
    quillory::CQV7View* view = frame->view();
    QTreeWidgetItem* slot = view->folderItem(quillory::FileKind::Data)->child(3);
    view->scrollToItem(slot);
    QCoreApplication::processEvents();
    ClickTree(view, view->visualItemRect(slot).center(), Qt::RightButton);
    SaveWithPopup(frame, folder, "main-slot-menu.png");
}

// The tree with symbol slot 3 clicked: fetched into the cache, drawn beside
// it, and its menu open.
void SaveTreePreview(quillory::CQuilloryApp& application, const QString& folder) {
    quillory::CMainFrame* frame = application.mainFrame();
    quillory::CQV7View* view = frame->view();
    QTreeWidgetItem* slot = view->folderItem(quillory::FileKind::Symbol)->child(2);
    view->scrollToItem(slot);
    QCoreApplication::processEvents();
    ClickTree(view, view->visualItemRect(slot).center(), Qt::LeftButton);
    SaveWithPopup(frame, folder, "main-symbol-preview.png");
}

// The tree in the first window's size, scrolled to the symbol slots, with
// symbol slot 3 clicked as the last row in view: the preview moved into the
// viewport above the click. The slot's menu is left out, so the preview shows
// whole.
void SaveScrolledTreePreview(quillory::CQuilloryApp& application, const QString& folder) {
    quillory::CMainFrame* frame = application.mainFrame();
    quillory::CQV7View* view = frame->view();
    frame->resize(quillory::kDefaultWindowWidth, quillory::kDefaultWindowHeight);
    for (auto kind : {quillory::FileKind::Data, quillory::FileKind::Label, quillory::FileKind::Symbol}) {
        view->folderItem(kind)->setExpanded(true);
    }
    // The symbol is fetched afresh, as after any scroll.
    view->ErasePreview();
    QTreeWidgetItem* slot = view->folderItem(quillory::FileKind::Symbol)->child(2);
    view->scrollToItem(slot, QAbstractItemView::PositionAtBottom);
    QCoreApplication::processEvents();
    ClickTree(view, view->visualItemRect(slot).center(), Qt::LeftButton);
    if (QWidget* menu = QApplication::activePopupWidget()) menu->hide();
    Save(frame, folder, "main-symbol-preview-scrolled.png");
}

// The first window on a computer where no printer can be found: the tree
// says why and what to try.
void SaveNoPrinter(quillory::PromptPort& prompt, quillory::FileChoicePort& files, const QString& printerFolder,
                   const QString& folder) {
    QDir().mkpath(printerFolder);
    QFile faults(printerFolder + QLatin1String("/faults.txt"));
    if (!faults.open(QIODevice::WriteOnly) || faults.write("no-device\n") < 0) return;
    faults.close();
    {
        quillory::CQuilloryApp application(prompt, files);
        application.InitInstance();
        Save(application.mainFrame(), folder, "main-no-printer.png");
    }
    faults.remove();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Usage: ui_screenshots OUTPUT_DIR\n", stderr);
        return 2;
    }
    QTemporaryDir scratch;
    setenv("QUILLORY_DEVICE", qPrintable(QLatin1String("virtual:") + scratch.filePath(QStringLiteral("printer"))), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(scratch.filePath(QStringLiteral("config"))), 1);
    setenv("XDG_DATA_HOME", qPrintable(scratch.filePath(QStringLiteral("data"))), 1);
    setenv("XDG_CACHE_HOME", qPrintable(scratch.filePath(QStringLiteral("cache"))), 1);

    QApplication qtApplication(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    SaveIconSheet(out);

    quillory::MessageBoxPrompt prompt;
    quillory::FileDialogChoice files;
    SaveNoPrinter(prompt, files, scratch.filePath(QStringLiteral("printer")), out);
    quillory::CQuilloryApp application(prompt, files);
    application.InitInstance();
    quillory::CMainFrame* frame = application.mainFrame();
    Save(frame, out, "main.png");

    frame->view()->folderItem(quillory::FileKind::Data)->setExpanded(true);
    Save(frame, out, "main-data-expanded.png");
    frame->resize(520, 640);
    frame->view()->folderItem(quillory::FileKind::Symbol)->setExpanded(true);
    Save(frame, out, "main-wide.png");

    for (QAction* menuAction : frame->menuBar()->actions()) {
        QMenu* menu = menuAction->menu();
        menu->popup(frame->mapToGlobal(QPoint(0, 0)));
        Save(menu, out, qPrintable(QStringLiteral("menu-%1.png").arg(menuAction->text().remove(QLatin1Char('&')))));
        menu->hide();
    }

    quillory::AboutBox about(frame);
    about.show();
    Save(&about, out, "about.png");
    about.hide();

    // The slot dialogs as a slot menu opens them: its slot selected in the tree.
    frame->view()->setCurrentItem(frame->view()->folderItem(quillory::FileKind::Data)->child(1));
    quillory::GetFileForm getForm(application.printerService(), prompt, quillory::FileKind::Data,
                                  quillory::PlatformPaths::DriveRoot());
    quillory::CGetFileDialog get(getForm, *frame->view(), frame);
    get.show();
    Save(&get, out, "get-file.png");
    get.hide();

    frame->view()->setCurrentItem(frame->view()->folderItem(quillory::FileKind::Symbol)->child(2));
    quillory::SendFileForm sendForm(prompt, quillory::FileKind::Symbol,
                                    quillory::PlatformPaths::SymbolFolderWithSeparator());
    quillory::CSendFileDialog send(sendForm, *frame->view(), files, quillory::MakeSymbolSourceChooser(prompt, files),
                                   frame);
    send.show();
    Save(&send, out, "send-file.png");
    send.hide();

    quillory::CPleaseWaitDlg wait(QStringLiteral("Initializing label file transfer..."),
                                  QStringLiteral("Receiving label file Label07.qv7..."), frame);
    wait.Open();
    wait.Report(393216, 1048576);
    Save(&wait, out, "progress.png");
    wait.Close();

    quillory::SendFileSetForm sendSetForm(prompt, QStringLiteral("/home/user/labels/allFiles.fsd"));
    quillory::CSendFileSetDialog sendSet(sendSetForm, files, frame);
    sendSet.show();
    Save(&sendSet, out, "send-file-set.png");
    sendSet.hide();

    quillory::GetAllFilesForm getAllForm(prompt, quillory::PlatformPaths::DriveRoot());
    quillory::CGetAllFilesDialog getAll(getAllForm, nullptr);
    getAll.show();
    Save(&getAll, out, "get-file-set.png");
    getAll.hide();

    SaveSymbolBrowser(prompt, frame, out);
    SaveSlotMenu(application, out);
    SaveTreePreview(application, out);
    SaveScrolledTreePreview(application, out);

    quillory::CSelectModelDialog model(prompt);
    model.show();
    Save(&model, out, "select-model.png");
    model.hide();

    quillory::CPasswordDialog password(prompt);
    password.show();
    password.passwordEdit()->setText(QStringLiteral("mirabel"));
    Save(&password, out, "password.png");
    return 0;
}
