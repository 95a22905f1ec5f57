#include "core/CFileSystem.h"
#include "core/CMemoryStream.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/CXmlParser.h"
#include "core/ReadColourAttribute.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <sys/stat.h>

namespace
{
// A file system whose folders are the test's own, with no preferences or rules loading.
class XmlDocumentTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        CSingleton<CFileSystem>::Toggle(false);
        m_preferences = CFileSystem::SetPreferencesLoader(nullptr);
        m_rules = CFileSystem::SetRulesLoader(nullptr);
        m_data = m_folder.MakeFolder("data");
        m_app = m_folder.MakeFolder("app") + "/";
        CSingleton<CFileSystem>::Instance()->SetFolders(m_app, m_data);
    }
    void TearDown() override
    {
        CSingleton<CFileSystem>::Toggle(false);
        CFileSystem::SetPreferencesLoader(m_preferences);
        CFileSystem::SetRulesLoader(m_rules);
    }

    static std::string Text(const CXmlDocument& document)
    {
        CMemoryStream out;
        EXPECT_TRUE(document.Write(out));
        return out.GetBytes();
    }

    TempFolder m_folder;
    std::string m_data;
    std::string m_app;
    CFileSystem::LoadHook m_preferences = nullptr;
    CFileSystem::LoadHook m_rules = nullptr;
};

const char* const kPreferencesLike =
    "<?xml version=\"1.0\"?>\n"
    "<!-- saved by the game -->\n"
    "<preferences unlocked=\"1003\" shadowquality=\"0.750000\">\n"
    "  <progress puzzle1000=\"12,3.5,40.2,0,1\" puzzle1001=\"9,2,31,1,0\" />\n"
    "  <note>Hello, pond</note>\n"
    "  <raw><![CDATA[a <b> & c]]></raw>\n"
    "</preferences>\n";
} // namespace

TEST_F(XmlDocumentTest, ReadsTheDialect)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Parse("<a x=\"1\" y=2/>", false));
    CXmlNode* a = document.GetRoot();
    EXPECT_EQ(a->GetName(), "a");
    EXPECT_EQ(a->GetAttribute("x"), "1");
    EXPECT_EQ(a->GetAttribute("y"), "2");
    EXPECT_FALSE(a->HasChildren());

    // Quoted values keep blanks, "=" and "/"; a valueless attribute takes the next token, or ""
    // before the end of the tag; only the writer's escapes are decoded; the closing tag's name is
    // not checked.
    ASSERT_TRUE(document.Parse("<a q=\"x = /y\" flag next amp=\"&amp;\" last></b>", false));
    a = document.GetRoot();
    EXPECT_EQ(a->GetAttribute("q"), "x = /y");
    EXPECT_EQ(a->GetAttribute("flag"), "next");
    EXPECT_EQ(a->GetAttribute("amp"), "&");
    EXPECT_NE(a->FindOwnAttribute("last"), nullptr);
    EXPECT_EQ(a->FindOwnAttribute("nothing"), nullptr);
    EXPECT_FALSE(a->HasAttribute("last"));
    ASSERT_TRUE(document.Parse("<a><b flag/><c/></a>", false));
    EXPECT_EQ(document.GetRoot()->CountChildren(), 2);

    // Text and CDATA become "__content" children, untrimmed; comments (even with ">"),
    // processing instructions and a DOCTYPE are skipped.
    ASSERT_TRUE(document.Parse("<!DOCTYPE t>\n<t>\n <!-- a > b -->  one > two <?pi x > y?><![cdata[x>]]y]]>"
                               "<e/>tail</t>",
                               false));
    CXmlNode* text = document.GetRoot()->FirstChild();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetName(), "__content");
    EXPECT_EQ(text->GetAttribute("content"), "  one > two ");
    EXPECT_EQ(text->GetAttribute("type"), "content");
    CXmlNode* cdata = text->NextSibling();
    ASSERT_NE(cdata, nullptr);
    EXPECT_EQ(cdata->GetAttribute("content"), "x>]]y");
    EXPECT_EQ(cdata->GetAttribute("type"), "cdata");
    EXPECT_EQ(cdata->NextSibling()->GetName(), "e");
    EXPECT_EQ(cdata->NextSibling()->NextSibling()->GetAttribute("content"), "tail");

    // Kept whole: an inline fragment's text after its last tag is not lost.
    ASSERT_TRUE(document.Parse("Tap <b>undo</b> to go back.", true));
    EXPECT_EQ(document.GetRoot()->GetName(), "");
    EXPECT_EQ(document.GetRoot()->CountChildren(), 3);
    EXPECT_EQ(document.FindNode("b/__content")->GetAttribute("content"), "undo");
    EXPECT_FALSE(document.Parse("Tap <b>undo</b> to go back.", false));
}

