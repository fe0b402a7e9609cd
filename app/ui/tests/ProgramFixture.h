// The real program against a virtual printer in a temporary folder, with its
// settings, data and cache folders there too. Message boxes and file choices
// are answered from scripts; a test may stop and start the program again.
#ifndef QUILLORY_TESTS_PROGRAM_FIXTURE_H
#define QUILLORY_TESTS_PROGRAM_FIXTURE_H

#include <QApplication>
#include <QTimer>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "CMainFrame.h"
#include "CQV7View.h"
#include "CQuilloryApp.h"
#include "ScriptedFileChoice.h"
#include "VirtualPrinterService.h"

namespace quillorytest {

class ProgramTest : public PrinterFolderTest {
protected:
    void SetUp() override {
        PrinterFolderTest::SetUp();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Path("config"));
        qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
        qputenv("XDG_DATA_HOME", Path("data").toUtf8());
        qputenv("XDG_CACHE_HOME", Path("cache").toUtf8());
        qunsetenv("QUILLORY_TRACE");
    }

    void TearDown() override {
        app.reset();
        PrinterFolderTest::TearDown();
    }

    void Start() {
        app = std::make_unique<quillory::CQuilloryApp>(prompt, files);
        ASSERT_TRUE(app->InitInstance());
    }

    // Closes the window as the user would, ends the run, and starts afresh.
    void Restart() {
        frame()->close();
        app.reset();
        Start();
    }

    // A value of the "Settings" section as the store holds it after the run.
    QVariant Stored(const char* name) const {
        QSettings settings(QStringLiteral("Orvale"), QStringLiteral("Quillory"));
        return settings.value(QLatin1String("Settings/") + QLatin1String(name));
    }

    void Store(const char* name, const QVariant& value) const {
        QSettings settings(QStringLiteral("Orvale"), QStringLiteral("Quillory"));
        settings.setValue(QLatin1String("Settings/") + QLatin1String(name), value);
    }

    void WritePrinterFile(const char* name, const QByteArray& text) const {
        Write(Path("printer/") + QLatin1String(name), text);
    }

    // How often the program looked for the printer, by the trace in trace.txt.
    int DeviceSearches() const { return static_cast<int>(Read(Path("trace.txt")).count("find ")); }

    // Acts on the dialog once it is the modal window, from inside its loop.
    template <typename Dialog>
    void WhenOpen(std::function<void(Dialog&)> act) {
        auto* poll = new QTimer(frame());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                act(*dialog);
            }
        });
        poll->start(1);
    }

    quillory::CMainFrame* frame() const { return app->mainFrame(); }
    quillory::CQV7View* view() const { return frame()->view(); }
    QTreeWidgetItem* folderItem(quillory::FileKind kind) const { return view()->folderItem(kind); }

    RecordingPrompt prompt;
    ScriptedFileChoice files;
    std::unique_ptr<quillory::CQuilloryApp> app;
};

// The program, started before each test.
class RunningProgramTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start();
    }
};

}  // namespace quillorytest

#endif
