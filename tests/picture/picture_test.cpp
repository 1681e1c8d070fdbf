// The dialog's picture, read back pixel by pixel: its size, greyed fields, check
// marks and disabled items; the PDF; and the files it refuses or cannot write.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "dialog_picture.h"
#include "dialog_picture_layout.h"

namespace {

using cli::Box;
using cli::DialogLayout;
using cli::DialogView;

// The dialog as it opens on a scene: child objects included, nothing greyed.
DialogView Dialog() {
  DialogView view;
  view.open = true;
  view.title = "Statlume";
  view.menus = {{"Options",
                 {{"Include Child Objects", true, true},
                  {"Include Non-Poly/Point Objects", true, false},
                  {"Pause", true, false}}},
                {"Help", {{"About..."}, {"Show Help File (.PDF)..."}}}};
  view.rows = {{{""}, {"Current"}, {"Editable"}},
               {{"Polygons"}, {"20"}, {"172"}},
               {{"Points"}, {"36"}, {"176"}},
               {{"N-Gons"}, {"3"}, {"3"}},
               {{"Objects"}, {"6"}, {"4"}}};
  return view;
}

// A PNG read back; brightness is the mean of red, green and blue (0 black, 255 white).
class Image {
 public:
  explicit Image(const std::string& file) : surface_(cairo_image_surface_create_from_png(file.c_str())) {}
  ~Image() { cairo_surface_destroy(surface_); }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  bool Loaded() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
  int Width() const { return cairo_image_surface_get_width(surface_); }
  int Height() const { return cairo_image_surface_get_height(surface_); }

  int Brightness(int x, int y) const {
    const int stride = cairo_image_surface_get_stride(surface_);
    const unsigned char* row = cairo_image_surface_get_data(surface_) + y * stride;
    std::uint32_t pixel = 0;
    std::copy_n(row + 4 * x, 4, reinterpret_cast<unsigned char*>(&pixel));
    return int(((pixel >> 16) & 0xff) + ((pixel >> 8) & 0xff) + (pixel & 0xff)) / 3;
  }

  // The darkest pixel inside `box` (255 when the box is empty).
  int Darkest(const Box& box) const {
    int darkest = 255;
    for (int y = box.y; y < box.Bottom(); ++y) {
      for (int x = box.x; x < box.Right(); ++x) darkest = std::min(darkest, Brightness(x, y));
    }
    return darkest;
  }

 private:
  cairo_surface_t* surface_;
};

Box Inset(const Box& box, int by) {
  return {box.x + by, box.y + by, box.width - 2 * by, box.height - 2 * by};
}

bool Inside(const Box& inner, const Box& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

std::string Bytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PictureTest : public testing::Test {
 protected:
  // A file of this test's own in the temporary folder, removed afterwards.
  std::string File(const std::string& name) {
    const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
    const auto path = std::filesystem::path(testing::TempDir()) /
                      ("statlume-picture-" + std::to_string(getpid()) + "-" + test + "-" + name);
    files_.push_back(path);
    return path.string();
  }
  void TearDown() override {
    for (const auto& file : files_) std::filesystem::remove(file);
  }

  // Writes `view` as a PNG and reads it back.
  std::unique_ptr<Image> Drawn(const DialogView& view, const std::string& name) {
    const std::string file = File(name);
    std::string error;
    EXPECT_TRUE(cli::WriteDialogPicture(view, file, error)) << error;
    auto image = std::make_unique<Image>(file);
    EXPECT_TRUE(image->Loaded()) << file;
    return image;
  }

 private:
  std::vector<std::filesystem::path> files_;
};

TEST_F(PictureTest, PngHasTheLaidOutSizeWithEverythingInside) {
  const DialogView view = Dialog();
  const DialogLayout layout = cli::LayOutDialog(view);
  const auto image = Drawn(view, "dialog.png");
  ASSERT_TRUE(image->Loaded());
  EXPECT_EQ(image->Width(), layout.width);
  EXPECT_EQ(image->Height(), layout.height);

  // A blank edge all round: nothing runs off the picture.
  const int w = layout.width, h = layout.height, edge = 4;
  for (const Box& strip :
       {Box{0, 0, w, edge}, Box{0, h - edge, w, edge}, Box{0, 0, edge, h}, Box{w - edge, 0, edge, h}}) {
    EXPECT_EQ(image->Darkest(strip), 255) << strip.x << "," << strip.y;
  }

  const Box picture{0, 0, layout.width, layout.height};
  EXPECT_TRUE(Inside(layout.window, picture));
  ASSERT_EQ(layout.cells.size(), 5u);
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 3; ++column) {
      EXPECT_TRUE(Inside(cli::CellBox(layout, row, column), layout.window)) << row << "," << column;
    }
  }
  ASSERT_EQ(layout.menus.size(), 2u);
  for (const auto& menu : layout.menus) {
    EXPECT_TRUE(Inside(menu.panel, picture));
    EXPECT_GE(menu.panel.x, layout.window.Right()) << "a menu panel covers the window";
    for (const Box& item : menu.items) EXPECT_TRUE(Inside(item, menu.panel));
  }
  EXPECT_GE(layout.menus[1].panel.y, layout.menus[0].panel.Bottom()) << "the panels overlap";
  EXPECT_EQ(cli::CellBox(layout, 5, 0).width, 0);
  EXPECT_EQ(cli::CellBox(layout, 0, 3).width, 0);
}

TEST_F(PictureTest, SameViewGivesTheSameFile) {
  std::string error;
  for (const std::string extension : {".png", ".pdf"}) {
    const std::string first = File("first" + extension), second = File("second" + extension);
    ASSERT_TRUE(cli::WriteDialogPicture(Dialog(), first, error)) << error;
    ASSERT_TRUE(cli::WriteDialogPicture(Dialog(), second, error)) << error;
    EXPECT_FALSE(Bytes(first).empty());
    EXPECT_EQ(Bytes(first), Bytes(second)) << extension;
  }
}

