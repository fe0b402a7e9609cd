// A test's temporary folder, with the virtual printer and the user's settings
// in it; and the printer service over that printer, with the home folder there
// too and prompts and windows recorded.
#ifndef QUILLORY_TESTS_VIRTUAL_PRINTER_SERVICE_H
#define QUILLORY_TESTS_VIRTUAL_PRINTER_SERVICE_H

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "CPrinterService.h"
#include "PlatformPaths.h"
#include "ScriptedPorts.h"
#include "SettingsStore.h"

namespace quillorytest {

class PrinterFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Path("config"));
        qputenv("QUILLORY_DEVICE", ("virtual:" + Path("printer")).toUtf8());
        qunsetenv("QUILLORY_MACHINE_SETTINGS");
    }
    // Nothing may point into the folder once it is gone.
    void TearDown() override {
        qunsetenv("QUILLORY_DEVICE");
        qunsetenv("QUILLORY_MACHINE_SETTINGS");
    }

    QString Path(const QString& name) const { return scratch.filePath(name); }
    // A file's bytes, or "<missing>".
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // The machine-wide settings: a file in the folder holding `text`.
    void MachineSettingsFile(const QByteArray& text) const {
        qputenv("QUILLORY_MACHINE_SETTINGS", Path("machine.conf").toUtf8());
        Write(Path("machine.conf"), text);
    }
    // A slot of the virtual printer: its stored bytes, or a file stored in it.
    QByteArray SlotBytes(const char* type, int slot) const { return Read(SlotStem(type, slot) + ".data"); }
    void StoreSlot(const char* type, int slot, const QByteArray& name, const QByteArray& bytes) const {
        Write(SlotStem(type, slot) + ".name", name + "\n");
        Write(SlotStem(type, slot) + ".data", bytes);
    }
    QString SlotStem(const char* type, int slot) const {
        return Path(QStringLiteral("printer/slots/%1/%2").arg(type).arg(slot, 2, 10, QChar('0')));
    }

    QTemporaryDir scratch;
};

class VirtualPrinterService : public PrinterFolderTest {
protected:
    void SetUp() override {
        PrinterFolderTest::SetUp();
        quillory::PlatformPaths::SetRoots({Path("home"), {}, {}, {}});
        QDir().mkpath(Path("home"));
        settings = std::make_unique<quillory::SettingsStore>("Orvale", "Quillory");
        ASSERT_TRUE(service.RebuildCatalog());
    }
    void TearDown() override {
        quillory::PlatformPaths::SetRoots({});
        PrinterFolderTest::TearDown();
    }

    RecordingPrompt prompt;
    RecordingProgressWindows windows;
    quillory::CPrinterService service{prompt, windows};
    std::unique_ptr<quillory::SettingsStore> settings;
};

}  // namespace quillorytest

#endif