TEST_F(XmlDocumentTest, PathsCursorsAndLinks)
{
    CXmlDocument document;
    ASSERT_TRUE(
        document.Parse("<r k=\"root\"><a n=\"1\"><b v=\"x\"/></a><c/><a n=\"2\"/><a n=\"3\"/></r>", false));
    CXmlNode* root = document.GetRoot();
    CXmlNode* b = document.FindNode("a/b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetParent()->GetParent(), root);
    EXPECT_EQ(b->GetRoot(), root);
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_EQ(b->FindChild("/a/b"), b);
    EXPECT_EQ(b->GetAttribute("/a/b/v"), "x");
    EXPECT_EQ(b->GetAttribute("/k"), "root");
    EXPECT_EQ(root->FindChild("a//b"), nullptr);
    EXPECT_EQ(root->FindChild(""), nullptr);
    EXPECT_EQ(root->FindChild("r"), nullptr);

    // FindNextChild walks the like-named children and starts over after the last.
    std::string walked;
    while (CXmlNode* a = root->FindNextChild("a"))
        walked += a->GetAttribute("n");
    EXPECT_EQ(walked, "123");
    EXPECT_EQ(root->FindNextChild("a")->GetAttribute("n"), "1");
    EXPECT_EQ(root->FirstChild()->NextSiblingNamed("a")->GetAttribute("n"), "2");

    // Reading through missing elements gives "" and creates nothing; setting creates them.
    EXPECT_EQ(root->GetAttribute("p/q/r"), "");
    EXPECT_EQ(root->FindChild("p"), nullptr);
    EXPECT_TRUE(root->SetAttribute("p/q/r", "7"));
    EXPECT_EQ(root->GetAttribute("p/q/r"), "7");
    EXPECT_TRUE(root->SetAttribute("p/q/r", "8"));
    EXPECT_EQ(root->FindChild("p")->CountChildren(), 1);
    EXPECT_EQ(document.GetAttribute("p/q/r"), "8");
    EXPECT_TRUE(document.HasAttribute("p/q/r"));
}

// A name is refused, left out by the writer and refused by the strict reading alike, exactly when
// the dialect could not read it back as written: as an element's name, or as an attribute's
// (a tag ends before an attribute only at "!--" or "?").
TEST_F(XmlDocumentTest, NamesAreRefusedOnlyWhereTheyCannotBeReadBack)
{
    struct Case
    {
        std::string name;
        bool readable;
        bool attributeReadable;
    } cases[] = {
        {"a", true, true},         {"2b", true, true},
        {"b\xc3\xa9", true, true}, {"a!b", true, true},
        {"#x", true, true},        {"a:b-c.d_e", true, true},
        {"a&b'c", true, true},     {"\x01", true, true},
        {"!x", false, true},       {"!-x", false, true},
        {"", false, false},        {"a b", false, false},
        {"a\tb", false, false},    {"a\nb", false, false},
        {"a=b", false, false},     {"x\"y", false, false},
        {"a<b", false, false},     {"a>b", false, false},
        {"a/b", false, false},     {"!--x", false, false},
        {"?x", false, false},      {std::string("a\0b", 3), false, false},
    };
    for (const Case& c : cases)
    {
        const std::string label = "name \"" + c.name + "\"";
        // SetAttribute: as an element on the path and as the attribute (a "/" makes a path, and
        // empty segments are the other test's).
        CXmlDocument set;
        ASSERT_TRUE(set.Parse("<r/>", false));
        if (!c.name.empty() && c.name.find('/') == std::string::npos)
        {
            EXPECT_EQ(set.GetRoot()->SetAttribute(c.name, "v"), c.attributeReadable) << label;
            EXPECT_EQ(set.GetRoot()->SetAttribute(c.name + "/x", "v"), c.readable) << label;
            EXPECT_EQ(set.GetRoot()->HasChildren(), c.readable) << label;
        }

        // The writer: an element and an attribute of that name, put in without checks.
        CXmlDocument written;
        ASSERT_TRUE(written.Parse("<r/>", false));
        written.GetRoot()->AddChild(c.name)->SetOwnAttribute("k", "1");
        written.GetRoot()->SetOwnAttribute(c.name, "2");
        const std::string text = Text(written);
        CMemoryStream in(text.data(), text.size());
        CXmlDocument back;
        ASSERT_TRUE(back.Read(in, "r", CXmlDocument::Reading::kStrict)) << label << ": " << text;
        EXPECT_EQ(Text(back), text) << label;
        const CXmlNode* child = back.GetRoot()->FirstChild();
        EXPECT_EQ(child && child->GetName() == c.name, c.readable) << label << ": " << text;
        const CString* attribute = back.GetRoot()->FindOwnAttribute(c.name);
        EXPECT_EQ(attribute && *attribute == "2", c.attributeReadable) << label << ": " << text;

        // The strict reading of the same texts written by hand.
        for (const auto& [hand, readable] : {std::pair("<r " + c.name + "=\"2\"/>", c.attributeReadable),
                                             std::pair("<r><" + c.name + " k=\"1\"/></r>", c.readable)})
        {
            CMemoryStream handIn(hand.data(), hand.size());
            CXmlDocument strict;
            EXPECT_EQ(strict.Read(handIn, "r", CXmlDocument::Reading::kStrict), readable)
                << label << ": " << hand;
        }
    }
}

TEST_F(XmlDocumentTest, SetAttributeRefusesPathsThatCannotBeReadBack)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Parse("<r/>", false));
    CXmlNode* root = document.GetRoot();
    const std::string before = Text(document);
    // A leading "/" names an element with an empty name here, not the root.
    for (const char* path : {"", "/", "/top", "a//b", "a/", "//a", "a b/c", "a/b=c", "x\"y", "p/<q>", "a/?b"})
    {
        EXPECT_FALSE(root->SetAttribute(path, "v")) << path;
    }
    EXPECT_EQ(Text(document), before);
    EXPECT_FALSE(root->HasChildren());
    // Quotes, "&", "<" and ">" in values are written escaped and read back as they were.
    EXPECT_TRUE(root->SetAttribute("a", "say \"hi\" & <go> &amp; &x;"));
    CXmlDocument quoted;
    ASSERT_TRUE(quoted.Parse(Text(document), false));
    EXPECT_EQ(quoted.GetAttribute("a"), "say \"hi\" & <go> &amp; &x;");
    // Values holding ">" and "<" are written as they are and read back whole.
    EXPECT_TRUE(root->SetAttribute("a", "x > <y>"));
    CXmlDocument again;
    ASSERT_TRUE(again.Parse(Text(document), false));
    EXPECT_EQ(again.GetAttribute("a"), "x > <y>");
}

