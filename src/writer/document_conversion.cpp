#include "writer/document_conversion.h"

#include "layout/intermediate/intermediate_reader.h"
#include "writer/atomic_file.h"
#include "writer/rtf_document.h"
#include "writer/status_channel.h"

#include <cstdio>

namespace quarnel::writer {
namespace {

using layout::intermediate::IntermediateReader;

int report(int exitCode, const std::string &message)
{
    std::fprintf(stderr, "vornik: %s\n", message.c_str());
    return exitCode;
}

int readFailure(const IntermediateReader &reader, const std::string &path)
{
    // A file that cannot be opened at all is a missing input, not a damaged one.
    const int code = reader.pagesRead() == 0 && reader.error().rfind("cannot open", 0) == 0 ? ExitCannotWrite
                                                                                            : ExitBadInput;
    return report(code, path + ": " + reader.error());
}

struct Survey {
    int pageCount = 0;
    ColorTable colors;
};

// The first pass: checks the whole file and gathers what the header needs, skipping pictures.
int surveyDocument(const std::string &path, Survey &survey)
{
    IntermediateReader reader;
    if (!reader.openFile(path))
        return readFailure(reader, path);
    for (;;) {
        layout::LayoutPage page;
        const IntermediateReader::Status status = reader.readPage(page, true);
        if (status == IntermediateReader::Status::Error)
            return readFailure(reader, path);
        if (status == IntermediateReader::Status::End)
            return ExitWritten;
        ++survey.pageCount;
        if (page.records)
            for (const layout::LayoutRecord &record : *page.records)
                if (const auto *text = std::get_if<layout::TextRecordBody>(&record.body))
                    survey.colors.add(text->color);
    }
}

int writeDocument(const ConversionRequest &request, Survey survey, AtomicFile &output)
{
    const StatusChannel status(request.statusArgument);
    IntermediateReader reader;
    if (!reader.openFile(request.intermediatePath))
        return readFailure(reader, request.intermediatePath);
    RtfDocument document(request.fontName, request.codePage, std::move(survey.colors));
    std::string chunk;
    for (int number = 1;; ++number) {
        layout::LayoutPage page;
        const IntermediateReader::Status read = reader.readPage(page);
        if (read == IntermediateReader::Status::Error)
            return readFailure(reader, request.intermediatePath);
        if (read == IntermediateReader::Status::End)
            break;
        if (number > survey.pageCount)
            return report(ExitBadInput, request.intermediatePath + ": changed while it was read");
        chunk.clear();
        if (number == 1)
            document.appendHeader(chunk, page);
        document.appendPage(chunk, page, number == 1);
        output.write(chunk);
        status.send("page " + std::to_string(number) + " of " + std::to_string(survey.pageCount));
    }
    chunk.clear();
    document.appendTrailer(chunk);
    output.write(chunk);
    if (document.skippedPictures() > 0)
        std::fprintf(stderr, "vornik: %d picture(s) skipped: bitmap header does not match its data\n",
                     document.skippedPictures());
    if (document.skippedLinePictures() > 0)
        std::fprintf(stderr, "vornik: the lines of %d page(s) skipped: their picture could not be encoded\n",
                     document.skippedLinePictures());
    return ExitWritten;
}

} // namespace

int convertDocument(const ConversionRequest &request)
{
    Survey survey;
    if (const int code = surveyDocument(request.intermediatePath, survey); code != ExitWritten)
        return code;
    AtomicFile output(request.destination);
    if (!output.open())
        return report(ExitCannotWrite, request.destination + ": " + output.error());
    if (const int code = writeDocument(request, std::move(survey), output); code != ExitWritten)
        return code;
    if (!output.commit())
        return report(ExitCannotWrite, request.destination + ": " + output.error());
    return ExitWritten;
}

} // namespace quarnel::writer
