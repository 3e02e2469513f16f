#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

// Every plain message box of the application goes through here, so tests can answer it.
namespace messagebox {

// Shows text (Windows-1250) in a modal message box with an OK button.
void show(const std::string &text);
void showtext(const QString &text);

// Tests replace the box with a handler that records the text; nullptr restores the real box.
void sethandler(std::function<void(const QString &)> handler);

} // namespace messagebox

// Ending the process at once (Exit during a run, fatal start-up conditions). Tests replace it.
namespace processend {

[[noreturn]] void endprocess(int code);
void sethandler(std::function<void(int)> handler); // the handler must not return

} // namespace processend
