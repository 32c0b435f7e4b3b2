// What recording costs a frame: the recorder hearing one update (and, one frame
// in thirty, a key going down, which flushes the file) while a game's file is
// open. A frame of the game itself takes milliseconds; this is to be lost in it.
#include "app/ReplayRecorder.h"
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

void RecordFrame(benchmark::State& state) {
    char folder[] = "/tmp/vantrell-bench.XXXXXX";
    if (mkdtemp(folder) == nullptr)
        std::abort();
    {
        ReplayRecorder recorder(ReplayFolder(std::string(folder) + "/replays"), ReplayHeader{});
        recorder.gameStarts();
        int frame = 0;
        for (auto _ : state) {
            recorder.record(ReplayEvent::update(0.016f));
            if (++frame % 30 == 0)
                recorder.record(ReplayEvent::keyboard('a', frame % 60 == 0, 0));
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(RecordFrame);

} // namespace

BENCHMARK_MAIN();
