// quarnel: for now, reports what the engine sees in a PDF (pages, version, page sizes).
#include <quarnel/pdf_engine.h>

#include <clocale>
#include <cstdio>

int main(int argc, char **argv)
{
    std::setlocale(LC_ALL, "");
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarnel FILE.pdf\n");
        return 1;
    }
    PdfHandle *pdf = PDF_Open(argv[1], nullptr, nullptr, 72);
    if (!pdf) {
        std::fprintf(stderr, "quarnel: can't open '%s' as a PDF document\n", argv[1]);
        return 2;
    }
    const int pages = PDF_GetPageCount(pdf);
    std::printf("%s: %d page(s)\n", argv[1], pages);
    for (int page = 1; page <= pages; ++page) {
        PageObject *object = PDF_GetPageObject(pdf, page);
        if (!object) {
            std::printf("page %d: could not be captured\n", page);
            continue;
        }
        if (page == 1)
            std::printf("PDF version %.1f\n", object->pdfVersion);
        std::printf("page %d: %d x %d pixels at 72 dpi\n", page, object->width, object->height);
        PDF_DestroyPageObject(object);
    }
    PDF_Close(pdf);
    return 0;
}
