#include "cli/PathText.h"

namespace cli {

void AppendPathPoint(const RealPoint& point, std::string& out) {
    static thread_local FloatTextCache recent;
    char text[2 * kFloatTextSize + 2];
    char* end = text;
    *end++ = ' ';
    end = recent.Chars(point.h, end);
    *end++ = ' ';
    end = recent.Chars(point.v, end);
    out.append(text, end);
}

}  // namespace cli
