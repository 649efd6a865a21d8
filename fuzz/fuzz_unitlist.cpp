// Arbitrary bytes as a unit list: read with either delimiter, then every row checked against the
// sample profile through its data items, rules, schema and write check. Either the list is read
// (refusing what it must) or the program's exception is raised; it never crashes.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "CQMVVLTException.h"
#include "CRadioDataModel.h"
#include "CUnitList.h"
#include "CUnitProfile.h"
#include "CUpDownGradeSetting.h"
#include "LoadSettingDoc.h"

namespace {

std::string ReadSample() {
    std::ifstream in(std::string(QMVVLT_SOURCE_DATA_DIR) + "/samples/SampleProfile.xml");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CUnitProfile& Profile() {
    static const CUpDownGradeSetting settings(
        LoadSettingDocFile(std::string(QMVVLT_SOURCE_DATA_DIR) + "/lib/UpDownGradeSetting.stv"));
    static const CModelEnvironment environment{QMVVLT_SOURCE_DATA_DIR, &settings, "LACR"};
    static CRadioDataModel job(environment);
    static CUnitProfile profile = [] {
        job.LoadProfileContents("fuzz.lam", ReadSample(), false);
        return CUnitProfile(environment, job.TakeSnapshot());
    }();
    return profile;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CUnitProfile& profile = Profile();
    try {
        const CUnitList list =
            CUnitList::Read(std::string_view(reinterpret_cast<const char*>(data), size), profile);
        for (const CUnit& unit : list.Units()) {
            profile.Apply(&unit);
        }
    } catch (const CQMVVLTException&) {
    }
    return 0;
}
