// Profile <-> image conversions of a full profile, against a bare libxml2 parse of the same text.
#include <benchmark/benchmark.h>

#include "CDataAdaptor.h"
#include "CProfileWriter.h"
#include "FullProfile.h"

namespace {

const std::string& FullProfileText() {
    static const std::string text = [] {
        std::string out;
        CProfileWriter::VirtualCP2XML(MakeFullImage(), out);
        return out;
    }();
    return text;
}

void BM_BareLibxml2Parse(benchmark::State& state) {
    const std::string& text = FullProfileText();
    for (auto _ : state) {
        XmlDocPtr doc = ParseXmlSafely(text);
        benchmark::DoNotOptimize(doc.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_BareLibxml2Parse)->Unit(benchmark::kMicrosecond);

void BM_ProfileToImage(benchmark::State& state) {
    const std::string& text = FullProfileText();
    for (auto _ : state) {
        CVirtualCodeplug image;
        CDataAdaptor::XML2VirtualCP(text, image, u"10000005");
        benchmark::DoNotOptimize(image.contacts[149].cntct_type);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ProfileToImage)->Unit(benchmark::kMicrosecond);

void BM_ImageToProfile(benchmark::State& state) {
    const CVirtualCodeplug image = MakeFullImage();
    std::string text;
    for (auto _ : state) {
        CProfileWriter::VirtualCP2XML(image, text);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ImageToProfile)->Unit(benchmark::kMicrosecond);

}  // namespace
