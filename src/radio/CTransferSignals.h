#pragma once

#include <QObject>

#include "CTransferContext.h"
#include "ITransferObserver.h"

// Turns the calls of a radio operation's worker into queued signals on this object's thread (the
// GUI thread), so receivers never run on the worker. A warning is answered with AnswerWarning,
// from a slot or later; the worker waits for it.
class CTransferSignals : public QObject, public ITransferObserver {
    Q_OBJECT
  public:
    explicit CTransferSignals(CTransferContext& context, QObject* parent = nullptr);

    void OnProgress(int percent) override;
    void OnRecord(int done, int total) override;
    void OnDone() override;
    void OnFailed(RadioResult code) override;
    void OnWarning(TransferWarning warning) override;

  public slots:
    void AnswerWarning(bool yes);
    // Asks the running operation to stop at its next step.
    void Cancel();

  signals:
    void progress(int percent);
    void record(int done, int total);
    void done();
    void failed(RadioResult code);
    void warning(TransferWarning warning);

  private:
    CTransferContext& m_context;
};
