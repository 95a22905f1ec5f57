#pragma once
// Writes a move map in the two forms CMoveMap reads: the binary ".mvm" file and the XML document
// of "reach" elements. A table written and read back is identical. A table the reader would refuse
// or alter (too many entries or joints, rest lists of differing length, poses off the board or 0
// in the XML form, rest points that are not finite) is not written.
#include "core/CString.h"
#include "puzzle/CMoveMap.h"

class CMoveMapWriter
{
  public:
    // The ".mvm" bytes into out; false, with out empty, when the table cannot be written.
    static bool ToBinary(const CMoveMap::Entries& entries, CString& out);
    // The XML text into out; false, with out empty, when the table cannot be written.
    static bool ToXml(const CMoveMap::Entries& entries, CString& out);

    // The same into a file at path (replaced); false when the table or the file cannot be written.
    static bool WriteBinary(const CMoveMap::Entries& entries, const char* path);
    static bool WriteXml(const CMoveMap::Entries& entries, const char* path);
};
