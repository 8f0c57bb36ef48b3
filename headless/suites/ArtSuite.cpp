// The art suite: what kind of art an object is.
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kGetArtType{"Art.GetArtType", true};

HostErr HOSTAPI GetArtType(ArtHandle art, int16_t* type) {
    return Fallible(kGetArtType, {}, [&](HostCore& host) -> HostErr {
        const Art* object = host.FindArt(art);
        if (object == nullptr) return kBadArtErr;
        if (type == nullptr) return kBadParameterErr;
        *type = object->type;
        return kNoErr;
    });
}

constexpr const Op* kOps[] = {&kGetArtType};

const ArtSuite kTable = {&GetArtType};

}  // namespace

const SuiteDef kArtSuiteDef{kArtSuite, kArtSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
