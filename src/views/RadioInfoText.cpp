#include "RadioInfoText.h"

#include <cstdio>

namespace RadioInfoText {

std::string Firmware(const std::string& phase, int release, int version, int revision) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02X.%02d.%02d", static_cast<unsigned>(release), version,
                  revision);
    return phase + buffer;
}

std::string Codeplug(int structure, int version, int devVersion) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "CP%02X.%02X.%02X", static_cast<unsigned>(structure),
                  static_cast<unsigned>(version), static_cast<unsigned>(devVersion));
    return buffer;
}

std::string OwnRadioName(const CDataItem& root, const std::string& pid) {
    if (pid.find('X') != std::string::npos) {
        return pid;
    }
    const CDataItem privates = root.GetChildByName("Contacts").GetChildByName("Privates");
    for (int i = 0, n = privates.GetChildCount(); i < n; ++i) {
        const CDataItem contact = privates.GetChildByIndex(i);
        if (ScriptToText(contact.GetAttributeValue("pid")) == pid) {
            return ScriptToText(contact.GetAttributeValue("name"));
        }
    }
    return "XXXXXXXXXXX";
}

}  // namespace RadioInfoText
