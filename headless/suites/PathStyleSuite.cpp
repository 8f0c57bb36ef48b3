// The path style suite: a path's whole style record, read and written.
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kGetPathStyle{"PathStyle.GetPathStyle", true};
constexpr Op kSetPathStyle{"PathStyle.SetPathStyle", true};

HostErr HOSTAPI GetPathStyle(ArtHandle art, PathStyle* style) {
    return Fallible(kGetPathStyle, {}, [&](HostCore& host) -> HostErr {
        Art* path = nullptr;
        if (const HostErr error = host.FindPath(art, &path)) return error;
        if (style == nullptr) return kBadParameterErr;
        *style = path->style;
        return kNoErr;
    });
}

HostErr HOSTAPI SetPathStyle(ArtHandle art, const PathStyle* style) {
    return Fallible(kSetPathStyle, {}, [&](HostCore& host) -> HostErr {
        Art* path = nullptr;
        if (const HostErr error = host.FindPath(art, &path)) return error;
        if (style == nullptr) return kBadParameterErr;
        path->style = *style;
        return kNoErr;
    });
}

constexpr const Op* kOps[] = {&kGetPathStyle, &kSetPathStyle};

const PathStyleSuite kTable = {&GetPathStyle, &SetPathStyle};

}  // namespace

const SuiteDef kPathStyleSuiteDef{kPathStyleSuite, kPathStyleSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
