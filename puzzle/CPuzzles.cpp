#include "puzzle/CPuzzles.h"

#include "core/CFileSystem.h"
#include "core/CPreferences.h"
#include "core/TextFields.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>

REGISTER_SINGLETON(CPuzzles, "global", 50);

namespace
{
constexpr const char* kPuzzleFolder = "/puzzle/";
constexpr const char* kPrefix = "puzzle";
constexpr const char* kSuffix = ".xml";
constexpr int32_t kDigits = 4;
constexpr const char* kUnlockedKey = "unlocked";
constexpr const char* kCurrentPuzzleKey = "currentpuzzle";
constexpr const char* kCurrentHistoryKey = "currenthistory";

// A number field of a record; none when the field is missing, reads no number, or reads
// one that is not finite (a damaged record must not outrank every later win).
std::optional<double> NumberField(const CString& record, int32_t n)
{
    const std::optional<CString> field = FieldOf(record.c_str(), n);
    if (!field)
        return std::nullopt;
    const char* end = nullptr;
    const double value = ParseFloat(field->c_str(), &end);
    if (end == field->c_str() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int32_t IntField(const CString& record, int32_t n)
{
    const std::optional<CString> field = FieldOf(record.c_str(), n);
    return field ? ParseInt(field->c_str()) : 0;
}

// The value as the record stores it ("%f"), so that a win compares with a stored one at the
// stored precision: a score of 2/3 must equal its own record "0.666667".
float AsStored(float value)
{
    return float(ParseFloat(CString::Format("%f", double(value)).c_str()));
}

CPreferences* Preferences()
{
    return CSingleton<CPreferences>::Instance();
}
} // namespace

void CPuzzles::Init()
{
    Scan();
}

void CPuzzles::Scan()
{
    ScanFolder(CSingleton<CFileSystem>::Instance()->GetDataFolder());
}

void CPuzzles::ScanFolder(const CString& dataFolder)
{
    m_names.clear();
    // The walk goes through the folder's files in name order from the one after
    // "puzzle0000.xml", and ends at the first whose name is not the next puzzle: one of another
    // length, or a number that does not rise.
    const CString folder = dataFolder + kPuzzleFolder;
    const size_t nameLength = std::char_traits<char>::length(kPrefix) + kDigits;
    const size_t pathLength = folder.size() + nameLength + std::char_traits<char>::length(kSuffix);
    CString path = folder + kPrefix + "0000" + kSuffix;
    int32_t previousNumber = -1;
    for (;;)
    {
        path = CFileSystem::NextFileInFolder(path, false);
        if (path.size() != pathLength)
            break;
        const CString name = CString::SubString(path, int32_t(folder.size()), int32_t(nameLength));
        const int32_t number = NumberOf(name);
        if (number <= previousNumber)
            break;
        previousNumber = number;
        m_names.push_back(name);
    }
}

int32_t CPuzzles::NumberOf(const CString& name)
{
    if (name.size() < size_t(kDigits))
        return 0;
    return ParseInt(name.c_str() + name.size() - kDigits);
}

CString CPuzzles::NextPuzzle(const CString& name) const
{
    for (size_t i = 0; i + 1 < m_names.size(); ++i)
        if (m_names[i] == name)
            return m_names[i + 1];
    return CString();
}

CString CPuzzles::FirstAfterNumber(int32_t number) const
{
    for (const CString& name : m_names)
    {
        if (number < 0)
            return name;
        if (name.size() < size_t(kDigits))
            continue;
        if (NumberOf(name) > number)
            return name;
    }
    return CString();
}

bool CPuzzles::HasRecord(const CString& name) const
{
    return !ReadRecordText(name).empty();
}

int32_t CPuzzles::GetBestMoves(const CString& name) const
{
    return IntField(ReadRecordText(name), 0);
}

float CPuzzles::GetBestScore(const CString& name) const
{
    return float(NumberField(ReadRecordText(name), 1).value_or(0.0));
}

int32_t CPuzzles::GetRecordField3(const CString& name) const
{
    return IntField(ReadRecordText(name), 3);
}

int32_t CPuzzles::GetRecordField4(const CString& name) const
{
    return IntField(ReadRecordText(name), 4);
}

bool CPuzzles::IsAvailable(const CString&) const
{
    return true;
}

void CPuzzles::RecordResult(const CString& name, const Record& record, int32_t unlocks, bool graded)
{
    const int32_t number = NumberOf(name);
    int32_t reached = number;
    for (int32_t i = 0; i < unlocks; ++i)
    {
        const CString next = FirstAfterNumber(reached);
        if (next.empty())
            break;
        reached = NumberOf(next);
    }

    CPreferences* preferences = Preferences();
    // A damaged "unlocked" reads as missing.
    const CString& unlockedText = preferences->GetString(kUnlockedKey);
    const char* end = nullptr;
    const int32_t stored = ParseInt(unlockedText.c_str(), &end);
    const int32_t unlocked = (end == unlockedText.c_str()) ? reached : std::max(stored, reached);
    preferences->SetString(kUnlockedKey, CString::Format("%d", unlocked));

    preferences->SetString(kCurrentPuzzleKey, FirstAfterNumber(number));
    preferences->SetString(kCurrentHistoryKey, "");

    const CString old = GetPreferenceText(name, CString());
    if (!old.empty())
    {
        if (!graded)
            return;
        const float oldScore = float(NumberField(old, 1).value_or(-FLT_MAX));
        const float oldSeconds = float(NumberField(old, 2).value_or(FLT_MAX));
        const float newScore = AsStored(record.score);
        const float newSeconds = AsStored(record.seconds);
        if (newScore < oldScore || (newScore == oldScore && oldSeconds < newSeconds))
            return;
    }
    preferences->SetString(name, FormatRecord(record));
}

CString CPuzzles::GetPreferenceText(const CString& key, const CString& def)
{
    CPreferences* preferences = Preferences();
    const CString text = preferences->GetString(key);
    if (!text.empty())
        return text;
    // A missing key is written even with an empty default, so the store holds every key read.
    preferences->SetString(key, def);
    return def;
}

CString CPuzzles::FormatRecord(const Record& record)
{
    return CString::Format("%d,%f,%f,%d,%d", record.moves, double(record.score), double(record.seconds),
                           record.undoCount, record.hintCount);
}

CString CPuzzles::ReadRecordText(const CString& name)
{
    return GetPreferenceText(name, CString());
}
