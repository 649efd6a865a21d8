// Arbitrary bytes as a contacts CSV file: split into records with either delimiter, then imported
// into the sample profile through its data items and rules. Either the import runs (refusing what
// the rules refuse) or it raises the program's exception; it never crashes.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "CContactCsvImporter.h"
#include "CQMVVLTException.h"
#include "CRadioDataModel.h"
#include "CUpDownGradeSetting.h"
#include "CsvText.h"
#include "LoadSettingDoc.h"
#include "MessageId.h"

namespace {

std::string ReadSample() {
    std::ifstream in(std::string(QMVVLT_SOURCE_DATA_DIR) + "/samples/SampleProfile.xml");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CUpDownGradeSetting settings(
        LoadSettingDocFile(std::string(QMVVLT_SOURCE_DATA_DIR) + "/lib/UpDownGradeSetting.stv"));
    static CRadioDataModel model(CModelEnvironment{QMVVLT_SOURCE_DATA_DIR, &settings, "LACR"});
    static const std::string sample = ReadSample();
    static bool changed = true;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        for (const char delimiter : {',', ';'}) {
            ReadCsvRecords(CsvBytesToUtf8(bytes), delimiter, "fuzz", MessageId::kNotContactsCsv);
        }
    } catch (const CQMVVLTException&) {
    }
    try {
        // A fresh profile only after an input that changed it: most inputs are refused whole.
        if (changed) {
            model.LoadProfileContents("fuzz.lam", sample, false);
        }
        const CsvImportResult result = CContactCsvImporter(model).Import(bytes);
        changed = result.added + result.updated > 0;
    } catch (const CQMVVLTException&) {
        changed = false;
    }
    return 0;
}
