#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "lumxip/platform.h"

namespace {

TEST(MemoryStream, ReadsWritesSeeksAndStopsAtTheEnd) {
  ComPtr<IStream> stream;
  ASSERT_EQ(lum::createMemoryStream("abcdef", 6, stream.put()), S_OK);
  char buffer[8] = {};
  ULONG read = 0;
  ASSERT_EQ(stream->Read(buffer, 4, &read), S_OK);
  EXPECT_EQ(read, 4u);
  ASSERT_EQ(stream->Read(buffer, 8, &read), S_OK);
  EXPECT_EQ(read, 2u) << "short read at the end";
  EXPECT_EQ(std::memcmp(buffer, "ef", 2), 0);
  ASSERT_EQ(stream->Read(buffer, 8, &read), S_OK);
  EXPECT_EQ(read, 0u);

  // Writing past the end grows the stream; seeking beyond it is allowed.
  ULARGE_INTEGER position{};
  ASSERT_EQ(stream->Seek(LARGE_INTEGER{8}, STREAM_SEEK_SET, &position), S_OK);
  ASSERT_EQ(stream->Write("Z", 1, nullptr), S_OK);
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  EXPECT_EQ(stat.cbSize.QuadPart, 9u);
  EXPECT_EQ(stream->Seek(LARGE_INTEGER{-10}, STREAM_SEEK_CUR, &position), STG_E_SEEKERROR);

  std::vector<std::byte> all;
  ASSERT_EQ(lum::readWholeStream(stream.get(), &all), S_OK);
  ASSERT_EQ(all.size(), 9u);
  EXPECT_EQ(all[6], std::byte{0}) << "the gap reads as zeros";
  EXPECT_EQ(all[8], std::byte{'Z'});
}

TEST(MemoryStream, CloneSharesBytesButNotPosition) {
  ComPtr<IStream> stream, clone;
  ASSERT_EQ(lum::createMemoryStream("xy", 2, stream.put()), S_OK);
  ASSERT_EQ(stream->Clone(clone.put()), S_OK);
  stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_END, nullptr);
  stream->Write("z", 1, nullptr);
  char buffer[3] = {};
  ULONG read = 0;
  clone->Read(buffer, 3, &read);
  EXPECT_EQ(read, 3u);
  EXPECT_EQ(std::memcmp(buffer, "xyz", 3), 0);
}

TEST(ReadOnlyStream, ReadsBytesWhereTheyAreAndKeepsTheirOwnerAlive) {
  auto owner = std::make_shared<std::string>("abcdef");
  const std::weak_ptr<std::string> watch = owner;
  const char* bytes = owner->data();
  ComPtr<IStream> stream, clone;
  ASSERT_EQ(lum::createReadOnlyStream(bytes, 6, std::move(owner), stream.put()), S_OK);
  char buffer[2];
  stream->Read(buffer, 2, nullptr);
  EXPECT_EQ(stream->Write("x", 1, nullptr), STG_E_ACCESSDENIED);
  ASSERT_EQ(stream->Clone(clone.put()), S_OK);
  stream = nullptr;
  lum::ReadOnlyBytes rest;
  ASSERT_TRUE(lum::readOnlyStreamRest(clone.get(), &rest));
  EXPECT_EQ(reinterpret_cast<const char*>(rest.data), bytes + 2) << "no copy, at the position";
  EXPECT_EQ(rest.size, 4u);
  clone = nullptr;
  EXPECT_FALSE(watch.expired()) << "what rest() hands out keeps the bytes";
  rest = {};
  EXPECT_TRUE(watch.expired());
}

}  // namespace

namespace {

std::filesystem::path scratchFile(const char* name) {
  return std::filesystem::temp_directory_path() /
         (std::string("lumxip-") + std::to_string(::getpid()) + "-" + name);
}

TEST(FileStream, WritesAFileThatReadsBackAndRefusesWritingWhenOpenedForReading) {
  const auto path = scratchFile("stream");
  {
    ComPtr<IStream> out;
    ASSERT_EQ(lum::createFileStream(path, lum::FileStreamMode::create, out.put()), S_OK);
    ASSERT_EQ(out->Write("hello", 5, nullptr), S_OK);
    ASSERT_EQ(out->Seek(LARGE_INTEGER{7}, STREAM_SEEK_SET, nullptr), S_OK);
    ASSERT_EQ(out->Write("!", 1, nullptr), S_OK);
  }
  ComPtr<IStream> in, clone;
  ASSERT_EQ(lum::createFileStream(path, lum::FileStreamMode::read, in.put()), S_OK);
  std::vector<std::byte> all;
  ASSERT_EQ(lum::readWholeStream(in.get(), &all), S_OK);
  ASSERT_EQ(all.size(), 8u);
  EXPECT_EQ(all[5], std::byte{0}) << "the gap reads as zeros";
  EXPECT_EQ(all[7], std::byte{'!'});
  ULONG written = 1;
  EXPECT_EQ(in->Write("x", 1, &written), STG_E_ACCESSDENIED);
  EXPECT_EQ(written, 0u);

  ASSERT_EQ(in->Seek(LARGE_INTEGER{1}, STREAM_SEEK_SET, nullptr), S_OK);
  ASSERT_EQ(in->Clone(clone.put()), S_OK);
  char buffer[4] = {};
  ULONG read = 0;
  ASSERT_EQ(clone->Read(buffer, 4, &read), S_OK);
  EXPECT_EQ(std::string(buffer, read), "ello");
  std::filesystem::remove(path);
}

TEST(FileStream, NamesWhyAFileCannotBeOpened) {
  ComPtr<IStream> stream;
  EXPECT_EQ(lum::createFileStream(scratchFile("missing"), lum::FileStreamMode::read, stream.put()),
            STG_E_FILENOTFOUND);
  EXPECT_EQ(lum::createFileStream(std::filesystem::temp_directory_path(), lum::FileStreamMode::read,
                                  stream.put()),
            STG_E_INVALIDPARAMETER)
      << "a directory is no file";
  EXPECT_EQ(lum::createFileStream("/x", lum::FileStreamMode::read, nullptr), E_POINTER);
}

}  // namespace
