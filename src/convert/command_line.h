#pragma once
// The command line: a fixed option table, its parser, the usage text, and what a start with
// options does (settings written, one job queued).
#include <string>
#include <vector>

namespace quarnel::convert {

class ConversionQueue;

struct CommandLineOptions {
    int firstPage = 0;       // -f; 0 together with lastPage 100000 means "no range"
    int lastPage = 100000;   // -l
    int zoom = -1;           // -z, stored when 50..200
    int charSpacing = -1;    // -b, stored when 0..200
    std::string source;      // -i, at most 259 characters
    std::string destination; // -o, at most 259 characters
    bool exitWhenDone = false;  // -q
    bool noWindow = false;      // -m
    bool overwrite = false;     // -r
    bool help = false;          // -h or -?
};

// Parses and consumes the options of `args` (args[0] is the program). Recognised options and their
// arguments are removed; "--" is removed and ends parsing; anything else is skipped and stays.
// Returns false when an integer option lacks a well-formed integer or a string option lacks its
// argument (parsing still goes on).
bool parseArguments(std::vector<std::string> &args, CommandLineOptions &options);

// The usage text, line ends included.
const std::string &usageText();

enum class StartAction { Continue, ShowUsageAndExit };

// Applies the command line once at start-up: with no options nothing happens; a bad command line
// or a help request asks for the usage text and exit code 1 without touching any setting;
// otherwise zoom, character spacing and page range are written to the settings and, when a
// source was given, one job is queued (destination from -o or -i with the extension ".doc").
StartAction applyCommandLine(const std::vector<std::string> &args, CommandLineOptions &options,
                             ConversionQueue &queue);

} // namespace quarnel::convert
