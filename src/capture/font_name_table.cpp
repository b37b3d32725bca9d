#include "capture/font_name_table.h"

#include "settings/setting_keys.h"

#include <algorithm>
#include <string>
#include <sys/stat.h>

namespace quarnel::capture {
namespace {

std::string numberedKey(const char *pattern, int number)
{
    std::string key = pattern;
    const size_t at = key.find("%d");
    return key.replace(at, 2, std::to_string(number));
}

} // namespace

void FontNameTable::loadFromConfig()
{
    namespace keys = settings::keys;
    ++generation_;
    pairs_.clear();
    defaultFace_.clear();
    const int count = settings::read(keys::FontCount);
    loaded_ = count != 0;
    if (count == 0)
        return;
    defaultFace_ = settings::read(keys::DefaultFontName);
    for (int i = 1; i <= std::min(count, maxPairs); ++i) {
        Pair pair;
        pair.pdfName = settings::readText(keys::Config, keys::FontMappingSection, numberedKey(keys::PdfFontNameKey, i),
                                          keys::FontNameDefault, keys::FontNameMaxLength);
        pair.faceName = settings::readText(keys::Config, keys::FontMappingSection, numberedKey(keys::OsFontNameKey, i),
                                           keys::FontNameDefault, keys::FontNameMaxLength);
        pairs_.push_back(std::move(pair));
    }
}

FontNameTable::FileStamp FontNameTable::stampOf(const std::string &path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {true, static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}

void FontNameTable::ensureLoaded()
{
    if (loaded_ || (!configPath_.empty() && !checkDue_))
        return;
    checkDue_ = false;
    const FileStamp stamp = stampOf(configPath_.empty() ? settings::configIniPath() : configPath_);
    if (haveEmptyRead_ && stamp == lastEmptyRead_)
        return;
    loadFromConfig();
    haveEmptyRead_ = !loaded_;
    lastEmptyRead_ = stamp;
}

void FontNameTable::setForTesting(std::vector<Pair> pairs, std::string defaultFace)
{
    ++generation_;
    pairs_ = std::move(pairs);
    defaultFace_ = std::move(defaultFace);
    loaded_ = true;
    haveEmptyRead_ = false;
}

void FontNameTable::resolveConfigPath()
{
    configPath_ = settings::configIniPath();
    checkDue_ = true;
}

void FontNameTable::reset()
{
    ++generation_;
    pairs_.clear();
    defaultFace_.clear();
    configPath_.clear();
    loaded_ = false;
    haveEmptyRead_ = false;
}

const std::string *FontNameTable::faceFor(const std::string &pdfName) const
{
    for (const Pair &pair : pairs_)
        if (pair.pdfName == pdfName)
            return &pair.faceName;
    return nullptr;
}

} // namespace quarnel::capture
