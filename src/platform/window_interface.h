#pragma once
// What the conversion worker may ask of the main window. The worker never touches widgets: the
// Qt window marshals each call onto its own thread, the console window answers on a terminal,
// and tests record the calls. Controls are addressed by their numeric ids (1012, 1017, ...).
#include <optional>
#include <string>

namespace quarnel::platform {

enum class Answer { Yes, No, Cancel };

class WindowInterface {
public:
    virtual ~WindowInterface() = default;

    virtual void setControlText(int controlId, const std::string &text) = 0;
    // A progress bar's position, 0..100.
    virtual void setProgress(int controlId, int percent) = 0;
    virtual void setButton(int controlId, const std::string &caption, bool enabled) = 0;
    virtual void setTitle(const std::string &title) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void showMessage(const std::string &text) = 0;
    // A Yes/No/Cancel question; blocks until answered.
    virtual Answer ask(const std::string &question) = 0;
    // A save-file dialog starting at `suggestedPath`; nothing when the user cancels.
    virtual std::optional<std::string> askSavePath(const std::string &suggestedPath) = 0;
    // Opens a finished document with the desktop's default program.
    virtual void openDocument(const std::string &path) = 0;
};

// A window that shows nothing and answers Cancel: for callers that run without one.
class NullWindow final : public WindowInterface {
public:
    void setControlText(int, const std::string &) override {}
    void setProgress(int, int) override {}
    void setButton(int, const std::string &, bool) override {}
    void setTitle(const std::string &) override {}
    void setVisible(bool) override {}
    void showMessage(const std::string &) override {}
    Answer ask(const std::string &) override { return Answer::Cancel; }
    std::optional<std::string> askSavePath(const std::string &) override { return std::nullopt; }
    void openDocument(const std::string &) override {}
};

} // namespace quarnel::platform
