// Seeded random mutations of a few documents through the tree parser and the pull reader: each
// must end, not crash, and a tree that parsed must write text that reads back strictly as itself.
#include "core/CMemoryStream.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/CXmlReader.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

namespace
{
const char* const kSeeds[] = {
    "<?xml version=\"1.0\"?>\n<preferences unlocked=\"1003\">\n  <progress puzzle1000=\"12,3.5,40.2,0,1\" "
    "/>\n"
    "</preferences>\n",
    "<puzzle title=\"Hop\"><!-- c > d --><hint difficulty=\"1.5\"><step pose=\"12345678\"/></hint>"
    "<pond template=lily/><layout>row one<![CDATA[a > b]]></layout></puzzle>",
    "<pane id=\"p\" style=\"font-size: 1.5\"><div id=\"a\">Hello <b>world</b> again</div><div/></pane>",
};

const char kSpecial[] = "<>/\"=!-?[] \n\tx";

std::string Mutate(std::string text, std::mt19937& random)
{
    const int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits; ++e)
    {
        const size_t at = text.empty() ? 0 : random() % (text.size() + 1);
        switch (random() % 7)
        {
        case 0:
            if (at < text.size())
                text[at] = char(random() & 0xFF);
            break;
        case 1:
            text.insert(at, 1, kSpecial[random() % (sizeof(kSpecial) - 1)]);
            break;
        case 2:
            text.erase(at, random() % 16);
            break;
        case 3:
            text.insert(at, text.substr(at, random() % 32));
            break;
        case 4:
            text.resize(at);
            break;
        case 5:
        {
            std::string deep;
            const int levels = int(random() % 3000);
            for (int i = 0; i < levels; ++i)
                deep += "<d>";
            text.insert(at, deep);
            break;
        }
        default:
            text.insert(at, 1, '\0');
            break;
        }
    }
    return text;
}

std::string Written(const CXmlDocument& document)
{
    CMemoryStream out;
    document.Write(out);
    return out.GetBytes();
}

// Walks every element the reader finds; each step reads at least one tag, so the walk is bounded
// by the number of ">" in the text.
void Walk(CXmlReader& reader, size_t bound)
{
    size_t steps = 0;
    while (!reader.IsAtEnd() && steps++ <= bound)
    {
        reader.GetAttribute("id");
        if (!reader.EnterElement())
            reader.NextElement();
    }
    EXPECT_TRUE(reader.IsAtEnd());
}
} // namespace

TEST(XmlFuzzTest, MutatedDocumentsNeverCrashOrHang)
{
    TempFolder folder;
    const std::string path = folder.PathOf("fuzz.xml");
    std::mt19937 random(20240611);
    const auto start = std::chrono::steady_clock::now();
    int iterations = 0;
    for (; iterations < 3000; ++iterations)
    {
        // Bounded in time as well as in count, for slow sanitised builds.
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(4))
            break;
        const std::string text = Mutate(kSeeds[iterations % 3], random);
        for (const bool keepAll : {false, true})
        {
            CXmlDocument document;
            const bool parsed = document.Parse(text, keepAll);
            ASSERT_NE(document.GetRoot(), nullptr);
            if (!parsed)
            {
                EXPECT_FALSE(document.GetRoot()->HasChildren());
                continue;
            }
            // Whatever text parsed, the tree writes out as strictly one document that reads
            // back as itself (unless the top element's own name is not a name: then nothing).
            if (keepAll || !CXmlNode::IsValidName(document.GetRoot()->GetName()))
                continue;
            const std::string once = Written(document);
            CMemoryStream stream(once);
            CXmlDocument again;
            EXPECT_TRUE(again.Read(stream, "again", CXmlDocument::Reading::kStrict)) << text;
            EXPECT_EQ(Written(again), once) << text;
        }
        if (iterations % 4 == 0)
        {
            folder.WriteFile("fuzz.xml", text);
            CXmlReader reader;
            reader.OpenPath(path);
            size_t bound = 2;
            for (const char c : text)
                bound += c == '>';
            Walk(reader, bound);
        }
    }
    EXPECT_GT(iterations, 100);
}
