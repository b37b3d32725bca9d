#pragma once
// A tiny PDF writer for fixtures: a test states exactly the objects and content operators a case
// needs, and the writer numbers the objects, fills in stream lengths and computes the xref.
//
//   PdfWriter pdf;
//   int font = pdf.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
//   pdf.addPage("BT /F1 12 Tf 10 20 Td (Hi) Tj ET", "<< /Font << /F1 " + ref(font) + " >> >>");
//   writeFile(path, pdf.finish());
#include <string>
#include <vector>

namespace quarnel::testing {

// "N 0 R"
std::string ref(int object);

class PdfWriter {
public:
    PdfWriter();

    // Adds an object (its text between "N 0 obj" and "endobj"); returns its number.
    int add(const std::string &body);
    // Adds a stream object; `dictionary` is the text inside << >> without /Length.
    int addStream(const std::string &dictionary, const std::string &data);
    // Reserves a number for an object whose body is set later with set().
    int reserve();
    void set(int object, const std::string &body);

    // Adds a page with its content stream and resource dictionary (text "<< ... >>").
    // `extra` goes into the page dictionary (for example "/Rotate 90 /CropBox [...]").
    int addPage(const std::string &content, const std::string &resources = "<< >>", double width = 612,
                double height = 792, const std::string &extra = "");

    // Extra entries for the catalog ("/Outlines 5 0 R").
    void addCatalogEntries(const std::string &entries) { catalogExtra_ += entries; }

    // The whole file: header (`header` is the first line, "%PDF-1.4" unless changed), objects,
    // xref and trailer.
    std::string finish(const std::string &header = "%PDF-1.4");

private:
    std::vector<std::string> objects_; // index 0 is object 1
    std::vector<int> pages_;
    int pagesObject_;
    std::string catalogExtra_;
};

// One-page document with a Helvetica font as /F1 and the given content.
std::string simplePdf(const std::string &content, double width = 612, double height = 792,
                      const std::string &extra = "");

} // namespace quarnel::testing
