#include "core/CMemoryStream.h"
#include "core/CPreference.h"
#include "core/CPreferences.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"
#include "support/TestScopes.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
class PreferencesTest : public testing::Test
{
  protected:
    CPreferences* Preferences() { return CSingleton<CPreferences>::Instance(); }
    // The file system's start-up loads the preferences from the application folder.
    void Start() { CSingleton<CFileSystem>::Instance(); }
    std::string SavedFile() const { return m_app.ReadApp("preferences.xml"); }
    bool Exists(const std::string& name) const
    {
        struct stat status;
        return stat(m_app.PathOf(name).c_str(), &status) == 0;
    }
    // Frames of 100 ms on the platform clock, each updating the scopes. Returns the platform
    // time of the first save among them, or -1.
    int64_t RunFrames(int frames)
    {
        const int before = Preferences()->GetSaveCount();
        int64_t savedAt = -1;
        for (int i = 0; i < frames; ++i)
        {
            m_clock.Advance(100);
            m_scopes.Update();
            if (savedAt < 0 && Preferences()->GetSaveCount() != before)
                savedAt = m_clock.Now();
        }
        return savedAt;
    }

    FakeClock m_clock;
    TestScopes m_scopes;
    AppFolder m_app;
};
} // namespace

TEST_F(PreferencesTest, DefaultsAndTypes)
{
    m_app.WriteApp("preferences.xml",
                   R"(<preferences a="1" b="TRUE" c="no" volume="0.25"><audio mute="0" /></preferences>)");
    CPreference<float> volume("volume", 0.8f), sameVolume("volume", 0.1f), shadows("shadowquality", 0.75f);
    CPreference<bool> a("a", false), b("b", false), c("c", true), mute("audio/mute", true);
    EXPECT_FLOAT_EQ(shadows, 0.75f);
    Start();
    EXPECT_TRUE(Preferences()->IsLoaded());
    EXPECT_FLOAT_EQ(volume, 0.25f);
    EXPECT_FLOAT_EQ(sameVolume, 0.25f);
    EXPECT_TRUE(a.Get());
    EXPECT_TRUE(b.Get());
    EXPECT_FALSE(c.Get());
    EXPECT_FALSE(mute.Get());
    // A default missing from the file is written into the store, which then wants saving.
    EXPECT_FLOAT_EQ(shadows, 0.75f);
    EXPECT_EQ(Preferences()->GetString("shadowquality"), "0.750000");
    EXPECT_TRUE(Preferences()->IsDirty());

    EXPECT_TRUE(Preferences()->GetBool("fonttransitions", true));
    EXPECT_EQ(Preferences()->GetString("fonttransitions"), "true");
    EXPECT_TRUE(Preferences()->GetBool("a", false));
    EXPECT_FLOAT_EQ(Preferences()->GetFloat("volume", 0.9f), 0.25f);

    // Setters reach every preference of the key at once.
    EXPECT_TRUE(Preferences()->SetFloat("volume", 0.5f));
    EXPECT_FLOAT_EQ(volume, 0.5f);
    EXPECT_FLOAT_EQ(sameVolume, 0.5f);
    EXPECT_TRUE(Preferences()->SetBool("audio/mute", true));
    EXPECT_TRUE(mute.Get());
    EXPECT_FALSE(Preferences()->SetString("bad name", "1")) << "a key that would not read back";
    EXPECT_FALSE(Preferences()->SetString("a//b", "1"));

    ASSERT_TRUE(Preferences()->Save());
    EXPECT_FALSE(Preferences()->IsDirty());
    EXPECT_TRUE(Preferences()->SetFloat("volume", 0.5f));
    EXPECT_FALSE(Preferences()->IsDirty()) << "an unchanged value needs no save";

    CXmlDocument saved;
    ASSERT_TRUE(saved.Parse(SavedFile(), false));
    EXPECT_EQ(saved.GetAttribute("volume"), "0.500000");
    EXPECT_EQ(saved.GetAttribute("audio/mute"), "true");
    EXPECT_EQ(saved.GetAttribute("shadowquality"), "0.750000");

    // A preference made while the store is loaded reads it at once.
    CPreference<float> late("volume", 0.0f);
    EXPECT_FLOAT_EQ(late, 0.5f);
}

TEST_F(PreferencesTest, BurstIsSavedOnceTwoToThreeSecondsAfterItsFirstChange)
{
    Start();
    ASSERT_TRUE(Preferences()->Save()) << "defaults of other units out of the way";
    const int saves = Preferences()->GetSaveCount();
    const uint32_t first = m_clock.Now();
    for (int i = 0; i < 10; ++i)
    {
        Preferences()->SetFloat("volume", 0.1f * float(i + 1));
        RunFrames(1);
    }
    EXPECT_EQ(Preferences()->GetSaveCount(), saves) << "nothing written within the first second";
    const int64_t savedAt = RunFrames(30);
    ASSERT_GE(savedAt, 0);
    EXPECT_GE(savedAt - first, 2000);
    EXPECT_LE(savedAt - first, 3100); // the tick runs every second, the frames every 100 ms
    EXPECT_EQ(Preferences()->GetSaveCount(), saves + 1);
    EXPECT_FALSE(Preferences()->IsDirty());
    CXmlDocument saved;
    ASSERT_TRUE(saved.Parse(SavedFile(), false));
    EXPECT_EQ(saved.GetAttribute("volume"), "1.000000");

    // Releasing the preferences saves what is pending, long before its time.
    Preferences()->SetFloat("volume", 0.25f);
    CSingleton<CPreferences>::Toggle(false);
    ASSERT_TRUE(saved.Parse(SavedFile(), false));
    EXPECT_EQ(saved.GetAttribute("volume"), "0.250000");
}

