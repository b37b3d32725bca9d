#include "support/pdf_writer.h"

#include <cstdio>

namespace quarnel::testing {

std::string ref(int object)
{
    return std::to_string(object) + " 0 R";
}

PdfWriter::PdfWriter() : pagesObject_(reserve()) {}

int PdfWriter::add(const std::string &body)
{
    objects_.push_back(body);
    return static_cast<int>(objects_.size());
}

int PdfWriter::addStream(const std::string &dictionary, const std::string &data)
{
    return add("<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data +
               "\nendstream");
}

int PdfWriter::reserve()
{
    return add("null");
}

void PdfWriter::set(int object, const std::string &body)
{
    objects_.at(static_cast<size_t>(object - 1)) = body;
}

int PdfWriter::addPage(const std::string &content, const std::string &resources, double width, double height,
                       const std::string &extra)
{
    const int contents = addStream("", content);
    char box[96];
    std::snprintf(box, sizeof box, "[0 0 %g %g]", width, height);
    const int page = add("<< /Type /Page /Parent " + ref(pagesObject_) + " /MediaBox " + box + " /Resources " +
                         resources + " /Contents " + ref(contents) + " " + extra + " >>");
    pages_.push_back(page);
    return page;
}

std::string PdfWriter::finish(const std::string &header)
{
    std::string kids;
    for (int page : pages_)
        kids += ref(page) + " ";
    set(pagesObject_, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages_.size()) + " >>");
    const int catalog = add("<< /Type /Catalog /Pages " + ref(pagesObject_) + " " + catalogExtra_ + " >>");

    std::string out = header + "\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects_.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects_[i] + "\nendobj\n";
    }
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects_.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[21];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out += line;
    }
    out += "trailer\n<< /Size " + std::to_string(objects_.size() + 1) + " /Root " + ref(catalog) +
           " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    // The catalog is the last object; undo it so finish() can be called again after more adds.
    objects_.pop_back();
    return out;
}

std::string simplePdf(const std::string &content, double width, double height, const std::string &extra)
{
    PdfWriter pdf;
    const int font = pdf.add("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    pdf.addPage(content, "<< /Font << /F1 " + ref(font) + " >> >>", width, height, extra);
    return pdf.finish();
}

} // namespace quarnel::testing