TEST_F(XmlDocumentTest, AttributesInAnyOrderLoadInLinearTimeAndDamagedTextWritesBackReadable)
{
    // Sorted once per element; a name given twice keeps its last value.
    CXmlDocument document;
    ASSERT_TRUE(document.Parse("<a z=\"1\" b=\"2\" z=\"3\" m=\"4\"/>", false));
    EXPECT_EQ(Text(document), "<a b=\"2\" m=\"4\" z=\"3\" />\n");

    // 200,000 attributes in falling order: inserting each into the sorted list would move all the
    // others, hours of work under the sanitizers; sorting once takes a moment.
    constexpr int kCount = 200000;
    std::string many = "<preferences";
    for (int i = kCount; i > 0; --i)
        many += " p" + std::to_string(i) + "=\"1,0.5,2,0,0\"";
    many += " />";
    const auto began = std::chrono::steady_clock::now();
    ASSERT_TRUE(document.Parse(many, false));
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(10));
    EXPECT_EQ(document.GetRoot()->GetAttributes().size(), size_t(kCount));
    EXPECT_EQ(document.GetAttribute("p1"), "1,0.5,2,0,0");

    // A damaged file whose records survive as text: quotes and ">" inside a value are written
    // escaped, and the saved text reads back whole with the same text.
    const std::string damaged =
        "<preferences>e1001=\"5,0.800000,40.000000,1,0\" x=\"a>b\" &amp; <e/></preferences>";
    ASSERT_TRUE(document.Parse(damaged, false));
    const CString text = document.FindNode("__content")->GetAttribute("content");
    CXmlDocument again;
    ASSERT_TRUE(again.Parse(Text(document), false)) << Text(document);
    EXPECT_EQ(again.FindNode("__content")->GetAttribute("content"), text);
    EXPECT_NE(again.FindNode("e"), nullptr);
    EXPECT_EQ(Text(again), Text(document));
}

