#include "core/CFileStream.h"
#include "core/CMemoryStream.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::string Bytes(const char* text, size_t count)
{
    return std::string(text, count);
}
} // namespace

TEST(StreamTest, FileReadStringEndsAtTheDelimiterOnly)
{
    TempFolder folder;
    const std::string full(CFileStream::kFirstLineBufferSize - 1, 'x');
    const std::string lines[] = {
        "abc",
        "",
        "def",
        Bytes("a\0b\xffz", 5),  // a NUL ends the text returned; the rest of the line goes with it
        "\xffx",                // 0xFF inside a run is data
        full + "\xffy",         // after a full run, 0xFF ends the text as the delimiter does
        full + Bytes("\0z", 2), // and so does a NUL
        full + "xw",            // any other byte goes on into the next run
    };
    std::string content;
    for (const std::string& line : lines)
        content += line + "\n";
    const std::string path = folder.WriteFile("lines.txt", content + "end");
    CFileStream stream(path, CFileStream::kRead);
    ASSERT_TRUE(stream.IsOpen());
    CString text;
    for (const std::string& expected :
         {std::string("abc"), std::string(), std::string("def"), std::string("a"), std::string("\xffx"), full,
          std::string("y"), full, std::string("z"), full + "xw"})
    {
        EXPECT_TRUE(stream.ReadString(text, '\n'));
        EXPECT_EQ(text, expected);
    }
    // The end of the file closes the last text, which is still returned.
    EXPECT_TRUE(stream.ReadString(text, '\n'));
    EXPECT_EQ(text, "end");
    EXPECT_TRUE(stream.IsAtEnd());
    EXPECT_FALSE(stream.ReadString(text, '\n'));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(stream.HasError());

    // An error an earlier operation left in the flags keeps no delimited text from its reader.
    CFileStream file(path, CFileStream::kRead);
    CFileStream flagged;
    flagged.AttachWindow(file, 0, 1000);
    flagged.Seek(1001, CStream::kFromEnd);
    ASSERT_TRUE(flagged.HasError());
    EXPECT_TRUE(flagged.ReadString(text, '\n'));
    EXPECT_EQ(text, "abc");
    EXPECT_TRUE(flagged.ReadString(text, '\n'));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(flagged.HasError());
}

TEST(StreamTest, FileReadStringFailsOnceItsLineBufferReachesTheLimit)
{
    TempFolder folder;
    // The runs of a fresh buffer hold 255, 511, ... 32767 bytes, each followed by one more.
    const std::string longest(CFileStream::kLineBufferLimit - CFileStream::kFirstLineBufferSize - 1, 'x');
    const std::string path = folder.WriteFile("long.txt", longest + "\n" + longest + "y\nafter\n");
    CFileStream stream(path, CFileStream::kRead);
    CString text;
    EXPECT_TRUE(stream.ReadString(text, '\n'));
    EXPECT_EQ(text, longest);
    EXPECT_FALSE(stream.ReadString(text, '\n'));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(stream.ReadString(text, '\n')) << "the line buffer has reached the limit";
    // Opened again, the stream reads texts again.
    ASSERT_TRUE(stream.Open(path, CFileStream::kRead));
    EXPECT_TRUE(stream.ReadString(text, '\n'));
    EXPECT_EQ(text, longest);
}

TEST(StreamTest, FileOpenModes)
{
    TempFolder folder;
    CFileStream missing(folder.PathOf("missing.txt"), CFileStream::kRead);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.GetFlags(), 0);
    CString text;
    EXPECT_FALSE(missing.ReadString(text, '\n'));
    char byte = 0;
    EXPECT_EQ(missing.Read(&byte, 1), 0u);
    EXPECT_EQ(missing.GetFlags(), CStream::kReadWithoutFile);
    EXPECT_EQ(missing.Tell(), 0);

    const std::string path = folder.PathOf("out.txt");
    CFileStream none(path, 0);
    EXPECT_FALSE(none.IsOpen());
    {
        CFileStream out(path, CFileStream::kWrite);
        ASSERT_TRUE(out.IsGood());
        EXPECT_TRUE(out.Write("hello", 5));
        EXPECT_EQ(out.Tell(), 5);
        EXPECT_TRUE(out.Close());
    }
    {
        CFileStream out(path, CFileStream::kAppend);
        EXPECT_TRUE(out.Write(" world", 6));
    }
    EXPECT_EQ(TempFolder::ReadFile(path), "hello world");
    CFileStream in(path, CFileStream::kRead | CFileStream::kSeekToEnd);
    EXPECT_EQ(in.Tell(), 11);
    in.Seek(-5, CStream::kFromCurrent);
    char word[5];
    EXPECT_EQ(in.Read(word, 5), 5u);
    EXPECT_EQ(std::string(word, 5), "world");
    in.Seek(-1, CStream::kFromStart);
    EXPECT_TRUE(in.HasError());
}

