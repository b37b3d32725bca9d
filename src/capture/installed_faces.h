#pragma once
// The faces installed on this machine, as the font list the platform offers: fontconfig's family
// names. A name that fontconfig's own configuration binds strongly to an installed family (its
// metric-compatible aliases, such as Arial to Liberation Sans) counts as installed too, because
// creating that face gives the aliased font.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quarnel::capture {

class InstalledFaces {
public:
    // Enumerates fontconfig's families once; an empty result is retried on the next use.
    void ensureLoaded();
    void setForTesting(std::vector<std::string> families, bool resolveAliases);

    // True when the name, compared without regard to case, is an installed family or one of
    // fontconfig's strong aliases of an installed family.
    bool contains(std::string_view name);

    const std::vector<std::string> &families() const { return families_; }

private:
    bool listed(std::string_view name) const;
    bool aliasOfListed(const std::string &name) const;

    std::vector<std::string> families_;
    bool resolveAliases_ = true;
    // Alias answers are cached: the test runs for every character.
    std::unordered_map<std::string, bool> aliasAnswers_;
};

} // namespace quarnel::capture
