#include "framework/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace pellix {
namespace {

std::string Content(const TMemoryStream& s) { return std::string(s.Memory(), s.Memory() + s.Size()); }

TEST(MemoryStreamTest, ReadDeliversWhatIsLeftAndReadBufferInsistsOnAll) {
    TMemoryStream s;
    s.WriteBuffer("hello", 5);
    s.SetPosition(3);
    char buffer[8] = {};
    EXPECT_EQ(s.Read(buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "lo");
    EXPECT_EQ(s.Read(buffer, 8), 0);
    s.SetPosition(4);
    EXPECT_THROW(s.ReadBuffer(buffer, 2), EReadError);
}

TEST(MemoryStreamTest, WritingPastTheEndFillsTheGapWithZeros) {
    TMemoryStream s;
    s.WriteBuffer("ab", 2);
    s.Seek(2, TSeekOrigin::soCurrent);
    s.WriteBuffer("c", 1);
    EXPECT_EQ(Content(s), std::string("ab\0\0c", 5));
    EXPECT_EQ(s.Position(), 5);
}

TEST(MemoryStreamTest, WriteBufferRaisesWhenTheStreamTakesNothing) {
    TMemoryStream s;
    s.SetPosition(-1);
    EXPECT_THROW(s.WriteBuffer("a", 1), EWriteError);
}

TEST(MemoryStreamTest, SetSizeKeepsThePositionInside) {
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    s.SetSize(2);
    EXPECT_EQ(s.Position(), 2);
    s.SetSize(4);
    EXPECT_EQ(Content(s), std::string("ab\0\0", 4));
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStreamTest, CopyFromCountZeroTakesTheWholeSourceFromItsStart) {
    TMemoryStream source, target;
    source.WriteBuffer("abcdef", 6);
    source.SetPosition(4);
    EXPECT_EQ(target.CopyFrom(source, 0), 6);
    EXPECT_EQ(Content(target), "abcdef");
    source.SetPosition(1);
    target.Clear();
    EXPECT_EQ(target.CopyFrom(source, 3), 3);
    EXPECT_EQ(Content(target), "bcd");
    EXPECT_THROW(target.CopyFrom(source, 5), EReadError);
}

TEST(MemoryStreamTest, FileRoundTripAndMissingFile) {
    const std::string path = (std::filesystem::temp_directory_path() / "pellix-streams-test.bin").string();
    TMemoryStream out, in;
    out.WriteBuffer(std::string("a\0\r\nb", 5).data(), 5);
    out.SaveToFile(path);
    in.LoadFromFile(path);
    std::remove(path.c_str());
    EXPECT_EQ(Content(in), Content(out));
    try {
        in.LoadFromFile(path);
        FAIL() << "no error for a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(path), std::string::npos);
    }
}

TEST(MemoryStreamTest, LoadFromStreamTakesAllAndKeepsItsPosition) {
    TMemoryStream source, s;
    source.WriteBuffer("abcdef", 6);
    s.WriteBuffer("xyz", 3);
    s.SetPosition(1);
    s.LoadFromStream(source);
    EXPECT_EQ(Content(s), "abcdef");
    EXPECT_EQ(s.Position(), 1);
}

}  // namespace
}  // namespace pellix
