#pragma once
// Puzzle play on a fresh application folder: rules, texts and two small puzzles written by the
// test, fake services for the frog and the interface, and a hand-driven clock and scopes.
#include "PlayFakes.h"
#include "ProgressFixture.h"
#include "core/CDelay.h"
#include "core/CXmlDocument.h"
#include "support/FakeClock.h"

#include <string>

namespace PlayData
{
// Hands on row 5, feet on row 6; the goal is two rows up. Par 4: every limb hops once.
constexpr const char* kSteps[] = {"63625352", "63625332", "63623332", "63423332", "43423332"};

inline std::string TinyPuzzle(const std::string& title)
{
    return "<puzzle title=\"" + title +
           "\" unlocks=\"2\" category=\"3\">\n"
           "  <layout>\n"
           "    <knob position=\"2,3\"/><knob position=\"3,3\"/><knob position=\"1,4\"/>\n"
           "    <knob position=\"2,4\"/><knob position=\"3,4\"/><knob position=\"4,4\"/>\n"
           "    <knob position=\"2,5\"/><knob position=\"3,5\"/><knob position=\"2,6\"/>\n"
           "    <knob position=\"3,6\"/>\n"
           "  </layout>\n"
           "  <home pose=\"63625352\"/>\n"
           "  <goal pose=\"43423332\"/>\n"
           "  <hint difficulty=\"0.1\">\n"
           "    <step pose=\"63625352\"/><step pose=\"63625332\"/><step pose=\"63623332\"/>\n"
           "    <step pose=\"63423332\"/><step pose=\"43423332\"/>\n"
           "  </hint>\n"
           "  <pond position=\"0.5,0\" template=\"lily\"/>\n"
           "  <frog species=\"d-azureus\"/>\n"
           "</puzzle>\n";
}

inline Pose Step(int i)
{
    Pose pose;
    Pose::FromText(kSteps[i], pose);
    return pose;
}
} // namespace PlayData

class PlayFixture : public ProgressFixture
{
  protected:
    void TearDown() override
    {
        ProgressFixture::TearDown();
        CSingleton<CDelay>::Toggle(false);
    }

    // Writes the content and starts the file system, which loads preferences and rules.
    void Start()
    {
        m_folder.WriteFile(
            "data/rules.xml",
            "<rules>\n"
            "  <puzzle closeenough=\"0.25\" distancemetric=\"0,1,1\"/>\n"
            "  <petals throwdelay=\"1\"/>\n"
            "  <ui embossheight=\"1\"/>\n"
            "  <score default=\"1\"><a score=\"0\" stars=\"1\"/><b score=\"1\" stars=\"2\"/></score>\n"
            "</rules>\n");
        m_folder.WriteFile("data/text.xml",
                           "<text><strings>"
                           "<puz_rating0>Tutorial</puz_rating0><puz_rating1>Easy</puz_rating1>"
                           "<puz_rating2>Tricky</puz_rating2><puz_rating3>Hard</puz_rating3>"
                           "<puz_unsolved>Unsolved</puz_unsolved><pond_lily>Lily pond</pond_lily>"
                           "<name_d-azureus>Azure</name_d-azureus>"
                           "<species_d-azureus>Blue poison frog</species_d-azureus>"
                           "</strings></text>\n");
        m_folder.WriteFile("data/puzzle/puzzle1000.xml", PlayData::TinyPuzzle("First hop"));
        m_folder.WriteFile("data/puzzle/puzzle1001.xml", PlayData::TinyPuzzle("Second hop"));
        CSingleton<CFileSystem>::Instance();
    }

    // Loads a puzzle from the data folder and starts it from home.
    CPuzzle* Play(const char* name)
    {
        CPuzzle* puzzle = CPuzzle::Instance();
        puzzle->Load(name);
        puzzle->RestoreHistory(0);
        return puzzle;
    }

    // Frames of 100 ms until ms have passed.
    void RunFor(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += 100)
        {
            m_clock.Advance(100);
            m_scopes.Update();
        }
    }

    static CString Preference(const char* key) { return CPreferences::Instance()->GetString(key); }
    static CString Text(const char* key) { return CDictionary::Instance()->GetText(key); }

    FakeClock m_clock;
    FakeServices m_services;
};
