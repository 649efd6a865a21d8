#include "RadioResultText.h"

#include "MessageId.h"
#include "RadioResult.h"
#include "StringTable.h"

namespace {

// "Error: Operation Failed (%s)." with the text of another entry.
std::string OperationFailedWith(int id) {
    const std::string detail = LoadString(id);
    return CStringTable::Instance().Format(MessageId::kOperationFailedText, {detail});
}

}  // namespace

std::string RadioResultText(int code) {
    switch (code) {
        case kPortUnavailable:
            return LoadString(MessageId::kErrorCOMPortAlready);
        case kNoConnection:
            return LoadString(MessageId::kErrorUnableToEstablish);
        case kFirmwareTooOld:
            return LoadString(MessageId::kErrorYourRadioHas);
        case kVersionUnsupported:
            return LoadString(MessageId::kErrorRadioVersionIs);
        case kModelUnsupported:
            return LoadString(MessageId::kUnsupportedModel);
        case kInvalidOpcode:
            return OperationFailedWith(10148);
        case kUnsupportedCommand:
            return OperationFailedWith(10149);
        case kOperationFailed:
            return LoadString(MessageId::kOperationFailedPlain);
        case kTimedOut:
            return LoadString(MessageId::kErrorOperationTimedOut);
        case kOperationUnsupported:
            return OperationFailedWith(10150);
        case kRadioBusy:
            return LoadString(MessageId::kErrorRadioIsCurrently);
        case kUserCancelled:
            return OperationFailedWith(10151);
        case kMessageCompose:
            return OperationFailedWith(10152);
        case kResetRequired:
            return LoadString(MessageId::kErrorPleasePerformRadio);
        case kTextToRadio:
            return LoadString(MessageId::kTextToRadioMessage);
        case kTextFromRadio:
            return LoadString(MessageId::kErrorUnableToConvert);
        case kPasswordUnavailable:
            return LoadString(MessageId::kUnableToGetPassword);
        case kModifiedBandProfile:
            return LoadString(MessageId::kModifiedBandProfileNotice);
        case kPortBusy:
            return LoadString(MessageId::kErrorPortBusy);
        default:
            return CStringTable::Instance().Format(MessageId::kOperationFailedCode,
                                                   {std::to_string(code)});
    }
}

std::string RadioTransferText(int code) {
    switch (code) {
        case kPortUnavailable:
            return LoadString(MessageId::kTransferPortInUse);
        case kNoConnection:
            return LoadString(MessageId::kTransferNoConnection);
        case kFirmwareTooOld:
            return LoadString(MessageId::kTransferIncompatible);
        case kVersionUnsupported:
            return LoadString(MessageId::kTransferVersionMismatch);
        case kModelUnsupported:
            return LoadString(MessageId::kErrorRadioModelIs);
        case kTimedOut:
            return LoadString(MessageId::kTransferTimedOut);
        case kRadioBusy:
            return LoadString(MessageId::kTransferRadioBusy);
        case kResetRequired:
            return LoadString(MessageId::kTransferResetNeeded);
        case kPasswordUnavailable:
            return CStringTable::Instance().Format(MessageId::kOperationFailedCode,
                                                   {std::to_string(code)});
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