TEST_F(PreferencesTest, FailedSaveKeepsChangesAndTriesAgainLater)
{
    Start();
    ASSERT_TRUE(Preferences()->Save());
    const int saves = Preferences()->GetSaveCount();
    // The application folder vanishes (an unmounted card, say).
    CFileSystem* files = CSingleton<CFileSystem>::Instance();
    const std::string gone = m_app.PathOf("gone/");
    files->SetFolders(gone, files->GetDataFolder());
    Preferences()->SetFloat("volume", 0.75f);
    EXPECT_FALSE(Preferences()->Save());
    EXPECT_TRUE(Preferences()->IsDirty());
    EXPECT_EQ(RunFrames(100), -1);
    EXPECT_TRUE(Preferences()->IsDirty());

    // Once the folder is back, a later tick saves; the waits between attempts are bounded.
    ASSERT_EQ(mkdir(gone.c_str(), 0700), 0);
    EXPECT_GE(RunFrames(CPreferences::kMaxRetryMs / 100 + 20), 0);
    EXPECT_FALSE(Preferences()->IsDirty());
    EXPECT_EQ(Preferences()->GetSaveCount(), saves + 1);
    CXmlDocument saved;
    ASSERT_TRUE(saved.Parse(TempFolder::ReadFile(gone + "preferences.xml"), false));
    EXPECT_EQ(saved.GetAttribute("volume"), "0.750000");
}

TEST_F(PreferencesTest, BrokenFileIsSetAsideAndReloadSavesFirst)
{
    // Nothing of it can be read: it is moved aside whole.
    const std::string broken = "\x89PNG\r\n<preferen";
    m_app.WriteApp("preferences.xml.corrupt-1", "older");
    m_app.WriteApp("preferences.xml", broken);
    CPreference<float> volume("volume", 0.8f);
    Start();
    EXPECT_FALSE(Exists("preferences.xml"));
    EXPECT_EQ(m_app.ReadApp("preferences.xml.corrupt-1"), "older");
    EXPECT_EQ(m_app.ReadApp("preferences.xml.corrupt-2"), broken);
    EXPECT_EQ(Preferences()->GetRoot()->GetName(), "preferences");
    EXPECT_FLOAT_EQ(volume, 0.8f);
    EXPECT_TRUE(Preferences()->IsDirty()) << "the defaults will be saved";

    // Reloading (the "_refresh" command) first saves what is pending.
    Preferences()->SetFloat("volume", 0.3f);
    EXPECT_TRUE(Preferences()->Load());
    EXPECT_FLOAT_EQ(volume, 0.3f);
    EXPECT_FALSE(Preferences()->IsDirty());

    // When that save fails, the store is kept as it is.
    CFileSystem* files = CSingleton<CFileSystem>::Instance();
    files->SetFolders(m_app.PathOf("gone/"), files->GetDataFolder());
    Preferences()->SetFloat("volume", 0.6f);
    EXPECT_FALSE(Preferences()->Load());
    EXPECT_FLOAT_EQ(volume, 0.6f);
    EXPECT_TRUE(Preferences()->IsDirty());
    files->SetFolders(m_app.Path(), files->GetDataFolder());
}

