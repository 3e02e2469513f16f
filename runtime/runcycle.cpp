#include "runtime/runcycle.h"

#include "runtime/runerror.h"

#include <QFile>
#include <memory>

runcycle::runcycle(hooks h, std::string datafile) : h(std::move(h)), datafile(std::move(datafile)) {}

void runcycle::StartsubmenuClick() {
    if (inrun)
        return;
    inrun = true;
    h.setmenus(false);
    // Released however the run ends: normally, by an error, or by an exception of a wait.
    struct release {
        runcycle &self;
        ~release() {
            self.inrun = false;
            self.h.setmenus(true);
        }
    } guard{*this};

    try {
        h.preparespeech();
        // The data file is held open for the run when present; no part of the game reads it.
        std::unique_ptr<QFile> data;
        if (QFile::exists(QString::fromStdString(datafile))) {
            data = std::make_unique<QFile>(QString::fromStdString(datafile));
            if (!data->open(QIODevice::ReadOnly | QIODevice::Text))
                throw runerror("Cannot open " + datafile + ": " + data->errorString().toStdString());
        }
        runstarted = true;
        h.resetrun();
        h.program();
        h.printready();
    } catch (const std::exception &e) {
        h.showerror(e.what());
    }
}