TEST_F(PictureTest, LongNumbersWidenTheirColumnAndStayInTheirField) {
  DialogView view = Dialog();
  view.rows[1][2].text = "123,456,789,012,345,678";
  const DialogLayout layout = cli::LayOutDialog(view);
  EXPECT_GT(layout.width, cli::LayOutDialog(Dialog()).width);

  // Right-aligned text that overflowed would spill into the gap left of its field.
  const auto image = Drawn(view, "long.png");
  const Box left = cli::CellBox(layout, 1, 1), field = cli::CellBox(layout, 1, 2);
  EXPECT_LT(image->Darkest(field), 100);
  EXPECT_GT(image->Darkest({left.Right(), field.y, field.x - left.Right(), field.height}), 200);
}

TEST_F(PictureTest, GreyedCellIsLighterThanTheSameCellNormal) {
  DialogView paused = Dialog();
  paused.rows[2][1].greyed = true;
  const DialogLayout layout = cli::LayOutDialog(paused);
  const auto normal = Drawn(Dialog(), "normal.png");
  const auto greyed = Drawn(paused, "greyed.png");

  const Box cell = cli::CellBox(layout, 2, 1), neighbour = cli::CellBox(layout, 2, 2);
  EXPECT_LT(normal->Darkest(cell), 80) << "no text in the cell";
  EXPECT_LT(greyed->Darkest(cell), 200) << "greyed text is not visible";
  EXPECT_GT(greyed->Darkest(cell), normal->Darkest(cell) + 50);
  EXPECT_EQ(greyed->Darkest(neighbour), normal->Darkest(neighbour)) << "greyed the wrong cell";
}

TEST_F(PictureTest, CheckMarksShowWhichOptionsAreOn) {
  DialogView view = Dialog();
  const auto childrenOn = Drawn(view, "children.png");
  view.menus[0].items[0].checked = false;
  view.menus[0].items[1].checked = true;
  const auto pauseOn = Drawn(view, "pause.png");

  const cli::MenuPanelLayout options = cli::LayOutDialog(view).menus[0];
  // Inside the box's border: a tick, or the box's white.
  const auto marked = [&](const Image& image, int item) {
    return image.Darkest(Inset(options.checks[item], 2)) < 100;
  };
  EXPECT_TRUE(marked(*childrenOn, 0));
  EXPECT_FALSE(marked(*childrenOn, 1));
  EXPECT_FALSE(marked(*childrenOn, 2));
  EXPECT_FALSE(marked(*pauseOn, 0));
  EXPECT_TRUE(marked(*pauseOn, 1));
  // Unchecked but checkable: the box is there, empty.
  EXPECT_LT(pauseOn->Darkest(options.checks[2]), 160);
}

TEST_F(PictureTest, HelpItemsHaveNoCheckBoxAndDisabledItemsAreGreyed) {
  DialogView view = Dialog();
  view.menus[1].items[1].enabled = false;
  const DialogLayout layout = cli::LayOutDialog(view);
  const auto image = Drawn(view, "help.png");

  const cli::MenuPanelLayout& help = layout.menus[1];
  const Box about = help.items[0], manual = help.items[1];
  const Box checkSpot{about.x, about.y, layout.menus[0].checks[0].Right() - layout.menus[0].items[0].x + 2,
                      about.height};
  EXPECT_EQ(image->Darkest(checkSpot), 255) << "a check box on an item that cannot be checked";
  EXPECT_LT(image->Darkest(about), 80);
  EXPECT_GT(image->Darkest(manual), image->Darkest(about) + 50);
}

TEST_F(PictureTest, PdfIsOnePage) {
  const std::string file = File("dialog.pdf");
  std::string error;
  ASSERT_TRUE(cli::WriteDialogPicture(Dialog(), file, error)) << error;
  const std::string pdf = Bytes(file);
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
  EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
  // Two writes a second apart must match too: no time of writing in the file.
  EXPECT_EQ(pdf.find("Date"), std::string::npos);
}

TEST_F(PictureTest, UppercaseExtensionIsUnderstood) {
  std::string error;
  EXPECT_TRUE(cli::WriteDialogPicture(Dialog(), File("dialog.PNG"), error)) << error;
}

TEST_F(PictureTest, UnknownExtensionIsRefusedWithoutWriting) {
  for (const std::string name : {"dialog.jpg", "dialog", "dialog.png.txt"}) {
    const std::string file = File(name);
    std::string error;
    EXPECT_FALSE(cli::WriteDialogPicture(Dialog(), file, error));
    EXPECT_NE(error.find(file), std::string::npos) << error;
    EXPECT_NE(error.find(".png"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(file));
  }
}

TEST_F(PictureTest, UnwritableFileIsNamedInTheError) {
  for (const std::string name : {"missing/dialog.png", "missing/dialog.pdf"}) {
    const std::string file = File(name);
    std::string error;
    EXPECT_FALSE(cli::WriteDialogPicture(Dialog(), file, error));
    EXPECT_NE(error.find(file), std::string::npos) << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
  }
}

TEST_F(PictureTest, ClosedDialogIsNotDrawn) {
  DialogView closed = Dialog();
  closed.open = false;
  const std::string file = File("closed.png");
  std::string error;
  EXPECT_FALSE(cli::WriteDialogPicture(closed, file, error));
  EXPECT_NE(error.find("not open"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(PictureBuild, PicturesAreAvailable) { EXPECT_TRUE(cli::PicturesAvailable()); }

}  // namespace
