#pragma once
// The puzzle collection and the player's progress. The list names the files
// "puzzle/puzzleNNNN.xml" of the data folder in name order, up to the first file that is not the
// next puzzle; progress lives in the preferences: one result record per puzzle under its name,
// "unlocked", and the puzzle to resume. Invariant: the list's numbers rise strictly, and a
// stored record only ever improves.
//
// Every query here is safe for the front end: none creates the in-game singletons. A record
// query writes an empty record for a puzzle that has none, as every first read of a missing
// preference writes its default.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CString.h"

#include <cstdint>
#include <vector>

class CPuzzles : public CBase, public CSingleton<CPuzzles>
{
  public:
    // One win, as stored in the record "%d,%f,%f,%d,%d" (in this field order).
    struct Record
    {
        int32_t moves = 0;    // history length - 1 at the win
        float score = 0.0f;   // CScore's value at the win
        float seconds = 0.0f; // play time, seconds
        int32_t undoCount = 0;
        int32_t hintCount = 0;
    };

    // Scans the data folder.
    void Init() override;

    // Rebuilds the list from the data folder's "puzzle" folder (CFileSystem).
    void Scan();
    // Rebuilds the list from "<dataFolder>/puzzle" (dataFolder without a trailing "/"): the files
    // after "puzzle0000.xml" in name order, until one whose path is not as long as a puzzle's or
    // whose number does not rise. A name is the first ten characters of the file name.
    void ScanFolder(const CString& dataFolder);

    // The listed names ("puzzle1000"), ascending.
    const std::vector<CString>& GetNames() const { return m_names; }
    int32_t Count() const { return static_cast<int32_t>(m_names.size()); }

    // The decimal value of the name's last four characters; 0 for a shorter name.
    static int32_t NumberOf(const CString& name);
    // The listed name after name; "" when name is the last or not listed.
    CString NextPuzzle(const CString& name) const;
    // The first listed name whose number is above number ("" when none); a negative number
    // gives the first listed name.
    CString FirstAfterNumber(int32_t number) const;

    // Record queries. A missing record is first written as an empty one (the store is marked
    // dirty); a missing or unreadable record gives false or 0; a damaged field reads as 0 and
    // never affects another puzzle's record.
    bool HasRecord(const CString& name) const;
    int32_t GetBestMoves(const CString& name) const;
    float GetBestScore(const CString& name) const;
    int32_t GetRecordField3(const CString& name) const; // undo count
    int32_t GetRecordField4(const CString& name) const; // hint count
    // Every puzzle is open; "unlocked" is kept for the record only.
    bool IsAvailable(const CString& name) const;

    // Called at a win: raises "unlocked" by up to unlocks listed puzzles past name, points
    // "currentpuzzle" at the next puzzle ("" after the last) with an empty "currenthistory",
    // and stores record unless the stored one is better (higher score, or the same score in
    // fewer seconds). An ungraded record (the built-in puzzle's, played for a broken file) is
    // stored only where name has none: its score is no grade of that puzzle's play, and would
    // otherwise replace a real record it happens to beat. Marks the preferences dirty; the caller
    // saves.
    void RecordResult(const CString& name, const Record& record, int32_t unlocks, bool graded = true);

    // The preference text at key; when the key is missing or empty, stores def there first
    // (every preference of that key re-reads it; the store is marked dirty) and returns def.
    static CString GetPreferenceText(const CString& key, const CString& def);

    // The record text formatted as stored.
    static CString FormatRecord(const Record& record);

  private:
    friend class CSingleton<CPuzzles>;
    CPuzzles() = default;

    // The stored record text of name; "" when none, which it then writes.
    static CString ReadRecordText(const CString& name);

    std::vector<CString> m_names;
};
