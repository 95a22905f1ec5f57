#pragma once
// The two folders of the application and the path helpers every loader uses. The application
// folder (ending with "/") is where preferences.xml lives and is asked of the platform on each use;
// the data folder (absolute when it exists, no trailing "/") holds every content file.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CString.h"

class CFileStream;

class CFileSystem : public CBase, public CSingleton<CFileSystem>
{
  public:
    // Where OpenDocument looks for "<name>.xml".
    enum Location
    {
        kInDataFolder = 0,      // "<data folder>/<name>.xml"
        kInAppFolder = 1,       // "<application folder><name>.xml"
        kAppThenDataFolder = 2, // the application folder first, then the data folder
        kAsPath = 3,            // the name itself is the path
    };

    // Signature of the platform's PDL_GetCallingPath: 0 on success, buffer ending with "/".
    using CallingPathProvider = int (*)(char* buffer, int size);
    // Loads a store whose class lives outside this file (preferences, tuning values).
    using LoadHook = void (*)();

    // Fixed folder where an older installation kept its preferences; absent on the desktop.
    static constexpr const char* kLegacyPreferencesPath = "/media/internal/.frogpond/preferences.xml";

    CFileSystem();
    ~CFileSystem() override = default;

    // Sets the data folder from the application folder, copies legacy preferences, then runs the
    // preferences and tuning-value loaders when they were installed.
    void Init() override;

    // Installed by the platform from a static initialiser; without one (null) the platform is
    // taken to have failed: application folder "/", data folder ".". Each setter returns the
    // previous value so a test can put it back.
    static CallingPathProvider SetCallingPathProvider(CallingPathProvider provider);
    // Installed by CPreferences and CRules from their static initialisers (this file cannot name
    // them); Init runs the preferences loader, then the rules loader. Null: nothing to load.
    // CFileSystem must therefore not be created during static initialisation.
    static LoadHook SetPreferencesLoader(LoadHook loader);
    static LoadHook SetRulesLoader(LoadHook loader);

    // Pins both folders (tests, command-line overrides): appFolder should end with "/"; an empty
    // appFolder goes back to asking the platform. dataFolder is made absolute when it exists.
    void SetFolders(const CString& appFolder, const CString& dataFolder);
    // The application folder, or "/" when the platform cannot tell.
    CString GetAppFolder() const;
    bool HasAppFolder() const;
    const CString& GetDataFolder() const { return m_dataFolder; }

    // Opens the document "<name>.xml" by the rules of location into out (an attached archive is
    // consulted before each candidate on disk), then, whatever the location, the name itself as a
    // path. False, with out closed, when nothing opened. openedPath receives the path used.
    bool OpenDocument(const CString& name, int location, CFileStream& out,
                      CString* openedPath = nullptr) const;

    // True only for a regular file (or a link to one) that can be opened for reading.
    static bool FileExists(const char* path);
    // Removes "." segments and ".." with the segment before it (never above the start, nor above
    // the root of an absolute path); backslashes become "/". "a/b/../c" -> "a/c", "../x" -> "x".
    static CString Normalise(const CString& path);
    // The text after the last "/" or "\\"; the whole path when it has none.
    static CString FileNameOf(const CString& path);
    // The absolute folder holding path, ending with "/"; for a path that does not exist, the
    // folder it would be in; "" when that folder does not exist either.
    static CString RealFolderOf(const CString& path);
    // The file after path's file in its folder, in byte-wise name order, with path's own folder
    // prefix. Lists regular files (and links to them) whose names do not start with ".". A name
    // not in the folder gives the first file; the last file gives the first when wrap is set and
    // "" otherwise; "" for an empty or missing folder.
    static CString NextFileInFolder(const CString& path, bool wrap);
    // Copies legacyFile to "<appFolder>preferences.xml" when that cannot be opened and legacyFile
    // can. The copy goes through a temporary file renamed on success, so a failed copy leaves
    // nothing behind. True when a copy was made.
    static bool CopyLegacyPreferences(const CString& appFolder, const char* legacyFile);

  private:
    bool OpenCandidate(const CString& path, CFileStream& out, CString* openedPath) const;

    CString m_dataFolder;
    // Pinned by SetFolders; empty: ask the platform each time.
    CString m_appFolderOverride;
};
