#include "document/e2e_support.h"

#include "support/temp_dir.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace quarnel::testing {

std::string shellQuote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string shellOutput(const std::string &command, int *exitCode)
{
    std::string output;
    std::FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        if (exitCode)
            *exitCode = -1;
        return output;
    }
    std::array<char, 4096> buffer;
    size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    if (exitCode)
        *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

bool haveLibreOffice()
{
    int code = 0;
    shellOutput("command -v soffice >/dev/null && command -v pdftotext >/dev/null && command -v pdftoppm >/dev/null",
                &code);
    return code == 0;
}

std::string convertWithLibreOffice(const std::string &document, const std::string &format,
                                   const std::string &directory)
{
    int code = 0;
    // Plain text comes out in the locale's character set unless UTF-8 is asked for.
    const std::string target = format == "txt" ? shellQuote("txt:Text (encoded):UTF8") : format;
    shellOutput("timeout 180 soffice -env:UserInstallation=file://" + directory + "lo-profile --headless --convert-to " +
                    target + " --outdir " + shellQuote(directory) + " " + shellQuote(document) + " >/dev/null 2>&1",
                &code);
    const std::string base = document.substr(document.rfind('/') + 1);
    const std::string converted = directory + base.substr(0, base.rfind('.')) + "." + format;
    return code == 0 && fileExists(converted) ? converted : std::string();
}

std::vector<PdfWord> pdfWords(const std::string &pdf)
{
    const std::string html = shellOutput("pdftotext -bbox " + shellQuote(pdf) + " -");
    std::vector<PdfWord> words;
    int page = 0;
    const std::regex wordPattern(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    std::istringstream lines(html);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find("<page ") != std::string::npos)
            ++page;
        std::smatch match;
        if (std::regex_search(line, match, wordPattern))
            words.push_back(PdfWord{page, match[5], std::stod(match[1]), std::stod(match[2]), std::stod(match[3]),
                                    std::stod(match[4])});
    }
    return words;
}

std::vector<PageSize> pdfPageSizes(const std::string &pdf)
{
    const std::string info = shellOutput("pdfinfo -f 1 -l 9999 " + shellQuote(pdf));
    std::vector<PageSize> sizes;
    const std::regex sizePattern(R"re(Page +[0-9]+ size: +([0-9.]+) x ([0-9.]+))re");
    for (auto it = std::sregex_iterator(info.begin(), info.end(), sizePattern); it != std::sregex_iterator(); ++it)
        sizes.push_back(PageSize{std::stod((*it)[1]), std::stod((*it)[2])});
    return sizes;
}

int RenderedPage::darkest(int x, int y, int r) const
{
    int best = 765;
    for (int yy = std::max(0, y - r); yy <= std::min(height - 1, y + r); ++yy)
        for (int xx = std::max(0, x - r); xx <= std::min(width - 1, x + r); ++xx) {
            const size_t i = (size_t(yy) * width + xx) * 3;
            best = std::min(best, rgb[i] + rgb[i + 1] + rgb[i + 2]);
        }
    return best;
}

unsigned RenderedPage::colorAt(int x, int y) const
{
    const size_t i = (size_t(y) * width + x) * 3;
    return unsigned(rgb[i]) << 16 | unsigned(rgb[i + 1]) << 8 | rgb[i + 2];
}

RenderedPage renderPage(const std::string &pdf, int page, int dpi, const std::string &directory)
{
    const std::string prefix = directory + "render";
    shellOutput("pdftoppm -singlefile -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " +
                std::to_string(page) + " " + shellQuote(pdf) + " " + shellQuote(prefix));
    const std::string ppm = readFile(prefix + ".ppm");
    RenderedPage rendered;
    std::istringstream header(ppm);
    std::string magic;
    int maxValue = 0;
    header >> magic >> rendered.width >> rendered.height >> maxValue;
    if (magic != "P6" || maxValue != 255)
        return RenderedPage{};
    const size_t start = size_t(header.tellg()) + 1;
    rendered.rgb.assign(ppm.begin() + std::ptrdiff_t(start), ppm.end());
    if (rendered.rgb.size() < size_t(rendered.width) * rendered.height * 3)
        return RenderedPage{};
    return rendered;
}

} // namespace quarnel::testing
