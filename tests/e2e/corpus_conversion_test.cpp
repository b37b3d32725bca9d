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

// Words as runs of letters and digits (bytes of 0x80 and above count as letters, so every script
// survives), lower-cased; punctuation and spacing are the word processor's business.
std::map<std::string, int> wordCounts(const std::string &text)
{
    std::map<std::string, int> counts;
    std::string word;
    auto flush = [&] {
        if (!word.empty())
            ++counts[word];
        word.clear();
    };
    for (unsigned char c : text) {
        if (std::isalnum(c) || c >= 0x80)
            word.push_back(static_cast<char>(std::tolower(c)));
        else
            flush();
    }
    flush();
    return counts;
}

double wordRecall(const std::string &reference, const std::string &converted)
{
    const std::map<std::string, int> wanted = wordCounts(reference);
    const std::map<std::string, int> found = wordCounts(converted);
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
                "lo-profile --headless --convert-to txt:Text:76 --outdir " + shellQuote(dir.path() + "txt") + documents +
                " >/dev/null 2>&1");

    for (const CorpusEntry &entry : readManifest(corpus)) {
        const std::string base = entry.file.substr(0, entry.file.size() - 4);
        if (std::find(written.begin(), written.end(), entry.file) == written.end())
            continue;
        const std::string text = dir.path() + "txt/" + base + ".txt";
        ASSERT_TRUE(fileExists(text)) << "LibreOffice did not open " << base << ".doc";
        const bool textPdf = entry.features.find("text") != std::string::npos &&
                             entry.features.find("scanned") == std::string::npos;
        if (!textPdf)
            continue;
        const std::string reference = shellOutput("pdftotext -enc UTF-8 " + shellQuote(corpus + entry.file) + " -");
        const double recall = wordRecall(reference, readFile(text));
        EXPECT_GE(recall, 0.95) << entry.file;
        std::printf("%-22s word recall %.4f\n", entry.file.c_str(), recall);
    }
}

} // namespace
} // namespace quarnel::testing
