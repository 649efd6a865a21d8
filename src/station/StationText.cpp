#include "StationText.h"

#include <cstdio>

#include "MessageId.h"
#include "StringTable.h"

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string StationStateText(const CStationPortState& state) {
    using Phase = CStationPortState::Phase;
    const CStringTable& table = CStringTable::Instance();
    switch (state.phase) {
        case Phase::kWaiting:
            return LoadString(MessageId::kStationWaiting);
        case Phase::kReading:
            return LoadString(MessageId::kStationReading);
        case Phase::kBackingUp:
            return LoadString(MessageId::kStationBackingUp);
        case Phase::kWriting:
            return table.Format(MessageId::kStationWriting, {std::to_string(state.percent)});
        case Phase::kVerifying:
            return LoadString(MessageId::kStationVerifying);
        case Phase::kDone:
            return table.Format(MessageId::kStationDone, {state.pid, state.unit});
        case Phase::kFailed:
            return table.Format(MessageId::kStationFailed, {state.reason});
        case Phase::kRemoveRadio:
            return table.Format(MessageId::kStationRemoveRadio, {state.reason});
        case Phase::kStopped:
            return LoadString(MessageId::kStationStopped);
    }
    return {};
}
