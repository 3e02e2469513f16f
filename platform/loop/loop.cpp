#include "platform/loop/loop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <thread>

namespace loop {

void processonce() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void waitwhile(const bool &flag) {
    processonce();
    while (flag)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void sleepms(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace loop
