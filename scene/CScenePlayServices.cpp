#include "scene/CScenePlayServices.h"

#include "platform/CAudio.h"
#include "scene/CPond.h"

CRef<CBase> CScenePlayServices::CreatePond(const CString& name)
{
    return MakePond(name.c_str());
}

void CScenePlayServices::PlayPondMusic(CBase* pond)
{
    PlayMusicOf(pond);
}

void CScenePlayServices::PlacePondLayers()
{
    if (CPond* pond = CPond::GetCurrent())
        pond->PlaceLayers();
}

CRef<CBase> CScenePlayServices::MakePond(const char* name)
{
    return CPond::Create(name);
}

void CScenePlayServices::PlayMusicOf(CBase* pond)
{
    const CPond* scene = dynamic_cast<const CPond*>(pond);
    CAudio::Instance()->PlayMusic(scene ? scene->GetMusic().c_str() : "");
}
