#include "ProgressFixture.h"

#include <vector>

namespace
{
using Names = std::vector<CString>;

CPuzzles::Record Win(int32_t moves, float score, float seconds, int32_t undos = 0, int32_t hints = 0)
{
    CPuzzles::Record record;
    record.moves = moves;
    record.score = score;
    record.seconds = seconds;
    record.undoCount = undos;
    record.hintCount = hints;
    return record;
}

class PuzzlesTest : public ProgressFixture
{
  protected:
    // Lists 1000, 1001, 1005 and 1010 and starts the collection on them.
    CPuzzles* StartWithFourPuzzles()
    {
        for (const char* name : {"puzzle1010.xml", "puzzle1000.xml", "puzzle1005.xml", "puzzle1001.xml"})
            WritePuzzle(name);
        CSingleton<CFileSystem>::Instance();
        return CSingleton<CPuzzles>::Instance();
    }
    static CString Stored(const char* key) { return CSingleton<CPreferences>::Instance()->GetString(key); }
};
} // namespace

TEST_F(PuzzlesTest, ListingRunsInNameOrderUntilTheFirstNameThatIsNotTheNextPuzzle)
{
    // Each folder's files, made in an order unlike name order, and the names listed.
    const struct
    {
        const char* folder;
        std::vector<const char*> files;
        Names listed;
    } cases[] = {
        {"whole",
         {"puzzle1010.xml", "puzzle1005.xml", "puzzle1000.xml", "puzzle1001.xml"},
         {"puzzle1000", "puzzle1001", "puzzle1005", "puzzle1010"}},
        // puzzle0000 is never listed: the walk starts after it, and so does a file before it.
        {"zero", {"puzzle1000.xml", "puzzle0000.xml", "README"}, {"puzzle1000"}},
        // A name of another length ends the list, and the files after it are not listed.
        {"stray",
         {"puzzle1005.xml", "puzzle1001.xml.bak", "puzzle1001.xml", "puzzle1000.xml"},
         {"puzzle1000", "puzzle1001"}},
        {"short", {"puzzle1000.xml", "puzzle12.xml", "puzzle2000.xml"}, {"puzzle1000"}},
        // So does a number that does not rise ("1x00" reads as 1).
        {"falls", {"puzzle2000.xml", "puzzle1x00.xml", "puzzle1000.xml"}, {"puzzle1000"}},
        {"empty", {}, {}},
    };
    CSingleton<CFileSystem>::Instance();
    CPuzzles* puzzles = CSingleton<CPuzzles>::Instance();
    for (const auto& c : cases)
    {
        m_folder.MakeFolder(std::string(c.folder));
        m_folder.MakeFolder(std::string(c.folder) + "/puzzle");
        for (const char* file : c.files)
            m_folder.WriteFile(std::string(c.folder) + "/puzzle/" + file, "<puzzle/>\n");
        puzzles->ScanFolder(CString(m_folder.PathOf(c.folder)));
        EXPECT_EQ(puzzles->GetNames(), c.listed) << c.folder;
    }
    puzzles->ScanFolder(CString(m_folder.PathOf("nowhere")));
    EXPECT_EQ(puzzles->Count(), 0);

    // The data folder's list, and a rescan that sees a file added since.
    for (const char* name :
         {"puzzle1010.xml", "puzzle1005.xml", "puzzle1000.xml", "puzzle1001.xml", "puzzle2000.xml"})
        WritePuzzle(name);
    puzzles->Scan();
    EXPECT_EQ(puzzles->NextPuzzle("puzzle1001"), "puzzle1005");
    EXPECT_EQ(puzzles->NextPuzzle("puzzle2000"), "");
    EXPECT_EQ(puzzles->NextPuzzle("puzzle1003"), "");
    EXPECT_EQ(puzzles->FirstAfterNumber(-1), "puzzle1000");
    EXPECT_EQ(puzzles->FirstAfterNumber(1002), "puzzle1005");
    EXPECT_EQ(puzzles->FirstAfterNumber(2000), "");
    EXPECT_EQ(CPuzzles::NumberOf("abc"), 0);
    WritePuzzle("puzzle0999.xml");
    puzzles->Scan();
    EXPECT_EQ(puzzles->Count(), 6);
    EXPECT_EQ(puzzles->GetNames().front(), "puzzle0999");
}

