#include "cli/ParametersScript.h"

#include "resources/ResourceIds.h"

namespace cli {

std::vector<headless::DialogAction> ParametersDialogScript(const JitterParams& params) {
    using headless::DialogAction;
    return {DialogAction::Type(kMoveRangeItem, params.moveRange),
            DialogAction::Type(kGrayMinItem, params.grayMin),
            DialogAction::Type(kGrayMaxItem, params.grayMax),
            DialogAction::SetCheck(kRandomFillItem, params.randomFill != 0),
            DialogAction::Click(kOKItem)};
}

}  // namespace cli
