#pragma once

#include <QObject>

#include "IStationObserver.h"

Q_DECLARE_METATYPE(CStationPortState)
Q_DECLARE_METATYPE(CStationRadioResult)

// Turns the station's calls, which come from the ports' own threads, into queued signals, so the
// window's widgets are only ever touched on its own thread.
class CStationEvents : public QObject, public IStationObserver {
    Q_OBJECT
  public:
    explicit CStationEvents(QObject* parent = nullptr);

    void OnPortState(int portIndex, const CStationPortState& state) override;
    void OnRadio(int portIndex, const CStationRadioResult& result) override;
    void OnFinished() override;

  signals:
    void portState(int portIndex, const CStationPortState& state);
    void radioDone(int portIndex, const CStationRadioResult& result);
    void finished();
};
