#pragma once

// Result codes of the radio link: 1 is success, the negative values name the failure. Every radio
// function returns one of these; none of them throws.
enum RadioResult : int {
    kRadioSuccess = 1,
    kPortUnavailable = -1,
    kNoConnection = -2,
    kFirmwareTooOld = -3,
    kVersionUnsupported = -4,
    kModelUnsupported = -5,
    kInvalidOpcode = -6,
    kUnsupportedCommand = -7,
    kOperationFailed = -8,
    kTimedOut = -9,
    kOperationUnsupported = -10,
    kRadioBusy = -11,
    kUserCancelled = -12,
    kMessageCompose = -13,
    kResetRequired = -14,
    kTextToRadio = -15,
    kTextFromRadio = -16,
    kPasswordUnavailable = -17,
    kModifiedBandProfile = -18,
    // Another radio operation of this program is using the port; it was not opened.
    kPortBusy = -19,
};
