#include "scene/CScenePlayServices.h"

#include "Graphics/CScreenFlip.h"
#include "creatures/CFloater.h"
#include "platform/CAudio.h"
#include "platform/CView.h"
#include "scene/CLayer.h"
#include "scene/CParticles.h"
#include "ui/CDivDaisy.h"
#include "ui/CDivPane.h"
#include "scene/CPetals.h"
#include "scene/CPond.h"
#include "ui/CButtons.h"
#include "ui/CDivDaisy.h"
#include "ui/CDivPane.h"
#include "ui/FlipPaneHooks.h"

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

void CScenePlayServices::ShowFloatingText(const CString& text, float size)
{
    const Vector2<float> centre = CView::GetScreenView().GetCentre();
    const CRef<CFloater> label = CFloater::Create(text, centre.x, centre.y, size);
    label->SetCentred(true);
}

CRef<CBase> CScenePlayServices::CreateParticles(const char* effect)
{
    return effect ? CParticles::Create(effect) : CRef<CParticles>();
}

void CScenePlayServices::StartParticlesAt(CBase* particles, const Vector2<float>& position)
{
    if (CParticles* system = dynamic_cast<CParticles*>(particles))
    {
        system->SetTranslation(position);
        system->SetEmitting(true);
    }
}

void CScenePlayServices::FirePetals()
{
    // Peek: a late reward must not bring the shower back outside its group.
    if (CPetals* petals = CPetals::Peek())
        petals->Fire();
}

void CScenePlayServices::StopPetals()
{
    if (CPetals* petals = CPetals::Peek())
        petals->Stop();
}

void CScenePlayServices::SetButtonEnabled(const char* action, bool enabled)
{
    if (action)
        CButtons::Instance()->SetEnabled(action, enabled);
}

void CScenePlayServices::BeginFlip(const char* pane, CRef<CCallback> loader)
{
    CScreenFlip* flip = CScreenFlip::Instance();
    flip->Begin(pane, CScreenFlip::kTurnNow);
    flip->SetCallback(loader);
}

void CScenePlayServices::FlipToGame()
{
    CScreenFlip* flip = CScreenFlip::Instance();
    flip->Flip();
    flip->SetSideList(1, std::vector<float>());
}

void CScenePlayServices::SetFlipNodeActive(const char* id, bool active)
{
    if (CDivPane* pane = FlipPaneHooks::CurrentPane())
        if (CLink<CDiv> node = pane->FindById(id ? id : "", 0); node.Get())
            node.Get()->SetActive(active);
}

void CScenePlayServices::RearmFlipDaisy()
{
    if (CDivPane* pane = FlipPaneHooks::CurrentPane())
        if (CDivDaisy* daisy = dynamic_cast<CDivDaisy*>(pane->FindById("daisy", 0).Get()))
            daisy->Rearm();
}

void CScenePlayServices::SetFlipSideList(int side, const std::vector<float>& spots)
{
    CScreenFlip::Instance()->SetSideList(side, spots);
}

void CScenePlayServices::AppendOverlayEmboss(std::vector<float>& spots)
{
    if (CPond* pond = CPond::GetCurrent())
        if (CLayer* layer = pond->FindLayer("overlay"))
            if (CDivPane* pane = layer->GetPane())
                pane->CollectEmboss(spots);
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
