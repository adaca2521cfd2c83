// Core speed: one run of the rules with both list texts (also with the provenance and the lines'
// tooltip texts, as the window runs it), and the order-file text.
#include "core/output/order_file.h"
#include "core/selection/provenance.h"
#include "core/selection/result_lists.h"
#include "core/selection/rules.h"

#include <benchmark/benchmark.h>

namespace tovimar {
namespace {

// A busy laboratory's panel: both families, serum tox and validity.
AssayState realisticState() {
    AssayState s;
    auto tick = [&](AssayRow r, double cut = 0, bool qual = false) {
        s.SetSelected(r, true);
        if (cut != 0)
            s.ChooseCut(r, cut);
        s.SetQual(r, qual);
    };
    tick(AssayRow::OrlanAmphXtc, 500);
    tick(AssayRow::OrlanBenzo, 200);
    tick(AssayRow::OrlanCoc, 300);
    tick(AssayRow::OrlanOpi, 300);
    tick(AssayRow::OrlanThcMulti, 50);
    tick(AssayRow::VexAmph, 1000, true);
    tick(AssayRow::VexBarb, 200);
    tick(AssayRow::VexEtg, 500);
    tick(AssayRow::VexEtoh);
    tick(AssayRow::ToxAcet);
    tick(AssayRow::ToxTca, 0, true);
    tick(AssayRow::AdultCreat);
    tick(AssayRow::AdultPh);
    tick(AssayRow::AdultSg);
    return s;
}

void BM_update(benchmark::State& st) {
    Catalogue cat;
    LoadCatalogue(cat);
    const AssayState s = realisticState();
    // The window keeps its line buffers from one click to the next.
    std::vector<std::string> cal, ctl;
    for (auto _ : st) {
        update(s, cat);
        CalibListLines(cat, cal);
        CtrlListLines(cat, ctl);
        benchmark::DoNotOptimize(cal.data());
        benchmark::DoNotOptimize(ctl.data());
    }
    st.counters["calibrators"] = static_cast<double>(cal.size());
    st.counters["controls"] = static_cast<double>(ctl.size());
}
BENCHMARK(BM_update);

// What the window does on every click: the recording run, the list lines and their tooltips.
void BM_update_with_provenance(benchmark::State& st) {
    Catalogue cat;
    LoadCatalogue(cat);
    const AssayState s = realisticState();
    Provenance prov;
    std::vector<std::string> cal, ctl, calTips, ctlTips;
    for (auto _ : st) {
        update(s, cat, prov);
        CalibListLines(cat, cal);
        CtrlListLines(cat, ctl);
        CalibListReasons(cat, prov, calTips);
        CtrlListReasons(cat, prov, ctlTips);
        benchmark::DoNotOptimize(cal.data());
        benchmark::DoNotOptimize(ctl.data());
        benchmark::DoNotOptimize(calTips.data());
        benchmark::DoNotOptimize(ctlTips.data());
    }
    st.counters["calibrators"] = static_cast<double>(cal.size());
    st.counters["controls"] = static_cast<double>(ctl.size());
}
BENCHMARK(BM_update_with_provenance);

void BM_OrderListText(benchmark::State& st) {
    Catalogue cat;
    LoadCatalogue(cat);
    update(realisticState(), cat);
    for (auto _ : st) {
        std::string text = OrderListText(cat);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_OrderListText);

}  // namespace
}  // namespace tovimar

BENCHMARK_MAIN();
