#include "shell/messagebox.h"

#include "platform/codepage/cp1250.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>

namespace messagebox {
namespace {
std::function<void(const QString &)> &handler() {
    static std::function<void(const QString &)> h;
    return h;
}
} // namespace

void show(const std::string &text) { showtext(codepage::fromcp1250(text)); }

void showtext(const QString &text) {
    if (handler()) {
        handler()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void sethandler(std::function<void(const QString &)> h) { handler() = std::move(h); }

} // namespace messagebox

namespace processend {
namespace {
std::function<void(int)> &handler() {
    static std::function<void(int)> h;
    return h;
}
} // namespace

void endprocess(int code) {
    if (handler())
        handler()(code);
    // Files are closed by now (the memory image is saved before); leave without running the
    // handlers of windows that are still inside a nested wait.
    std::_Exit(code);
}

void sethandler(std::function<void(int)> h) { handler() = std::move(h); }

} // namespace processend
