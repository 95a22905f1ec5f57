#pragma once
// Bakes the game's bitmap fonts from TrueType faces: greyscale coverage pages (PNG) and an XML
// font description per font, in the layout the game's font reader takes (pixels, y down, base
// measured from the top of the line). Invariant: the output depends only on the face files, the
// face list and the code points asked for, so every build writes the same bytes.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CFontBaker
{
  public:
    // Edge of a square page in pixels.
    static constexpr int32_t kPageSize = 512;
    // The code point of the soft round blob that glows behind text.
    static constexpr uint32_t kBlobCodePoint = 26;

    struct Face
    {
        std::string name;     // the font's name in the game: "<name>.fnt", "<name>_<page>.png"
        std::string file;     // the TrueType file, relative to the face folder
        std::string faceName; // written into "info" for a reader's benefit
        float pixelHeight;    // ascent to descent, in pixels
    };
    struct Page
    {
        std::string file; // file name beside the description
        std::string png;
    };
    struct Output
    {
        std::string description; // the .fnt text
        std::vector<Page> pages;
    };

    // Every font the game's content names: "body" (and its italic "body-i") and "title".
    static std::vector<Face> Faces();
    // Printable ASCII, Latin-1, common punctuation and U+FFFD, plus extra, sorted without repeats.
    static std::vector<uint32_t> CodePoints(const std::vector<uint32_t>& extra);
    // The non-ASCII code points of a UTF-8 text (a dictionary), so that every text the game shows
    // has its glyphs.
    static std::vector<uint32_t> NonAsciiCodePoints(const std::string& text);

    // Bakes face from the bytes of its TrueType file: the code points the face has, plus the glow
    // blob. False, with out empty, when the bytes are not a font.
    static bool Bake(const Face& face, const std::string& fontBytes, const std::vector<uint32_t>& codePoints,
                     Output& out);
    // Bakes every face of Faces() from faceFolder into outFolder (made when missing). False, with
    // error telling why, when a face cannot be read or a file cannot be written.
    static bool BakeAll(const std::string& faceFolder, const std::string& outFolder,
                        const std::vector<uint32_t>& codePoints, std::string& error);
};
