#include "RadioResultText.h"

#include "RadioResult.h"
#include "StringTable.h"

namespace {

// "Error: Operation Failed (%s)." with the text of another entry.
std::string OperationFailedWith(int id) {
    const std::string detail = LoadString(id);
    return CStringTable::Instance().Format(10146, {detail});
}

}  // namespace

std::string RadioResultText(int code) {
    switch (code) {
        case kPortUnavailable:
            return LoadString(10155);
        case kNoConnection:
            return LoadString(10157);
        case kFirmwareTooOld:
            return LoadString(10159);
        case kVersionUnsupported:
            return LoadString(10153);
        case kModelUnsupported:
            return LoadString(10156);
        case kInvalidOpcode:
            return OperationFailedWith(10148);
        case kUnsupportedCommand:
            return OperationFailedWith(10149);
        case kOperationFailed:
            return LoadString(10145);
        case kTimedOut:
            return LoadString(10158);
        case kOperationUnsupported:
            return OperationFailedWith(10150);
        case kRadioBusy:
            return LoadString(10154);
        case kUserCancelled:
            return OperationFailedWith(10151);
        case kMessageCompose:
            return OperationFailedWith(10152);
        case kResetRequired:
            return LoadString(10160);
        case kTextToRadio:
            return LoadString(262);
        case kTextFromRadio:
            return LoadString(250);
        case kPasswordUnavailable:
            return LoadString(303);
        case kModifiedBandProfile:
            return LoadString(305);
        default:
            return CStringTable::Instance().Format(10147, {std::to_string(code)});
    }
}

std::string RadioTransferText(int code) {
    switch (code) {
        case kPortUnavailable:
            return LoadString(10133);
        case kNoConnection:
            return LoadString(10134);
        case kFirmwareTooOld:
            return LoadString(10128);
        case kVersionUnsupported:
            return LoadString(10127);
        case kModelUnsupported:
            return LoadString(10130);
        case kTimedOut:
            return LoadString(10132);
        case kRadioBusy:
            return LoadString(10131);
        case kResetRequired:
            return LoadString(10129);
        case kPasswordUnavailable:
            return CStringTable::Instance().Format(10147, {std::to_string(code)});
        default:
            // The rest read the same in both places.
            return RadioResultText(code);
    }
}

std::string WithPortProblem(const std::string& text, int code, const std::string& portProblem) {
    if (code != kPortUnavailable || portProblem.empty()) {
        return text;
    }
    return text + "\n" + portProblem;
}
