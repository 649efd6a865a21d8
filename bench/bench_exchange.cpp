// Contacts CSV and profile differences on a full profile (150 contacts): exporting, importing
// every contact into an empty profile through the rules, importing a profile's own export (all
// updates, no change), and comparing a profile with itself.
#include <benchmark/benchmark.h>

#include <memory>

#include "CContactCsvImporter.h"
#include "CProfileWriter.h"
#include "CRadioDataModel.h"
#include "CUpDownGradeSetting.h"
#include "ContactCsv.h"
#include "FullProfile.h"
#include "LoadSettingDoc.h"
#include "ProfileDiff.h"

namespace {

const std::filesystem::path kData = QMVVLT_SOURCE_DATA_DIR;

// The full image with memberships on the members' channels, as a profile; without contacts when
// empty is set.
std::string ProfileText(bool empty) {
    CVirtualCodeplug image = MakeFullImage();
    for (CContactRecord& c : image.contacts) {
        if (empty) {
            c = CContactRecord{};
        } else if (c.cntct_type == kContactPrivateGroup || !c.parent_groups[0].empty()) {
            c.channel = 1;
        }
    }
    std::string text;
    CProfileWriter::VirtualCP2XML(image, text);
    return text;
}

std::unique_ptr<CRadioDataModel> Load(const std::string& text) {
    static const CUpDownGradeSetting settings(
        LoadSettingDocFile(kData / "lib/UpDownGradeSetting.stv"));
    auto model = std::make_unique<CRadioDataModel>(CModelEnvironment{kData, &settings, "LACR"});
    model->LoadProfileContents("bench.lam", text, false);
    return model;
}

void BM_ExportContactsCsv(benchmark::State& state) {
    const auto model = Load(ProfileText(false));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExportContactsCsv(*model));
    }
}
BENCHMARK(BM_ExportContactsCsv)->Unit(benchmark::kMillisecond);

void BM_ImportIntoEmptyProfile(benchmark::State& state) {
    const std::string csv = ExportContactsCsv(*Load(ProfileText(false)));
    const std::string empty = ProfileText(true);
    for (auto _ : state) {
        state.PauseTiming();
        auto model = Load(empty);
        state.ResumeTiming();
        const CsvImportResult result = CContactCsvImporter(*model).Import(csv);
        if (result.added != 150) {
            state.SkipWithError("not every contact was added");
        }
    }
}
BENCHMARK(BM_ImportIntoEmptyProfile)->Unit(benchmark::kMillisecond);

void BM_ImportOwnExport(benchmark::State& state) {
    const auto model = Load(ProfileText(false));
    const std::string csv = ExportContactsCsv(*model);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CContactCsvImporter(*model).Import(csv).updated);
    }
}
BENCHMARK(BM_ImportOwnExport)->Unit(benchmark::kMillisecond);

void BM_DiffProfiles(benchmark::State& state) {
    const auto a = Load(ProfileText(false));
    const auto b = Load(ProfileText(false));
    for (auto _ : state) {
        benchmark::DoNotOptimize(DiffProfiles(a->GetProfileDoc(), b->GetProfileDoc()).size());
    }
}
BENCHMARK(BM_DiffProfiles)->Unit(benchmark::kMillisecond);

}  // namespace
