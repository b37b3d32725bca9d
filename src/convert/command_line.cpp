#include "convert/command_line.h"

#include "convert/conversion_queue.h"
#include "platform/path_parts.h"
#include "settings/setting_keys.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace quarnel::convert {
namespace {

enum class ArgumentKind { Flag, Integer, String };

struct ArgumentSpec {
    const char *option;
    ArgumentKind kind;
    int CommandLineOptions::*integer = nullptr;
    bool CommandLineOptions::*flag = nullptr;
    std::string CommandLineOptions::*text = nullptr;
    size_t bufferSize = 0; // string options keep at most bufferSize - 1 characters
};

// Searched from the top; the first match wins.
const ArgumentSpec ArgumentTable[] = {
    {"-f", ArgumentKind::Integer, &CommandLineOptions::firstPage},
    {"-l", ArgumentKind::Integer, &CommandLineOptions::lastPage},
    {"-z", ArgumentKind::Integer, &CommandLineOptions::zoom},
    {"-b", ArgumentKind::Integer, &CommandLineOptions::charSpacing},
    {"-i", ArgumentKind::String, nullptr, nullptr, &CommandLineOptions::source, 260},
    {"-o", ArgumentKind::String, nullptr, nullptr, &CommandLineOptions::destination, 260},
    {"-q", ArgumentKind::Flag, nullptr, &CommandLineOptions::exitWhenDone},
    {"-m", ArgumentKind::Flag, nullptr, &CommandLineOptions::noWindow},
    {"-r", ArgumentKind::Flag, nullptr, &CommandLineOptions::overwrite},
    {"-h", ArgumentKind::Flag, nullptr, &CommandLineOptions::help},
    {"-?", ArgumentKind::Flag, nullptr, &CommandLineOptions::help},
};

// An optional sign followed by decimal digits only.
bool isInteger(const std::string &text)
{
    size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

// Like atoi, but an out-of-range number saturates instead of being undefined.
int toInt(const std::string &text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

const ArgumentSpec *findOption(const std::string &argument)
{
    for (const ArgumentSpec &spec : ArgumentTable)
        if (argument == spec.option)
            return &spec;
    return nullptr;
}

} // namespace

bool parseArguments(std::vector<std::string> &args, CommandLineOptions &options)
{
    bool ok = true;
    size_t i = 1;
    while (i < args.size()) {
        if (args[i] == "--") {
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
        const ArgumentSpec *spec = findOption(args[i]);
        if (!spec) {
            ++i;
            continue;
        }
        const bool hasValue = i + 1 < args.size();
        size_t consumed = 1;
        switch (spec->kind) {
        case ArgumentKind::Flag:
            options.*(spec->flag) = true;
            break;
        case ArgumentKind::Integer:
            if (hasValue && isInteger(args[i + 1])) {
                options.*(spec->integer) = toInt(args[i + 1]);
                consumed = 2;
            } else {
                ok = false;
            }
            break;
        case ArgumentKind::String:
            if (hasValue) {
                options.*(spec->text) = args[i + 1].substr(0, spec->bufferSize - 1);
                consumed = 2;
            } else {
                ok = false;
            }
            break;
        }
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i + consumed));
    }
    return ok;
}

const std::string &usageText()
{
    static const std::string text = "Usage: Quarnel [Option] <PDF File> [<RTF File>]\r\n"
                                    "-f <page number> : First page to be converted\r\n"
                                    "-l <page number> : Last page to be converted\r\n"
                                    "-z <zoom ratio>  : Set zoom ratio when conversion, the range is from 50 to 200\r\n"
                                    "-b <space number>: Space between characters\r\n"
                                    "-q               : Exit after converting\r\n"
                                    "-m               : Run without window\r\n"
                                    "-r               : Overwrite an existing destination file without prompting to "
                                    "confirm\r\n"
                                    "-h or -?         : Print usage information\r\n"
                                    "-i <input PDF file name>   : PDF file will be converted\r\n"
                                    "-o <output RTF file name>  : RTF file will be generated\r\n"
                                    "\r\n"
                                    "For example      : \r\n"
                                    "\tQuarnel -i c:\\a.pdf\r\n"
                                    "\tQuarnel -i c:\\a.pdf -o c:\\a.doc\r\n"
                                    "\tQuarnel -q -f 5 -l 8 -i c:\\a.pdf -o c:\\a.doc\r\n"
                                    "\tQuarnel -q -f 1 -l 1 -i c:\\a.pdf -o c:\\a.rtfdocr\n"
                                    "\tQuarnel -q -m -r -b 50 -f 1 -l 1 -i c:\\a.pdf -o c:\\a.doc\r\n";
    return text;
}

StartAction applyCommandLine(const std::vector<std::string> &args, CommandLineOptions &options,
                             ConversionQueue &queue)
{
    if (args.size() <= 1)
        return StartAction::Continue;
    std::vector<std::string> remaining = args;
    if (!parseArguments(remaining, options) || options.help)
        return StartAction::ShowUsageAndExit;

    namespace keys = settings::keys;
    if (options.zoom >= 50 && options.zoom <= 200)
        settings::write(keys::Zoom, options.zoom);
    if (options.charSpacing >= 0 && options.charSpacing <= 200)
        settings::write(keys::CharSpaces, options.charSpacing);
    if (options.firstPage != 0 || options.lastPage != 100000) {
        settings::write(keys::PageRangeType, 1);
        settings::write(keys::PageFrom, options.firstPage);
        settings::write(keys::PageTo, options.lastPage);
    } else {
        settings::write(keys::PageRangeType, 0);
    }

    if (options.source.empty())
        return StartAction::Continue;
    const std::string &named = options.destination.empty() ? options.source : options.destination;
    queue.append({options.source, platform::replaceExtension(named, ".doc")});
    return StartAction::Continue;
}

} // namespace quarnel::convert
