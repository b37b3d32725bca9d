#include "support/engine_fixture.h"

#include <gtest/gtest.h>

namespace quarnel::testing {
namespace {

TEST(PageObject, PageNumbersOutsideTheDocumentGiveNull)
{
    TempDir dir;
    PdfWriter writer;
    writer.addPage("");
    writer.addPage("");
    PdfPtr pdf = openPdf(writePdf(dir, "two.pdf", writer.finish()));
    ASSERT_NE(pdf, nullptr);
    EXPECT_EQ(PDF_GetPageCount(pdf.get()), 2);
    for (int page : {0, -1, 3, 100000})
        EXPECT_EQ(PDF_GetPageObject(pdf.get(), page), nullptr) << page;
    EXPECT_EQ(PDF_GetPageObject(nullptr, 1), nullptr);
}

TEST(PageObject, SizesFollowResolutionRotationAndCropBox)
{
    TempDir dir;
    struct Case {
        double width, height;
        std::string extra;
        int resolution;
        int expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {612, 792, "", 72, 612, 792},
        {612, 792, "", 144, 1224, 1584},
        {612, 792, "/Rotate 90", 72, 792, 612},
        {612, 792, "/Rotate 270", 72, 792, 612},
        {612, 792, "/CropBox [10 10 310 210]", 72, 300, 200},
        {595.3, 841.9, "", 72, 595, 842},
    };
    for (const Case &c : cases) {
        PdfWriter writer;
        writer.addPage("", "<< >>", c.width, c.height, c.extra);
        PdfPtr pdf = openPdf(writePdf(dir, "p.pdf", writer.finish()), c.resolution);
        ASSERT_NE(pdf, nullptr);
        PageObjectPtr page = capturePage(pdf.get(), 1);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->width, c.expectedWidth) << c.extra << " at " << c.resolution;
        EXPECT_EQ(page->height, c.expectedHeight) << c.extra << " at " << c.resolution;
        EXPECT_EQ(page->resolution, c.resolution);
        EXPECT_EQ(page->pageNumber, 1);
        EXPECT_EQ(page->pageCount, 1);
    }
}

TEST(PageObject, EachCallGivesAFreshObjectThatOutlivesTheHandle)
{
    TempDir dir;
    PdfPtr pdf = openPdf(writePdf(dir, "a.pdf", simplePdf("BT /F1 12 Tf 72 700 Td (Hi) Tj ET")));
    ASSERT_NE(pdf, nullptr);
    PageObjectPtr first = capturePage(pdf.get(), 1);
    PageObjectPtr second = capturePage(pdf.get(), 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first.get(), second.get());
    pdf.reset();
    EXPECT_EQ(first->width, 612); // still readable after PDF_Close
    PDF_DestroyPageObject(nullptr);
}

TEST(PageObject, LongDocumentsStayCorrectAcrossDocumentRecycling)
{
    // The engine reopens a document every so many pages to drop poppler's page caches; pages
    // after that must still be the right ones.
    TempDir dir;
    PdfWriter writer;
    for (int i = 0; i < 150; ++i)
        writer.addPage("", "<< >>", 300 + i, 400);
    PdfPtr pdf = openPdf(writePdf(dir, "long.pdf", writer.finish()));
    ASSERT_NE(pdf, nullptr);
    for (int page = 1; page <= 150; ++page) {
        PageObjectPtr object = capturePage(pdf.get(), page);
        ASSERT_NE(object, nullptr) << page;
        EXPECT_EQ(object->width, 299 + page);
    }
    EXPECT_EQ(capturePage(pdf.get(), 3)->width, 302); // going back works too
}

TEST(PageObject, RealDocumentsOpenAndReportEveryPage)
{
    const std::string corpus = corpusDirectory();
    if (corpus.empty())
        GTEST_SKIP() << "no corpus of real PDFs beside the project";
    struct Case {
        const char *file;
        int pages;
        int width, height; // of page 1
    };
    const Case cases[] = {
        {"budget.pdf", 1, 842, 595},
        {"nics-rotated.pdf", 1, 612, 1008},
        {"history-en.pdf", 27, 595, 842},
    };
    for (const Case &c : cases) {
        PdfPtr pdf = openPdf(corpus + c.file);
        ASSERT_NE(pdf, nullptr) << c.file;
        EXPECT_EQ(PDF_GetPageCount(pdf.get()), c.pages) << c.file;
        PageObjectPtr page = capturePage(pdf.get(), 1);
        ASSERT_NE(page, nullptr) << c.file;
        EXPECT_EQ(page->width, c.width) << c.file;
        EXPECT_EQ(page->height, c.height) << c.file;
    }
}

} // namespace
} // namespace quarnel::testing
