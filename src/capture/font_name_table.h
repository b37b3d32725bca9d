#pragma once
// The user's PDF-font-name to face-name table: section "FontNameMapping" of config.ini beside the
// executable (FontCount, DefaultFontName, PdfFontName%d, OsFontName%d).
#include <string>
#include <vector>

namespace quarnel::capture {

class FontNameTable {
public:
    struct Pair {
        std::string pdfName;
        std::string faceName;
    };

    // Reads the table from config.ini. FontCount 0 (or no file) gives no pairs and an empty
    // default face, and leaves the table unloaded so that the next use reads the file again; a
    // negative count gives no pairs but still reads DefaultFontName. Every value is cut to 31
    // characters. Counts beyond maxPairs are read as maxPairs: the file is untrusted, and a
    // count of two billion must not stall the first character of a page.
    void loadFromConfig();
    // Loads on first use, and again on every use while the file says FontCount 0.
    void ensureLoaded();
    void setForTesting(std::vector<Pair> pairs, std::string defaultFace);
    // Forgets the table; the next use reads config.ini again.
    void reset();
    // Resolves config.ini's path now and uses it until the next call; until then, a table
    // with FontCount 0 is looked at again only once. The device calls it at each page start:
    // a table written while pages are captured applies from the next page, and characters do
    // not each pay for a path look-up and a stat.
    void resolveConfigPath();

    // The face for a normalised PDF font name (case-sensitive, first match), or null.
    const std::string *faceFor(const std::string &pdfName) const;
    const std::string &defaultFace() const { return defaultFace_; }
    // Changes whenever the table's content may have changed, so that callers may keep what
    // they derived from it until then.
    unsigned generation() const { return generation_; }
    const std::vector<Pair> &pairs() const { return pairs_; }

    static constexpr int maxPairs = 1000;

private:
    std::vector<Pair> pairs_;
    std::string defaultFace_;
    bool loaded_ = false;
    unsigned generation_ = 0;
    // While the file says FontCount 0 it is read again on every use; an unchanged file (same
    // size and modification time) gives the same answer, so it is not parsed again.
    struct FileStamp {
        bool exists = false;
        long long size = 0;
        long long modifiedNs = 0;
        bool operator==(const FileStamp &) const = default;
    };
    static FileStamp stampOf(const std::string &path);
    FileStamp lastEmptyRead_;
    std::string configPath_; // empty: resolved and looked at on every use
    bool checkDue_ = true;
    bool haveEmptyRead_ = false;
};

} // namespace quarnel::capture
