#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/CXmlReader.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
class XmlReaderTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        CSingleton<CFileSystem>::Toggle(false);
        m_preferences = CFileSystem::SetPreferencesLoader(nullptr);
        m_rules = CFileSystem::SetRulesLoader(nullptr);
        m_folder.MakeFolder("data");
        CSingleton<CFileSystem>::Instance()->SetFolders(m_folder.PathOf("app/"), m_folder.PathOf("data"));
    }
    void TearDown() override
    {
        CSingleton<CFileSystem>::Toggle(false);
        CFileSystem::SetPreferencesLoader(m_preferences);
        CFileSystem::SetRulesLoader(m_rules);
    }

    // Writes "<data folder>/<name>.xml".
    void Write(const std::string& name, const std::string& text)
    {
        m_folder.WriteFile("data/" + name + ".xml", text);
    }

    TempFolder m_folder;
    CFileSystem::LoadHook m_preferences = nullptr;
    CFileSystem::LoadHook m_rules = nullptr;
};

// A puzzle file as the puzzle list reads it.
const char* const kPuzzle = "<!-- made by the puzzle tool > do not edit -->\n"
                            "<?xml version=\"1.0\"?>\n"
                            "<puzzle title=\"First hop\" unlocks=\"2\">\n"
                            "  <hint difficulty=\"1.5\">\n"
                            "    <step pose=\"12345678\"/>\n"
                            "    <step pose=\"12345679\"/>\n"
                            "    <step pose=\"1234567a\"/>\n"
                            "  </hint>\n"
                            "  <pond template=\"lily\" />\n"
                            "  <layout> text > more <row cells=\"x = y\"/></layout>\n"
                            "  <frog species=\"tree\"/>\n"
                            "</puzzle>\n";

// The element names and attributes in document order, as the tree holds them and as the pull
// reader walks them, so both readings of one text can be compared.
void WalkTree(CXmlNode* node, std::string& out)
{
    for (CXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() == CXmlNode::kContentName)
            continue;
        out += child->GetName() + "(";
        for (const auto& [name, value] : child->GetAttributes())
            out += name + "=" + value + ";";
        out += ")";
        WalkTree(child, out);
        out += "/";
    }
}

// The reader stands on an element; walks it and its following siblings. A level's last
// NextElement consumes the parent's closing tag and moves on to the tag after it, so after an
// inner level the reader already stands past this element.
void WalkReader(CXmlReader& reader, const std::vector<std::string>& names, std::string& out)
{
    for (;;)
    {
        out += reader.GetName() + "(";
        for (const std::string& name : names)
        {
            if (!reader.GetAttribute(name).empty())
                out += name + "=" + reader.GetAttribute(name) + ";";
        }
        out += ")";
        if (reader.EnterElement())
        {
            WalkReader(reader, names, out);
            out += "/";
            if (reader.IsAtEnd())
                return;
            if (reader.GetName().front() == '/')
            {
                reader.ReadTag();
                return;
            }
            continue;
        }
        out += "/";
        if (!reader.NextElement())
            return;
    }
}
} // namespace

TEST_F(XmlReaderTest, WalksAPuzzleFile)
{
    m_folder.MakeFolder("data/puzzle");
    Write("puzzle/puzzle1000", kPuzzle);
    CXmlReader reader("puzzle/puzzle1000");
    ASSERT_TRUE(reader.Ok());
    // Comments (even holding ">") and the declaration are not tags.
    EXPECT_EQ(reader.GetName(), "puzzle");
    EXPECT_EQ(reader.GetAttribute("title"), "First hop");

    ASSERT_TRUE(reader.FirstChildNamed("hint"));
    EXPECT_EQ(reader.GetAttribute("difficulty"), "1.5");
    ASSERT_TRUE(reader.EnterElement());
    EXPECT_EQ(reader.GetAttribute("pose"), "12345678");
    int more = 0;
    while (reader.NextElement())
        ++more;
    EXPECT_EQ(more, 2);
    // The hint's closing tag was consumed: the reader stands on the element after it.
    EXPECT_EQ(reader.GetName(), "pond");
    EXPECT_EQ(reader.GetAttribute("template"), "lily");
    EXPECT_EQ(reader.GetAttribute("missing"), "");
    EXPECT_EQ(reader.GetAttribute("missing"), "");

    // Text between tags is never reported; quoted values keep blanks and "=".
    ASSERT_TRUE(reader.NextElement());
    EXPECT_EQ(reader.GetName(), "layout");
    ASSERT_TRUE(reader.EnterElement());
    EXPECT_EQ(reader.GetName(), "row");
    EXPECT_EQ(reader.GetAttribute("cells"), "x = y");
    EXPECT_FALSE(reader.NextElement());
    EXPECT_EQ(reader.GetName(), "frog");
    EXPECT_EQ(reader.GetAttribute("species"), "tree");
    EXPECT_FALSE(reader.NextElement());
    EXPECT_FALSE(reader.NextElement());
    EXPECT_TRUE(reader.IsAtEnd());
}