TEST_F(XmlDocumentTest, WritesSortedIndentedText)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Parse("<r z=\"1\" a=\"2\" m=\"3\"><c><d/></c>text</r>", false));
    EXPECT_EQ(Text(document), "<r a=\"2\" m=\"3\" z=\"1\">\n"
                              "  <c>\n"
                              "    <d />\n"
                              "  </c>\n"
                              "  <__content content=\"text\" type=\"content\" />\n"
                              "</r>\n");
    ASSERT_TRUE(
        document.Parse("<e h=\"8\" g=\"7\" f=\"6\" e=\"5\" d=\"4\" c=\"3\" b=\"2\" a=\"1\"/>", false));
    EXPECT_EQ(Text(document), "<e\n    a=\"1\"\n    b=\"2\"\n    c=\"3\"\n    d=\"4\"\n"
                              "    e=\"5\"\n    f=\"6\"\n    g=\"7\"\n    h=\"8\" />\n");
}

TEST_F(XmlDocumentTest, RoundTripsThroughFiles)
{
    m_folder.WriteFile("data/preferences.xml", kPreferencesLike);
    CXmlDocument document("preferences", CFileSystem::kInDataFolder);
    ASSERT_TRUE(document.IsLoaded());
    EXPECT_EQ(document.GetName(), "preferences");
    EXPECT_EQ(document.GetAttribute("progress/puzzle1001"), "9,2,31,1,0");
    EXPECT_EQ(document.FindNode("raw/__content")->GetAttribute("content"), "a <b> & c");

    ASSERT_TRUE(document.GetRoot()->SetAttribute("unlocked", "1004"));
    ASSERT_TRUE(document.GetRoot()->SetAttribute("progress/puzzle1002", "5,1,10,0,0"));
    ASSERT_TRUE(document.Save("preferences", CFileSystem::kInAppFolder));
    const std::string saved = TempFolder::ReadFile(m_app + "preferences.xml");

    // The application folder comes first for where 2, the data folder's copy is unchanged.
    CXmlDocument again;
    ASSERT_TRUE(again.Load("preferences", CFileSystem::kAppThenDataFolder));
    EXPECT_EQ(again.GetAttribute("unlocked"), "1004");
    EXPECT_EQ(again.GetAttribute("progress/puzzle1002"), "5,1,10,0,0");
    EXPECT_EQ(again.FindNode("raw/__content")->GetAttribute("type"), "cdata");
    EXPECT_EQ(Text(again), saved);
    EXPECT_EQ(Text(again), Text(document));
    CXmlDocument original("preferences", CFileSystem::kInDataFolder);
    EXPECT_EQ(original.GetAttribute("unlocked"), "1003");

    // A path works for both directions; no temporary file stays behind.
    const std::string path = m_folder.PathOf("copy.xml");
    ASSERT_TRUE(again.Save(path, CFileSystem::kAsPath));
    CXmlDocument copy(path, CFileSystem::kInDataFolder);
    EXPECT_TRUE(copy.IsLoaded());
    EXPECT_EQ(Text(copy), saved);
    struct stat info;
    EXPECT_NE(stat((path + ".tmp").c_str(), &info), 0);
}

TEST_F(XmlDocumentTest, AByteOrderMarkBeforeTheFirstElementIsSkipped)
{
    const std::string bom = "\xEF\xBB\xBF";
    m_folder.WriteFile("data/marked.xml", bom + kPreferencesLike);
    CXmlDocument document;
    ASSERT_TRUE(document.Load("marked", CFileSystem::kInDataFolder));
    EXPECT_EQ(document.GetAttribute("unlocked"), "1003");
    EXPECT_TRUE(document.Parse(bom + "<a/>", false));
    // Only at the very start: anywhere else it is text, and two marks are one too many.
    EXPECT_FALSE(document.Parse(bom + bom + "<a/>", false));
    EXPECT_FALSE(document.Parse("<a/>" + bom, false));
}

