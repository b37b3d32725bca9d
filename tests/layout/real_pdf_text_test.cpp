#include "layout/page_layout.h"

#include "layout/real_pdf_words.h"
#include "layout/text_options.h"
#include "page_model/page_object_builder.h"
#include "platform/code_page.h"
#include "support/engine_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quarnel::layout {
namespace {

using namespace testing;

// The laid-out text of a page, decoded from its code page.
std::u16string layOutPageText(const PageObject *page, const TextOptions &options)
{
    std::vector<LayoutRecord> slots(static_cast<size_t>(page->elementCount));
    addTextRecords(slots, page, static_cast<float>(100 / 29.0), options);
    std::u16string text;
    for (const LayoutRecord &slot : slots)
        if (const auto *body = std::get_if<TextRecordBody>(&slot.body))
            text += platform::codePageToUtf16(body->text, options.codePage) + u'\n';
    return text;
}

// Multi-column pages: every word of the page must survive joining characters into blocks,
// blocks of one row into records, and automatic spaces, in flowing and in text-box layout.
TEST(RealPdfText, MultiColumnPagesKeepTheirWords)
{
    const std::string corpus = ::quarnel::testing::corpusDirectory();
    if (corpus.empty() || !havePdftotext())
        GTEST_SKIP() << "needs the shared PDF corpus and pdftotext";
    struct Document {
        const char *file;
        int page;
    };
    const Document documents[] = {{"naacl06.pdf", 1}, {"naacl06.pdf", 2}, {"octave-refcard.pdf", 1}};
    const TextOptions layouts[] = {
        {.codePage = platform::CodePageUtf8},
        {.textBoxMode = true, .mergeRows = true, .codePage = platform::CodePageUtf8},
    };
    for (const Document &document : documents) {
        ::quarnel::testing::TempDir work;
        const auto words = pdftotextWords(corpus + document.file, document.page, work.path());
        ASSERT_GT(words.size(), 100u) << document.file;
        PageObject *page = pageObjectFromWords(words, 595, 842);
        for (const TextOptions &options : layouts) {
            size_t total = 0;
            const size_t found = tokensFound(words, layOutPageText(page, options), total);
            EXPECT_GE(found * 100, total * 97) << document.file << " page " << document.page << " text boxes "
                                               << options.textBoxMode << ": " << found << " of " << total << " words";
        }
        page_model::destroyPageObject(page);
    }
}

// The same pages as the engine captures them.
TEST(RealPdfText, CapturedPagesKeepTheirWords)
{
    const std::string corpus = ::quarnel::testing::corpusDirectory();
    if (corpus.empty() || !havePdftotext())
        GTEST_SKIP() << "needs the shared PDF corpus and pdftotext";
    const std::pair<const char *, int> documents[] = {
        {"naacl06.pdf", 1}, {"naacl06.pdf", 2}, {"octave-refcard.pdf", 1}};
    for (const auto &[file, pageNumber] : documents) {
        ::quarnel::testing::TempDir work;
        const auto words = pdftotextWords(corpus + file, pageNumber, work.path());
        const auto pdf = ::quarnel::testing::openPdf(corpus + file);
        ASSERT_TRUE(pdf) << file;
        const auto page = ::quarnel::testing::capturePage(pdf.get(), pageNumber);
        ASSERT_TRUE(page) << file;
        size_t textElements = 0;
        for (int32_t i = 0; i < page->elementCount; ++i)
            textElements += page->elements[i]->kind == ElementText;
        if (textElements == 0)
            GTEST_SKIP() << "the engine records no text yet";

        const TextOptions options{.codePage = platform::CodePageUtf8};
        size_t total = 0;
        const size_t found = tokensFound(words, layOutPageText(page.get(), options), total);
        EXPECT_GE(found * 100, total * 97) << file << " page " << pageNumber << ": " << found << " of " << total;
    }
}

} // namespace
} // namespace quarnel::layout