TEST(StreamTest, ShortWriteIsAnError)
{
    CFileStream full("/dev/full", CFileStream::kWrite);
    if (!full.IsOpen())
        GTEST_SKIP() << "no /dev/full";
    // The bytes sit in the FILE's buffer until the flush, which is where the device refuses them.
    full.Write("data", 4);
    EXPECT_FALSE(full.Flush());
    EXPECT_TRUE(full.HasError());
    EXPECT_FALSE(full.Close());
}

TEST(StreamTest, WindowKeepsToItsBytesAndPosition)
{
    TempFolder folder;
    const std::string path = folder.WriteFile("data.bin", "0123456789abcdefghijKLMNOPQRST");
    CFileStream file(path, CFileStream::kRead);
    ASSERT_TRUE(file.IsOpen());

    CFileStream window;
    window.AttachWindow(file, 10, 10);
    EXPECT_TRUE(window.IsBorrowed());
    char buffer[16] = {};
    EXPECT_EQ(window.Read(buffer, 10), 10u);
    EXPECT_EQ(std::string(buffer, 10), "abcdefghij");
    EXPECT_TRUE(window.IsAtEnd());
    EXPECT_EQ(window.Read(buffer, 4), 0u);
    window.Seek(11, CStream::kFromEnd);
    EXPECT_TRUE(window.HasError());

    CFileStream first;
    first.AttachWindow(file, 0, 10);
    CFileStream second;
    second.AttachWindow(file, 20, 100);
    EXPECT_EQ(second.GetWindowLength(), 10);
    // Interleaved reads over one FILE: each window carries on where it stopped.
    EXPECT_EQ(first.Read(buffer, 3), 3u);
    EXPECT_EQ(second.Read(buffer + 3, 3), 3u);
    EXPECT_EQ(first.Read(buffer + 6, 3), 3u);
    EXPECT_EQ(std::string(buffer, 9), "012KLM345");
    EXPECT_EQ(first.Tell(), 6);
    second.Seek(-2, CStream::kFromEnd);
    EXPECT_EQ(second.Tell(), 8);
    EXPECT_EQ(second.Read(buffer, 8), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ST");
    EXPECT_FALSE(second.HasError());

    // A window of a window stays inside its source.
    CFileStream inner;
    inner.AttachWindow(second, 5, 50);
    EXPECT_EQ(inner.GetWindowBase(), 25);
    EXPECT_EQ(inner.GetWindowLength(), 5);
    CString text;
    EXPECT_TRUE(inner.ReadString(text, 'Q'));
    EXPECT_EQ(text, "P");
    // The window's end closes a final text as the file's end does.
    EXPECT_TRUE(inner.ReadString(text, 'Q'));
    EXPECT_EQ(text, "RST");
    EXPECT_FALSE(inner.ReadString(text, 'Q'));
    EXPECT_FALSE(inner.Write("zz", 2));
    EXPECT_TRUE(inner.HasError());

    // Closing a window leaves its source's FILE open.
    window.Close();
    file.Seek(0, CStream::kFromStart);
    EXPECT_EQ(file.Read(buffer, 2), 2u);
    EXPECT_EQ(std::string(buffer, 2), "01");
}

TEST(StreamTest, MemoryStreamReadsAndWrites)
{
    CMemoryStream stream(std::string("<a x=\"1\"/>\n<b>", 14));
    EXPECT_TRUE(stream.IsGood());
    CString text;
    EXPECT_TRUE(stream.ReadString(text, '>'));
    EXPECT_EQ(text, "<a x=\"1\"/");
    EXPECT_TRUE(stream.ReadString(text, '<'));
    EXPECT_EQ(text, "\n");
    EXPECT_TRUE(stream.ReadString(text, '\n'));
    EXPECT_EQ(text, "b>");
    EXPECT_TRUE(stream.IsAtEnd());
    EXPECT_FALSE(stream.ReadString(text, '\n'));

    stream.Seek(1, CStream::kFromStart);
    EXPECT_FALSE(stream.IsAtEnd());
    EXPECT_EQ(stream.Tell(), 1);
    stream.Seek(100, CStream::kFromCurrent);
    EXPECT_TRUE(stream.HasError());
    EXPECT_EQ(stream.Tell(), 1);

    CMemoryStream out;
    EXPECT_TRUE(out.Write("hello", 5));
    out.Seek(-2, CStream::kFromEnd);
    EXPECT_TRUE(out.Write(Bytes("P\0\xffZ", 4).data(), 4));
    EXPECT_EQ(out.GetBytes(), Bytes("helP\0\xffZ", 7));
    out.Seek(0, CStream::kFromStart);
    char buffer[8];
    EXPECT_EQ(out.Read(buffer, 3), 3u);
    EXPECT_FALSE(out.IsAtEnd());
    CString rest;
    EXPECT_TRUE(out.ReadAll(rest));
    EXPECT_EQ(rest, Bytes("P\0\xffZ", 4));
    EXPECT_TRUE(out.IsAtEnd());
}
