#pragma once
// Opening a PDF document with poppler, with the file-name retries and the header version.
#include <PDFDoc.h>

#include <memory>
#include <optional>
#include <string>

namespace quarnel::engine {

// The path that opens for reading: `path`, else its lower-case copy, else its upper-case copy.
std::optional<std::string> findReadablePath(const std::string &path);

// The version after the first "%PDF-" within the first 1024 bytes (1.4 for "%PDF-1.4"); 0 when
// there is no header or no number follows it.
double readHeaderVersion(const std::string &path);

// A document that is ok, or null (missing, damaged, wrong password). Empty passwords are none.
std::unique_ptr<PDFDoc> openDocument(const std::string &path, const char *ownerPassword, const char *userPassword);

} // namespace quarnel::engine
