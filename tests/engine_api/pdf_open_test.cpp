#include "support/engine_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace quarnel::testing {
namespace {

const std::string hello = "BT /F1 12 Tf 72 700 Td (Hello) Tj ET";

TEST(PdfOpen, RejectsNullEmptyMissingAndDamagedFiles)
{
    TempDir dir;
    EXPECT_EQ(PDF_Open(nullptr, nullptr, nullptr, 72), nullptr);
    EXPECT_EQ(PDF_Open("", nullptr, nullptr, 72), nullptr);
    EXPECT_EQ(PDF_Open(dir.file("missing.pdf").c_str(), nullptr, nullptr, 72), nullptr);
    EXPECT_EQ(openPdf(writePdf(dir, "junk.pdf", "this is not a PDF at all")), nullptr);
    EXPECT_EQ(openPdf(writePdf(dir, "empty.pdf", "")), nullptr);
    const std::string whole = simplePdf(hello);
    EXPECT_EQ(openPdf(writePdf(dir, "cut.pdf", whole.substr(0, 40))), nullptr);
    EXPECT_EQ(openPdf(dir.path()), nullptr); // a folder
}

TEST(PdfOpen, HeaderVersionJunkAndMissingHeader)
{
    TempDir dir;
    struct Case {
        std::string bytes;
        float version;
    };
    const std::string body = simplePdf(hello);
    PdfWriter noHeader;
    noHeader.addPage(hello);
    const Case cases[] = {
        {body, 1.4f},
        {std::string(1000, 'x') + body, 1.4f},  // junk before the header
        {[&] { PdfWriter w; w.addPage(hello); return w.finish("%PDF-1.7"); }(), 1.7f},
        {noHeader.finish("%XDF"), 0.0f},
    };
    for (const Case &c : cases) {
        PdfPtr pdf = openPdf(writePdf(dir, "v.pdf", c.bytes));
        ASSERT_NE(pdf, nullptr);
        EXPECT_EQ(PDF_GetPageCount(pdf.get()), 1);
        PageObjectPtr page = capturePage(pdf.get(), 1);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->pdfVersion, c.version);
    }
}

TEST(PdfOpen, FindsAFileThroughTheCaseRetries)
{
    TempDir dir;
    writePdf(dir, "lower.pdf", simplePdf(hello));
    writePdf(dir, "UPPER.PDF", simplePdf(hello));
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    // Relative names, so that only the file name changes case.
    PdfPtr lower(PDF_Open("Lower.PDF", nullptr, nullptr, 72));
    PdfPtr upper(PDF_Open("upper.pdf", nullptr, nullptr, 72));
    PdfPtr neither(PDF_Open("Mixed.pdf", nullptr, nullptr, 72));
    ASSERT_EQ(::chdir(cwd), 0);
    EXPECT_NE(lower, nullptr);
    EXPECT_NE(upper, nullptr);
    EXPECT_EQ(neither, nullptr);
}

TEST(PdfOpen, EncryptedFileNeedsItsPassword)
{
    TempDir dir;
    const std::string plain = writePdf(dir, "plain.pdf", simplePdf(hello));
    const std::string locked = dir.file("locked.pdf");
    const std::string command = "qpdf --encrypt user1 owner1 256 -- '" + plain + "' '" + locked + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "qpdf is needed for this test";

    EXPECT_EQ(openPdf(locked), nullptr);
    EXPECT_EQ(openPdf(locked, 72, nullptr, "wrong"), nullptr);
    PdfPtr withUser = openPdf(locked, 72, nullptr, "user1");
    ASSERT_NE(withUser, nullptr);
    EXPECT_EQ(PDF_GetPageCount(withUser.get()), 1);
    EXPECT_NE(openPdf(locked, 72, "owner1", nullptr), nullptr);
}

TEST(PdfOpen, PageCountRejectsNullAndForeignBlocks)
{
    EXPECT_EQ(PDF_GetPageCount(nullptr), -1);
    uint32_t foreign[64] = {0x12345678};
    EXPECT_EQ(PDF_GetPageCount(reinterpret_cast<PdfHandle *>(foreign)), -1);
    EXPECT_EQ(PDF_GetPageObject(reinterpret_cast<PdfHandle *>(foreign), 1), nullptr);
    PDF_Close(reinterpret_cast<PdfHandle *>(foreign)); // ignored
    PDF_Close(nullptr);
}

TEST(PdfOpen, TwoHandlesShareTheEngineSafely)
{
    TempDir dir;
    const std::string path = writePdf(dir, "a.pdf", simplePdf(hello));
    PdfPtr first = openPdf(path);
    ASSERT_NE(first, nullptr);
    {
        PdfPtr second = openPdf(path, 144);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(capturePage(second.get(), 1)->width, 1224);
    }
    // The second close must not have taken the engine away from the first handle.
    PageObjectPtr page = capturePage(first.get(), 1);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->width, 612);
}

} // namespace
} // namespace quarnel::testing
