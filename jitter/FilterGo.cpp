// The filter run: move every anchor of the selected paths by an offset shared
// by all anchors that print alike, and give filled paths a random gray.
#include <cmath>
#include <cstring>

#include "jitter/FilterHandlers.h"
#include "jitter/JitterParams.h"
#include "jitter/PositionText.h"
#include "runtime/HandlerFrame.h"
#include "runtime/PluginGlobals.h"

namespace {

constexpr double kPi = 3.1415927410125732;  // pi rounded to a float

// An array the run created and has not yet handed to the dictionary.
class ArrayLease {
public:
    ArrayLease() = default;
    ~ArrayLease() {
        if (array_ != nullptr) sArray->Release(array_);
    }
    ArrayLease(const ArrayLease&) = delete;
    ArrayLease& operator=(const ArrayLease&) = delete;

    ArrayRef* out() { return &array_; }
    ArrayRef get() const { return array_; }
    void HandedOver() { array_ = nullptr; }

private:
    ArrayRef array_ = nullptr;
};

struct Offset {
    float dx;
    float dy;
};

// Draws a new offset for a position and stores it under key.
HostErr DrawOffset(DictionaryRef offsets, DictKey key, float range, Offset* offset) {
    const auto angle = static_cast<float>(sRandom->FloatRnd() * kPi);
    const auto distance = static_cast<float>((sRandom->FloatRnd() - 0.5) * range);
    offset->dx = static_cast<float>(std::cos(static_cast<double>(angle))) * distance;
    offset->dy = static_cast<float>(std::sin(static_cast<double>(angle))) * distance;

    ArrayLease array;
    HostErr error = sArray->CreateArray(array.out());
    if (!error) error = sArray->InsertEntry(array.get(), 0);
    if (!error) error = sArray->InsertEntry(array.get(), 0);
    if (!error) error = sArray->SetRealEntry(array.get(), 0, offset->dx);
    if (!error) error = sArray->SetRealEntry(array.get(), 1, offset->dy);
    if (!error) error = sDictionary->SetArrayEntry(offsets, key, array.get());
    if (!error) array.HandedOver();
    return error;
}

// The offset for the anchor position, shared or new.
HostErr OffsetFor(DictionaryRef offsets, const RealPoint& anchor, float range, Offset* offset) {
    char text[kPositionTextSize];
    FormatPositionText(anchor.h, anchor.v, text, sizeof text);
    const DictKey key = sDictionary->Key(text);
    if (!sDictionary->IsKnown(offsets, key)) return DrawOffset(offsets, key, range, offset);

    ArrayRef stored = nullptr;
    HostErr error = sDictionary->GetArrayEntry(offsets, key, &stored);
    if (!error) error = sArray->GetRealEntry(stored, 0, &offset->dx);
    if (!error) error = sArray->GetRealEntry(stored, 1, &offset->dy);
    return error;
}

void Move(RealPoint& point, const Offset& offset) {
    point.h += offset.dx;
    point.v += offset.dy;
}

HostErr MoveVertices(ArtHandle art, DictionaryRef offsets, float range) {
    int16_t count = 0;
    if (const HostErr error = sPath->GetPathSegmentCount(art, &count)) return error;
    for (int16_t s = 0; s < count; ++s) {
        PathSegment segment{};
        if (const HostErr error = sPath->GetPathSegments(art, s, 1, &segment)) return error;
        Offset offset{};
        if (const HostErr error = OffsetFor(offsets, segment.p, range, &offset)) return error;
        Move(segment.p, offset);
        Move(segment.in, offset);
        Move(segment.out, offset);
        if (const HostErr error = sPath->SetPathSegments(art, s, 1, &segment)) return error;
    }
    return kNoErr;
}

HostErr Recolor(ArtHandle art, float grayMin, float grayMax) {
    PathStyle style{};
    if (const HostErr error = sPathStyle->GetPathStyle(art, &style)) return error;
    if (!style.fillPaint) return kNoErr;
    const float level = (grayMax - grayMin) * sRandom->FloatRnd() + grayMin;
    style.fillColorKind = kGrayColor;
    style.fillColor[0] = static_cast<float>(level / 100.0);
    return sPathStyle->SetPathStyle(art, &style);
}

// The record in the parameters handle; a message without one runs with the
// defaults, the record the dialog would have created first.
JitterParams ReadParams(const FilterMessage& message) {
    if (message.parameters == nullptr || *message.parameters == nullptr)
        return kDefaultJitterParams;
    JitterParams params;
    std::memcpy(&params, *message.parameters, sizeof params);
    return params;
}

HostErr Jitter(FilterMessage* message, ArtHandle** matches, int32_t count) {
    const JitterParams params = ReadParams(*message);

    DictionaryRef offsets = nullptr;  // the VertexOffsetMap of this run
    HostErr error = sDictionary->CreateDictionary(&offsets);
    for (int32_t i = 0; !error && i < count; ++i) {
        ArtHandle art = (*matches)[i];
        if (params.moveRange > 0) error = MoveVertices(art, offsets, params.moveRange);
        if (!error && params.randomFill) error = Recolor(art, params.grayMin, params.grayMax);
    }
    if (offsets != nullptr) sDictionary->Release(offsets);
    return error;
}

}  // namespace

HostErr HandleFilterGo(FilterMessage* message) {
    return RunInHandlerFrame(message->d, [message]() -> HostErr {
        MatchingArtSpec spec{kPathArt, kArtSelected, kArtSelected};
        ArtHandle** matches = nullptr;
        int32_t count = 0;
        HostErr error = sMatchingArt->GetMatchingArt(&spec, 1, &matches, &count);
        if (!error && count > 0) error = Jitter(message, matches, count);
        if (matches != nullptr) sMdMemory->DisposeHandle(reinterpret_cast<HostHandle>(matches));
        return error;
    });
}
