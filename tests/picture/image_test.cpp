#include "runtime/picture/image.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

#include "../support/run_time_errors.h"
#include "runtime/errors/error_log.h"
#include "runtime/picture/bmp_writer.h"
#include "runtime/picture/picture.h"

namespace {

namespace fs = std::filesystem;
using rt::Colour;
using rt::Image;
using rt::Raster;

std::uint32_t field(const std::vector<std::uint8_t>& b, std::size_t offset, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = v << 8 | b[offset + i];
  return v;
}

std::vector<std::uint8_t> file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tessaly-picture-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST(BmpLayout, GraphSizedHeader) {
  Raster r(664, 648, rt::kWhite);
  const auto bytes = rt::bmp_bytes(r);
  ASSERT_EQ(bytes.size(), 1290870u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  struct {
    std::size_t offset;
    int size;
    std::uint32_t value;
  } fields[] = {{2, 4, 1290870},     {6, 2, 0},    {8, 2, 0},  {10, 4, 54}, {14, 4, 40},
                {18, 4, 664},        {22, 4, 648}, {26, 2, 1}, {28, 2, 24}, {30, 4, 0},
                {34, 4, 648 * 1992}, {38, 4, 0},   {42, 4, 0}, {46, 4, 0},  {50, 4, 0}};
  for (const auto& f : fields)
    EXPECT_EQ(field(bytes, f.offset, f.size), f.value) << "offset " << f.offset;
}

TEST(BmpLayout, RowBytesArePaddedToFour) {
  const std::pair<std::int32_t, std::uint32_t> rows[] = {{1, 4},  {2, 8},  {3, 12},
                                                         {4, 12}, {5, 16}, {664, 1992}};
  for (auto [width, bytes] : rows) EXPECT_EQ(rt::bmp_row_bytes(width), bytes) << width;
}

TEST(BmpLayout, BottomUpRowsOfBlueGreenRed) {
  Raster r(3, 2, rt::kWhite);
  // Top row, then bottom row; colours 0x00BBGGRR.
  const Colour px[2][3] = {{0x000001, 0x000200, 0x030000}, {0x112233, 0x445566, 0x778899}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) r.set_pixel(x, y, px[y][x]);
  const auto bytes = rt::bmp_bytes(r);
  ASSERT_EQ(bytes.size(), 54u + 2 * 12);
  const std::vector<std::uint8_t> pixels(bytes.begin() + 54, bytes.end());
  const std::vector<std::uint8_t> want = {
      0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0, 0, 0,  // bottom row first
      0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x00, 0, 0, 0};
  EXPECT_EQ(pixels, want);
  EXPECT_EQ(field(bytes, 34, 4), 24u);
}

TEST_F(TempDir, FileMatchesBytesAndReplacesOldFile) {
  Raster r(664, 648, rt::kWhite);
  for (int y = 0; y < 648; y += 7) r.set_pixel(y % 664, y, 0xFF0080);
  const fs::path path = dir_ / "グラフ 1.bmp";  // any characters the platform allows
  {
    std::ofstream old(path, std::ios::binary);
    old << std::string(2000000, 'x');
  }
  rt::write_bmp_file(r, path.string());
  EXPECT_EQ(fs::file_size(path), 1290870u);
  EXPECT_EQ(file_bytes(path), rt::bmp_bytes(r));
}

TEST_F(TempDir, MissingFolderIsError57WithSystemCode) {
  Raster r(3, 2, rt::kWhite);
  expect_error(57, [&] { rt::write_bmp_file(r, (dir_ / "no such folder" / "a.bmp").string()); });
  EXPECT_EQ(rt::error_log_read()["APIERR"], std::to_string(ENOENT));
  expect_error(57, [&] { rt::write_bmp_file(r, dir_.string()); });  // a folder, not a file
}

TEST(BmpFile, FullDeviceIsError67) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  Raster r(64, 64, rt::kWhite);
  expect_error(67, [&] { rt::write_bmp_file(r, "/dev/full"); });
  EXPECT_EQ(rt::error_log_read()["APIERR"], std::to_string(ENOSPC));
}

struct SizeCase {
  const char* name;
  double w, h;
  int error;  // 0: sized
  std::int32_t width = 0, height = 0;
};

class ImageSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ImageSize, SizesOrRefuses) {
  const SizeCase& c = GetParam();
  Image image;
  if (c.error) {
    expect_error(c.error, [&] { image.set_size(c.w, c.h); });
    EXPECT_FALSE(image.has_bitmap());
    return;
  }
  image.set_size(c.w, c.h);
  ASSERT_TRUE(image.has_bitmap());
  EXPECT_EQ(image.raster().width(), c.width);
  EXPECT_EQ(image.raster().height(), c.height);
  EXPECT_EQ(image.raster(), Raster(c.width, c.height, rt::kWhite));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ImageSize,
    ::testing::Values(SizeCase{"graph", 664, 648, 0, 664, 648},
                      SizeCase{"halves_up", 2.5, 1.5, 0, 3, 2}, SizeCase{"one", 0.5, 1, 0, 1, 1},
                      SizeCase{"zero", 0, 10, 5}, SizeCase{"rounds_to_zero", 10, 0.4, 5},
                      SizeCase{"negative", -3, 10, 5}, SizeCase{"nan", 10, std::nan(""), 5},
                      SizeCase{"over_limit", 16384, 16385, 7}, SizeCase{"absurd", 1e6, 1e6, 7},
                      SizeCase{"beyond_32_bits", 1e10, 1, 7},
                      SizeCase{"infinite", std::numeric_limits<double>::infinity(), 1, 7}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(ImageState, FailedSizeKeepsTheOldBitmap) {
  Image image;
  image.set_size(4, 4);
  expect_error(7, [&] { image.set_size(1e6, 1e6); });
  EXPECT_EQ(image.raster().width(), 4);
}

TEST(ImageState, NoBitmapIsError1006) {
  Image image;
  Raster source(4, 4, rt::kBlack);
  expect_error(1006, [&] { image.copy_from(source, 0, 0, 4, 4); });
  expect_error(1006, [&] { image.save_bmp("/tmp/never-written.bmp"); });
  EXPECT_FALSE(fs::exists("/tmp/never-written.bmp"));
}

// Copy from a 5 x 4 source with distinct pixels into a 6 x 5 white image.
struct CopyCase {
  const char* name;
  double x, y, w, h;
};

class ImageCopy : public ::testing::TestWithParam<CopyCase> {};

TEST_P(ImageCopy, ClipsToBothSides) {
  const CopyCase& c = GetParam();
  Raster source(5, 4, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) source.set_pixel(x, y, static_cast<Colour>(0x10 * y + x + 1));
  Image image;
  image.set_size(6, 5);
  image.copy_from(source, c.x, c.y, c.w, c.h);
  const int dx = static_cast<int>(c.x), dy = static_cast<int>(c.y);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const int sx = x - dx, sy = y - dy;
      const bool copied = sx >= 0 && sy >= 0 && sx < c.w && sy < c.h && sx < 5 && sy < 4;
      EXPECT_EQ(image.raster().pixel(x, y), copied ? source.pixel(sx, sy) : rt::kWhite)
          << x << ", " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Placements, ImageCopy,
                         ::testing::Values(CopyCase{"whole", 0, 0, 5, 4},
                                           CopyCase{"part", 0, 0, 2, 3},
                                           CopyCase{"offset_clipped", 2, 3, 5, 4},
                                           CopyCase{"negative_offset", -2, -1, 5, 4},
                                           CopyCase{"larger_than_source", 1, 0, 100, 100},
                                           CopyCase{"empty", 0, 0, 0, 4},
                                           CopyCase{"far_away", -2e9, 2e9, 5, 4}),
                         [](const auto& instance) { return std::string(instance.param.name); });

TEST(ImageCopy, NegativeSizeIsError5) {
  Image image;
  image.set_size(3, 3);
  Raster source(3, 3, rt::kBlack);
  expect_error(5, [&] { image.copy_from(source, 0, 0, -1, 3); });
}

TEST_F(TempDir, GraphExportRoundTrip) {
  // The export's steps: a white image of the graph's size, the picture copied in, saved.
  rt::Picture graph(664, 648);
  graph.set_drawing_colour(0xFF0000);
  rt::LineCommand line;
  line.first = rt::PointF{100, 50};
  line.second = {650, 610};
  graph.line(line);
  Image image;
  image.set_size(664, 648);
  image.copy_from(graph.raster(), 0, 0, 664, 648);
  image.save_bmp((dir_ / "graph.bmp").string());
  EXPECT_EQ(file_bytes(dir_ / "graph.bmp"), rt::bmp_bytes(graph.raster()));
}

}  // namespace
