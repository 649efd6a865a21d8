#include "CTransferRun.h"

CTransferRun::CTransferRun(CTransferContext& context, ITransferObserver* observer,
                           std::function<int()> operation)
    : m_context(context),
      m_previous(context.Observer()),
      m_worker([this, operation = std::move(operation)] { m_result = operation(); }) {
    m_context.SetObserver(observer);
    m_worker.Start();
}

CTransferRun::~CTransferRun() {
    m_worker.Wait();
    m_context.SetObserver(m_previous);
}

bool CTransferRun::Wait(int ms) {
    return m_worker.Wait(ms);
}
