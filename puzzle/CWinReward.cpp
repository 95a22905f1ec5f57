#include "puzzle/CWinReward.h"

#include "puzzle/CPlayServices.h"

void CWinReward::Invoke()
{
    CPlayServices& services = CPlayServices::Get();
    services.FirePetals();
    services.PostCommand("puzzlewon");
}
