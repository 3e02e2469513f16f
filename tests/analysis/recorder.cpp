#include "tests/analysis/recorder.h"

#include <QEventLoop>
#include <QTimer>

namespace analysis {

using steady = std::chrono::steady_clock;

bool recorder::serverreachable() {
    QProcess pactl;
    pactl.start("pactl", {"info"});
    if (!pactl.waitForFinished(3000)) {
        pactl.kill();
        pactl.waitForFinished(1000);
        return false;
    }
    return pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0;
}

bool recorder::start() {
    QObject::connect(&parec, &QProcess::readyReadStandardOutput, [this] { take(); });
    parec.start("parec", {"-d", "@DEFAULT_MONITOR@", "--rate=" + QString::number(rate),
                          "--channels=1", "--format=s16le", "--latency-msec=5", "--raw"});
    if (!parec.waitForStarted(3000))
        return false;
    for (int i = 0; i < 40 && data.size() < std::size_t(rate / 10); ++i)
        collect(std::chrono::milliseconds(50));
    return data.size() >= std::size_t(rate / 10);
}

void recorder::collect(std::chrono::milliseconds time) {
    QEventLoop loop;
    QTimer::singleShot(int(time.count()), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void recorder::stop() {
    if (parec.state() == QProcess::NotRunning)
        return;
    take();
    parec.terminate();
    if (!parec.waitForFinished(2000)) {
        parec.kill();
        parec.waitForFinished(1000);
    }
}

void recorder::take() {
    const auto now = steady::now();
    partial += parec.readAllStandardOutput();
    const qsizetype whole = partial.size() / 2 * 2;
    for (qsizetype i = 0; i < whole; i += 2)
        data.push_back(std::int16_t(
            std::uint16_t(std::uint8_t(partial[i]) | (std::uint8_t(partial[i + 1]) << 8))));
    partial.remove(0, whole);
    // Every sample arrives after it was played, so the earliest candidate origin is the best.
    const auto candidate = now - std::chrono::duration_cast<steady::duration>(
                                     std::chrono::duration<double>(double(data.size()) / rate));
    if (!haveorigin || candidate < origin) {
        origin = candidate;
        haveorigin = true;
    }
}

steady::time_point recorder::timeofsample(double index) const {
    return origin + std::chrono::duration_cast<steady::duration>(
                        std::chrono::duration<double>(index / rate));
}

} // namespace analysis
