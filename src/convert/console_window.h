#pragma once
// The window of runs without a display: messages go to standard error, the page counter is shown
// on a terminal, and questions are asked on the terminal when standard input is one, otherwise
// answered Cancel, so nothing is ever overwritten without consent.
#include "platform/window_interface.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace quarnel::convert {

class ConsoleWindow final : public platform::WindowInterface {
public:
    // `in` and `err` default to the process's standard input and error.
    explicit ConsoleWindow(std::FILE *in = stdin, std::FILE *err = stderr);

    void setControlText(int controlId, const std::string &text) override;
    void setProgress(int, int) override {}
    void setButton(int, const std::string &, bool) override {}
    void setTitle(const std::string &) override {}
    void setVisible(bool) override {}
    void showMessage(const std::string &text) override;
    platform::Answer ask(const std::string &question) override;
    std::optional<std::string> askSavePath(const std::string &suggestedPath) override;
    void openDocument(const std::string &path) override;

private:
    std::string readLine();
    void endStatusLine();

    std::FILE *in_;
    std::FILE *err_;
    bool interactive_;    // standard input is a terminal
    bool statusOnTerminal_; // standard error is a terminal: show the page counter in place
    std::mutex lock_;
    std::string fileName_;
    bool statusShown_ = false;
};

} // namespace quarnel::convert