// Whatever the damage, the records read whole before it are kept, and what is saved back is one
// strictly whole document that holds them and nothing the damage made.
TEST_F(PreferencesTest, ADamagedFileKeepsEveryCompleteRecordAndACopyAside)
{
    const std::string records = "<preferences\n    e1001=\"5,0.800000,40.000000,1,0\"\n"
                                "    puzzle1000=\"5,1.500000,20.000000,0,1\"\n    unlocked=\"1003\"\n";
    const std::string zero(1, '\0');
    const struct
    {
        std::string text;
        bool volumeKept;    // the volume's value was read whole before the damage
        const char* absent; // a name the damage cut or made, never saved; or null
    } cases[] = {
        // Cut inside a quoted value, inside a bare value, after the equals sign, inside a name.
        {records + "    volume=\"0.3", false, nullptr},
        {records + "    volume=0.3", false, nullptr},
        {records + "    volume=", false, nullptr},
        {records + "    vol", false, "vol"},
        // A second top element.
        {records + "    volume=\"0.3\" />\n<preferences a=\"1\" />", true, "a"},
        // Zero bytes in text, and one inside a name.
        {records + "    volume=\"0.3\" >\n  <x>" + zero + zero + "</x></preferences>", true, nullptr},
        {records + "    volume=\"0.3\"\n    pu" + zero + "zle1001=\"5,0.8,40,1,0\" />\n", true, "pu"},
        // A stray quote: what follows reads as names that are not names.
        {records + "    volume=\"0.3\"\"\n    zoom=\"2\" />\n", true, "zoom"},
    };
    int copies = 0;
    for (const auto& c : cases)
    {
        m_app.WriteApp("preferences.xml", c.text);
        CPreference<float> volume("volume", 0.8f);
        Start();
        const std::string label = c.text.substr(records.size());
        EXPECT_EQ(Preferences()->GetString("e1001"), "5,0.800000,40.000000,1,0") << label;
        EXPECT_EQ(Preferences()->GetString("puzzle1000"), "5,1.500000,20.000000,0,1") << label;
        EXPECT_EQ(Preferences()->GetString("unlocked"), "1003") << label;
        EXPECT_FLOAT_EQ(volume, c.volumeKept ? 0.3f : 0.8f) << label;
        // The damaged bytes stay aside; the file itself is replaced by a whole one soon.
        EXPECT_EQ(m_app.ReadApp("preferences.xml.corrupt-" + std::to_string(++copies)), c.text) << label;
        EXPECT_TRUE(Preferences()->IsDirty()) << label;
        ASSERT_TRUE(Preferences()->Save()) << label;
        const std::string text = SavedFile();
        CMemoryStream stream(text.data(), text.size());
        CXmlDocument saved;
        ASSERT_TRUE(saved.Read(stream, "preferences", CXmlDocument::Reading::kStrict)) << text;
        EXPECT_EQ(saved.GetAttribute("puzzle1000"), "5,1.500000,20.000000,0,1") << label;
        EXPECT_EQ(saved.GetAttribute("volume"), c.volumeKept ? "0.3" : "0.800000") << label;
        if (c.absent)
        {
            EXPECT_EQ(saved.GetRoot()->FindOwnAttribute(c.absent), nullptr) << label;
        }
        AppFolder::ReleaseStores();
    }

    // A top element's name that could not be read back: that name is never written, the
    // records are.
    m_app.WriteApp("preferences.xml", "<\"pre ferences\" unlocked=\"1003\" />");
    Start();
    EXPECT_EQ(Preferences()->GetString("unlocked"), "1003");
    ASSERT_TRUE(Preferences()->Save());
    CXmlDocument saved;
    ASSERT_TRUE(saved.Parse(SavedFile(), false));
    EXPECT_EQ(saved.GetRoot()->GetName(), "preferences");
    EXPECT_EQ(saved.GetAttribute("unlocked"), "1003");
}

TEST_F(PreferencesTest, AFifoInPlaceOfTheFileCountsAsAbsentAndIsNeverReplaced)
{
    // Opening the FIFO for reading would wait for a writer: start-up must not.
    const std::string fifo = m_app.PathOf("preferences.xml");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CPreference<float> volume("volume", 0.8f);
    Start();
    EXPECT_FLOAT_EQ(volume, 0.8f);
    Preferences()->SetFloat("volume", 0.5f);
    // The player hears once that progress is not kept; the retries stay quiet.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Preferences()->Save());
    EXPECT_FALSE(Preferences()->Save());
    RunFrames(100);
    const std::string lines = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines, "frogpond: cannot save " + fifo + ": progress is not being kept\n");
    struct stat status;
    ASSERT_EQ(lstat(fifo.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_TRUE(Preferences()->IsDirty());
}

// A save interrupted at any moment leaves the old or the new document, whole.
TEST_F(PreferencesTest, SaveKilledAtRandomMomentsLeavesAWholeDocument)
{
    constexpr int kKeys = 40;
    constexpr int kKills = 50;
    Start();
    for (int k = 0; k < kKeys; ++k)
        Preferences()->SetString(CString::Format("record%02d", k), "0,0.000000,0.000000,0,0");
    ASSERT_TRUE(Preferences()->Save());

    std::mt19937 rng(20090221);
    for (int round = 0; round < kKills; ++round)
    {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            alarm(10); // never outlive a broken parent
            for (int n = 1;; ++n)
            {
                for (int k = 0; k < kKeys; ++k)
                    Preferences()->SetString(CString::Format("record%02d", k),
                                             CString::Format("%d,%f,12.500000,%d,0", n, 0.5, round));
                Preferences()->Save();
            }
        }
        usleep(useconds_t(rng() % 15000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        CXmlDocument saved;
        ASSERT_TRUE(saved.Parse(SavedFile(), false)) << "round " << round;
        ASSERT_EQ(saved.GetRoot()->GetName(), "preferences");
        const CString first = saved.GetAttribute("record00");
        for (int k = 0; k < kKeys; ++k)
            ASSERT_EQ(saved.GetAttribute(CString::Format("record%02d", k)), first) << "round " << round;
    }
    EXPECT_TRUE(Preferences()->Load()) << "a temporary file left behind does not matter";
}
