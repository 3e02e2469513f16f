#include "platform/loop/loop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

namespace loop {

void processonce() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void waitwhile(const bool &flag) {
    processonce();
    while (flag)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void waitatmost(int milliseconds) {
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    timer.start(std::max(milliseconds, 0));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool waituntil(const std::function<bool()> &done, int timeoutms) {
    QDeadlineTimer deadline(timeoutms, Qt::PreciseTimer);
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    processonce();
    while (!done() && !deadline.hasExpired()) {
        if (!wake.isActive())
            wake.start(int(std::max<qint64>(1, deadline.remainingTime())));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

void sleepms(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace loop
