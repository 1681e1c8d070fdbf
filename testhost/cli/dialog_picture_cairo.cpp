// Draws the dialog with cairo, its text set by pango in DejaVu Sans: the window
// (title bar, menu bar, grid) on the left, each menu opened as a drop-down panel on
// the right. One unit is a pixel of the PNG and a point of the PDF.
#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "dialog_picture.h"
#include "dialog_picture_layout.h"

namespace cli {
namespace {

// Spacings, in units.
constexpr int kMargin = 16;          // around everything
constexpr int kShadow = 3;           // offset of the window's and panels' shadows
constexpr int kTitleBarHeight = 28;
constexpr int kTitlePad = 12;        // left of the title
constexpr int kCloseSize = 14;       // the close box at the right of the title bar
constexpr int kMenuBarHeight = 24;
constexpr int kMenuTitlePad = 10;    // either side of a menu title
constexpr int kGridPad = 14;         // between the window's edge and the grid
constexpr int kRowHeight = 26;
constexpr int kFieldInset = 3;       // above and below a number's field in its row
constexpr int kColumnGap = 10;
constexpr int kCellPad = 7;          // between a field's edge and its text
constexpr int kMinLabelWidth = 70;
constexpr int kMinNumberWidth = 88;
constexpr int kMinWindowWidth = 220;
constexpr int kPanelGap = 28;        // between the window and the panels
constexpr int kPanelSpacing = 16;    // between two panels
constexpr int kPanelPad = 4;         // above the first item and below the last
constexpr int kItemHeight = 24;
constexpr int kItemGutter = 30;      // left of an item's text, room for its check box
constexpr int kItemRightPad = 20;
constexpr int kCheckLeft = 9;
constexpr int kCheckSize = 12;
constexpr int kMinPanelWidth = 170;
constexpr double kFontPixels = 12;

struct Rgb {
  double r, g, b;
};
constexpr Rgb Hex(unsigned v) {
  return {((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0};
}
constexpr Rgb kPage = Hex(0xffffff);
constexpr Rgb kWindowBorder = Hex(0x6b6f75);
constexpr Rgb kWindowBody = Hex(0xececec);
constexpr Rgb kTitleBar = Hex(0x4a5668);
constexpr Rgb kTitleText = Hex(0xffffff);
constexpr Rgb kCloseMark = Hex(0xc9ced6);
constexpr Rgb kMenuBar = Hex(0xe2e2e2);
constexpr Rgb kSeparator = Hex(0xc2c2c2);
constexpr Rgb kText = Hex(0x1e1e1e);
constexpr Rgb kGreyText = Hex(0x9a9a9a);
constexpr Rgb kFieldBorder = Hex(0xb9b9b9);
constexpr Rgb kField = Hex(0xfbfbfb);
constexpr Rgb kGreyField = Hex(0xf1f1f1);
constexpr Rgb kHighlight = Hex(0x3b6db3);
constexpr Rgb kPanelBorder = Hex(0x9c9c9c);
constexpr Rgb kPanel = Hex(0xffffff);
constexpr Rgb kCheckBorder = Hex(0x767676);
constexpr Rgb kCheckMark = Hex(0x1e1e1e);

template <auto Free>
struct Deleter {
  template <class T>
  void operator()(T* p) const { Free(p); }
};
using Surface = std::unique_ptr<cairo_surface_t, Deleter<cairo_surface_destroy>>;
using Context = std::unique_ptr<cairo_t, Deleter<cairo_destroy>>;
using TextLayout = std::unique_ptr<PangoLayout, Deleter<g_object_unref>>;
using Font = std::unique_ptr<PangoFontDescription, Deleter<pango_font_description_free>>;

// The same font options for measuring and drawing, on every surface: unhinted
// metrics, so the PNG and the PDF set text alike.
void SetFontOptions(cairo_t* cr) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

TextLayout MakeText(cairo_t* cr, const std::string& text, bool bold) {
  Font font(pango_font_description_from_string("DejaVu Sans"));
  pango_font_description_set_absolute_size(font.get(), kFontPixels * PANGO_SCALE);
  pango_font_description_set_weight(font.get(), bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  TextLayout layout(pango_cairo_create_layout(cr));
  pango_layout_set_font_description(layout.get(), font.get());
  pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
  return layout;
}

PangoRectangle Extents(PangoLayout* layout) {
  PangoRectangle logical{};
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  return logical;
}

// Measures text on a scratch surface, so that the layout needs no picture.
class Measure {
 public:
  Measure()
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1)), cr_(cairo_create(surface_.get())) {
    SetFontOptions(cr_.get());
  }
  int Width(const std::string& text, bool bold = false) const {
    return Extents(MakeText(cr_.get(), text, bold).get()).width;
  }

 private:
  Surface surface_;
  Context cr_;
};

int ColumnsOf(const DialogView& view) {
  int columns = std::max(view.columns, 0);
  for (const auto& row : view.rows) columns = std::max(columns, static_cast<int>(row.size()));
  return columns;
}

// The grid's column widths: each column's widest text, never below a minimum. Below
// the headings and right of the labels, cells are number fields, padded either side.
std::vector<int> ColumnWidths(const DialogView& view, int columns, const Measure& measure) {
  std::vector<int> widths(columns, kMinNumberWidth);
  if (columns > 0) widths[0] = kMinLabelWidth;
  for (std::size_t r = 0; r < view.rows.size(); ++r) {
    for (std::size_t c = 0; c < view.rows[r].size(); ++c) {
      const int text = measure.Width(view.rows[r][c].text, r == 0);
      widths[c] = std::max(widths[c], text + (c > 0 ? 2 * kCellPad : 0));
    }
  }
  return widths;
}

void LayOutWindow(const DialogView& view, const Measure& measure, DialogLayout& out) {
  out.columns = ColumnsOf(view);
  const std::vector<int> widths = ColumnWidths(view, out.columns, measure);
  int gridWidth = out.columns > 0 ? (out.columns - 1) * kColumnGap : 0;
  for (int w : widths) gridWidth += w;

  int menuBarWidth = 0;
  std::vector<int> titleWidths;
  for (const MenuView& menu : view.menus) {
    titleWidths.push_back(measure.Width(menu.title) + 2 * kMenuTitlePad);
    menuBarWidth += titleWidths.back();
  }
  const int titleWidth = kTitlePad + measure.Width(view.title, true) + 2 * kCloseSize + kTitlePad;
  const int inner = std::max({gridWidth + 2 * kGridPad, menuBarWidth, titleWidth, kMinWindowWidth - 2});

  // The window: a one-unit border around title bar, menu bar and grid.
  const int left = kMargin + 1;
  out.titleBar = {left, kMargin + 1, inner, kTitleBarHeight};
  out.menuBar = {left, out.titleBar.Bottom(), inner, kMenuBarHeight};
  int x = left;
  for (int w : titleWidths) {
    out.menuTitles.push_back({x, out.menuBar.y, w, kMenuBarHeight});
    x += w;
  }
  const int gridTop = out.menuBar.Bottom() + 1 + kGridPad;
  for (std::size_t r = 0; r < view.rows.size(); ++r) {
    std::vector<Box> row;
    x = left + kGridPad;
    for (int w : widths) {
      row.push_back({x, gridTop + int(r) * kRowHeight, w, kRowHeight});
      x += w + kColumnGap;
    }
    out.cells.push_back(row);
  }
  const int gridBottom = gridTop + int(view.rows.size()) * kRowHeight;
  out.window = {kMargin, kMargin, inner + 2, gridBottom + kGridPad + 1 - kMargin};
}

void LayOutMenus(const DialogView& view, const Measure& measure, DialogLayout& out) {
  int panelWidth = kMinPanelWidth;
  for (const MenuView& menu : view.menus) {
    for (const MenuItemView& item : menu.items) {
      panelWidth = std::max(panelWidth, kItemGutter + measure.Width(item.text) + kItemRightPad + 2);
    }
  }
  const int left = out.window.Right() + kPanelGap;
  int y = out.menuBar.y;
  for (std::size_t m = 0; m < view.menus.size(); ++m) {
    const MenuView& menu = view.menus[m];
    MenuPanelLayout panel;
    panel.title = {left, y, out.menuTitles[m].width, kMenuBarHeight};
    const int items = int(menu.items.size());
    panel.panel = {left, panel.title.Bottom(), panelWidth, 2 + 2 * kPanelPad + items * kItemHeight};
    for (int i = 0; i < items; ++i) {
      const Box item{left + 1, panel.panel.y + 1 + kPanelPad + i * kItemHeight, panelWidth - 2, kItemHeight};
      panel.items.push_back(item);
      const int top = item.y + (kItemHeight - kCheckSize) / 2;
      panel.checks.push_back(menu.items[i].checkable ? Box{item.x + kCheckLeft, top, kCheckSize, kCheckSize}
                                                     : Box{item.x + kCheckLeft, top, 0, 0});
    }
    y = panel.panel.Bottom() + kPanelSpacing;
    out.menus.push_back(panel);
  }
}

// ---- Drawing -------------------------------------------------------------------

void Fill(cairo_t* cr, const Box& box, const Rgb& colour, double alpha = 1) {
  cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
  cairo_rectangle(cr, box.x, box.y, box.width, box.height);
  cairo_fill(cr);
}

// A box with a one-unit border, drawn as two fills so the edges stay sharp.
void Framed(cairo_t* cr, const Box& box, const Rgb& border, const Rgb& inside) {
  Fill(cr, box, border);
  Fill(cr, {box.x + 1, box.y + 1, box.width - 2, box.height - 2}, inside);
}

Box Shifted(const Box& box, int by) { return {box.x + by, box.y + by, box.width, box.height}; }

enum class Align { kLeft, kCentre, kRight };

// Text centred vertically in `box`, `pad` units in from the side it is aligned to.
void Text(cairo_t* cr, const std::string& text, const Box& box, Align align, int pad, const Rgb& colour,
          bool bold = false) {
  const TextLayout layout = MakeText(cr, text, bold);
  const PangoRectangle extents = Extents(layout.get());
  int x = box.x + pad;
  if (align == Align::kCentre) x = box.x + (box.width - extents.width) / 2;
  if (align == Align::kRight) x = box.Right() - pad - extents.width;
  cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
  cairo_move_to(cr, x, box.y + (box.height - extents.height) / 2);
  pango_cairo_show_layout(cr, layout.get());
}

void DrawWindow(cairo_t* cr, const DialogView& view, const DialogLayout& layout) {
  Fill(cr, Shifted(layout.window, kShadow), Hex(0), 0.14);
  Framed(cr, layout.window, kWindowBorder, kWindowBody);

  Fill(cr, layout.titleBar, kTitleBar);
  Text(cr, view.title, layout.titleBar, Align::kLeft, kTitlePad, kTitleText, true);
  // The close box: a small cross at the right of the title bar.
  const double cx = layout.titleBar.Right() - kCloseSize - kTitlePad / 2.0;
  const double cy = layout.titleBar.y + (kTitleBarHeight - kCloseSize) / 2.0;
  cairo_set_source_rgb(cr, kCloseMark.r, kCloseMark.g, kCloseMark.b);
  cairo_set_line_width(cr, 1.5);
  cairo_move_to(cr, cx + 3, cy + 3);
  cairo_line_to(cr, cx + kCloseSize - 3, cy + kCloseSize - 3);
  cairo_move_to(cr, cx + kCloseSize - 3, cy + 3);
  cairo_line_to(cr, cx + 3, cy + kCloseSize - 3);
  cairo_stroke(cr);

  Fill(cr, layout.menuBar, kMenuBar);
  Fill(cr, {layout.menuBar.x, layout.menuBar.Bottom(), layout.menuBar.width, 1}, kSeparator);
  for (std::size_t m = 0; m < view.menus.size(); ++m) {
    Text(cr, view.menus[m].title, layout.menuTitles[m], Align::kCentre, 0, kText);
  }

  for (std::size_t r = 0; r < view.rows.size(); ++r) {
    for (std::size_t c = 0; c < view.rows[r].size(); ++c) {
      const CellView& cell = view.rows[r][c];
      const Box& box = layout.cells[r][c];
      const Rgb& colour = cell.greyed ? kGreyText : kText;
      if (r == 0) {
        Text(cr, cell.text, box, c == 0 ? Align::kLeft : Align::kCentre, 0, colour, true);
      } else if (c == 0) {
        Text(cr, cell.text, box, Align::kLeft, 0, colour);
      } else {
        const Box field{box.x, box.y + kFieldInset, box.width, box.height - 2 * kFieldInset};
        Framed(cr, field, kFieldBorder, cell.greyed ? kGreyField : kField);
        Text(cr, cell.text, box, Align::kRight, kCellPad, colour);
      }
    }
  }
}

// A tick in a check box, drawn as two strokes.
void Tick(cairo_t* cr, const Box& box) {
  cairo_set_source_rgb(cr, kCheckMark.r, kCheckMark.g, kCheckMark.b);
  cairo_set_line_width(cr, 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(cr, box.x + 2.5, box.y + 6.5);
  cairo_line_to(cr, box.x + 5, box.y + 9);
  cairo_line_to(cr, box.x + 9.5, box.y + 3);
  cairo_stroke(cr);
}

void DrawMenus(cairo_t* cr, const DialogView& view, const DialogLayout& layout) {
  for (std::size_t m = 0; m < view.menus.size(); ++m) {
    const MenuView& menu = view.menus[m];
    const MenuPanelLayout& panel = layout.menus[m];
    Fill(cr, Shifted(panel.panel, kShadow), Hex(0), 0.14);
    Fill(cr, panel.title, kHighlight);
    Text(cr, menu.title, panel.title, Align::kCentre, 0, kTitleText);
    Framed(cr, panel.panel, kPanelBorder, kPanel);
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
      const MenuItemView& item = menu.items[i];
      const Box& check = panel.checks[i];
      if (item.checkable) {
        Framed(cr, check, kCheckBorder, kPanel);
        if (item.checked) Tick(cr, check);
      }
      Text(cr, item.text, panel.items[i], Align::kLeft, kItemGutter, item.enabled ? kText : kGreyText);
    }
  }
}

void Draw(cairo_t* cr, const DialogView& view, const DialogLayout& layout) {
  SetFontOptions(cr);
  Fill(cr, {0, 0, layout.width, layout.height}, kPage);
  DrawWindow(cr, view, layout);
  DrawMenus(cr, view, layout);
}

// ---- Files ---------------------------------------------------------------------

enum class Format { kUnknown, kPng, kPdf };

Format FormatOf(const std::string& file) {
  const auto dot = file.rfind('.');
  if (dot == std::string::npos) return Format::kUnknown;
  std::string extension = file.substr(dot);
  for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".png") return Format::kPng;
  if (extension == ".pdf") return Format::kPdf;
  return Format::kUnknown;
}

cairo_status_t WriteChunk(void* file, const unsigned char* data, unsigned int length) {
  return std::fwrite(data, 1, length, static_cast<FILE*>(file)) == length ? CAIRO_STATUS_SUCCESS
                                                                          : CAIRO_STATUS_WRITE_ERROR;
}

// Draws the picture in `format` into an open file.
cairo_status_t DrawInto(FILE* file, Format format, const DialogView& view, const DialogLayout& layout) {
  if (format == Format::kPng) {
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, layout.width, layout.height));
    Draw(Context(cairo_create(surface.get())).get(), view, layout);
    return cairo_surface_write_to_png_stream(surface.get(), WriteChunk, file);
  }
  Surface surface(cairo_pdf_surface_create_for_stream(WriteChunk, file, layout.width, layout.height));
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, view.title.c_str());
  // An empty date leaves the time of writing out: the same view, the same bytes.
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATE_DATE, "");
  Draw(Context(cairo_create(surface.get())).get(), view, layout);
  cairo_surface_finish(surface.get());
  return cairo_surface_status(surface.get());
}

