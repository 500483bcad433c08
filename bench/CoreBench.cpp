// How long the rules on the show path and behind every key press take: splitting a captured
// name, judging it, the caret commands and the editing menu's states, and reading the
// activation message. Run: build/native/bench/morvi_core_bench
#include "common/Activation.h"
#include "editor/CaretCommands.h"
#include "editor/NameModel.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace morvi;

namespace {

const std::u16string kLongPath = u"C:\\Users\\someone\\Documents\\projects\\2026\\" +
                                 std::u16string(180, u'名') + u".report.final.docx";

void SplitAndJudge(benchmark::State& state) {
  const std::u16string path = state.range(0) ? kLongPath : u"report.txt";
  for (auto _ : state) {
    const NameFields f = SplitPath(path);
    benchmark::DoNotOptimize(NameFieldsAcceptable(f.name, f.ext));
    benchmark::DoNotOptimize(JoinFileName(f.name, f.ext));
  }
}
BENCHMARK(SplitAndJudge)->Arg(0)->Arg(1);

void EditMenuStateOnEveryKey(benchmark::State& state) {
  const std::u16string name(256, u'x');
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeEditMenuState(name, 128, name, u"report"));
  }
}
BENCHMARK(EditMenuStateOnEveryKey);

void SwapAroundTheCaret(benchmark::State& state) {
  const std::u16string name(256, u'x');
  for (auto _ : state) {
    benchmark::DoNotOptimize(SwapAroundCaret(name, 100));
  }
}
BENCHMARK(SwapAroundTheCaret);

void ReadTheActivationMessage(benchmark::State& state) {
  const auto payload = ActivationPayload();
  for (auto _ : state) {
    benchmark::DoNotOptimize(IsShowRequest(payload.data(), payload.size()));
  }
}
BENCHMARK(ReadTheActivationMessage);

} // namespace

BENCHMARK_MAIN();
