#pragma once
// The PDF files of a folder, sorted by name, for the benchmarks that walk a corpus.
#include <algorithm>
#include <filesystem>
#include <vector>

inline std::vector<std::filesystem::path> pdfFilesIn(const std::filesystem::path &folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".pdf")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}
