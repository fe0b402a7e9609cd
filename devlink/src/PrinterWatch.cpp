#include <memory>

#include "QV7_Sys_API.h"
#include "qv7/DeviceDriver.h"

struct CQV7_PrinterWatch::Watch {
    std::unique_ptr<qv7::PlugWatch> plugging;
};

CQV7_PrinterWatch::CQV7_PrinterWatch() : watch(new Watch{qv7::WatchSelectedPrinter()}) {}

CQV7_PrinterWatch::~CQV7_PrinterWatch() {
    delete watch;
}

bool CQV7_PrinterWatch::IsWatching() const {
    return watch->plugging != nullptr;
}

std::vector<int> CQV7_PrinterWatch::WaitHandles() const {
    return watch->plugging ? watch->plugging->WaitHandles() : std::vector<int>();
}

bool CQV7_PrinterWatch::TakeChanges() {
    return watch->plugging && watch->plugging->TakeChanges();
}
