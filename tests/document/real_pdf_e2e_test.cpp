// Real PDFs all the way to a document LibreOffice opens: capture, layout, intermediate file and
// vornik. Skipped when the shared corpus is absent.
#include "document/document_fixtures.h"
#include "document/e2e_support.h"
#include "layout/document_writer.h"
#include "layout/page_layout.h"
#include "settings/setting_keys.h"
#include "settings/settings_store.h"
#include "support/engine_fixture.h"
#include "support/recording_window.h"
#include "support/settings_sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

namespace quarnel::testing {
namespace {

constexpr float ZoomFactor = 100.0f / 29.0f;

// The layout encodes text in the process's code page, decided once; UTF-8 keeps every script.
// vornik inherits the variable, so both ends agree.
const bool utf8CodePage = ::setenv("QUARNEL_CODEPAGE", "65001", 1) == 0;

// Lays out pages 1..pageCount of the PDF (as the per-file driver will) and writes the document.
layout::DocumentResult convertPdf(const std::string &pdfPath, int pageCount, const std::string &destination)
{
    PdfPtr pdf = openPdf(pdfPath);
    if (!pdf)
        return layout::DocumentResult::NothingToWrite;
    layout::LayoutPage head;
    layout::LayoutPage *page = &head;
    for (int number = 1; number <= pageCount; ++number) {
        if (number > 1) {
            page->next = std::make_unique<layout::LayoutPage>();
            page = page->next.get();
        }
        PageObjectPtr captured = capturePage(pdf.get(), number);
        layout::buildPageLayout(*page, captured.get(), ZoomFactor);
    }
    RecordingWindow window;
    return layout::writeLayoutDocument(&head, destination, window);
}

// Words of four or more letters, lower-cased.
std::set<std::string> wordsOf(const std::string &text)
{
    std::set<std::string> words;
    std::string word;
    for (char c : text + " ") {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            word += char(std::tolower(static_cast<unsigned char>(c)));
        } else {
            if (word.size() >= 4)
                words.insert(word);
            word.clear();
        }
    }
    return words;
}

struct RealCase {
    const char *file;
    int pages;
    bool textBoxes;
};

class RealPdfToDocument : public ::testing::TestWithParam<RealCase> {};

TEST_P(RealPdfToDocument, KeepsThePagesAndTheWords)
{
    const RealCase &c = GetParam();
    ASSERT_TRUE(utf8CodePage);
    const std::string source = corpusDirectory().empty() ? "" : corpusDirectory() + "/" + c.file;
    if (source.empty() || !std::filesystem::exists(source) || !haveLibreOffice())
        GTEST_SKIP() << "corpus or LibreOffice missing";
    SettingsSandbox sandbox;
    std::filesystem::create_directories(sandbox.executableDirectory());
    std::filesystem::create_symlink(vornikPath(), sandbox.executableDirectory() + "vornik");
    settings::write(settings::keys::UseTextBox, c.textBoxes ? 1 : 0);

    TempDir dir;
    const std::string destination = dir.file("converted.doc");
    ASSERT_EQ(convertPdf(source, c.pages, destination), layout::DocumentResult::Written);
    const std::string pdf = convertWithLibreOffice(destination, "pdf", dir.path());
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(pdfPageSizes(pdf).size(), size_t(c.pages));
    // Pictures of the source pages reach the document (both lists have two header lines).
    const auto imageCount = [](const std::string &list) { return std::count(list.begin(), list.end(), '\n') - 2; };
    const std::string pages = " -l " + std::to_string(c.pages) + " ";
    if (imageCount(shellOutput("pdfimages -list" + pages + shellQuote(source))) > 0) {
        EXPECT_GT(imageCount(shellOutput("pdfimages -list " + shellQuote(pdf))), 0);
    }

    const std::set<std::string> expected = wordsOf(
        shellOutput("pdftotext -l " + std::to_string(c.pages) + " " + shellQuote(source) + " -"));
    const std::set<std::string> found = wordsOf(shellOutput("pdftotext " + shellQuote(pdf) + " -"));
    size_t present = 0;
    std::ostringstream missing;
    for (const std::string &word : expected)
        if (found.count(word))
            ++present;
        else
            missing << word << ' ';
    ASSERT_GT(expected.size(), 20u);
    EXPECT_GE(double(present) / double(expected.size()), 0.9) << "missing: " << missing.str();
}

INSTANTIATE_TEST_SUITE_P(Corpus, RealPdfToDocument,
                         ::testing::Values(RealCase{"naacl06.pdf", 3, false}, RealCase{"naacl06.pdf", 3, true},
                                           RealCase{"paperwork-intro.pdf", 2, false},
                                           RealCase{"history-en.pdf", 3, true}),
                         [](const ::testing::TestParamInfo<RealCase> &param) {
                             std::string name = param.param.file;
                             name = name.substr(0, name.find('.')) + (param.param.textBoxes ? "_textboxes" : "_flow");
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
} // namespace quarnel::testing
