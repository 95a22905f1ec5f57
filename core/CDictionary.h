#pragma once
// Every visible text, by key, from the document "text" (text.xml in the data folder), with text
// variables the game sets at run time ("puz_title", "puz_par"). A text may refer to other keys
// between percent signs ("Par %puz_par%"); objects that show texts (CTranslates) record the keys
// they used inside a TranslateScope and are told when one of them changes.
//
// Look-ups never fail: an unknown key shows as itself, an unknown reference as "[name]". A
// reference nested deeper than kMaxDepth references, or one that refers back to a text being
// expanded, also shows as "[name]", so no text can expand without end.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CString.h"

#include <map>
#include <string_view>
#include <vector>

class CDictionary : public CBase, public CSingleton<CDictionary>
{
  public:
    // References nest at most this deep.
    static constexpr int kMaxDepth = 16;
    // References resolved by one look-up at most, so that texts which refer to others many times
    // over cannot blow up (each deeper level may multiply the work).
    static constexpr int kMaxReferences = 4096;

    // Reads "text" from the data folder: the root's first child element groups the texts, each of
    // its child elements is one key (its name) with its text exactly as written ("" without text).
    // A later duplicate replaces an earlier one. Replaces the whole map; false (and empty) when
    // the document is missing or broken.
    bool Load();

    // The text of key, references expanded: "" for an empty key; a key starting with "%" is
    // itself the template to expand; an unknown key gives the key itself. The key and every
    // reference met (found or not, so that a variable set later still reaches the object) are
    // recorded for the current translating owner.
    CString GetText(std::string_view key);
    // The text with every "%name%" replaced by that key's expanded text, or "[name]" when there is
    // none; "%%" gives "[]"; an unmatched "%" is dropped and what follows it is copied.
    CString ExpandReferences(std::string_view text);

    // Sets a text variable; when the text differs from the stored one (or the key was absent),
    // every CTranslates that used the key is told to retranslate.
    void SetText(std::string_view key, std::string_view text);
    bool HasText(std::string_view key) const { return m_texts.find(key) != m_texts.end(); }

  private:
    friend class CSingleton<CDictionary>;
    // Loads: the dictionary is made on first use, after the file system set the data folder.
    CDictionary();

    // One look-up's expansion: the keys being expanded (innermost last), how many references deep
    // it is, and the references it may still resolve.
    struct Expansion
    {
        std::vector<CString> open;
        int depth = 0;
        int referencesLeft = kMaxReferences;
    };

    CString Lookup(std::string_view key, Expansion& expansion);
    CString Expand(std::string_view text, Expansion& expansion);
    CString Resolve(std::string_view name, Expansion& expansion);

    std::map<CString, CString, std::less<>> m_texts;
};
