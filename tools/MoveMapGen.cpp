// Writes the move map of a species as "<out>.mvm", and its XML form too when a second output is
// named. Usage: MoveMapGen <species document> <out.mvm> [<out.xml>]
#include "creatures/CSkeleton.h"
#include "tools/CMoveMapGenerator.h"
#include "tools/CMoveMapWriter.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4)
    {
        std::fprintf(stderr, "usage: MoveMapGen <species.xml> <out.mvm> [<out.xml>]\n");
        return 2;
    }
    CSkeleton skeleton;
    if (!CMoveMapGenerator::LoadSpecies(argv[1], skeleton))
    {
        std::fprintf(stderr, "MoveMapGen: %s holds no four-limbed skeleton\n", argv[1]);
        return 1;
    }

    CMoveMapGenerator generator(skeleton);
    const CMoveMap::Entries entries = generator.Generate();
    if (!CMoveMapWriter::WriteBinary(entries, argv[2]))
    {
        std::fprintf(stderr, "MoveMapGen: cannot write %s (%zu entries)\n", argv[2], entries.size());
        return 1;
    }
    if (argc == 4 && !CMoveMapWriter::WriteXml(entries, argv[3]))
    {
        std::fprintf(stderr, "MoveMapGen: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
