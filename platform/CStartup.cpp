#include "platform/CStartup.h"

#include "core/CPreferences.h"
#include "core/CRules.h"
#include "core/CXmlNode.h"
#include "platform/CGame.h"
#include "puzzle/CPuzzle.h"
#include "puzzle/CPuzzles.h"

REGISTER_SINGLETON(CStartup, "global", 100);

namespace
{
const char* const kDefaultPuzzle = "puzzle1000";

CStartup::PaneOpener g_paneOpener = nullptr;

CString StartPaneName()
{
    CRules* rules = CSingleton<CRules>::Instance();
    const CXmlNode* root = rules->HasDocument() ? rules->GetRoot() : nullptr;
    return root ? root->GetAttribute("ui/startpane") : CString();
}

// The saved "currentpuzzle"; when the store has no such key, or an empty one, the default is
// written there: a player who left from the front end without a result for the first puzzle
// comes back to it.
CString CurrentPuzzle(const CString& defaultPuzzle)
{
    CPreferences* preferences = CSingleton<CPreferences>::Instance();
    if (const CXmlNode* root = preferences->GetRoot())
        if (const CString* text = root->FindOwnAttribute("currentpuzzle"); text && !text->empty())
            return *text;
    preferences->SetString("currentpuzzle", defaultPuzzle);
    return defaultPuzzle;
}
} // namespace

CStartup::PaneOpener CStartup::SetPaneOpener(PaneOpener opener)
{
    PaneOpener previous = g_paneOpener;
    g_paneOpener = opener;
    return previous;
}

void CStartup::Init()
{
    const CString startPane = StartPaneName();
    if (!startPane.empty() && g_paneOpener)
        g_paneOpener(startPane.c_str());

    CGame* game = CSingleton<CGame>::Instance();
    game->PushMode("frontend");

    const CString defaultPuzzle =
        CSingleton<CPuzzles>::Instance()->HasRecord(kDefaultPuzzle) ? CString() : CString(kDefaultPuzzle);
    const CString current = CurrentPuzzle(defaultPuzzle);
    if (current.empty())
        return;

    game->PushMode("maingame");
    CPuzzle* puzzle = CSingleton<CPuzzle>::Instance();
    if (!puzzle->Load(current))
    {
        game->PopMode();
        return;
    }
    // A first run that starts the default puzzle has no history of its own to restore. Nor does
    // a puzzle with a tutorial: its script shows its moves from the home pose it was written for,
    // so the puzzle starts again from there, as it does when chosen in the front end. Results
    // and unlocks are kept apart from the history and stay.
    const bool resume = current != defaultPuzzle && puzzle->GetInstructions().empty();
    puzzle->RestoreHistory(resume ? 1 : 0);
    puzzle->BuildEmbossSpots(1);
}

void CStartup::Shutdown()
{
    if (CPuzzle::Peek())
        return;
    CPreferences* preferences = CSingleton<CPreferences>::Instance();
    preferences->SetString("currenthistory", "");
    preferences->SetString("currentpuzzle", "");
}
