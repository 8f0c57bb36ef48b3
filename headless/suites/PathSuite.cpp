// The path suite: a path's segments, read and written in ranges.
#include <algorithm>
#include <cstddef>

#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kGetPathSegmentCount{"Path.GetPathSegmentCount", true};
constexpr Op kGetPathSegments{"Path.GetPathSegments", true};
constexpr Op kSetPathSegments{"Path.SetPathSegments", true};

// Whether first..first+count lies within the path.
bool InRange(const Art& path, int16_t first, int16_t count) {
    if (first < 0 || count < 0) return false;
    return static_cast<std::size_t>(first) + static_cast<std::size_t>(count) <=
           path.segments.size();
}

HostErr HOSTAPI GetPathSegmentCount(ArtHandle art, int16_t* count) {
    return Fallible(kGetPathSegmentCount, {}, [&](HostCore& host) -> HostErr {
        Art* path = nullptr;
        if (const HostErr error = host.FindPath(art, &path)) return error;
        if (count == nullptr) return kBadParameterErr;
        if (path->segments.size() > static_cast<std::size_t>(kMaxSegments)) return kRangeErr;
        *count = static_cast<int16_t>(path->segments.size());
        return kNoErr;
    });
}

HostErr HOSTAPI GetPathSegments(ArtHandle art, int16_t first, int16_t count,
                                PathSegment* segments) {
    return Fallible(kGetPathSegments, {}, [&](HostCore& host) -> HostErr {
        Art* path = nullptr;
        if (const HostErr error = host.FindPath(art, &path)) return error;
        if (!InRange(*path, first, count)) return kRangeErr;
        if (count > 0 && segments == nullptr) return kBadParameterErr;
        const auto begin = path->segments.begin() + first;
        std::copy(begin, begin + count, segments);
        return kNoErr;
    });
}

HostErr HOSTAPI SetPathSegments(ArtHandle art, int16_t first, int16_t count,
                                const PathSegment* segments) {
    return Fallible(kSetPathSegments, {}, [&](HostCore& host) -> HostErr {
        Art* path = nullptr;
        if (const HostErr error = host.FindPath(art, &path)) return error;
        if (!InRange(*path, first, count)) return kRangeErr;
        if (count > 0 && segments == nullptr) return kBadParameterErr;
        std::copy(segments, segments + count, path->segments.begin() + first);
        return kNoErr;
    });
}

constexpr const Op* kOps[] = {&kGetPathSegmentCount, &kGetPathSegments, &kSetPathSegments};

const PathSuite kTable = {&GetPathSegmentCount, &GetPathSegments, &SetPathSegments};

}  // namespace

const SuiteDef kPathSuiteDef{kPathSuite, kPathSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
