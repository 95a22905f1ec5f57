#pragma once
// A scene test's world: a fresh data folder (rules with an animation interval, and whatever
// particles document the test writes), a hand-driven clock, a seeded generator and a game with no
// mode, whose scope 0 is current. Materials, textures and the game are ended afterwards.
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "core/CRules.h"
#include "core/CScheduler.h"
#include "core/Random.h"
#include "platform/CGame.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

class ParticleFixture : public testing::Test
{
  protected:
    void SetUp() override
    {
        GlobalRandom().Seed(20240611);
        WriteRules("");
        CSingleton<CGame>::Toggle(false);
        m_game = CGame::Instance();
    }
    void TearDown() override
    {
        CSingleton<CGame>::Toggle(false);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
    }

    // rules.xml with an animation interval of 20 ms and the extra sections given, loaded now.
    void WriteRules(const std::string& sections)
    {
        m_folder.WriteData("rules.xml", "<rules><interval animation=\"20\"/>" + sections + "</rules>");
        CRules::Instance()->Load();
    }
    void WriteParticles(const std::string& systems)
    {
        m_folder.WriteData("particles.xml", "<particles>" + systems + "</particles>");
    }

    CScheduler& Current() { return m_game->GetCurrentScope().GetScheduler(); }
    // Moves the platform clock and the current scope's clock by ms, without calling anything.
    void Advance(int32_t ms)
    {
        Current(); // made before the first reading, so that its clock starts from the fake's
        while (ms > 0)
        {
            const int32_t step = std::min(ms, 100);
            m_clock.Advance(uint32_t(step));
            Current().AdvanceClock();
            ms -= step;
        }
    }

    FakeClock m_clock;
    AppFolder m_folder;
    CGame* m_game = nullptr;
};
