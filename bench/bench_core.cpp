// Core speed: one run of the rules with both list texts (also with the provenance and the lines'
// tooltip texts, as the window runs it), the refill of the lists alone with its allocations, and
// the order-file text.
#include "core/order/order.h"
#include "core/output/order_file.h"
#include "core/planning/order_plan.h"
#include "core/selection/provenance.h"
#include "core/selection/result_lists.h"
#include "core/selection/rules.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <new>

// Every allocation of the program is counted, so that a benchmark can say how many it makes.
namespace {
std::atomic<long> gAllocations{0};
}  // namespace

void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
// GCC takes the replaced pair for a mismatch once it inlines them into one caller.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

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
    Order order;
    const AssayState s = realisticState();
    // The window keeps its line buffers from one click to the next.
    std::vector<std::string> cal, ctl;
    for (auto _ : st) {
        update(s, order);
        CalibListLines(order, cal);
        CtrlListLines(order, ctl);
        benchmark::DoNotOptimize(cal.data());
        benchmark::DoNotOptimize(ctl.data());
    }
    st.counters["calibrators"] = static_cast<double>(cal.size());
    st.counters["controls"] = static_cast<double>(ctl.size());
}
BENCHMARK(BM_update);

// What the window does on every click: the recording run, the list lines and their tooltips.
void BM_update_with_provenance(benchmark::State& st) {
    Order order;
    order.state = realisticState();
    std::vector<std::string> cal, ctl, calTips, ctlTips;
    for (auto _ : st) {
        update(order);
        CalibListLines(order, cal);
        CtrlListLines(order, ctl);
        CalibListReasons(order, calTips);
        CtrlListReasons(order, ctlTips);
        benchmark::DoNotOptimize(cal.data());
        benchmark::DoNotOptimize(ctl.data());
        benchmark::DoNotOptimize(calTips.data());
        benchmark::DoNotOptimize(ctlTips.data());
    }
    st.counters["calibrators"] = static_cast<double>(cal.size());
    st.counters["controls"] = static_cast<double>(ctl.size());
}
BENCHMARK(BM_update_with_provenance);

// The refill of both lists and their tooltips alone, as the window does it into its kept buffers:
// once warm it should allocate nothing.
// Argument 1: with a plan in which every line has figures and some a typed quantity, so each line
// is looked up and its tooltip says its quantity.
void BM_ListRefill(benchmark::State& st) {
    Order order;
    order.state = realisticState();
    update(order);
    OrderPlan& plan = order.plan;
    if (st.range(0) == 1) {
        plan.SetWorkload({3, 22, 4, 5});
        int n = 0;
        // The lines alone: the plan changes under the walk.
        ForEachOrderLine(static_cast<const OrderFlags&>(order), [&](const OrderLine& l) {
            const std::string number(l.number);
            if (l.section == OrderTable::Assays)
                plan.SetReagentFigures(number, {1200, 400});
            else
                plan.SetUsesPerPack(l.section, number, 10);
            if (++n % 3 == 0)
                plan.SetTyped(l.section, number, 2);
        });
    }
    std::vector<std::string> cal, ctl, calTips, ctlTips;
    const auto refill = [&] {
        CalibListLines(order, cal);
        CtrlListLines(order, ctl);
        CalibListReasons(order, calTips);
        CtrlListReasons(order, ctlTips);
    };
    refill();
    const long before = gAllocations.load();
    for (auto _ : st) {
        refill();
        benchmark::DoNotOptimize(cal.data());
        benchmark::DoNotOptimize(ctl.data());
        benchmark::DoNotOptimize(calTips.data());
        benchmark::DoNotOptimize(ctlTips.data());
    }
    st.counters["allocs/refill"] =
        static_cast<double>(gAllocations.load() - before) / static_cast<double>(st.iterations());
}
BENCHMARK(BM_ListRefill)->Arg(0)->Arg(1);

void BM_OrderListText(benchmark::State& st) {
    Order order;
    update(realisticState(), order);
    const long before = gAllocations.load();
    for (auto _ : st) {
        std::string text = OrderListText(order);
        benchmark::DoNotOptimize(text.data());
    }
    st.counters["allocs/text"] =
        static_cast<double>(gAllocations.load() - before) / static_cast<double>(st.iterations());
}
BENCHMARK(BM_OrderListText);

}  // namespace
}  // namespace tovimar

BENCHMARK_MAIN();
