// Reading the container: compression, declared lengths, framing, and files that lie.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "core_test_movies.h"
#include "swf/io/swf_container.h"

namespace {

using namespace rvtest;
using swf::Compression;
using swf::LoadError;

std::vector<uint8_t> sampleMovie(Compression c) {
  SwfWriter w(8, 320, 240, 25);
  w.setBackgroundColor({10, 20, 30, 255});
  w.defineShape(1, square(400));
  for (int f = 0; f < 3; ++f) {
    w.placeObject2(f == 0 ? placeNew(1, 1, at(f * 100, 0)) : placeMove(1, at(f * 100, 0)));
    w.showFrame();
  }
  return w.finish(c);
}

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

TEST(CoreContainer, AllThreeCompressionsGiveTheSameMovie) {
  auto plain = sampleMovie(Compression::None);
  EXPECT_EQ(plain[0], 'F');
  for (Compression c : {Compression::None, Compression::Zlib, Compression::Lzma}) {
    auto bytes = sampleMovie(c);
    auto m = parse(bytes);
    EXPECT_EQ(m->compression, c);
    EXPECT_EQ(m->version, 8);
    EXPECT_EQ(m->stage.width(), 320 * 20);
    EXPECT_EQ(m->stage.height(), 240 * 20);
    EXPECT_DOUBLE_EQ(m->frameRate, 25);
    EXPECT_EQ(m->root.frameCount(), 3);
    // The uncompressed file is byte for byte the plain one.
    EXPECT_EQ(*m->data, plain);
  }
  EXPECT_LT(sampleMovie(Compression::Zlib).size(), plain.size());
}

TEST(CoreContainer, NotASwfIsALoadError) {
  std::vector<std::vector<uint8_t>> bad = {
      {},
      {'F', 'W', 'S'},
      {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0},
      {'F', 'W', 'X', 6, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  };
  std::string html = "<html><body>not a movie</body></html>";
  bad.emplace_back(html.begin(), html.end());
  for (const auto& b : bad) EXPECT_THROW(parse(b), LoadError);
  swf::Player p;
  EXPECT_THROW(p.load("/nonexistent/movie.swf"), LoadError);
  EXPECT_FALSE(p.loaded());
}

TEST(CoreContainer, EveryTruncationIsRefusedUnlessTheMovieIsWhole) {
  auto plain = sampleMovie(Compression::None);
  for (Compression c : {Compression::None, Compression::Zlib, Compression::Lzma}) {
    auto bytes = sampleMovie(c);
    for (size_t n = 0; n < bytes.size(); ++n) {
      std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
      // A compressed stream cut only in its checksum or end marker still holds the whole movie.
      try {
        auto m = parse(cut);
        EXPECT_NE(c, Compression::None) << "cut at " << n;
        EXPECT_EQ(*m->data, plain) << "compression " << int(c) << " cut at " << n;
      } catch (const LoadError&) {
      }
    }
  }
}

TEST(CoreContainer, LyingLengthsAreLoadErrors) {
  auto plain = sampleMovie(Compression::None);
  // A declared length beyond the file.
  auto longer = plain;
  put32(longer, 4, uint32_t(plain.size() + 1));
  EXPECT_THROW(parse(longer), LoadError);
  // A compressed file claiming 4 GB must be refused before anything that size is allocated.
  auto huge = sampleMovie(Compression::Zlib);
  put32(huge, 4, 0xfffffff0u);
  EXPECT_THROW(parse(huge), LoadError);
  auto huge2 = sampleMovie(Compression::Lzma);
  put32(huge2, 4, 200u * 1024 * 1024);
  EXPECT_THROW(parse(huge2), LoadError);
  // Too small to hold even the header's records.
  auto tiny = plain;
  put32(tiny, 4, 9);
  EXPECT_THROW(parse(tiny), LoadError);
  // A tag whose long length runs past the end of the file.
  SwfWriter w(6, 100, 100, 12);
  std::vector<uint8_t> body(100, 0);
  w.tag(77, body);
  auto lying = w.finish();
  size_t tagAt = lying.size() - 2 - 100 - 6;  // before End, the long header of the tag
  ASSERT_EQ(lying[tagAt] & 0x3f, 0x3f);
  put32(lying, tagAt + 2, 5000);
  EXPECT_THROW(parse(lying), LoadError);
}

TEST(CoreContainer, CorruptCompressedDataIsRefusedOrPlayedSafely) {
  // Without a checksum in reach, garbage may decode; it must then be read as safely as any file.
  for (Compression c : {Compression::Zlib, Compression::Lzma}) {
    for (int seed = 0; seed < 40; ++seed) {
      auto bytes = sampleMovie(c);
      for (size_t i = 8 + (c == Compression::Lzma ? 9 : 2) + seed; i < bytes.size(); i += 7 + seed)
        bytes[i] ^= uint8_t(0x5a + seed);
      try {
        swf::Player p;
        show(p, bytes);
        for (int f = 0; f < 5; ++f) step(p);
      } catch (const LoadError&) {
      }
    }
  }
}

TEST(CoreContainer, UnknownAndEmptyTagsAreSkipped) {
  SwfWriter w(6, 100, 100, 12);
  w.tag(200, std::vector<uint8_t>{1, 2, 3});
  w.tag(201, std::vector<uint8_t>{});
  w.tag(202, std::vector<uint8_t>(300, 7));  // long form
  w.defineShape(1, square(100));
  w.placeObject2(placeNew(1, 1));
  w.showFrame();
  auto m = parse(w.finish());
  EXPECT_EQ(m->root.frameCount(), 1);
  EXPECT_EQ(m->tagCounts.at(200), 1);
  EXPECT_EQ(m->tagCounts.at(202), 1);
  EXPECT_TRUE(m->character(1));
}

TEST(CoreContainer, MissingEndTagAndTrailingBytesAreTolerated) {
  auto plain = sampleMovie(Compression::None);
  // Drop the End tag and shorten the declared length to match.
  std::vector<uint8_t> noEnd(plain.begin(), plain.end() - 2);
  put32(noEnd, 4, uint32_t(noEnd.size()));
  EXPECT_EQ(parse(noEnd)->root.frameCount(), 3);
  // Bytes after the declared length are not part of the movie.
  auto extra = plain;
  extra.insert(extra.end(), 50, 0xee);
  EXPECT_EQ(parse(extra)->root.frameCount(), 3);
}

TEST(CoreContainer, MalformedDefinitionIsALoadError) {
  // A button whose action offset points outside its tag.
  SwfWriter w(6, 100, 100, 12);
  BitWriter b;
  b.u16(5);
  b.u8(0);
  b.u16(900);
  b.u8(0);
  w.tag(34, b);
  w.showFrame();
  EXPECT_THROW(parse(w.finish()), LoadError);
  // A PlaceObject2 whose name is not terminated.
  SwfWriter w2(6, 100, 100, 12);
  w2.tag(26, std::vector<uint8_t>{0x20, 1, 0, 'a', 'b'});
  w2.showFrame();
  EXPECT_THROW(parse(w2.finish()), LoadError);
}

TEST(CoreContainer, LoadFromFileAndPath) {
  auto bytes = sampleMovie(Compression::Zlib);
  std::string path = ::testing::TempDir() + "core_container_load.swf";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  swf::Player p;
  p.load(path);
  EXPECT_TRUE(p.loaded());
  EXPECT_EQ(p.path(), path);
  EXPECT_EQ(p.totalFrames(), 3);
  EXPECT_EQ(p.stageWidth(), 320);
  EXPECT_EQ(p.stageHeight(), 240);
  EXPECT_EQ(p.backgroundColor(), (swf::RGBA{10, 20, 30, 255}));
  // A failed load leaves the movie that was showing.
  EXPECT_THROW(p.load(path + ".missing"), LoadError);
  EXPECT_TRUE(p.loaded());
  EXPECT_EQ(p.path(), path);
  p.unload();
  EXPECT_FALSE(p.loaded());
  EXPECT_EQ(p.path(), "");
  EXPECT_EQ(p.totalFrames(), 0);
  EXPECT_EQ(p.currentFrame(), 0);
  EXPECT_FALSE(p.isPlaying());
}

}  // namespace
