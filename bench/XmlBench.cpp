// Throughput of the XML tree parser and the pull reader on generated documents shaped like the
// game's large files (move-map entries, puzzle-like nesting with text).
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/CXmlReader.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{
// A document of about bytes bytes: a root holding "reach" entries, every tenth followed by a
// small nested group with text and CDATA.
std::string MakeDocument(size_t bytes)
{
    std::string text = "<?xml version=\"1.0\"?>\n<movemap version=\"1\">\n";
    unsigned n = 0;
    char line[512];
    while (text.size() < bytes)
    {
        std::snprintf(line, sizeof line,
                      "  <reach from=\"%08u\" foot0=\"%08u,%08u\" foot1=\"%08u\" foot2=\"\" foot3=\"%08u\" "
                      "rest=\"0.5,1.25,2.5,3.75,4.5,5.25\"/>\n",
                      n, n + 1, n + 2, n + 3, n + 4);
        text += line;
        if (n % 10 == 0)
        {
            std::snprintf(line, sizeof line,
                          "  <group id=\"g%u\" style=\"font-size: 1.5\">\n    <div id=\"d%u\">Some text of a "
                          "pane</div>\n"
                          "    <div><![CDATA[raw > text]]></div>\n  </group>\n",
                          n, n);
            text += line;
        }
        ++n;
    }
    text += "</movemap>\n";
    return text;
}

void TreeParse(benchmark::State& state)
{
    const std::string text = MakeDocument(size_t(state.range(0)));
    for (auto _ : state)
    {
        CXmlDocument document;
        const bool parsed = document.Parse(text, false);
        benchmark::DoNotOptimize(parsed);
        if (!parsed)
            state.SkipWithError("document did not parse");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void PullRead(benchmark::State& state)
{
    const std::string text = MakeDocument(size_t(state.range(0)));
    char folder[] = "/tmp/frogbenchXXXXXX";
    if (!mkdtemp(folder))
    {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string path = std::string(folder) + "/movemap.xml";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file)
    {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    for (auto _ : state)
    {
        CXmlReader reader;
        reader.OpenPath(path);
        size_t entries = 0;
        if (reader.FirstChildNamed("reach"))
        {
            do
            {
                entries += reader.GetAttribute("from").size();
            } while (reader.NextElementNamed("reach"));
        }
        benchmark::DoNotOptimize(entries);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    std::remove(path.c_str());
    rmdir(folder);
}
} // namespace

BENCHMARK(TreeParse)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(PullRead)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
