// Joints: anchors of different selected paths that lie within a tolerance of
// each other, the corners and edges that tiles of a mosaic share. The weld
// snaps each group of them onto one position before a run; the report tells
// how many the run kept.
#pragma once

#include <cstdint>
#include <vector>

#include "headless/Document.h"

namespace cli {

struct AnchorRef {
    uint32_t art;
    uint32_t segment;
};

struct Joint {
    AnchorRef a, b;  // a comes first in document order
};

// Every pair of anchors of two different selected paths at most tolerance
// apart (tolerance >= 0; 0 means at the same position).
std::vector<Joint> FindJoints(const headless::Document& document, double tolerance);

// Snaps every group of anchors joined by joints (chains included) onto the
// position of its first anchor in document order, exactly, moving each
// anchor's handles along. Returns how many anchors moved.
std::size_t Weld(headless::Document& document, const std::vector<Joint>& joints);

// How many of joints (found in the document before the run) lie further
// apart than tolerance in after.
std::size_t CountSplit(const headless::Document& after, const std::vector<Joint>& joints,
                       double tolerance);

}  // namespace cli
