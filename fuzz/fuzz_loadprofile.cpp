// Arbitrary bytes as a profile file: decoded and unscrambled as a file would be, then loaded
// through the data model with the shipped schema, rules and settings. Either it loads (and the
// rule check runs over it) or it raises the program's exception.
#include <cstddef>
#include <cstdint>
#include <string>

#include "CProfileRuleCheck.h"
#include "CQMVVLTException.h"
#include "CRadioDataModel.h"
#include "CUpDownGradeSetting.h"
#include "DataFile.h"
#include "LoadSettingDoc.h"
#include "TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CUpDownGradeSetting settings(
        LoadSettingDocFile(std::string(QMVVLT_SOURCE_DATA_DIR) + "/lib/UpDownGradeSetting.stv"));
    static CRadioDataModel model(CModelEnvironment{QMVVLT_SOURCE_DATA_DIR, &settings, "LACR"});
    DataFileText file = DecodeDataFile(std::string_view(reinterpret_cast<const char*>(data), size));
    UnscrambleUnlessPlain(file.text, file.narrow);
    try {
        model.LoadProfileContents("fuzz.lam", Utf16ToUtf8(file.text), file.narrow);
        CProfileRuleCheck::Check(model.GetRootItem());
        model.TakeOffDoc(false);
    } catch (const CQMVVLTException&) {
    }
    return 0;
}
