#include "convert/console_window.h"

#include "convert/messages.h"

#include <cctype>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace quarnel::convert {

ConsoleWindow::ConsoleWindow(std::FILE *in, std::FILE *err)
    : in_(in), err_(err), interactive_(::isatty(::fileno(in)) != 0), statusOnTerminal_(::isatty(::fileno(err)) != 0)
{
}

void ConsoleWindow::setControlText(int controlId, const std::string &text)
{
    std::lock_guard lock(lock_);
    if (controlId == control::FileName) {
        fileName_ = text;
    } else if (controlId == control::PageCounter && statusOnTerminal_ && !text.empty()) {
        std::fprintf(err_, "\r\033[K%s: %s", fileName_.c_str(), text.c_str());
        std::fflush(err_);
        statusShown_ = true;
    }
}

void ConsoleWindow::endStatusLine()
{
    if (statusShown_) {
        std::fputc('\n', err_);
        statusShown_ = false;
    }
}

void ConsoleWindow::showMessage(const std::string &text)
{
    std::lock_guard lock(lock_);
    endStatusLine();
    std::fprintf(err_, "quarnel: %s\n", text.c_str());
    std::fflush(err_);
}

std::string ConsoleWindow::readLine()
{
    std::string line;
    for (int c = std::fgetc(in_); c != EOF && c != '\n'; c = std::fgetc(in_))
        line.push_back(static_cast<char>(c));
    return line;
}

platform::Answer ConsoleWindow::ask(const std::string &question)
{
    std::lock_guard lock(lock_);
    endStatusLine();
    if (!interactive_) {
        std::fprintf(err_, "quarnel: %s [no terminal to ask: Cancel]\n", question.c_str());
        return platform::Answer::Cancel;
    }
    std::fprintf(err_, "%s [y]es/[n]o/[c]ancel: ", question.c_str());
    std::fflush(err_);
    const std::string answer = readLine();
    const int first = answer.empty() ? 'c' : std::tolower(static_cast<unsigned char>(answer[0]));
    return first == 'y' ? platform::Answer::Yes : first == 'n' ? platform::Answer::No : platform::Answer::Cancel;
}

std::optional<std::string> ConsoleWindow::askSavePath(const std::string &suggestedPath)
{
    std::lock_guard lock(lock_);
    if (!interactive_)
        return std::nullopt;
    std::fprintf(err_, "Save as (empty to cancel) [%s]: ", suggestedPath.c_str());
    std::fflush(err_);
    const std::string path = readLine();
    if (path.empty())
        return std::nullopt;
    return path;
}

void ConsoleWindow::openDocument(const std::string &path)
{
    // The desktop's opener, when there is one; a server without it simply opens nothing.
    const char *argv[] = {"xdg-open", path.c_str(), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char **>(argv), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
}

} // namespace quarnel::convert