TEST_F(XmlDocumentTest, FailedLoadsLeaveAnEmptyRootNamedAfterTheDocument)
{
    m_folder.WriteFile("data/two.xml", "<a/><b/>");
    m_folder.WriteFile("data/none.xml", "  \n ");
    m_folder.WriteFile("data/stray.xml", "text <a/>");
    for (const char* name : {"missing", "two", "none", "stray"})
    {
        CXmlDocument document;
        EXPECT_FALSE(document.Load(name, CFileSystem::kInDataFolder)) << name;
        EXPECT_FALSE(document.IsLoaded());
        ASSERT_NE(document.GetRoot(), nullptr);
        EXPECT_EQ(document.GetRoot()->GetName(), name);
        EXPECT_EQ(document.GetName(), name);
        EXPECT_FALSE(document.GetRoot()->HasChildren());
        EXPECT_TRUE(document.GetRoot()->GetAttributes().empty());
        EXPECT_EQ(document.FindNode("a"), nullptr);
    }

    // An empty document has no root until loaded, parsed or cleared.
    CXmlDocument empty;
    EXPECT_EQ(empty.GetRoot(), nullptr);
    EXPECT_EQ(empty.FindNode("a"), nullptr);
    EXPECT_FALSE(empty.HasAttribute("a"));
    EXPECT_FALSE(empty.Save(m_folder.PathOf("e.xml"), CFileSystem::kAsPath));
    empty.Clear();
    ASSERT_NE(empty.GetRoot(), nullptr);
    EXPECT_EQ(empty.GetRoot()->GetName(), "");

    // Parse without keepAll: the same outcome, unnamed.
    CXmlDocument parsed;
    EXPECT_FALSE(parsed.Parse("<a/><b/>", false));
    EXPECT_EQ(parsed.GetRoot()->GetName(), "");
    EXPECT_FALSE(parsed.GetRoot()->HasChildren());
    EXPECT_TRUE(parsed.Parse("<a/><b/>", true));
    EXPECT_EQ(parsed.GetRoot()->CountChildren(), 2);
}

TEST_F(XmlDocumentTest, SaveNeverLeavesADamagedDocument)
{
    const std::string target = m_folder.WriteFile("keep.xml", "<keep a=\"1\" />\n");
    CXmlDocument document;
    ASSERT_TRUE(document.Parse("<new/>", false));
    // A folder in the target's place cannot be replaced; the temporary file goes again.
    const std::string folder = m_folder.MakeFolder("dir.xml");
    EXPECT_FALSE(document.Save(folder, CFileSystem::kAsPath));
    struct stat info;
    EXPECT_NE(stat((folder + ".tmp").c_str(), &info), 0);
    EXPECT_FALSE(document.Save(m_folder.PathOf("no/such/folder.xml"), CFileSystem::kAsPath));
    EXPECT_FALSE(document.Save("x", 2));
    EXPECT_FALSE(document.Save("x", 7));
    EXPECT_EQ(TempFolder::ReadFile(target), "<keep a=\"1\" />\n");
    // A top element whose name is not a name cannot be written: nothing is replaced.
    CXmlDocument unnamed;
    unnamed.Clear();
    EXPECT_FALSE(unnamed.Save(target, CFileSystem::kAsPath));
    EXPECT_EQ(TempFolder::ReadFile(target), "<keep a=\"1\" />\n");
    EXPECT_NE(stat((target + ".tmp").c_str(), &info), 0);
    // Elements and attributes whose names are not names (one named like a comment that never
    // ends, one that a stray quote made) are left out, so the text is strictly one document.
    document.GetRoot()->AddChild("!--odd")->AddChild("inner");
    document.GetRoot()->SetOwnAttribute("\n    b=", "2");
    document.GetRoot()->SetOwnAttribute("?b", "2");
    EXPECT_TRUE(document.Save(target, CFileSystem::kAsPath));
    EXPECT_EQ(TempFolder::ReadFile(target), "<new />\n");
}

