// Writes samples/hello.pdf, the small document the project ships and converts in its main job:
// two A4 pages with headings, body text in two faces, bold and italic, a table with ruled lines,
// a filled shape and a small picture. Made with cairo, so its fonts are embedded subsets with
// Unicode maps, like most PDFs people convert.
//
//   build/dev/bin/make_sample samples/hello.pdf
#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdio>
#include <initializer_list>

namespace {

void text(cairo_t *cr, double x, double y, const char *family, double size, bool bold, bool italic, const char *s)
{
    cairo_select_font_face(cr, family, italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, s);
}

void firstPage(cairo_t *cr)
{
    cairo_set_source_rgb(cr, 0.1, 0.2, 0.5);
    text(cr, 72, 90, "Liberation Sans", 24, true, false, "Quarnel sample document");
    cairo_set_source_rgb(cr, 0, 0, 0);
    const char *body[] = {
        "This small document shows what a converted page keeps: its text with",
        "fonts, sizes and colours, its ruled lines and its pictures. Each line",
        "of this paragraph is drawn separately, as PDF producers usually do.",
    };
    for (int i = 0; i < 3; ++i)
        text(cr, 72, 130 + 16 * i, "Liberation Serif", 12, false, false, body[i]);
    text(cr, 72, 196, "Liberation Serif", 12, true, false, "Bold words,");
    text(cr, 150, 196, "Liberation Serif", 12, false, true, "italic words,");
    cairo_set_source_rgb(cr, 0.8, 0.1, 0.1);
    text(cr, 230, 196, "Liberation Serif", 12, false, false, "and red words.");

    // A small table with ruled lines.
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1);
    const char *cells[3][2] = {{"Item", "Amount"}, {"Paper", "12"}, {"Ink", "3"}};
    for (int row = 0; row <= 3; ++row) {
        cairo_move_to(cr, 72, 230 + 22 * row);
        cairo_line_to(cr, 372, 230 + 22 * row);
    }
    for (double x : {72.0, 222.0, 372.0}) {
        cairo_move_to(cr, x, 230);
        cairo_line_to(cr, x, 296);
    }
    cairo_stroke(cr);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 2; ++col)
            text(cr, 80 + 150 * col, 246 + 22 * row, "Liberation Sans", 11, row == 0, false, cells[row][col]);

    // A filled shape and a small picture.
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.6);
    cairo_rectangle(cr, 400, 230, 120, 66);
    cairo_fill(cr);
    cairo_surface_t *picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 32, 32);
    unsigned char *data = cairo_image_surface_get_data(picture);
    const int stride = cairo_image_surface_get_stride(picture);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            auto *pixel = reinterpret_cast<unsigned *>(data + y * stride) + x;
            *pixel = ((x / 8 + y / 8) % 2) ? 0x2060C0u : 0xF0C020u;
        }
    cairo_surface_mark_dirty(picture);
    cairo_save(cr);
    cairo_translate(cr, 72, 330);
    cairo_scale(cr, 3, 3);
    cairo_set_source_surface(cr, picture, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(picture);
    cairo_set_source_rgb(cr, 0, 0, 0);
    text(cr, 180, 380, "Liberation Sans", 10, false, true, "A picture beside its caption.");
}

void secondPage(cairo_t *cr)
{
    cairo_set_source_rgb(cr, 0, 0, 0);
    text(cr, 72, 90, "Liberation Sans", 18, true, false, "Two columns");
    const char *left[] = {"The left column holds", "a few short lines that", "belong together."};
    const char *right[] = {"The right column is", "read after the left", "one, top to bottom."};
    for (int i = 0; i < 3; ++i) {
        text(cr, 72, 130 + 15 * i, "Liberation Serif", 11, false, false, left[i]);
        text(cr, 320, 130 + 15 * i, "Liberation Serif", 11, false, false, right[i]);
    }
    text(cr, 72, 760, "Liberation Sans", 9, false, false, "Page 2");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUTPUT.pdf\n");
        return 1;
    }
    cairo_surface_t *surface = cairo_pdf_surface_create(argv[1], 595, 842);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, "Quarnel sample document");
    cairo_t *cr = cairo_create(surface);
    firstPage(cr);
    cairo_show_page(cr);
    secondPage(cr);
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok ? 0 : 1;
}
