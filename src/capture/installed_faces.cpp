#include "capture/installed_faces.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <strings.h>

namespace quarnel::capture {
namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::vector<std::string> enumerateFamilies()
{
    std::vector<std::string> families;
    FcPattern *pattern = FcPatternCreate();
    FcObjectSet *objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet *fonts = (pattern && objects) ? FcFontList(nullptr, pattern, objects) : nullptr;
    if (fonts) {
        for (int i = 0; i < fonts->nfont; ++i) {
            FcChar8 *family = nullptr;
            for (int k = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, k, &family) == FcResultMatch; ++k)
                families.emplace_back(reinterpret_cast<const char *>(family));
        }
        FcFontSetDestroy(fonts);
    }
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);
    return families;
}

} // namespace

void InstalledFaces::ensureLoaded()
{
    if (families_.empty())
        families_ = enumerateFamilies();
}

void InstalledFaces::setForTesting(std::vector<std::string> families, bool resolveAliases)
{
    families_ = std::move(families);
    resolveAliases_ = resolveAliases;
    aliasAnswers_.clear();
}

bool InstalledFaces::listed(std::string_view name) const
{
    return std::any_of(families_.begin(), families_.end(),
                       [name](const std::string &family) { return equalIgnoringCase(family, name); });
}

// fontconfig's configuration adds a name's metric-compatible aliases right after it with a strong
// binding; the generic fallbacks that follow are weak. Only the strong run counts.
bool InstalledFaces::aliasOfListed(const std::string &name) const
{
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    bool found = false;
    FcValue value;
    FcValueBinding binding;
    for (int k = 1; !found && FcPatternGetWithBinding(pattern, FC_FAMILY, k, &value, &binding) == FcResultMatch; ++k) {
        if (binding != FcValueBindingStrong || value.type != FcTypeString)
            break;
        found = listed(reinterpret_cast<const char *>(value.u.s));
    }
    FcPatternDestroy(pattern);
    return found;
}

bool InstalledFaces::contains(std::string_view name)
{
    if (name.empty())
        return false;
    if (listed(name))
        return true;
    if (!resolveAliases_)
        return false;
    const std::string key(name);
    const auto known = aliasAnswers_.find(key);
    if (known != aliasAnswers_.end())
        return known->second;
    const bool answer = aliasOfListed(key);
    aliasAnswers_.emplace(key, answer);
    return answer;
}

} // namespace quarnel::capture
