// quarnel: converts PDF files to Word documents.
//
// The command line is applied once at start; the worker then converts the queued files. This
// build runs with the console window (messages on standard error, questions on a terminal) and
// ends when its queue is empty; the exit code is 0 when every document was written, 2 when one
// was not, and 1 for a usage error.
#include "convert/command_line.h"
#include "convert/console_window.h"
#include "convert/conversion_queue.h"
#include "convert/conversion_worker.h"

#include <clocale>
#include <cstdio>
#include <future>
#include <mutex>
#include <string>
#include <vector>

using namespace quarnel;

int main(int argc, char **argv)
{
    // The character set of the user's locale is the active code page; numbers stay in the C
    // locale, so nothing formatted by the program depends on the user's decimal separator.
    std::setlocale(LC_CTYPE, "");

    const std::vector<std::string> args(argv, argv + argc);
    convert::ConversionQueue queue;
    convert::CommandLineOptions options;
    if (convert::applyCommandLine(args, options, queue) == convert::StartAction::ShowUsageAndExit ||
        queue.empty()) {
        std::fputs(convert::usageText().c_str(), stderr);
        return 1;
    }

    convert::ConsoleWindow window;
    std::promise<bool> drained;
    std::once_flag drainedOnce; // nothing appends after start, but never set the promise twice
    convert::ConversionWorker worker(window, queue, {options.exitWhenDone, options.noWindow, options.overwrite},
                                     [&](bool allWritten) {
                                         std::call_once(drainedOnce, [&] { drained.set_value(allWritten); });
                                     });
    std::future<bool> allWritten = drained.get_future();
    worker.start();
    const bool ok = allWritten.get();
    worker.shutdown();
    return ok ? 0 : 2;
}
