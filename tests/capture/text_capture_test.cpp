// Characters as the capture device records them, from hand-made PDFs through PDF_GetPageObject.
#include "capture/engine_state.h"
#include "support/engine_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarnel::testing {
namespace {

struct Text {
    int x, y;
    std::u16string text;
    std::string face;
    int advance, height, bold, italic, orientation;
    uint32_t color;
};

std::vector<Text> textsOf(const PageObject &page)
{
    std::vector<Text> texts;
    for (int i = 0; i < page.elementCount; ++i) {
        if (page.elements[i]->kind != ElementText)
            continue;
        const auto *t = static_cast<const PageText *>(page.elements[i]->body);
        texts.push_back({t->x, t->y, std::u16string(t->text, t->text + t->count), t->fontName, t->advance,
                         t->fontHeight, t->bold, t->italic, t->orientation, t->color});
    }
    return texts;
}

// A page of 612 x 792 points whose resources hold `fonts` ("/F1 5 0 R ...").
std::vector<Text> captureTexts(const std::string &pdfBytes)
{
    TempDir dir;
    PdfPtr pdf = openPdf(writePdf(dir, "t.pdf", pdfBytes));
    EXPECT_NE(pdf, nullptr);
    if (!pdf)
        return {};
    PageObjectPtr page = capturePage(pdf.get(), 1);
    EXPECT_NE(page, nullptr);
    return page ? textsOf(*page) : std::vector<Text>{};
}

std::string fontPdf(const std::string &fontDict, const std::string &content)
{
    PdfWriter pdf;
    const int font = pdf.add(fontDict);
    pdf.addPage(content, "<< /Font << /F1 " + ref(font) + " >> >>");
    return pdf.finish();
}

// A composite Identity font (no display font is configured for Adobe-Identity) whose codes
// 0001 and 0002 map to `first` and `second`.
std::string compositePdf(const std::string &baseFont, const std::string &encoding, const std::string &first,
                         const std::string &second, const std::string &content)
{
    PdfWriter pdf;
    const std::string cmap = "/CIDInit /ProcSet findresource begin 12 dict begin begincmap "
                             "/CMapName /T def 1 begincodespacerange <0000> <FFFF> endcodespacerange "
                             "2 beginbfchar <0001> <" +
                             first + "> <0002> <" + second +
                             "> endbfchar "
                             "endcmap CMapName currentdict /CMap defineresource pop end end";
    const int toUnicode = pdf.addStream("", cmap);
    const int cidFont = pdf.add("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + baseFont +
                                " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> "
                                "/DW 1000 /WinCharSet 128 >>");
    const int font = pdf.add("<< /Type /Font /Subtype /Type0 /BaseFont /" + baseFont + " /Encoding /" + encoding +
                             " /DescendantFonts [" + ref(cidFont) + "] /ToUnicode " + ref(toUnicode) + " >>");
    pdf.addPage(content, "<< /Font << /F1 " + ref(font) + " >> >>");
    return pdf.finish();
}

const std::string helvetica = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";

TEST(TextCapture, PositionsAreRoundedForSimpleFontsAndTruncatedForCompositeOnes)
{
    // Device y = 792 - user y: 771.6 lands at 20.4.
    const auto simple = captureTexts(fontPdf(helvetica, "BT /F1 12 Tf 10.6 771.6 Td (A) Tj ET"));
    ASSERT_EQ(simple.size(), 1u);
    EXPECT_EQ(simple[0].x, 11);
    EXPECT_EQ(simple[0].y, 20);
    EXPECT_EQ(simple[0].text, u"A");
    EXPECT_EQ(simple[0].advance, 8); // Helvetica "A" is 667/1000 of 12 pt

    const auto composite =
        captureTexts(compositePdf("MyCid", "Identity-H", "0041", "0042", "BT /F1 12 Tf 10.6 771.6 Td <0001> Tj ET"));
    ASSERT_EQ(composite.size(), 1u);
    EXPECT_EQ(composite[0].x, 10);
    EXPECT_EQ(composite[0].y, 20);
    EXPECT_EQ(composite[0].advance, 12);
}

TEST(TextCapture, HeightOrientationAndSlantComeFromTheFontMatrix)
{
    struct Case {
        const char *placement;
        int height, orientation, italic;
    };
    const Case cases[] = {
        {"1 0 0 1 100 700 Tm", 12, 0, 0},
        {"0 1 -1 0 300 300 Tm", 12, 900, 0},   // rotated 90 degrees counter-clockwise
        {"-1 0 0 -1 300 300 Tm", 12, 1800, 0}, // upside down
        {"0 -1 1 0 300 300 Tm", 12, 2700, 0},  // turned clockwise: -90 degrees rounds to -90
        {"1 0 0.2 1 100 700 Tm", 12, 0, 1},    // sheared: italic
        {"2 0 0 2 100 700 Tm", 24, 0, 0},
    };
    for (const Case &c : cases) {
        const auto texts = captureTexts(fontPdf(helvetica, std::string("BT /F1 12 Tf ") + c.placement + " (A) Tj ET"));
        ASSERT_EQ(texts.size(), 1u) << c.placement;
        EXPECT_EQ(texts[0].height, c.height) << c.placement;
        EXPECT_EQ(texts[0].orientation, c.orientation) << c.placement;
        EXPECT_EQ(texts[0].italic, c.italic) << c.placement;
    }
}

TEST(TextCapture, StyleComesFromTheNameOrElseFromTheDescriptorFlags)
{
    struct Case {
        std::string baseFont;
        int flags; // 0: no descriptor
        std::string face;
        int bold, italic;
    };
    const Case cases[] = {
        {"ABCDEF+Arial,BoldItalic", 0, "Arial", 1, 1},
        {"Arial-BoldMT", 0, "Arial", 1, 0},
        {"Arial", 262144 + 32, "Arial", 262144, 0}, // ForceBold only
        {"Arial,Bold", 262144 + 32, "Arial", 1, 0}, // the name wins
        {"Arial", 64 + 32, "Arial", 0, 64},         // Italic flag only
        {"Helvetica-Bold", 0, "", 1, 0},            // not installed, no table: empty face
        {"MyFont,Condensed", 0, "", 0, 0},
    };
    for (const Case &c : cases) {
        std::string dict = "<< /Type /Font /Subtype /TrueType /BaseFont /" + c.baseFont;
        if (c.flags)
            dict += " /FirstChar 65 /LastChar 65 /Widths [600] /FontDescriptor << /Type /FontDescriptor /FontName /" +
                    c.baseFont + " /Flags " + std::to_string(c.flags) +
                    " /FontBBox [0 0 1000 1000] /ItalicAngle 0 /Ascent 900 /Descent -200 /CapHeight 700 /StemV 80 >>";
        const auto texts = captureTexts(fontPdf(dict + " >>", "BT /F1 12 Tf 100 700 Td (A) Tj ET"));
        ASSERT_EQ(texts.size(), 1u) << c.baseFont;
        EXPECT_EQ(texts[0].face, c.face) << c.baseFont;
        EXPECT_EQ(texts[0].bold, c.bold) << c.baseFont;
        EXPECT_EQ(texts[0].italic, c.italic) << c.baseFont;
    }
}

// Sets the process-wide mapping table for one test and forgets it afterwards.
class MappedFaces : public ::testing::Test {
protected:
    void TearDown() override { capture::engineState().fontNames.reset(); }
    static void map(std::vector<capture::FontNameTable::Pair> pairs, std::string defaultFace)
    {
        capture::engineState().fontNames.setForTesting(std::move(pairs), std::move(defaultFace));
    }
};

TEST_F(MappedFaces, TheTableMapsNormalisedNamesAndNamelessFontsCountAsCourier)
{
    map({{"Arial", "Tahoma"}, {"Courier", "Liberation Mono"}}, "Liberation Serif");
    const auto arial = captureTexts(
        fontPdf("<< /Type /Font /Subtype /Type1 /BaseFont /ABCDEF+Arial,Bold >>", "BT /F1 12 Tf 100 700 Td (A) Tj ET"));
    ASSERT_EQ(arial.size(), 1u);
    EXPECT_EQ(arial[0].face, "Tahoma");
    EXPECT_EQ(arial[0].bold, 1);

    const auto unknown = captureTexts(
        fontPdf("<< /Type /Font /Subtype /Type1 /BaseFont /NoSuchFace >>", "BT /F1 12 Tf 100 700 Td (A) Tj ET"));
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_EQ(unknown[0].face, "Liberation Serif");

    // A Type 3 font without a name: recorded like any text, under "Courier"'s face.
    const std::string type3 = "<< /Type /Font /Subtype /Type3 /FontBBox [0 0 1000 1000] "
                              "/FontMatrix [0.001 0 0 0.001 0 0] /CharProcs << /a 9 0 R >> "
                              "/Encoding << /Type /Encoding /Differences [97 /a] >> "
                              "/FirstChar 97 /LastChar 97 /Widths [500] >>";
    PdfWriter pdf;
    const int font = pdf.add(type3);
    pdf.addPage("BT /F1 10 Tf 100 700 Td (aa) Tj ET", "<< /Font << /F1 " + ref(font) + " >> >>");
    while (pdf.add("<< >>") < 8) {
    }
    pdf.addStream("", "500 0 0 0 500 500 d1 0 0 500 500 re f");
    const auto t3 = captureTexts(pdf.finish());
    ASSERT_EQ(t3.size(), 2u);
    EXPECT_EQ(t3[0].face, "Liberation Mono");
    EXPECT_EQ(t3[0].text, u"a");
}

TEST(TextCapture, RenderModesRecordTheFillColourAndInvisibleTextNothing)
{
    const std::string colours = "1 0 0 rg 0 0 1 RG ";
    for (int mode : {0, 1, 2, 4, 5, 6}) {
        const auto texts = captureTexts(
            fontPdf(helvetica, "BT " + colours + std::to_string(mode) + " Tr /F1 12 Tf 100 700 Td (A) Tj ET"));
        ASSERT_EQ(texts.size(), 1u) << mode;
        EXPECT_EQ(texts[0].color, 0x0000FFu) << mode;
    }
    for (int mode : {3, 7})
        EXPECT_TRUE(
            captureTexts(fontPdf(helvetica, "BT " + std::to_string(mode) + " Tr /F1 12 Tf 100 700 Td (A) Tj ET"))
                .empty())
            << mode;
    // 0.5 gives 127: trunc(c x 65535) >> 8.
    const auto grey = captureTexts(fontPdf(helvetica, "BT 0.5 g /F1 12 Tf 100 700 Td (A) Tj ET"));
    ASSERT_EQ(grey.size(), 1u);
    EXPECT_EQ(grey[0].color, 0x7F7F7Fu);
}

TEST(TextCapture, CompositeFontsGivenAsDirectDictionariesAreRead)
{
    // The font has no object number of its own; its made-up reference must not be fetched.
    PdfWriter pdf;
    pdf.addPage("BT /F1 12 Tf 100 700 Td <0041> Tj ET",
                "<< /Font << /F1 << /Type /Font /Subtype /Type0 /BaseFont /Direct /Encoding /Identity-H "
                "/DescendantFonts [<< /Type /Font /Subtype /CIDFontType2 /BaseFont /Direct /WinCharSet 134 "
                "/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> >>] >> >> >>");
    const auto texts = captureTexts(pdf.finish());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].x, 100);
    EXPECT_EQ(texts[0].y, 92);
}

