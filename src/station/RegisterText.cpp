#include "RegisterText.h"

#include <utility>

#include "CRegisterRecord.h"
#include "MessageId.h"
#include "StringTable.h"

namespace {

constexpr std::pair<std::string_view, int> kHeaders[] = {
    {"op_time", MessageId::kRegisterTimeHeader},
    {"operator_name", MessageId::kRegisterOperatorHeader},
    {"station", MessageId::kRegisterStationHeader},
    {"port", MessageId::kRegisterPortHeader},
    {"operation", MessageId::kRegisterOperationHeader},
    {"pid", MessageId::kPidHeader},
    {"model", MessageId::kModel},
    {"firmware", MessageId::kFirmwareVersion},
    {"codeplug", MessageId::kCodeplugVersion},
    {"profile_file", MessageId::kRegisterProfileHeader},
    {"unit_label", MessageId::kRegisterUnitHeader},
    {"backup_file", MessageId::kRegisterBackupHeader},
    {"verify_result", MessageId::kRegisterVerifyHeader},
    {"outcome_text", MessageId::kRegisterOutcomeHeader},
};

constexpr std::pair<std::string_view, int> kValues[] = {
    {RegisterOperation::kRead, MessageId::kRegisterOpRead},
    {RegisterOperation::kWrite, MessageId::kRegisterOpWrite},
    {RegisterOperation::kReset, MessageId::kRegisterOpReset},
    {RegisterOperation::kCapture, MessageId::kRegisterOpCapture},
    {RegisterOperation::kStationWrite, MessageId::kRegisterOpStationWrite},
    {RegisterOperation::kRestore, MessageId::kRegisterOpRestore},
    {RegisterVerify::kPassed, MessageId::kRegisterVerifyPassed},
    {RegisterVerify::kDifferent, MessageId::kRegisterVerifyDifferent},
    {RegisterVerify::kFailed, MessageId::kRegisterVerifyFailed},
};

}  // namespace

int RegisterHeaderId(std::string_view key) {
    for (const auto& [name, id] : kHeaders) {
        if (name == key) {
            return id;
        }
    }
    return 0;
}

std::string RegisterFieldText(std::string_view key, const std::string& value) {
    if (key == "operation" || key == "verify_result") {
        for (const auto& [name, id] : kValues) {
            if (name == value) {
                return LoadString(id);
            }
        }
    }
    return value;
}