// Draws into `file`, opened here so that a failure to open it names its reason; a
// file left half written is removed.
bool WriteFile(const DialogView& view, const std::string& file, Format format, std::string& error) {
  const DialogLayout layout = LayOutDialog(view);
  FILE* out = std::fopen(file.c_str(), "wb");
  if (!out) {
    error = "cannot write " + file + ": " + std::strerror(errno);
    return false;
  }
  const cairo_status_t drawn = DrawInto(out, format, view, layout);
  const bool closed = std::fclose(out) == 0;
  if (drawn != CAIRO_STATUS_SUCCESS || !closed) {
    error = "cannot write " + file + ": " +
            (drawn != CAIRO_STATUS_SUCCESS ? cairo_status_to_string(drawn) : std::strerror(errno));
    std::remove(file.c_str());
    return false;
  }
  return true;
}

}  // namespace

DialogLayout LayOutDialog(const DialogView& view) {
  const Measure measure;
  DialogLayout layout;
  LayOutWindow(view, measure, layout);
  LayOutMenus(view, measure, layout);
  int right = layout.window.Right(), bottom = layout.window.Bottom();
  for (const MenuPanelLayout& panel : layout.menus) {
    right = std::max(right, panel.panel.Right());
    bottom = std::max(bottom, panel.panel.Bottom());
  }
  layout.width = right + kShadow + kMargin;
  layout.height = bottom + kShadow + kMargin;
  return layout;
}

Box CellBox(const DialogLayout& layout, int row, int column) {
  if (row < 0 || column < 0 || row >= int(layout.cells.size()) || column >= layout.columns) return {};
  return layout.cells[row][column];
}

bool PicturesAvailable() { return true; }

bool WriteDialogPicture(const DialogView& view, const std::string& file, std::string& error) {
  const Format format = FormatOf(file);
  if (format == Format::kUnknown) {
    error = "cannot draw the dialog into " + file + ": the file name must end in .png or .pdf";
    return false;
  }
  if (!view.open) {
    error = "cannot draw the dialog into " + file + ": the dialog is not open";
    return false;
  }
  return WriteFile(view, file, format, error);
}

}  // namespace cli