TEST(TextCapture, TheFiLigatureIsRecordedAsTwoLetters)
{
    const auto texts = captureTexts(fontPdf("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
                                            "/Encoding << /Type /Encoding /Differences [102 /fi] >> >>",
                                            "BT /F1 12 Tf 100 700 Td (fa) Tj ET"));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, u"fi");
    EXPECT_EQ(texts[1].text, u"a");
}

TEST(TextCapture, ActualTextReplacesTheGlyphsOfItsSpan)
{
    const auto texts = captureTexts(fontPdf(helvetica, "/Span << /ActualText (xyz) >> BDC BT /F1 12 Tf 100 700 Td "
                                                       "(AB) Tj ET EMC /Span << /ActualText () >> BDC "
                                                       "BT /F1 12 Tf 100 600 Td (-) Tj ET EMC BT /F1 12 Tf 100 500 Td "
                                                       "(C) Tj ET"));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, u"xyz");
    EXPECT_EQ(texts[0].x, 100);
    EXPECT_EQ(texts[1].text, u"C");
}

TEST(TextCapture, CharactersBeyondTheBasicPlaneBecomeSurrogatePairs)
{
    const auto texts = captureTexts(
        compositePdf("MyCid", "Identity-H", "D83DDE00", "00E9", "BT /F1 12 Tf 100 700 Td <00010002> Tj ET"));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, u"\U0001F600");
    EXPECT_EQ(texts[0].text.size(), 2u);
    EXPECT_EQ(texts[1].text, u"\u00E9");
}

