// The move map on a generated table of 3000 entries: loading the ".mvm" file (and, for
// comparison, the XML form), and the landing-cell query the skeleton makes at every pick.
#include "puzzle/CMoveMap.h"
#include "puzzle/MoveMapFixture.h"
#include "tools/CMoveMapWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{
constexpr size_t kEntries = 3000;

CMoveMap::Entries BenchEntries()
{
    MoveMapRules rules;
    rules.spanX = 5;
    rules.maxEntries = kEntries;
    rules.joints = 12;
    return GenerateMoveMap(rules);
}

// A fresh folder holding the table in one form, removed when the benchmark ends.
class BenchFile
{
  public:
    BenchFile(const CMoveMap::Entries& entries, bool binary)
    {
        if (!mkdtemp(m_folder))
            return;
        m_path = std::string(m_folder) + (binary ? "/movemap.mvm" : "/movemap.xml");
        const bool written = binary ? CMoveMapWriter::WriteBinary(entries, m_path.c_str())
                                    : CMoveMapWriter::WriteXml(entries, m_path.c_str());
        if (!written)
            m_path.clear();
    }
    ~BenchFile()
    {
        if (!m_path.empty())
            std::remove(m_path.c_str());
        rmdir(m_folder);
    }
    const std::string& Path() const { return m_path; }

  private:
    char m_folder[32] = "/tmp/frogbenchXXXXXX";
    std::string m_path;
};

void MoveMapLoadBinary(benchmark::State& state)
{
    const CMoveMap::Entries entries = BenchEntries();
    const BenchFile file(entries, true);
    if (file.Path().empty() || entries.size() != kEntries)
    {
        state.SkipWithError("no table file");
        return;
    }
    CMoveMap map;
    for (auto _ : state)
    {
        if (!map.LoadBinaryFile(file.Path().c_str()))
            state.SkipWithError("the table did not load");
        benchmark::DoNotOptimize(map.GetEntries().size());
    }
    state.counters["entries"] = double(map.GetEntries().size());
}

void MoveMapLoadXml(benchmark::State& state)
{
    const CMoveMap::Entries entries = BenchEntries();
    const BenchFile file(entries, false);
    if (file.Path().empty())
    {
        state.SkipWithError("no table file");
        return;
    }
    CMoveMap map;
    for (auto _ : state)
    {
        map.LoadXmlFile(file.Path().c_str());
        benchmark::DoNotOptimize(map.GetEntries().size());
    }
    state.counters["entries"] = double(map.GetEntries().size());
}

// Every limb of every key, each key placed at the board's origin; one item is one query.
void MoveMapLandingCells(benchmark::State& state)
{
    CMoveMap map;
    map.EditEntries() = BenchEntries();
    std::vector<Vector2<float>> cells;
    size_t queries = 0;
    for (auto _ : state)
    {
        for (const auto& entry : map.GetEntries())
            for (int limb = 0; limb < CMoveMap::kLimbCount; ++limb)
            {
                map.GetLandingCells(entry.first, limb, cells);
                benchmark::DoNotOptimize(cells.data());
                ++queries;
            }
    }
    state.SetItemsProcessed(int64_t(queries));
    state.counters["per_query"] =
        benchmark::Counter(double(queries), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
} // namespace

BENCHMARK(MoveMapLoadBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(MoveMapLoadXml)->Unit(benchmark::kMillisecond);
BENCHMARK(MoveMapLandingCells)->Unit(benchmark::kMillisecond);
