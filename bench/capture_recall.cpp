// Word recall of the capture against pdftotext: for every page, the share of the words pdftotext
// finds that occur in the page's captured characters, concatenated in element order without
// white space. Prints the figure per document for the text PDFs of a folder (those whose
// MANIFEST.tsv features include "text" and not "scanned"); exits 1 when one is below 0.98.
//
//   capture_recall [FOLDER] [-v]   (default: ../shared/corpus/dev beside the repository;
//                                   -v lists the words not found)
#include <quarnel/pdf_engine.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string quoted(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string commandOutput(const std::string &command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return out;
    std::array<char, 65536> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    return out;
}

// Code points of UTF-8 text.
std::u32string decodeUtf8(const std::string &text)
{
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t value = length == 1 ? c : c & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < text.size(); ++k)
            value = value << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        out += value;
    }
    return out;
}

// The text without white space and hyphens (pdftotext joins words hyphenated at line ends), and
// with the presentation-form ligatures spelt out, as either side may carry either form.
std::u32string normalized(const std::u32string &text)
{
    static const char32_t *ligatures[] = {U"ff", U"fi", U"fl", U"ffi", U"ffl", U"st", U"st"};
    std::u32string out;
    for (char32_t c : text) {
        if (c >= 0xFB00 && c <= 0xFB06)
            out += ligatures[c - 0xFB00];
        else if (c != U' ' && c != U'\t' && c != U'\n' && c != U'\r' && c != U'\f' && c != 0xA0 && c != U'-' &&
                 c != 0xAD && c != 0x2010)
            out += c;
    }
    return out;
}

std::u32string capturedText(const PageObject &page)
{
    std::u32string out;
    for (int i = 0; i < page.elementCount; ++i) {
        if (page.elements[i]->kind != ElementText)
            continue;
        const auto *text = static_cast<const PageText *>(page.elements[i]->body);
        for (int k = 0; k < text->count; ++k) {
            char32_t c = text->text[k];
            if (c >= 0xD800 && c <= 0xDBFF && k + 1 < text->count) {
                c = 0x10000 + ((c - 0xD800) << 10) + (text->text[k + 1] - 0xDC00);
                ++k;
            }
            out += c;
        }
    }
    return normalized(out);
}

bool verbose = false;

struct Recall {
    long words = 0;
    long found = 0;
};

Recall measure(const std::string &path)
{
    Recall recall;
    PdfHandle *pdf = PDF_Open(path.c_str(), nullptr, nullptr, 72);
    if (!pdf)
        return recall;
    const std::string pages = commandOutput("pdftotext -q -enc UTF-8 " + quoted(path) + " -");
    std::istringstream byPage(pages);
    std::string pageText;
    for (int page = 1; std::getline(byPage, pageText, '\f') && page <= PDF_GetPageCount(pdf); ++page) {
        PageObject *object = PDF_GetPageObject(pdf, page);
        const std::u32string captured = object ? capturedText(*object) : std::u32string();
        PDF_DestroyPageObject(object);
        std::istringstream words(pageText);
        std::string word;
        while (words >> word) {
            const std::u32string wanted = normalized(decodeUtf8(word));
            if (wanted.empty())
                continue;
            ++recall.words;
            const bool found = captured.find(wanted) != std::u32string::npos;
            recall.found += found;
            if (!found && verbose)
                std::printf("  page %d: missing \"%s\"\n", page, word.c_str());
        }
    }
    PDF_Close(pdf);
    return recall;
}

} // namespace

int main(int argc, char **argv)
{
    std::string folder = "../shared/corpus/dev";
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "-v")
            verbose = true;
        else
            folder = argv[i];
    }
    folder += "/";
    std::ifstream manifest(folder + "MANIFEST.tsv");
    if (!manifest) {
        std::fprintf(stderr, "no MANIFEST.tsv in %s\n", folder.c_str());
        return 2;
    }
    std::string line;
    std::getline(manifest, line); // header
    bool allGood = true;
    std::printf("%-24s %8s %8s %7s\n", "file", "words", "found", "recall");
    while (std::getline(manifest, line)) {
        std::vector<std::string> fields;
        std::istringstream columns(line);
        for (std::string field; std::getline(columns, field, '\t');)
            fields.push_back(field);
        if (fields.size() < 6)
            continue;
        const std::string features = "," + fields[5] + ",";
        if (features.find(",text,") == std::string::npos || features.find(",scanned,") != std::string::npos)
            continue;
        const Recall r = measure(folder + fields[0]);
        const double figure = r.words ? static_cast<double>(r.found) / r.words : 0;
        allGood = allGood && figure >= 0.98;
        std::printf("%-24s %8ld %8ld %7.4f%s\n", fields[0].c_str(), r.words, r.found, figure,
                    figure < 0.98 ? "  LOW" : "");
    }
    return allGood ? 0 : 1;
}
