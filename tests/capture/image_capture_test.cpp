// Images and image masks as the capture device records or draws them, from hand-made PDFs.
#include "capture/engine_state.h"
#include "engine_api/pdf_handle.h"
#include "support/engine_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quarnel::testing {
namespace {

struct Image {
    int width, height; // samples as stored
    int left, top, destWidth, destHeight;
    std::vector<uint8_t> pixels;
};

struct Captured {
    std::vector<Image> images;
    std::vector<uint32_t> polygonColors;
};

Captured captureBytes(const std::string &pdfBytes)
{
    PageObjectPtr page = captureFirstPage(pdfBytes);
    EXPECT_NE(page, nullptr);
    Captured out;
    for (int i = 0; page && i < page->elementCount; ++i) {
        const PageElement &e = *page->elements[i];
        if (e.kind == ElementImage) {
            const auto *im = static_cast<const PageImage *>(e.body);
            EXPECT_EQ(im->header.biBitCount, 32);
            EXPECT_EQ(im->pixelBytes, im->header.biWidth * im->header.biHeight * 4);
            out.images.push_back({im->header.biWidth, im->header.biHeight, im->destX, im->destY, im->destWidth,
                                  im->destHeight, std::vector<uint8_t>(im->pixels, im->pixels + im->pixelBytes)});
        } else if (e.kind == ElementPolygon) {
            out.polygonColors.push_back(static_cast<const PagePolygon *>(e.body)->color);
        }
    }
    return out;
}

// A page showing the image XObject /Im1 (its dictionary entries and data) with `content`.
std::string imagePdf(const std::string &imageDict, const std::string &data, const std::string &content)
{
    PdfWriter pdf;
    const int image = pdf.addStream("/Type /XObject /Subtype /Image " + imageDict, data);
    pdf.addPage(content, "<< /XObject << /Im1 " + ref(image) + " >> >>");
    return pdf.finish();
}

const std::string rgb2x1 = "/Width 2 /Height 1 /ColorSpace /DeviceRGB /BitsPerComponent 8";
const std::string whiteRed = std::string("\xFF\xFF\xFF\xFF\x00\x00", 6);

TEST(ImageCapture, PlacedInTheRectangleOfItsMatrix)
{
    struct Case {
        const char *content;
        std::optional<std::vector<int>> dest; // left, top, width, height; none: not recorded
    };
    const Case cases[] = {
        {"q 100 0 0 50 10 732 cm /Im1 Do Q", std::vector<int>{10, 10, 101, 51}},
        {"q 50 0 0 50 -100 100 cm /Im1 Do Q", std::nullopt}, // left of the page
        {"q 200 0 0 10 512 700 cm /Im1 Do Q", std::vector<int>{512, 82, 100, 11}},
        {"q 0 0 0 0 10 10 cm /Im1 Do Q", std::vector<int>{10, 782, 1, 1}}, // degenerate: one pixel
    };
    for (const Case &c : cases) {
        const Captured page = captureBytes(imagePdf(rgb2x1, whiteRed, c.content));
        if (!c.dest) {
            EXPECT_TRUE(page.images.empty()) << c.content;
            continue;
        }
        ASSERT_EQ(page.images.size(), 1u) << c.content;
        const Image &im = page.images[0];
        EXPECT_EQ((std::vector<int>{im.left, im.top, im.destWidth, im.destHeight}), *c.dest) << c.content;
        EXPECT_EQ(im.width, 2) << c.content; // all the samples, however much is on the page
        EXPECT_EQ(im.height, 1) << c.content;
    }
}

TEST(ImageCapture, PixelsAreConvertedWithWhiteKeptOpaque)
{
    const std::string content = "q 100 0 0 50 10 700 cm /Im1 Do Q";
    const Captured plain = captureBytes(imagePdf(rgb2x1, whiteRed, content));
    ASSERT_EQ(plain.images.size(), 1u);
    EXPECT_EQ(plain.images[0].pixels, (std::vector<uint8_t>{250, 255, 255, 0, 0, 0, 255, 0}));

    // A colour key over pure red: that pixel becomes red 250, green 255, blue 255.
    const Captured keyed = captureBytes(imagePdf(rgb2x1 + " /Mask [250 255 0 0 0 9]", whiteRed, content));
    ASSERT_EQ(keyed.images.size(), 1u);
    EXPECT_EQ(keyed.images[0].pixels, (std::vector<uint8_t>{250, 255, 255, 0, 255, 255, 250, 0}));

    // Grey through a lookup: 0.5 gives 128.
    const Captured grey =
        captureBytes(imagePdf("/Width 1 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 1 /Decode [0.5 1]",
                              std::string("\x00", 1), content));
    ASSERT_EQ(grey.images.size(), 1u);
    EXPECT_EQ(grey.images[0].pixels, (std::vector<uint8_t>{128, 128, 128, 0}));
}

TEST(ImageCapture, MaskedImagesKeepTheirPicture)
{
    PdfWriter pdf;
    const int soft = pdf.addStream("/Type /XObject /Subtype /Image /Width 2 /Height 1 /ColorSpace /DeviceGray "
                                   "/BitsPerComponent 8",
                                   std::string("\x80\xFF", 2));
    const int stencil =
        pdf.addStream("/Type /XObject /Subtype /Image /Width 2 /Height 1 /ImageMask true", std::string("\x40", 1));
    const int a = pdf.addStream("/Type /XObject /Subtype /Image " + rgb2x1 + " /SMask " + ref(soft), whiteRed);
    const int b = pdf.addStream("/Type /XObject /Subtype /Image " + rgb2x1 + " /Mask " + ref(stencil), whiteRed);
    pdf.addPage("q 100 0 0 50 10 700 cm /A Do Q q 100 0 0 50 10 600 cm /B Do Q",
                "<< /XObject << /A " + ref(a) + " /B " + ref(b) + " >> >>");
    const Captured page = captureBytes(pdf.finish());
    ASSERT_EQ(page.images.size(), 2u);
    for (const Image &im : page.images)
        EXPECT_EQ(im.pixels, (std::vector<uint8_t>{250, 255, 255, 0, 0, 0, 255, 0}));
}

TEST(ImageCapture, ImageMasksArePaintedInTheFillColourAndTurned)
{
    // 4 x 2 samples; with the default decode a 0 bit paints.
    const std::string mask = "/Width 4 /Height 2 /ImageMask true";
    const std::string bits("\x3F\xFF", 2); // first row: two painted pixels
    const Captured upright = captureBytes(imagePdf(mask, bits, "0 0 1 rg q 100 0 0 50 10 700 cm /Im1 Do Q"));
    ASSERT_EQ(upright.images.size(), 1u);
    const Image &u = upright.images[0];
    EXPECT_EQ((std::vector<int>{u.width, u.height, u.left, u.top, u.destWidth, u.destHeight}),
              (std::vector<int>{4, 2, 10, 42, 100, 50}));
    // Bottom-up rows: the first image row is the last in memory.
    const std::vector<uint8_t> blue{255, 0, 0, 0}, white{255, 255, 255, 0};
    EXPECT_EQ(std::vector<uint8_t>(u.pixels.begin() + 16, u.pixels.begin() + 20), blue);
    EXPECT_EQ(std::vector<uint8_t>(u.pixels.begin(), u.pixels.begin() + 4), white);

    const Captured turned = captureBytes(imagePdf(mask, bits, "1 1 1 rg q 0 100 -50 0 300 300 cm /Im1 Do Q"));
    ASSERT_EQ(turned.images.size(), 1u);
    EXPECT_EQ(turned.images[0].width, 2); // a quarter turn: height samples wide
    EXPECT_EQ(turned.images[0].height, 4);
    std::set<std::vector<uint8_t>> colors;
    for (size_t k = 0; k < turned.images[0].pixels.size(); k += 4)
        colors.insert(
            std::vector<uint8_t>(turned.images[0].pixels.begin() + k, turned.images[0].pixels.begin() + k + 4));
    EXPECT_TRUE(colors.count({240, 255, 255, 0})); // white paint becomes 0x00F0FFFF
}

// An 8 x 8 grey JPEG, every sample 128: quantisation table of ones, one Huffman code for DC
// difference 0 and one for end of block.
std::string greyJpeg()
{
    std::string j("\xFF\xD8\xFF\xDB\x00\x43\x00", 7);
    j += std::string(64, '\x01');
    j += std::string("\xFF\xC0\x00\x0B\x08\x00\x08\x00\x08\x01\x01\x11\x00", 13);
    for (const char tableClass : {'\x00', '\x10'}) {
        j += std::string("\xFF\xC4\x00\x14", 4);
        j += tableClass;
        j += '\x01';
        j += std::string(15, '\x00');
        j += '\x00';
    }
    j += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
    j += std::string("\x3F\xFF\xD9", 3);
    return j;
}

TEST(ImageCapture, DctCodedMasksAreDecodedLikeOthers)
{
    const Captured page = captureBytes(imagePdf("/Width 8 /Height 8 /ImageMask true /Filter /DCTDecode", greyJpeg(),
                                                "q 80 0 0 80 10 700 cm /Im1 Do Q"));
    ASSERT_EQ(page.images.size(), 1u);
    EXPECT_EQ(page.images[0].width, 8);
    EXPECT_EQ(page.images[0].height, 8);
    // Samples 128 = bits 10000000: the first column is white, the others painted black.
    EXPECT_EQ(std::vector<uint8_t>(page.images[0].pixels.begin(), page.images[0].pixels.begin() + 8),
              (std::vector<uint8_t>{255, 255, 255, 0, 0, 0, 0, 0}));
}

// Inline image data that holds "EI" followed by operators: a device that does not read past
// the data makes the parser run them (a green square).
TEST(ImageCapture, InlineDataIsReadPastWhenNothingIsDrawn)
{
    std::string trap = "EI 0 1 0 rg 9 9 5 5 re f ";
    trap += std::string(32 - trap.size(), ' ');
    struct Case {
        const char *what;
        std::string image;
        size_t images;
    };
    const Case cases[] = {
        {"drawn", "q 100 0 0 50 10 700 cm BI /W 32 /H 1 /CS /G /BPC 8 ID " + trap + "EI Q", 1},
        {"off the page", "q 100 0 0 50 -300 700 cm BI /W 32 /H 1 /CS /G /BPC 8 ID " + trap + "EI Q", 0},
        {"mask off the page", "q 100 0 0 50 -300 700 cm BI /W 8 /H 32 /IM true ID " + trap + "EI Q", 0},
        {"singular mask", "q 0 0 0 0 10 700 cm BI /W 8 /H 32 /IM true ID " + trap + "EI Q", 0},
        {"too wide",
         "q 100 0 0 50 10 700 cm BI /W 10001 /H 1 /CS /G /BPC 1 ID " + trap + std::string(1251 - trap.size(), ' ') +
             "EI Q",
         0},
    };
    for (const Case &c : cases) {
        PdfWriter pdf;
        pdf.addPage(c.image + " 1 0 0 rg 20 20 5 5 re f");
        const Captured page = captureBytes(pdf.finish());
        EXPECT_EQ(page.images.size(), c.images) << c.what;
        EXPECT_EQ(page.polygonColors, std::vector<uint32_t>{0x000000FF}) << c.what;
    }
}

TEST(ImageCapture, BrokenImagesAreSkippedOrPadded)
{
    const char *content = "q 100 0 0 50 10 700 cm /Im1 Do Q";
    struct Case {
        const char *what;
        std::string dict, data;
        size_t images;
    };
    const Case cases[] = {
        {"truncated data", "/Width 100 /Height 100 /ColorSpace /DeviceRGB /BitsPerComponent 8", "abc", 1},
        {"zero width", "/Width 0 /Height 1 /ColorSpace /DeviceRGB /BitsPerComponent 8", "abc", 0},
        {"enormous", "/Width 2000000000 /Height 2000000000 /ColorSpace /DeviceRGB /BitsPerComponent 8", "abc", 0},
        {"enormous mask", "/Width 2000000000 /Height 3 /ImageMask true", "abc", 0},
        {"bad bit depth", "/Width 2 /Height 2 /ColorSpace /DeviceRGB /BitsPerComponent 32", "abcdefgh", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(captureBytes(imagePdf(c.dict, c.data, content)).images.size(), c.images) << c.what;
}

// The orientation of drawn images against pdftoppm: a 2 x 2 image of four colours (or a mask
// with its top-left sample painted) under the eight matrices that turn and mirror it.
struct Rgb {
    int r, g, b;
};

std::optional<std::vector<Rgb>> popplerPixels(const TempDir &dir, const std::string &path, int &width)
{
    const std::string prefix = dir.file("ref");
    if (std::system(("pdftoppm -q -r 72 -singlefile '" + path + "' '" + prefix + "'").c_str()) != 0)
        return std::nullopt;
    std::ifstream in(prefix + ".ppm", std::ios::binary);
    std::string magic;
    int height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    if (magic != "P6" || width <= 0 || height <= 0)
        return std::nullopt;
    std::vector<Rgb> pixels(static_cast<size_t>(width) * height);
    for (Rgb &p : pixels) {
        p.r = in.get();
        p.g = in.get();
        p.b = in.get();
    }
    return pixels;
}

// The nearest of the test colours: 0 red, 1 green, 2 blue, 3 black, 4 white.
int colorClass(Rgb c)
{
    const Rgb palette[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}, {255, 255, 255}};
    int best = 0, bestDistance = 1 << 30;
    for (int k = 0; k < 5; ++k) {
        const int d = (c.r - palette[k].r) * (c.r - palette[k].r) + (c.g - palette[k].g) * (c.g - palette[k].g) +
                      (c.b - palette[k].b) * (c.b - palette[k].b);
        if (d < bestDistance)
            best = k, bestDistance = d;
    }
    return best;
}

TEST(ImageCapture, DrawnImagesAreTurnedAndMirroredAsPopplerDoes)
{
    const char *matrices[] = {"100 0 0 100 0 0",    "100 0 0 -100 0 100",   "-100 0 0 100 100 0",
                              "0 100 -100 0 100 0", "0 -100 100 0 0 100",   "-100 0 0 -100 100 100",
                              "0 100 100 0 0 0",    "0 -100 -100 0 100 100"};
    PdfWriter pdf;
    const int image = pdf.addStream("/Type /XObject /Subtype /Image /Width 2 /Height 2 /ColorSpace /DeviceRGB "
                                    "/BitsPerComponent 8",
                                    std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00", 12));
    const int mask =
        pdf.addStream("/Type /XObject /Subtype /Image /Width 2 /Height 2 /ImageMask true", std::string("\x40\xC0", 2));
    std::string content;
    for (int k = 0; k < 8; ++k) {
        const int x = 20 + 140 * (k % 4), y = 650 - 140 * (k / 4);
        content += "q 1 0 0 1 " + std::to_string(x) + " " + std::to_string(y) + " cm " + matrices[k] + " cm /Im1 Do Q ";
        content +=
            "q 1 0 0 1 " + std::to_string(x) + " " + std::to_string(y - 300) + " cm " + matrices[k] + " cm /M Do Q ";
    }
    pdf.addPage(content, "<< /XObject << /Im1 " + ref(image) + " /M " + ref(mask) + " >> >>");
    TempDir dir;
    const std::string path = writePdf(dir, "o.pdf", pdf.finish());
    int width = 0;
    const std::optional<std::vector<Rgb>> reference = popplerPixels(dir, path, width);
    if (!reference)
        GTEST_SKIP() << "pdftoppm is not available";

    PdfPtr doc = openPdf(path);
    ASSERT_NE(doc, nullptr);
    capture::engineState().currentPageObject = nullptr;
    doc->doc->displayPage(doc->device.get(), 1, 72, 72, 0, false, true, false);
    const capture::DrawingSurface &surface = capture::engineState().surface;
    for (int k = 0; k < 8; ++k)
        for (const int shift : {0, 300})
            for (const int qx : {25, 75})
                for (const int qy : {25, 75}) {
                    const int x = 20 + 140 * (k % 4) + qx, y = 792 - (650 - 140 * (k / 4) - shift) - 100 + qy;
                    const uint32_t ours = surface.pixel(x, y);
                    const Rgb mine{static_cast<int>(ours & 0xFF), static_cast<int>(ours >> 8 & 0xFF),
                                   static_cast<int>(ours >> 16 & 0xFF)};
                    EXPECT_EQ(colorClass(mine), colorClass((*reference)[static_cast<size_t>(y) * width + x]))
                        << "matrix " << matrices[k] << (shift ? " (mask)" : " (image)") << " at " << qx << "," << qy;
                }
}

} // namespace
} // namespace quarnel::testing
