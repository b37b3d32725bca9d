#pragma once
// Starts a program and waits for it, on posix_spawn and waitpid.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel::layout {

// Called with each line the child writes to its status pipe, without the line end, cut to 299
// bytes (the length the window's status text has always had).
using StatusLineHandler = std::function<void(const std::string &line)>;

// Runs argv[0] with the arguments argv[1..] (no shell, so blanks and quotes in paths need no
// escaping), with the caller's environment and current directory, and waits without time limit.
// With `onStatusLine`, the child inherits the write end of a pipe whose descriptor number is
// appended as the last argument; the lines it writes there reach `onStatusLine` while it runs,
// on the calling thread. Result: the exit code; 128 + the signal number when a signal ended it;
// -1 when argv is empty or the process cannot be started.
int runProcess(const std::vector<std::string> &argv, const StatusLineHandler &onStatusLine = {});

} // namespace quarnel::layout