TEST_F(XmlDocumentTest, BrokenInputFailsWithoutHarm)
{
    CXmlDocument document;
    // Every cut of a whole document inside a tag is a truncated document; a cut between tags
    // leaves the open elements complete.
    const std::string whole = kPreferencesLike;
    for (size_t cut = 0; cut < whole.size(); ++cut)
    {
        const std::string part = whole.substr(0, cut);
        const size_t open = part.rfind('<');
        const bool insideTag =
            open != std::string::npos && (part.rfind('>') == std::string::npos || part.rfind('>') < open);
        const bool loaded = document.Parse(part, false);
        if (insideTag)
        {
            EXPECT_FALSE(loaded) << cut;
        }
        EXPECT_NE(document.GetRoot(), nullptr);
    }
    EXPECT_FALSE(document.Parse("<a><![CDATA[never closed</a>", false));
    EXPECT_FALSE(document.Parse("<a></a><!-- never > closed", false));
    EXPECT_FALSE(document.Parse(std::string("<a>\0</a>", 8), false));
    // Elements left open at the end are complete; after too many closing tags the rest is
    // ignored.
    ASSERT_TRUE(document.Parse("<a><b></a>", false));
    EXPECT_NE(document.GetRoot()->FindChild("b"), nullptr);
    ASSERT_TRUE(document.Parse("<a></a></a><c/>", false));
    EXPECT_EQ(document.GetRoot()->GetName(), "a");
    ASSERT_TRUE(document.Parse("Hello <br> world", true));
    EXPECT_EQ(document.GetRoot()->FirstChild()->GetAttribute("content"), "Hello ");
    ASSERT_NE(document.GetRoot()->FindChild("br"), nullptr);
    EXPECT_EQ(document.GetRoot()->FindChild("br")->FirstChild()->GetAttribute("content"), " world");

    // Hostile nesting fails at the depth cap; the cap itself still loads.
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<d>";
    EXPECT_FALSE(document.Parse(deep, false));
    std::string capped;
    for (int i = 0; i < CXmlParser::kMaxDepth; ++i)
        capped += "<d>";
    for (int i = 0; i < CXmlParser::kMaxDepth; ++i)
        capped += "</d>";
    EXPECT_TRUE(document.Parse(capped, false));

    // A tree built deeper than any parse refuses to write (it would not read back) and dies
    // without deep recursion; one at the cap writes text that reads back.
    CXmlDocument built;
    built.Clear();
    CXmlNode* node = built.GetRoot();
    for (int i = 0; i < 200000; ++i)
        node = node->AddChild("n");
    CMemoryStream out;
    EXPECT_FALSE(built.Write(out));
    ASSERT_TRUE(built.Parse("<r/>", false));
    node = built.GetRoot();
    for (int i = 1; i < CXmlParser::kMaxDepth; ++i)
        node = node->AddChild("n");
    out.SetBytes({});
    ASSERT_TRUE(built.Write(out));
    EXPECT_TRUE(document.Parse(out.GetBytes(), false));

    // A binary file loads as failed, with the caller's default readable.
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 131 + 7) & 0xFF);
    m_folder.WriteFile("data/binary.xml", binary);
    EXPECT_FALSE(document.Load("binary", CFileSystem::kInDataFolder));
    EXPECT_EQ(ReadColourAttribute(document.GetRoot(), "a/colour", Vector4<float>(1, 2, 3, 4)),
              Vector4<float>(1, 2, 3, 4));
}

TEST_F(XmlDocumentTest, ColourAttributes)
{
    CXmlDocument document;
    ASSERT_TRUE(
        document.Parse("<r hex=\"#ff000080\" list=\"0.5,0.25\" empty=\"\"><c v=\"1,0,0\"/></r>", false));
    const Vector4<float> def(9, 9, 9, 9);
    const CXmlNode* root = document.GetRoot();
    EXPECT_EQ(ReadColourAttribute(root, "hex", def), Vector4<float>(1, 0, 0, 128.0f / 255.0f));
    EXPECT_EQ(ReadColourAttribute(root, "list", def), Vector4<float>(0.5f, 0.25f, 0.25f, 0.25f));
    EXPECT_EQ(ReadColourAttribute(root, "c/v", def), Vector4<float>(1, 0, 0, 0));
    EXPECT_EQ(ReadColourAttribute(root, "empty", def), def);
    EXPECT_EQ(ReadColourAttribute(root, "missing/v", def), def);
    EXPECT_EQ(ReadColourAttribute(nullptr, "hex", def), def);
}
