#include "CStationEvents.h"

CStationEvents::CStationEvents(QObject* parent) : QObject(parent) {
    qRegisterMetaType<CStationPortState>();
    qRegisterMetaType<CStationRadioResult>();
}

void CStationEvents::OnPortState(int portIndex, const CStationPortState& state) {
    emit portState(portIndex, state);
}

void CStationEvents::OnRadio(int portIndex, const CStationRadioResult& result) {
    emit radioDone(portIndex, result);
}

void CStationEvents::OnFinished() {
    emit finished();
}
