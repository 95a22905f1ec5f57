#pragma once
// The player's settings and progress: preferences.xml in the application folder, held in memory
// and written back in bursts. A change marks the store dirty; a tick every second on the "global"
// scope saves it once the first change of the burst is 2 s old (so between 2 and 3 s after it),
// and releasing the singleton saves what is still pending.
//
// Invariants: the player's progress is never lost. A save replaces the file atomically, so the
// file is always a whole document, old or new; a failed save keeps the changes pending and tries
// again later; a file that does not parse keeps a copy aside before anything replaces it;
// reloading first saves pending changes. Numbers are written and read as the "C" locale does.
#include "core/CLink.h"
#include "core/CScheduled.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/CXmlDocument.h"

#include <cstdint>
#include <string_view>

class CScheduler;
class CXmlNode;

class CPreferences : public CScheduled, public CSingleton<CPreferences>
{
  public:
    static constexpr int32_t kTickMs = 1000;      // how often a pending save is due-tested
    static constexpr int32_t kSaveDelayMs = 2000; // from a burst's first change to its save
    static constexpr int32_t kMaxRetryMs = 64000; // longest wait between failed saves

    // Schedules the tick in "global" when that scope exists (else on the next use or change).
    void Init() override;
    // Saves pending changes (the singleton is released at the end of the program).
    void Exit() override;
    void OnSchedule(float dt) override;

    // Reads "preferences" from the application folder (then the data folder, then the bare name),
    // then lets every registered preference read it; defaults missing from the file are written
    // into the store and make it dirty. Pending changes are saved first, and when that fails the
    // store is kept as it is (false). An application-folder file that exists but does not parse
    // keeps what was read whole before the damage (a file cut off, or holding a zero byte, inside
    // a tag keeps every complete record and value), and a copy of it is kept as
    // "preferences.xml.corrupt-<n>" (the first free n); only when nothing can be read is it moved
    // there and the store starts empty. False when no whole document was read.
    bool Load();
    // Writes the store to "<application folder>preferences.xml" now (for changes that must not
    // wait, such as the puzzle's state after a move). On failure the changes stay pending and the
    // tick tries again later, waiting twice as long after each failure (up to kMaxRetryMs).
    bool Save();
    void MarkDirty();

    bool IsLoaded() const { return m_loaded; }
    bool IsDirty() const { return m_dirty; }
    // Successful saves since construction.
    int GetSaveCount() const { return m_saveCount; }

    // The store's root (loading first when never loaded), for readers of whole records.
    CXmlNode* GetRoot();
    // The text at key, "" when absent.
    const CString& GetString(std::string_view key);
    // The stored value when the key has a text; otherwise writes the default, makes the
    // preferences of that key read it, marks dirty and returns the default.
    bool GetBool(std::string_view key, bool defaultValue);
    float GetFloat(std::string_view key, float defaultValue);

    // Store the text ("true"/"false", "%f") at key, creating its elements, make every registered
    // preference of that key read it and mark dirty. An unchanged text changes nothing (an empty
    // text stores a missing key). False when the key cannot be written (an empty segment or a
    // name that would not read back).
    bool SetString(std::string_view key, std::string_view text);
    bool SetBool(std::string_view key, bool value);
    bool SetFloat(std::string_view key, float value);

  private:
    friend class CSingleton<CPreferences>;
    CPreferences();

    void EnsureLoaded();
    void EnsureScheduled();
    void ReadAll();
    void ReadKey(std::string_view key);
    // The file Save writes, or "" without an application folder.
    CString TargetPath() const;
    // Gives a broken file the first free name "<path>.corrupt-<n>", and takes it away from path
    // unless keep; never replaces a file.
    static bool SetAside(const CString& path, bool keep);

    CXmlDocument m_store;          // no root until the first Load
    CLink<CScheduler> m_scheduler; // where the tick runs, once scheduled
    uint32_t m_saveDue = 0;        // platform ms; meaningful while m_waiting
    int32_t m_retryMs = kSaveDelayMs;
    int m_saveCount = 0;
    bool m_loaded = false;
    bool m_dirty = false;
    bool m_waiting = false; // a save time is set for the pending changes
    bool m_loading = false; // Load makes the file system, whose start-up loads us
    bool m_saveFailureReported = false; // the first failed save of a run says so on stderr
};
