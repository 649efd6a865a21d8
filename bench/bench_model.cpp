// Opening a full profile through the data model, against a bare parse plus schema validation of
// the same text, and a rename-and-resort cycle through the data items.
#include <benchmark/benchmark.h>
#include <libxml/xmlschemas.h>

#include <filesystem>
#include <fstream>

#include "CDataItem.h"
#include "CProfileWriter.h"
#include "CQMVVLTException.h"
#include "CRadioDataModel.h"
#include "CUpDownGradeSetting.h"
#include "DataFile.h"
#include "FullProfile.h"
#include "LoadSettingDoc.h"
#include "XmlChildSort.h"

namespace {

namespace fs = std::filesystem;
const fs::path kData = QMVVLT_SOURCE_DATA_DIR;

const std::string& FullProfileText() {
    static const std::string text = [] {
        std::string out;
        CProfileWriter::VirtualCP2XML(MakeFullImage(), out);
        return out;
    }();
    return text;
}

// The full profile as a saved file: scrambled UTF-16.
const fs::path& FullProfileFile() {
    static const fs::path file = [] {
        const fs::path path = fs::temp_directory_path() / "qmvvlt-bench-full.lam";
        std::ofstream(path, std::ios::binary) << EncodeDataFile(FullProfileText(), false, true);
        return path;
    }();
    return file;
}

const CUpDownGradeSetting& Settings() {
    static const CUpDownGradeSetting settings(
        LoadSettingDocFile(kData / "lib/UpDownGradeSetting.stv"));
    return settings;
}

void BM_BareParseAndValidate(benchmark::State& state) {
    std::ifstream in(kData / "ProfileTemplate/DataProfile.xsd", std::ios::binary);
    const std::string xsd((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    XmlDocPtr schemaDoc = ParseXmlSafely(xsd);
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewDocParserCtxt(schemaDoc.get());
    xmlSchemaPtr schema = xmlSchemaParse(parser);
    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
    const std::string& text = FullProfileText();
    for (auto _ : state) {
        XmlDocPtr doc = ParseXmlUtf8(text);
        benchmark::DoNotOptimize(xmlSchemaValidateDoc(validator, doc.get()));
    }
    xmlSchemaFreeValidCtxt(validator);
    xmlSchemaFree(schema);
    xmlSchemaFreeParserCtxt(parser);
}
BENCHMARK(BM_BareParseAndValidate)->Unit(benchmark::kMillisecond);

void BM_LoadProfileFromScrambledFile(benchmark::State& state) {
    CRadioDataModel model(CModelEnvironment{kData, &Settings(), "LACR"});
    model.LoadProfile(FullProfileFile().string(), true);  // the first load starts the engine
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.LoadProfile(FullProfileFile().string(), true));
    }
}
BENCHMARK(BM_LoadProfileFromScrambledFile)->Unit(benchmark::kMillisecond);

void BM_RenameAndResort(benchmark::State& state) {
    CRadioDataModel model(CModelEnvironment{kData, &Settings(), "LACR"});
    model.LoadProfile(FullProfileFile().string(), true);
    CDataItem privates = model.GetRootItem().GetChildByName("Contacts").GetChildByName("Privates");
    int round = 0;
    for (auto _ : state) {
        // Rename the first private to a name that sorts last, through the rules, then resort it.
        CDataItem first = privates.GetChildByIndex(0);
        const std::string name = "zz renamed " + std::to_string(round++ % 1000);
        first.SetAttributeValue("name", ScriptText(name));
        benchmark::DoNotOptimize(privates.ResortChild(0, "name", false));
    }
}
BENCHMARK(BM_RenameAndResort)->Unit(benchmark::kMicrosecond);

// What each completed user action costs the undo history, and what an undo costs the model.
void BM_UndoSnapshot(benchmark::State& state) {
    CRadioDataModel model(CModelEnvironment{kData, &Settings(), "LACR"});
    model.LoadProfile(FullProfileFile().string(), true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.TakeSnapshot());
    }
    state.counters["bytes"] = static_cast<double>(model.TakeSnapshot().profile.size());
}
BENCHMARK(BM_UndoSnapshot)->Unit(benchmark::kMicrosecond);

void BM_UndoRestore(benchmark::State& state) {
    CRadioDataModel model(CModelEnvironment{kData, &Settings(), "LACR"});
    model.LoadProfile(FullProfileFile().string(), true);
    const CProfileSnapshot snapshot = model.TakeSnapshot();
    for (auto _ : state) {
        model.RestoreSnapshot(snapshot);
    }
}
BENCHMARK(BM_UndoRestore)->Unit(benchmark::kMicrosecond);

}  // namespace