TEST(TextCapture, VerticalPunctuationGetsTheAtFaceTheMoveAndTheEscapement)
{
    // Both characters at the same pen position: the full stop moves by (H/8, -H) from the
    // ideograph, since a vertical font has no horizontal advance.
    const auto texts = captureTexts(compositePdf("Arial", "Identity-V", "3002", "4E00",
                                                 "BT /F1 16 Tf 300 700 Td <0002> Tj ET "
                                                 "BT /F1 16 Tf 300 700 Td <0001> Tj ET"));
    ASSERT_EQ(texts.size(), 2u);
    const Text &ideograph = texts[0];
    const Text &stop = texts[1];
    EXPECT_EQ(ideograph.face, "Arial");
    EXPECT_EQ(ideograph.orientation, 0);
    EXPECT_EQ(stop.face, "@Arial");
    EXPECT_EQ(stop.orientation, 2700);
    EXPECT_EQ(stop.x, ideograph.x + 2);
    EXPECT_EQ(stop.y, ideograph.y - 16);
}

TEST(TextCapture, PointTextMarkedVerticalMakesHorizontalFontsVertical)
{
    // The EMC of a BDC with a named property list arrives without its begin; it must not
    // underflow the stack.
    const std::string content = "/P /MC0 BDC EMC /PointText << /Vertical true >> BDC "
                                "BT /F1 16 Tf 300 700 Td <0001> Tj ET EMC "
                                "BT /F1 16 Tf 300 600 Td <0001> Tj ET";
    const auto texts = captureTexts(compositePdf("Arial", "Identity-H", "3002", "4E00", content));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].face, "@Arial");
    EXPECT_EQ(texts[1].face, "Arial");
}