TEST_F(PuzzlesTest, BestRecordIsKept)
{
    CPuzzles* puzzles = StartWithFourPuzzles();
    EXPECT_FALSE(puzzles->HasRecord("puzzle1000"));
    EXPECT_EQ(puzzles->GetBestMoves("puzzle1000"), 0);

    // A first win is stored whatever its score.
    puzzles->RecordResult("puzzle1000", Win(12, 0.25f, 30.0f, 2, 1), 0);
    EXPECT_EQ(Stored("puzzle1000"), "12,0.250000,30.000000,2,1");
    EXPECT_TRUE(puzzles->HasRecord("puzzle1000"));
    EXPECT_EQ(puzzles->GetBestMoves("puzzle1000"), 12);
    EXPECT_FLOAT_EQ(puzzles->GetBestScore("puzzle1000"), 0.25f);
    EXPECT_EQ(puzzles->GetRecordField3("puzzle1000"), 2);
    EXPECT_EQ(puzzles->GetRecordField4("puzzle1000"), 1);

    // Higher score replaces; lower does not.
    puzzles->RecordResult("puzzle1000", Win(8, 1.0f, 50.0f), 0);
    EXPECT_EQ(Stored("puzzle1000"), "8,1.000000,50.000000,0,0");
    puzzles->RecordResult("puzzle1000", Win(9, 0.9f, 5.0f), 0);
    EXPECT_EQ(Stored("puzzle1000"), "8,1.000000,50.000000,0,0");
    // Equal score: more seconds keeps, equal or fewer replaces.
    puzzles->RecordResult("puzzle1000", Win(7, 1.0f, 60.0f), 0);
    EXPECT_EQ(Stored("puzzle1000"), "8,1.000000,50.000000,0,0");
    puzzles->RecordResult("puzzle1000", Win(7, 1.0f, 50.0f, 1), 0);
    EXPECT_EQ(Stored("puzzle1000"), "7,1.000000,50.000000,1,0");
    puzzles->RecordResult("puzzle1000", Win(7, 1.0f, 40.0f), 0);
    EXPECT_EQ(Stored("puzzle1000"), "7,1.000000,40.000000,0,0");

    // A score that "%f" rounds compares at the stored precision: the same score in less time
    // is better, and a repeat of the same win leaves the record as it is.
    const float twoThirds = 2.0f / 3.0f;
    puzzles->RecordResult("puzzle1001", Win(6, twoThirds, 30.0f), 0);
    puzzles->RecordResult("puzzle1001", Win(6, twoThirds, 20.0f), 0);
    EXPECT_EQ(Stored("puzzle1001"), "6,0.666667,20.000000,0,0");
    puzzles->RecordResult("puzzle1001", Win(6, twoThirds, 20.0f + 1e-7f), 0);
    puzzles->RecordResult("puzzle1001", Win(6, twoThirds, 20.5f), 0);
    EXPECT_EQ(Stored("puzzle1001"), "6,0.666667,20.000000,0,0");
}

TEST_F(PuzzlesTest, CorruptRecordsAreContained)
{
    m_folder.WriteFile(
        "preferences.xml",
        "<preferences puzzle1000=\"junk\" puzzle1001=\"4,inf,1e999,x\" puzzle1005=\"3,0.500000\""
        " puzzle1010=\"5,1.500000,9.000000,0,2\" unlocked=\"lots\"/>\n");
    CPuzzles* puzzles = StartWithFourPuzzles();

    // Damaged fields read as 0; the good record reads whole.
    EXPECT_TRUE(puzzles->HasRecord("puzzle1000"));
    EXPECT_EQ(puzzles->GetBestMoves("puzzle1000"), 0);
    EXPECT_EQ(puzzles->GetBestScore("puzzle1000"), 0.0f);
    EXPECT_EQ(puzzles->GetBestScore("puzzle1001"), 0.0f);
    EXPECT_EQ(puzzles->GetRecordField4("puzzle1005"), 0);
    EXPECT_FLOAT_EQ(puzzles->GetBestScore("puzzle1010"), 1.5f);

    // Any win heals a damaged record, an infinite score included; "unlocked" is rewritten.
    puzzles->RecordResult("puzzle1000", Win(9, 0.1f, 99.0f), 1);
    puzzles->RecordResult("puzzle1001", Win(9, 0.1f, 99.0f), 0);
    puzzles->RecordResult("puzzle1005", Win(9, 0.5f, 99.0f), 0);
    EXPECT_EQ(Stored("puzzle1000"), "9,0.100000,99.000000,0,0");
    EXPECT_EQ(Stored("puzzle1001"), "9,0.100000,99.000000,0,0");
    EXPECT_EQ(Stored("puzzle1005"), "9,0.500000,99.000000,0,0");
    EXPECT_EQ(Stored("puzzle1010"), "5,1.500000,9.000000,0,2");
    EXPECT_EQ(Stored("unlocked"), "1005");
}

