#include "puzzle/CPuzzleLoader.h"

#include "puzzle/CPlayServices.h"
#include "puzzle/CPuzzle.h"

void CPuzzleLoader::Invoke()
{
    CPlayServices& services = CPlayServices::Get();
    if (services.IsCurrentMode("frontend"))
        services.PushMode("maingame");
    if (m_name.empty())
    {
        services.PopMode();
        return;
    }
    CPuzzle* puzzle = CPuzzle::Instance();
    // A file that does not load leaves the built-in puzzle in play, which is still playable.
    puzzle->Load(m_name);
    puzzle->RestoreHistory(0);
    puzzle->BuildEmbossSpots(0);
}
