#pragma once
// A fresh directory under $TMPDIR for one test, removed with everything in it afterwards.
#include <string>

namespace quarnel::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    // The directory, ending in '/'.
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + name; }

private:
    std::string path_;
};

std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &bytes);
bool fileExists(const std::string &path);

} // namespace quarnel::testing
