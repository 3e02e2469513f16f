#pragma once

#include "shell/application.h"
#include "shell/mainwindow.h"
#include "shell/messagebox.h"

#include <QDir>
#include <QTemporaryDir>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>
#include <gtest/gtest.h>
#include <memory>

// An application built in a folder of its own: the settings file beside a pretend executable
// there, and the data files in the same folder as the current directory. Message boxes are
// recorded instead of shown.
class apptest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        messagebox::sethandler([this](const QString &text) { messages << text; });
        QFile::copy(QStringLiteral(VLAK_RUNDIR "/sounds.dat"), folder.filePath("sounds.dat"));
    }
    void TearDown() override {
        app.reset();
        messagebox::sethandler(nullptr);
        QDir::setCurrent(previous);
    }
    application &start(char separator = '.') {
        app = std::make_unique<application>(folder.filePath("vlak"), separator);
        return *app;
    }
    // Shows the main window and makes it the active one, so its shortcuts take keys.
    void showwindow() {
        app->form1->show();
        app->form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(app->form1.get()));
    }
    QString path(const char *name) const { return folder.filePath(name); }
    void writefile(const char *name, const QByteArray &bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readfile(const char *name) {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList rows() const { return app->form1->screentext().split(QLatin1Char('\n')); }

    QTemporaryDir folder;
    QString previous;
    QStringList messages;
    std::unique_ptr<application> app;
};

// Runs steps against the modal dialog of type D once the command that follows shows it.
template <class D> void whenmodal(std::function<void(D &)> steps) {
    QTimer::singleShot(0, [steps] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        // The offscreen platform activates the dialog's window without telling the widgets.
        QApplication::setActiveWindow(dialog);
        steps(*dialog);
    });
}

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
