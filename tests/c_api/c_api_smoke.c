/* Opens a PDF through the C interface and prints its page count and first page size. */
#include <quarnel/pdf_engine.h>

#include <stdio.h>

int main(int argc, char **argv)
{
    PdfHandle *pdf;
    PageObject *page;
    if (argc != 2)
        return 2;
    pdf = PDF_Open(argv[1], NULL, NULL, 72);
    if (!pdf)
        return 1;
    printf("pages: %d\n", PDF_GetPageCount(pdf));
    page = PDF_GetPageObject(pdf, 1);
    if (page) {
        printf("size: %d x %d, elements: %d\n", (int)page->width, (int)page->height, (int)page->elementCount);
        PDF_DestroyPageObject(page);
    }
    PDF_Close(pdf);
    return 0;
}