TEST(TextCapture, BrokenFontsAndMatricesNeitherCrashNorHang)
{
    const std::string cases[] = {
        "BT /F1 0 Tf 100 700 Td (A) Tj ET",
        "BT /F1 1e30 Tf 100 700 Td (A) Tj ET",
        "BT /F1 12 Tf 0 0 0 0 100 700 Tm (A) Tj ET",
        "BT /F1 12 Tf 1e300 0 0 1e300 0 0 Tm (A) Tj ET",
        "BT /F2 12 Tf 100 700 Td (A) Tj ET", // no such font
        "BT (A) Tj ET",                      // no font at all
    };
    for (const std::string &content : cases) {
        const auto texts = captureTexts(fontPdf(helvetica, content));
        for (const Text &t : texts) {
            EXPECT_GE(t.orientation, 0) << content;
            EXPECT_LT(t.orientation, 3600) << content;
        }
    }
    const auto broken = captureTexts(
        fontPdf("<< /Type /Font /Subtype /Type1 /BaseFont /+,Bold-Italic+ >>", "BT /F1 12 Tf 100 700 Td (A) Tj ET"));
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0].bold, 1);
    EXPECT_EQ(broken[0].italic, 1);
}

TEST(TextCapture, APageStartsWithItsWholePageClipRegion)
{
    TempDir dir;
    PdfPtr pdf = openPdf(writePdf(dir, "blank.pdf", simplePdf("", 300, 200)));
    ASSERT_NE(pdf, nullptr);
    PageObjectPtr page = capturePage(pdf.get(), 1);
    ASSERT_NE(page, nullptr);
    ASSERT_GE(page->elementCount, 1);
    ASSERT_EQ(page->elements[0]->kind, ElementRegion);
    const auto *region = static_cast<const PageRegion *>(page->elements[0]->body);
    ASSERT_NE(region, nullptr);
    ASSERT_EQ(region->regionSize, 48);
    const auto *words = reinterpret_cast<const int32_t *>(region->regionData);
    EXPECT_EQ(words[2], 1); // one rectangle
    EXPECT_EQ(std::vector<int32_t>(words + 8, words + 12), (std::vector<int32_t>{0, 0, 300, 200}));
    for (int i = 1; i < page->elementCount; ++i)
        EXPECT_EQ(page->elements[i]->kind, ElementRegion); // the save and restore around the content
}

} // namespace
} // namespace quarnel::testing
