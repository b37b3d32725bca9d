#pragma once
// A window for tests: records every call in order, as one line of text each, and answers
// questions from a script (Cancel when the script is empty). Safe to call from the worker
// thread while the test reads it.
#include "platform/window_interface.h"

#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace quarnel::testing {

class RecordingWindow final : public platform::WindowInterface {
public:
    void setControlText(int controlId, const std::string &text) override
    {
        record("text " + std::to_string(controlId) + " " + text);
    }
    void setProgress(int controlId, int percent) override
    {
        record("progress " + std::to_string(controlId) + " " + std::to_string(percent));
    }
    void setButton(int controlId, const std::string &caption, bool enabled) override
    {
        record("button " + std::to_string(controlId) + " " + caption + (enabled ? " enabled" : " disabled"));
    }
    void setTitle(const std::string &title) override { record("title " + title); }
    void setVisible(bool visible) override { record(visible ? "show" : "hide"); }
    void showMessage(const std::string &text) override { record("message " + text); }
    platform::Answer ask(const std::string &question) override
    {
        record("ask " + question);
        std::lock_guard lock(mutex_);
        if (answers_.empty())
            return platform::Answer::Cancel;
        const platform::Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    std::optional<std::string> askSavePath(const std::string &suggestedPath) override
    {
        record("save " + suggestedPath);
        std::lock_guard lock(mutex_);
        return std::exchange(savePath_, std::nullopt);
    }
    void openDocument(const std::string &path) override { record("open " + path); }

    // Answers for the next ask() calls, in order.
    void scriptAnswers(std::initializer_list<platform::Answer> answers)
    {
        std::lock_guard lock(mutex_);
        answers_.insert(answers_.end(), answers);
    }

    // The path the next save dialog returns (nothing: the dialog is cancelled).
    void scriptSavePath(std::optional<std::string> path)
    {
        std::lock_guard lock(mutex_);
        savePath_ = std::move(path);
    }

    void clear()
    {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }

    std::vector<std::string> calls() const
    {
        std::lock_guard lock(mutex_);
        return calls_;
    }

private:
    void record(std::string call)
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }

    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
    std::deque<platform::Answer> answers_;
    std::optional<std::string> savePath_;
};

} // namespace quarnel::testing
