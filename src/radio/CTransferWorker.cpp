#include "CTransferWorker.h"

#include <QDeadlineTimer>
#include <QThread>

CTransferWorker::CTransferWorker(std::function<void()> operation)
    : m_thread(QThread::create(std::move(operation))) {}

CTransferWorker::~CTransferWorker() {
    Wait();
}

void CTransferWorker::Start() {
    m_thread->start();
}

bool CTransferWorker::Wait(int ms) {
    if (ms < 0) {
        return m_thread->wait();
    }
    return m_thread->wait(QDeadlineTimer(ms));
}
