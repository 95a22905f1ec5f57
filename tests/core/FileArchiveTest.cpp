#include "core/CFileArchive.h"
#include "core/CFileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{
const std::string kBinary("\x00\xff\x01PK\x03\x04\n\xff", 10);

class FileArchiveTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        m_folder.MakeFolder("src");
        m_folder.MakeFolder("src/sub");
        m_folder.WriteFile("src/a.xml", "<a/>\n<b/>");
        m_folder.WriteFile("src/sub/b.xml", "member b");
        m_folder.WriteFile("src/bin.dat", kBinary);
        m_folder.WriteFile("src/big.txt", std::string(4000, 'z'));
    }
    void TearDown() override
    {
        CSingleton<CFileArchive>::Toggle(false);
        CSingleton<CFileSystem>::Toggle(false);
    }

    // Runs the zip tool in the source folder ("-0": stored); adds to an existing archive.
    std::string Zip(const std::string& archive, const std::string& options, const std::string& files)
    {
        const std::string command = "cd '" + m_folder.PathOf("src") + "' && zip -q " + options + " '" +
                                    m_folder.PathOf(archive) + "' " + files + " >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return m_folder.PathOf(archive);
    }
    // An archive of stored members, with a deflated one appended.
    std::string MixedArchive()
    {
        Zip("mixed.zip", "-0", "a.xml sub/b.xml bin.dat");
        return Zip("mixed.zip", "-9", "big.txt");
    }
    // The archive's bytes with count bytes at offset replaced, written to name.
    std::string Patched(const std::string& source, const std::string& name, size_t offset,
                        const std::string& bytes)
    {
        std::string content = TempFolder::ReadFile(source);
        EXPECT_LE(offset + bytes.size(), content.size());
        content.replace(offset, bytes.size(), bytes);
        return m_folder.WriteFile(name, content);
    }
    static std::string Read(const char* name)
    {
        CFileStream stream(name, CFileStream::kRead);
        CString text;
        if (!stream.IsOpen() || !stream.ReadAll(text))
            return "<closed>";
        return text;
    }

    TempFolder m_folder;
};
} // namespace

TEST_F(FileArchiveTest, StoredMembersReadThroughStreams)
{
    CFileArchive* archive = CSingleton<CFileArchive>::Instance();
    ASSERT_TRUE(archive->AttachFile(MixedArchive().c_str()));
    EXPECT_EQ(CFileArchive::PeekAttached(), archive);
    // The deflated member is skipped, the stored ones kept.
    EXPECT_EQ(archive->GetMemberCount(), 3u);
    EXPECT_TRUE(archive->Contains("a.xml"));
    EXPECT_TRUE(archive->Contains("./x/../sub/b.xml"));
    EXPECT_FALSE(archive->Contains("big.txt"));

    EXPECT_EQ(Read("a.xml"), "<a/>\n<b/>");
    EXPECT_EQ(Read("./a/../sub/b.xml"), "member b");
    EXPECT_EQ(Read("bin.dat"), kBinary);
    EXPECT_EQ(Read("big.txt"), "<closed>");

    // Two members read in turns over the one archive FILE.
    CFileStream first("a.xml", CFileStream::kRead);
    CFileStream second("sub/b.xml", CFileStream::kRead);
    CString text;
    EXPECT_TRUE(first.ReadString(text, '\n'));
    EXPECT_EQ(text, "<a/>");
    EXPECT_TRUE(second.ReadString(text, ' '));
    EXPECT_EQ(text, "member");
    EXPECT_TRUE(first.ReadString(text, '\n'));
    EXPECT_EQ(text, "<b/>");
    EXPECT_FALSE(first.ReadString(text, '\n'));

    // A name that is not a member reads the plain file.
    const std::string plain = m_folder.WriteFile("plain.txt", "on disk");
    EXPECT_EQ(Read(plain.c_str()), "on disk");
    archive->Detach();
    EXPECT_EQ(CFileArchive::PeekAttached(), nullptr);
    EXPECT_EQ(Read("a.xml"), "<closed>");
}

