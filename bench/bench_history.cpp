// The memory the history takes: 100 steps of the fullest document there can
// be (ten items, six functions and six constants: 22 entries, each formula
// longer than a teacher types), each step changing one formula, one bound of
// the frame or a parameter. The bytes are counted by the C library's
// allocator (everything the steps hold, the toolkit's undo stack included);
// the budget is 10 MB. The time of one step is measured along the way.
#include "control/document_history.h"
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <string>

using namespace gq;

namespace
{

constexpr std::size_t kBudget = 10u * 1024 * 1024;
constexpr int kSteps = 100;

std::size_t bytesInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

Document fullestDocument()
{
    Document doc;
    const std::string longTail = "+sin(3*x)*cos(2*x)-sqrt(abs(x))/(1+x^2)+a*x^3-b*x^2+c*x-d";
    doc.itemCount = kMaxItems;
    for (int i = 1; i <= kMaxItems; ++i) {
        Item &item = doc.items[i];
        item.kind = KindParametric;
        item.text = {"", "cos(t)" + longTail, "sin(t)" + longTail, "0", "6.28318530717959"};
        item.colour = static_cast<uint32_t>(i);
    }
    doc.functionCount = doc.constantCount = kMaxDefinitions;
    for (int n = 1; n <= kMaxDefinitions; ++n) {
        doc.functionTexts[n] = "x^" + std::to_string(n) + longTail;
        doc.constantTexts[n] = std::to_string(n) + "*3.14159265358979+1.41421356237310";
    }
    return doc;
}

// Step k of a lesson on that document.
void change(Document &doc, int k)
{
    switch (k % 3) {
    case 0:
        doc.items[1 + k % kMaxItems].text[1] = "cos(t)*" + std::to_string(k);
        break;
    case 1:
        doc.frame.xmax = 5 + k;
        break;
    default:
        doc.parameters['a'] = static_cast<float>(k);
        break;
    }
}

void BM_HistoryOfAHundredSteps(benchmark::State &state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Document doc = fullestDocument();
        const std::size_t before = bytesInUse();
        {
            DocumentHistory history(doc);
            state.ResumeTiming();
            for (int k = 0; k < kSteps; ++k) {
                change(doc, k);
                history.record(QStringLiteral("訂正"));
            }
            state.PauseTiming();
            bytes = bytesInUse() - before;
            if (history.stepCount() != kSteps)
                state.SkipWithError("a change made no step");
        }
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["bytes_per_step"] = static_cast<double>(bytes) / kSteps;
    state.counters["budget_bytes"] = static_cast<double>(kBudget);
    if (bytes > kBudget)
        state.SkipWithError("100 steps take more than 10 MB");
}
BENCHMARK(BM_HistoryOfAHundredSteps)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
