#include "CliRegister.h"

#include <iostream>

CCliRegister::CCliRegister(const CliContext& ctx)
    : m_recorder(std::make_unique<CCommandRecorder>(
          CRegisterOptions::FromConfiguration(ctx.registerUrl))) {
    if (CRegister* reg = m_recorder->Register()) {
        reg->SetStatusObserver([this](const CRegisterStatus& status) {
            const std::lock_guard lock(m_mutex);
            m_status = status.Text();
        });
    }
}

CCliRegister::~CCliRegister() {
    std::string problem = m_recorder->Problem();
    if (m_recorder->Register()) {
        // The register's end keeps every record here and ends its attempt to reach a shared one;
        // what it last said is then the state the records are left in.
        m_recorder.reset();
        const std::lock_guard lock(m_mutex);
        problem = m_status;
    }
    if (!problem.empty()) {
        std::cerr << problem << '\n';
    }
}
