#include "CQtPortLister.h"

#include <QSerialPortInfo>

std::vector<PortDescription> CQtPortLister::Ports() const {
    std::vector<PortDescription> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.push_back({info.portName().toStdString(), info.systemLocation().toStdString(),
                         info.description().toStdString(), info.manufacturer().toStdString(),
                         info.serialNumber().toStdString()});
    }
    return ports;
}
