#pragma once
// A pond test's world: a fresh data folder (rules with an animation interval, materials, a "pond"
// folder), a hand-driven clock, stand-in material caps and pond capability test, and a layer kind
// that records what the pond asks of it. Everything is put back afterwards.
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/MaterialCaps.h"
#include "core/CRules.h"
#include "core/TextFields.h"
#include "platform/CGame.h"
#include "scene/CLayer.h"
#include "scene/CPond.h"
#include "scene/LayerKindMap.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

// Kinds "Recording" (class name "CLayerRecording") and "RecordingBoard" (class name "CLayerBoard",
// so the pond takes it for a board): each call the pond makes is written into the log.
class RecordingLayer : public CLayer
{
  public:
    explicit RecordingLayer(const char* className) : CLayer(className) {}

    static std::vector<std::string>& Log() { return s_log; }

    void Place() override
    {
        CLayer::Place();
        ++places;
    }
    void Update(float dt) override
    {
        s_log.push_back("update " + GetName() + " " + std::to_string(int(dt * 1000)));
    }
    void Animate() override
    {
        s_log.push_back("animate " + GetName() + " " + std::to_string(CPond::GetLayerClock()));
        CLayer::Animate();
    }
    void Draw() override { s_log.push_back("draw " + GetName()); }
    void AfterDraw() override { s_log.push_back("after " + GetName()); }
    void SetTargets(const std::vector<Vector2<float>>& cells) override
    {
        s_log.push_back("targets " + GetName() + " " + std::to_string(cells.size()));
    }

    int places = 0;

  private:
    static inline std::vector<std::string> s_log;
};

inline const bool s_recordingKinds =
    (LayerKindMap::Register("Recording",
                            [] { return CRef<CLayer>(MakeRef<RecordingLayer>("CLayerRecording")); }),
     LayerKindMap::Register("RecordingBoard",
                            [] { return CRef<CLayer>(MakeRef<RecordingLayer>("CLayerBoard")); }),
     true);

class SceneTest : public testing::Test
{
  protected:
    SceneTest()
    {
        m_caps.textureUnits = 2;
        MaterialCaps::SetOverride(&m_caps);
        m_previousCaps = CPond::SetCapsTest(&StandInCaps);
        s_heldCaps = {"mt2"};
        RecordingLayer::Log().clear();
        CSingleton<CGame>::Toggle(false);
        m_folder.WriteData("rules.xml", "<rules><interval animation=\"20\"/></rules>");
        m_folder.WriteData("materials.xml",
                           "<materials><default alphathreshold=\"0\"/><null style=\"null\"/></materials>");
        mkdir(m_folder.PathOf("data/pond").c_str(), 0755);
        CRules::Instance()->Load();
        CPond::SetLightVector(CPond::kDefaultLightVector);
    }
    ~SceneTest() override
    {
        CSingleton<CGame>::Toggle(false);
        CSingleton<CMaterialSet>::Toggle(false);
        CSingleton<CTextureSet>::Toggle(false);
        CPond::SetCapsTest(m_previousCaps);
        CPond::SetLightVector(CPond::kDefaultLightVector);
        MaterialCaps::SetOverride(nullptr);
        RecordingLayer::Log().clear();
    }

    void WritePond(const std::string& name, const std::string& text)
    {
        m_folder.WriteData("pond/" + name + ".xml", text);
    }
    // A pond "test" of one treatment holding the layers.
    CRef<CPond> MakePond(const std::string& layers)
    {
        WritePond("test", "<pond><treatment>" + layers + "</treatment></pond>");
        return CPond::Create("test");
    }
    static RecordingLayer* Recording(CLayer* layer) { return dynamic_cast<RecordingLayer*>(layer); }

    // A capability list holds when every term is among the held ones; an empty list always holds.
    static bool StandInCaps(const CString& list)
    {
        if (list.empty())
            return true;
        for (int32_t n = 0;; ++n)
        {
            const std::optional<CString> term = FieldOf(list.c_str(), n);
            if (!term)
                return true;
            if (s_heldCaps.count(*term) == 0)
                return false;
        }
    }

    FakeClock m_clock;
    AppFolder m_folder;
    MaterialCaps m_caps;
    CPond::CapsTest m_previousCaps = nullptr;

    static inline std::set<std::string> s_heldCaps;
};
