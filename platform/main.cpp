// The program's entry: the window position argument, start-up behind the loading screen, the
// main loop, and the shutdown order. The only lines it prints are the fatal ones, and the open
// seams when the environment asks for the wiring check (FROGPOND_CHECK_SEAMS, set by its test).
#include "core/CFileSystem.h"
#include "core/CResizes.h"
#include "core/CSingletonBase.h"
#include "core/HashString.h"
#include "platform/CDirectJ.h"
#include "platform/CGame.h"
#include "platform/CSdlBackend.h"
#include "platform/CommandLine.h"
#include "platform/EssentialDocuments.h"
#include "scene/CLoading.h"
#include "wiring/GameWiring.h"
#include "wiring/OpenSeams.h"

#include <cstdio>
#include <cstdlib>

namespace
{
// Ends every singleton (SDL last among the platform's) so the failure leaves nothing running.
int FailStart(const char* line)
{
    fprintf(stderr, "frogpond: %s\n", line);
    CSingletonBase::StopScope(HashString("nuke"));
    return EXIT_FAILURE;
}
}

int main(int argc, char** argv)
{
    CSdlBackend::CatchTermination();
    CommandLine::Apply(argc, argv);
    GameWiring::Install();

    CLoading::Instance()->Begin();

    const CString rules = CFileSystem::Instance()->GetDataFolder() + "/rules.xml";
    if (!CFileSystem::FileExists(rules.c_str()))
    {
        CDirectJ::Instance()->Delay(1000);
        const CString line = "missing " + rules;
        return FailStart(line.c_str());
    }
    // A damaged essential document is refused like a missing one.
    const CString broken = EssentialDocuments::CheckAll();
    if (!broken.empty())
        return FailStart(broken.c_str());

    CDirectJ* platform = CDirectJ::Instance();
    if (!platform->IsReady())
    {
        const CString line = *platform->GetFailure() ? CString(platform->GetFailure()) : CString("no video mode");
        return FailStart(line.c_str());
    }

    CSingletonBase::StartScope(HashString("global"));
    CLoading::Instance()->Finish();

    int status = EXIT_SUCCESS;
    if (getenv("FROGPOND_CHECK_SEAMS"))
    {
        // The start-up is complete: every seam the program will ever install is in place.
        for (const std::string& fault : OpenSeams::Check())
        {
            fprintf(stderr, "frogpond: %s\n", fault.c_str());
            status = EXIT_FAILURE;
        }
        platform->RequestQuit();
    }

    while (platform->Pump())
    {
        if (platform->IsAppActive())
        {
            CGame::Instance()->Update();
            CGame::Instance()->Draw();
        }
        else
        {
            platform->Delay(100);
        }
    }

    CGame::Instance()->PopAllModes();
    CResizes::InvalidateAll();
    CSingletonBase::StopScope(HashString("global"));
    CSingletonBase::StopScope(HashString("nuke"));
    GameWiring::Uninstall();
    return status;
}
