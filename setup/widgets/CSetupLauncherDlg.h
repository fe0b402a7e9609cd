// The launcher's one window. Every control of the system is made once; the
// logic says which are shown, enabled and worded, and the window follows.
#ifndef QUILLORY_SETUP_LAUNCHER_DLG_H
#define QUILLORY_SETUP_LAUNCHER_DLG_H

#include <QDialog>
#include <QTimer>
#include <map>

#include "SetupLauncher.h"

class QLabel;

namespace quillory::setup {

class QtSetupTimer : public SetupTimer {
public:
    QTimer& timer() { return timer_; }
    void Start(int periodMs) override { timer_.start(periodMs); }
    void Stop() override { timer_.stop(); }

private:
    QTimer timer_;
};

class CSetupLauncherDlg : public QDialog {
    Q_OBJECT
public:
    CSetupLauncherDlg(SetupHost& host, MessagePort& messages, QWidget* parent = nullptr);

    // The start-up steps; afterwards CloseRequested() tells whether to show at all.
    void Initialize();
    bool CloseRequested() const { return launcher_.CloseRequested(); }

    QWidget* Control(int controlId) const { return controls_.at(controlId); }
    QtSetupTimer& Timer() { return timer_; }

private:
    void CreateControls();
    void Press(int controlId);
    void ShowAbout();
    void ShowPageText(QLabel* label, const QString& text);
    void Sync();
    int PixelsX(int dialogUnits) const;
    int PixelsY(int dialogUnits) const;

    QtSetupTimer timer_;
    SetupLauncher launcher_;
    std::map<int, QWidget*> controls_;
};

class CSetupAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit CSetupAboutBox(QWidget* parent = nullptr);
};

}  // namespace quillory::setup

#endif