TEST_F(FileArchiveTest, DocumentsComeFromTheArchiveBeforeTheDisk)
{
    const std::string data = m_folder.MakeFolder("data");
    m_folder.WriteFile("data/a.xml", "disk");
    m_folder.WriteFile("data/only.xml", "only on disk");
    CFileSystem* fileSystem = CSingleton<CFileSystem>::Instance();
    fileSystem->SetFolders(m_folder.Path(), data);
    ASSERT_TRUE(CSingleton<CFileArchive>::Instance()->AttachFile(MixedArchive().c_str()));

    CFileStream stream;
    CString text;
    // Members are named relative to the data folder; readers ask with the full path.
    ASSERT_TRUE(fileSystem->OpenDocument("a", CFileSystem::kInDataFolder, stream));
    EXPECT_TRUE(stream.ReadAll(text));
    EXPECT_EQ(text, "<a/>\n<b/>");
    ASSERT_TRUE(fileSystem->OpenDocument("sub/b", CFileSystem::kInDataFolder, stream));
    ASSERT_TRUE(fileSystem->OpenDocument("only", CFileSystem::kInDataFolder, stream));
    EXPECT_TRUE(stream.ReadAll(text));
    EXPECT_EQ(text, "only on disk");
}

TEST_F(FileArchiveTest, BadArchivesFailWithoutHarm)
{
    CFileArchive* archive = CSingleton<CFileArchive>::Instance();
    const std::string good = Zip("good.zip", "-0", "a.xml sub/b.xml");
    const std::string content = TempFolder::ReadFile(good);
    ASSERT_GT(content.size(), 100u);
    const size_t directory = content.find("PK\x01\x02");
    const size_t end = content.size() - 22;
    ASSERT_NE(directory, std::string::npos);
    ASSERT_EQ(content.compare(end, 4, "PK\x05\x06"), 0);

    const std::string failing[] = {
        m_folder.WriteFile("empty.zip", ""),
        m_folder.WriteFile("truncated.zip", content.substr(0, content.size() - 7)),
        m_folder.WriteFile("cut.zip", content.substr(0, directory + 20) + content.substr(end)),
        m_folder.WriteFile("binary.zip", std::string(3000, '\xa5') + kBinary),
        // Name length 0xffff, past the 1024 a member name may have.
        Patched(good, "longname.zip", directory + 28, "\xff\xff"),
        // 32767 entries claimed by a directory of two.
        Patched(good, "count.zip", end + 10, "\xff\x7f"),
        // A directory offset past the end record.
        Patched(good, "offset.zip", end + 16, "\xff\xff\xff\x70"),
        // A comment moves the end record away from the last 22 bytes.
        m_folder.WriteFile("comment.zip", content.substr(0, end + 20) + std::string("\x03\x00"
                                                                                    "abc",
                                                                                    5)),
    };
    for (const std::string& path : failing)
    {
        EXPECT_FALSE(archive->AttachFile(path.c_str())) << path;
        EXPECT_FALSE(archive->IsAttached()) << path;
        EXPECT_EQ(archive->GetMemberCount(), 0u) << path;
    }
    EXPECT_FALSE(archive->AttachFile(m_folder.PathOf("missing.zip").c_str()));

    // A member claiming 2 GiB of data is left out; the others stay readable.
    ASSERT_TRUE(archive->AttachFile(
        Patched(good, "huge.zip", directory + 20, "\xff\xff\xff\x7f\xff\xff\xff\x7f").c_str()));
    EXPECT_EQ(archive->GetMemberCount(), 1u);
    EXPECT_EQ(Read("sub/b.xml"), "member b");

    // A local header that disagrees with the directory: the member does not open.
    ASSERT_TRUE(archive->AttachFile(Patched(good, "local.zip", 8, std::string("\x08\x00", 2)).c_str()));
    EXPECT_TRUE(archive->Contains("a.xml"));
    EXPECT_EQ(Read("a.xml"), "<closed>");
    EXPECT_EQ(Read("sub/b.xml"), "member b");
}
