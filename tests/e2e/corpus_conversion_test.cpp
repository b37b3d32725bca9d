// The converter on the shared folder of real PDFs, as a user runs it from the command line:
// every PDF that poppler opens converts with exit code 0, the others are reported with exit code
// 2 and leave no document, LibreOffice opens every document written, and the text of text PDFs
// survives the trip through the word processor.
#include "document/e2e_support.h"
#include "support/build_paths.h"
#include "support/engine_fixture.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace quarnel::testing {
namespace {

struct CorpusEntry {
    std::string file;
    std::string features;
};

std::vector<CorpusEntry> readManifest(const std::string &corpus)
{
    std::vector<CorpusEntry> entries;
    std::ifstream manifest(corpus + "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line); // header
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        std::string file, source, pages, bytes, version, features;
        if (std::getline(fields, file, '\t') && std::getline(fields, source, '\t') && std::getline(fields, pages, '\t') &&
            std::getline(fields, bytes, '\t') && std::getline(fields, version, '\t') &&
            std::getline(fields, features, '\t'))
            entries.push_back({file, features});
    }
    return entries;
}

bool isCjk(char32_t c)
{
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3100 && c <= 0x318F) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF);
}

// Letters and digits: ASCII ones, and every code point beyond ASCII that is not a control
// character, punctuation, a symbol or a space of the common blocks.
bool isWordCharacter(char32_t c)
{
    if (c < 0x80)
        return std::isalnum(static_cast<int>(c)) != 0;
    const bool punctuation = c < 0xA0 || (c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F) ||
                             (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF0F) ||
                             (c >= 0xFF1A && c <= 0xFF20) || (c >= 0xE000 && c <= 0xF8FF) || c == 0xA0 ||
                             (c >= 0xA1 && c <= 0xBF) || c == 0xD7 || c == 0xF7 || c == 0xFEFF || c == 0xFFFD;
    return !punctuation;
}

// The next code point of UTF-8 text (malformed bytes count as themselves).
char32_t nextCodePoint(const std::string &text, size_t &i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || i + static_cast<size_t>(length) > text.size()) {
        ++i;
        return lead;
    }
    char32_t c = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k)
        c = (c << 6) | (byte(i + static_cast<size_t>(k)) & 0x3F);
    i += static_cast<size_t>(length);
    return c;
}

// Words as the fidelity harness counts them: lower-cased runs of letters and digits, and every
// CJK character a word of its own (CJK text has no spaces to split on).
std::map<std::u32string, int> wordCounts(const std::string &text)
{
    std::map<std::u32string, int> counts;
    std::u32string word;
    auto flush = [&] {
        if (!word.empty())
            ++counts[word];
        word.clear();
    };
    for (size_t i = 0; i < text.size();) {
        char32_t c = nextCodePoint(text, i);
        if (isCjk(c)) {
            flush();
            word.push_back(c);
            flush();
        } else if (isWordCharacter(c)) {
            word.push_back(c < 0x80 ? static_cast<char32_t>(std::tolower(static_cast<int>(c))) : c);
        } else {
            flush();
        }
    }
    flush();
    return counts;
}

double wordRecall(const std::string &reference, const std::string &converted)
{
    const std::map<std::u32string, int> wanted = wordCounts(reference);
    const std::map<std::u32string, int> found = wordCounts(converted);
    long total = 0, matched = 0;
    for (const auto &[word, count] : wanted) {
        total += count;
        if (auto it = found.find(word); it != found.end())
            matched += std::min(count, it->second);
    }
    return total == 0 ? 1.0 : static_cast<double>(matched) / static_cast<double>(total);
}

TEST(CorpusConversion, EveryPdfConvertsAndLibreOfficeReadsItsText)
{
    const std::string corpus = corpusDirectory();
    if (corpus.empty() || !haveLibreOffice())
        GTEST_SKIP() << "needs the shared corpus, LibreOffice and poppler-utils";
    const std::string bin = binaryDirectory();
    TempDir dir;

    std::vector<std::string> written;
    for (const CorpusEntry &entry : readManifest(corpus)) {
        const std::string source = corpus + entry.file;
        const std::string destination = dir.file(entry.file.substr(0, entry.file.size() - 4) + ".doc");
        int code = 0;
        shellOutput("pdfinfo " + shellQuote(source) + " >/dev/null 2>&1", &code);
        const bool popplerOpens = code == 0;
        shellOutput("QUARNEL_CODEPAGE=65001 " + bin + "quarnel -q -m -r -i " + shellQuote(source) +
                        " -o " + shellQuote(destination) + " 2>/dev/null",
                    &code);
        if (popplerOpens) {
            EXPECT_EQ(code, 0) << entry.file;
            EXPECT_TRUE(fileExists(destination)) << entry.file;
        } else {
            EXPECT_EQ(code, 2) << entry.file;
            EXPECT_FALSE(fileExists(destination)) << entry.file;
        }
        if (fileExists(destination))
            written.push_back(entry.file);
    }
    ASSERT_FALSE(written.empty());

    // One LibreOffice run for all documents: starting it costs more than converting one.
    std::string documents;
    for (const std::string &file : written)
        documents += " " + shellQuote(dir.file(file.substr(0, file.size() - 4) + ".doc"));
    shellOutput("timeout 1200 soffice -env:UserInstallation=file://" + dir.path() +
                "lo-profile --headless --convert-to \"txt:Text (encoded):UTF8\" --outdir " + shellQuote(dir.path() + "txt") + documents +
                " >/dev/null 2>&1");

    for (const CorpusEntry &entry : readManifest(corpus)) {
        const std::string base = entry.file.substr(0, entry.file.size() - 4);
        if (std::find(written.begin(), written.end(), entry.file) == written.end())
            continue;
        const std::string text = dir.path() + "txt/" + base + ".txt";
        ASSERT_TRUE(fileExists(text)) << "LibreOffice did not open " << base << ".doc";
        // Scanned pages have no text to keep, and rotated text is left out of the document by
        // design (only horizontal text becomes text blocks).
        const bool textPdf = entry.features.find("text") != std::string::npos &&
                             entry.features.find("scanned") == std::string::npos &&
                             entry.features.find("rotated") == std::string::npos;
        // Most pages of tamreview.pdf use fonts whose codes map to no real characters; pdftotext
        // itself reads glyph codes and words run together there, so it is no reference.
        if (!textPdf || entry.file == "tamreview.pdf")
            continue;
        const std::string reference = shellOutput("pdftotext -raw -enc UTF-8 " + shellQuote(corpus + entry.file) + " -");
        const double recall = wordRecall(reference, readFile(text));
        EXPECT_GE(recall, 0.95) << entry.file;
        std::printf("%-22s word recall %.4f\n", entry.file.c_str(), recall);
    }
}

} // namespace
} // namespace quarnel::testing