TEST_F(XmlReaderTest, MendedCorners)
{
    // A root with a self-closing child: entering stands on the child; the next sibling is the
    // root's end, consumed.
    Write("small", "<root><child a=\"1\"/></root>");
    CXmlReader small("small");
    ASSERT_TRUE(small.EnterElement());
    EXPECT_EQ(small.GetName(), "child");
    EXPECT_TRUE(small.IsSelfClosing());
    EXPECT_FALSE(small.EnterElement());
    EXPECT_FALSE(small.NextElement());

    // Like-named nesting is skipped whole, and a self-closing like-named element inside does
    // not swallow the rest of the file.
    Write("nested", "<r><a><a><a/></a><a x=1/></a><b last=bare/><c v=\"q\" w=end></c></r>");
    CXmlReader nested("nested");
    ASSERT_TRUE(nested.FirstChildNamed("b"));
    // A bare value may end the tag.
    EXPECT_EQ(nested.GetAttribute("last"), "bare");
    ASSERT_TRUE(nested.NextElementNamed("c"));
    EXPECT_EQ(nested.GetAttribute("w"), "end");
    EXPECT_EQ(nested.GetAttribute("v"), "q");
    EXPECT_FALSE(nested.NextElementNamed("zz"));

    // Attributes follow the tag's own name, not a mention of it in the text before the "<".
    Write("text", "<r>item x=\"wrong\" <item x=\"right\" /></r>");
    CXmlReader text("text");
    ASSERT_TRUE(text.EnterElement());
    EXPECT_EQ(text.GetAttribute("x"), "right");

    // A missing file is a reader at its end.
    CXmlReader missing("missing");
    EXPECT_FALSE(missing.Ok());
    EXPECT_TRUE(missing.IsAtEnd());
    EXPECT_FALSE(missing.EnterElement());
    EXPECT_FALSE(missing.NextElement());
    EXPECT_FALSE(missing.FirstChildNamed("a"));
    EXPECT_EQ(missing.GetAttribute("a"), "");

    // A file cut inside a tag ends there, without a hang.
    Write("cut", "<r><a x=\"1\"/><b y=\"2");
    CXmlReader cut("cut");
    ASSERT_TRUE(cut.EnterElement());
    EXPECT_FALSE(cut.NextElement());
    EXPECT_TRUE(cut.IsAtEnd());
}

TEST_F(XmlReaderTest, AgreesWithTheTree)
{
    const std::string documents[] = {
        kPuzzle,
        "<map><reach from=\"00112233\" foot0=\"1,2\" rest=\"0.5,1.5\"/><reach from=\"1\" foot1=\"a > "
        "b\"/></map>",
        "<ui><pane id=\"p\"><div id=\"a\" style=\"x: 1\">Hello<b id=\"b\">bold</b></div><div "
        "id=\"c\"/></pane></ui>",
    };
    // In byte order, as the tree keeps attributes.
    std::vector<std::string> names = {"title", "unlocks", "difficulty", "pose",  "template",
                                      "cells", "species", "from",       "foot0", "foot1",
                                      "rest",  "id",      "style"};
    std::sort(names.begin(), names.end());
    int index = 0;
    for (const std::string& text : documents)
    {
        const std::string name = "doc" + std::to_string(index++);
        Write(name, text);
        CXmlDocument document(name, CFileSystem::kInDataFolder);
        ASSERT_TRUE(document.IsLoaded()) << name;
        std::string fromTree = document.GetRoot()->GetName() + "(";
        for (const auto& [key, value] : document.GetRoot()->GetAttributes())
            fromTree += key + "=" + value + ";";
        fromTree += ")";
        WalkTree(document.GetRoot(), fromTree);
        fromTree += "/";

        CXmlReader reader(name);
        std::string fromReader;
        WalkReader(reader, names, fromReader);
        EXPECT_EQ(fromReader, fromTree) << name;
    }
}
