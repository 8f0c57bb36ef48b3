// The matching art suite: the document's paths that meet any of the specs,
// as a memory handle of art handles that the caller disposes of.
#include <cstdint>
#include <cstring>
#include <vector>

#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kGetMatchingArt{"MatchingArt.GetMatchingArt", true};

// The only attribute this host's art has.
int32_t Attributes(const Art& art) { return art.selected ? kArtSelected : 0; }

// Only paths are ever matched; art of other types is kept but never found.
bool Matches(const Art& art, const MatchingArtSpec& spec) {
    if (art.type != kPathArt || spec.type != kPathArt) return false;
    return (Attributes(art) & spec.whichAttr) == (spec.attr & spec.whichAttr);
}

HostErr HOSTAPI GetMatchingArt(MatchingArtSpec* specs, int16_t numSpecs, ArtHandle*** matches,
                               int32_t* numMatches) {
    return Fallible(kGetMatchingArt, {}, [&](HostCore& host) -> HostErr {
        if (matches == nullptr || numMatches == nullptr || numSpecs < 0) return kBadParameterErr;
        if (numSpecs > 0 && specs == nullptr) return kBadParameterErr;

        std::vector<ArtHandle> found;
        const std::vector<Art>& art = host.document.art;
        for (std::size_t i = 0; i < art.size(); ++i) {
            for (int16_t s = 0; s < numSpecs; ++s) {
                if (Matches(art[i], specs[s])) {
                    found.push_back(host.ArtFor(i));
                    break;
                }
            }
        }
        if (found.size() > static_cast<std::size_t>(INT32_MAX / sizeof(ArtHandle)))
            return kOutOfMemoryErr;
        if (found.empty()) {
            *matches = nullptr;
            *numMatches = 0;
            return kNoErr;
        }
        const std::size_t bytes = found.size() * sizeof(ArtHandle);
        const HostHandle handle = host.NewHandle(bytes, false);
        std::memcpy(*handle, found.data(), bytes);
        *matches = reinterpret_cast<ArtHandle**>(handle);
        *numMatches = static_cast<int32_t>(found.size());
        return kNoErr;
    });
}

constexpr const Op* kOps[] = {&kGetMatchingArt};

const MatchingArtSuite kTable = {&GetMatchingArt};

}  // namespace

const SuiteDef kMatchingArtSuiteDef{kMatchingArtSuite, kMatchingArtSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
