// bench_keywait: CPU used while a program polls takekeys in a loop with the product sounds off,
// as the train game does while it waits for a key. The whole application is built (main window
// shown, program started with the Start command), so the polling runs inside a real run.
// Prints CPU seconds, wall seconds, their ratio and the number of polls.
// Usage: bench_keywait [seconds] (default 10).

#include "shell/application.h"
#include "shell/mainwindow.h"
#include "shell/messagebox.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double cpuseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;

    // The application reads its data files from the current directory.
    QTemporaryDir folder;
    QFile::copy(QStringLiteral(VLAK_RUNDIR "/sounds.dat"), folder.filePath("sounds.dat"));
    QDir::setCurrent(folder.path());
    messagebox::sethandler([](const QString &text) {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    });

    application app(folder.filePath("vlak"), '.');
    app.sounds.zumirasounds = false;
    app.form1->show();

    long polls = 0;
    double cpu = 0, wall = 0;
    app.programentry = [&](zumcommands &rt) {
        using clock = std::chrono::steady_clock;
        const auto start = clock::now();
        const double cpustart = cpuseconds();
        const auto end = start + std::chrono::duration<double>(seconds);
        std::string key;
        while (clock::now() < end) {
            rt.takekeys(key);
            ++polls;
        }
        cpu = cpuseconds() - cpustart;
        wall = std::chrono::duration<double>(clock::now() - start).count();
    };
    app.form1->Startsubmenu->trigger();

    std::printf("takekeys polling, sounds off: %.3f CPU s / %.3f wall s = %.2f%% of a core, "
                "%ld polls (%.2f ms each)\n",
                cpu, wall, 100.0 * cpu / wall, polls, 1000.0 * wall / double(polls));
    return 0;
}