TEST_F(PuzzlesTest, WinsUnlockAndNameTheNextPuzzle)
{
    CPuzzles* puzzles = StartWithFourPuzzles();

    puzzles->RecordResult("puzzle1000", Win(5, 1.0f, 10.0f), 2);
    EXPECT_EQ(Stored("unlocked"), "1005");
    EXPECT_EQ(Stored("currentpuzzle"), "puzzle1001");
    // Unlocking stops at the last puzzle, and never goes back down.
    puzzles->RecordResult("puzzle1005", Win(5, 1.0f, 10.0f), 5);
    EXPECT_EQ(Stored("unlocked"), "1010");
    EXPECT_EQ(Stored("currentpuzzle"), "puzzle1010");
    puzzles->RecordResult("puzzle1001", Win(5, 1.0f, 10.0f), 1);
    EXPECT_EQ(Stored("unlocked"), "1010");
    // After the last puzzle there is none to resume; the history is always cleared.
    CSingleton<CPreferences>::Instance()->SetString("currenthistory", "62615251");
    puzzles->RecordResult("puzzle1010", Win(5, 1.0f, 10.0f), 0);
    EXPECT_EQ(Stored("currentpuzzle"), "");
    EXPECT_EQ(Stored("currenthistory"), "");
    EXPECT_TRUE(puzzles->IsAvailable("puzzle1010"));

    EXPECT_EQ(CPuzzles::GetPreferenceText("tutorialseen", "no"), "no");
    EXPECT_EQ(Stored("tutorialseen"), "no");
    EXPECT_EQ(CPuzzles::GetPreferenceText("tutorialseen", "yes"), "no");
}

TEST_F(PuzzlesTest, ProgressSurvivesARestart)
{
    CPuzzles* puzzles = StartWithFourPuzzles();
    puzzles->RecordResult("puzzle1000", Win(6, 1.25f, 41.25f, 1, 0), 2);
    EXPECT_TRUE(CSingleton<CPreferences>::Instance()->Save());
    puzzles->RecordResult("puzzle1001", Win(3, 0.75f, 12.5f), 1); // pending: saved at the stop

    Restart();
    const std::string file = PreferencesFile();
    EXPECT_NE(file.find("puzzle1000=\"6,1.250000,41.250000,1,0\""), std::string::npos) << file;
    EXPECT_NE(file.find("unlocked=\"1005\""), std::string::npos) << file;
    puzzles = CSingleton<CPuzzles>::Instance();
    EXPECT_EQ(puzzles->Count(), 4);
    EXPECT_EQ(puzzles->GetBestMoves("puzzle1000"), 6);
    EXPECT_FLOAT_EQ(puzzles->GetBestScore("puzzle1001"), 0.75f);
    EXPECT_EQ(Stored("currentpuzzle"), "puzzle1005");
    // A worse repeat after the restart keeps the stored best.
    puzzles->RecordResult("puzzle1000", Win(9, 0.5f, 10.0f), 2);
    EXPECT_EQ(puzzles->GetBestMoves("puzzle1000"), 6);
}

TEST_F(PuzzlesTest, FrontEndQueriesMakeNoGameObjectsAndWriteEmptyRecords)
{
    CPuzzles* puzzles = StartWithFourPuzzles();
    CPreferences* preferences = CSingleton<CPreferences>::Instance();
    preferences->SetString("puzzle1005", "4,0.500000,9.000000,0,1");
    preferences->Save();
    ASSERT_FALSE(preferences->IsDirty());

    const auto queryAll = [&]
    {
        for (const CString& name : puzzles->GetNames())
        {
            puzzles->HasRecord(name);
            puzzles->GetBestMoves(name);
            puzzles->GetBestScore(name);
            puzzles->GetRecordField3(name);
            puzzles->GetRecordField4(name);
            puzzles->IsAvailable(name);
            puzzles->NextPuzzle(name);
        }
    };
    queryAll();
    CScore::GetRatingText(0.5f);
    EXPECT_FALSE(CSingleton<CScore>::Exists());
    EXPECT_FALSE(CSingleton<CPuzzle>::Exists());
    // A puzzle without a record gets an empty one, once; a record is left as it is.
    EXPECT_TRUE(preferences->IsDirty());
    preferences->Save();
    const std::string file = PreferencesFile();
    EXPECT_NE(file.find("puzzle1000=\"\""), std::string::npos) << file;
    EXPECT_NE(file.find("puzzle1010=\"\""), std::string::npos) << file;
    EXPECT_NE(file.find("puzzle1005=\"4,0.500000,9.000000,0,1\""), std::string::npos) << file;
    EXPECT_FALSE(puzzles->HasRecord("puzzle1000"));
    queryAll();
    EXPECT_FALSE(preferences->IsDirty());
}
