// Makes the shipped puzzles on the move map of a species and writes them as
// "<folder>/puzzleNNNN.xml", numbered from 1000 in the catalogue's order; one line per puzzle
// on the standard output. Run by hand; the files are committed.
// Usage: PuzzleGen <species document> <puzzle folder>
#include "creatures/CSkeleton.h"
#include "tools/CMoveMapGenerator.h"
#include "tools/CPuzzleGenerator.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: PuzzleGen <species.xml> <puzzle folder>\n");
        return 2;
    }
    CSkeleton skeleton;
    if (!CMoveMapGenerator::LoadSpecies(argv[1], skeleton))
    {
        std::fprintf(stderr, "PuzzleGen: %s holds no four-limbed skeleton\n", argv[1]);
        return 1;
    }

    // The same table the build makes, so that the puzzles use exactly the game's hops.
    CMoveMapGenerator mapGenerator(skeleton);
    CMoveMap map;
    map.EditEntries() = mapGenerator.Generate();
    const CPuzzleGenerator generator(map);

    int32_t number = 1000;
    std::vector<CString> made;
    for (const CPuzzleGenerator::Recipe& recipe : CPuzzleGenerator::Catalogue())
    {
        PuzzleDescription puzzle;
        if (!generator.Make(recipe, puzzle, made))
        {
            std::fprintf(stderr, "PuzzleGen: no puzzle of %d moves for \"%s\"\n", recipe.par, recipe.title);
            return 1;
        }
        made.push_back(CPuzzleGenerator::CanonicalOf(puzzle));
        const CPuzzleGenerator::Measure measure =
            generator.MeasureOf(CPuzzleGenerator::LayoutOf(puzzle.knobs), puzzle.home, puzzle.goal, puzzle.hintSteps);
        const std::string path = std::string(argv[2]) + "/puzzle" + std::to_string(number) + ".xml";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << CPuzzleGenerator::ToXml(puzzle, &measure);
        if (!out.flush())
        {
            std::fprintf(stderr, "PuzzleGen: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("puzzle%04d  %-7s par %2d  reach %5d  solutions %6d  branching %5.2f  difficulty %.2f  knobs %2zu  %s\n",
                    number, puzzle.pondTemplate.c_str(), puzzle.par, measure.reachable, measure.solutions,
                    double(measure.branching), double(puzzle.difficulty), puzzle.knobs.size(), puzzle.title.c_str());
        std::fflush(stdout);
        ++number;
    }
    return 0;
}
