// Captions as the screen shows them: the ones in the theme's light colour,
// and the labels whose fixed box centres every line of their text.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>

#include "WindowTesting.h"

using namespace testing_support;

namespace {

// A toolkit colour as a 24-bit screen shows it, 0xBBGGRR.
uint32_t OnScreen(const Gdk::Color& colour) {
  return (colour.get_red() >> 8) | (colour.get_green() >> 8) << 8 | (colour.get_blue() >> 8) << 16;
}

// The light colour GTK reports for a top-level window of the theme once the
// window has been realised, which is when its style is filled in.
uint32_t RealisedWindowLight() {
  Gtk::Window probe;
  gtk_widget_realize(GTK_WIDGET(probe.gobj()));
  return OnScreen(probe.get_style()->get_light(Gtk::STATE_NORMAL));
}

// The colour that most pixels of the area have: what the text stands on.
uint32_t Background(const ScreenArea& area) {
  std::map<uint32_t, int> counts;
  for (int y = area.Top(); y < area.Top() + area.Height(); ++y)
    for (int x = area.Left(); x < area.Left() + area.Width(); ++x) ++counts[area.At(x, y)];
  return std::max_element(counts.begin(), counts.end(),
                          [](const auto& a, const auto& b) { return a.second < b.second; })
      ->first;
}

// Each channel of `colour` between those of `a` and `b`: a blend of the two,
// as the smoothed edge of a glyph of colour b drawn on a is.
bool Between(uint32_t colour, uint32_t a, uint32_t b) {
  for (int shift : {0, 8, 16}) {
    const int c = (colour >> shift) & 0xFF, lo = std::min((a >> shift) & 0xFF, (b >> shift) & 0xFF),
              hi = std::max((a >> shift) & 0xFF, (b >> shift) & 0xFF);
    if (c < lo || c > hi) return false;
  }
  return true;
}

class CaptionsTest : public ::testing::Test {
 protected:
  ShownForm form;
  TForm1& f = *form;
};

TEST_F(CaptionsTest, LightCaptionsAreDrawnInTheThemesLightColour) {
  const uint32_t light = RealisedWindowLight();
  ASSERT_NE(light, kPanelColour) << "the theme's light colour would not show on the panels";
  struct Caption {
    const char* name;
    Gtk::Label* text;
  };
  const Caption captions[] = {{"Label1", f.Label1},
                              {"Label6", f.Label6},
                              {"Label5", f.Label5},
                              {"Label8", f.Label8},
                              {"CheckBox3", dynamic_cast<Gtk::Label*>(f.CheckBox3->get_child())}};
  for (const Caption& caption : captions) {
    ASSERT_TRUE(caption.text) << caption.name;
    // The rows its glyphs cover only: the analog lamp reaches into Label8's
    // box, and the port box into Label5's at some resolutions.
    const ScreenArea box = AreaOf(*caption.text);
    Pango::Rectangle ink, logical;
    caption.text->get_layout()->get_pixel_extents(ink, logical);
    const ScreenArea area(box.Left(), box.Top() + ink.get_y(), box.Width(), ink.get_height());
    const uint32_t background = Background(area);
    int solid = 0, stray = 0;
    for (int y = area.Top(); y < area.Top() + area.Height(); ++y)
      for (int x = area.Left(); x < area.Left() + area.Width(); ++x) {
        const uint32_t pixel = area.At(x, y);
        if (pixel == light) ++solid;
        if (!Between(pixel, background, light)) ++stray;
      }
    const std::string name = caption.name;
    EXPECT_EQ(background, kPanelColour) << name;
    EXPECT_GT(solid, 10) << name << ": too few pixels of the light colour " << std::hex << light;
    EXPECT_EQ(stray, 0) << name << ": pixels that are no blend of the panel and the light colour";
  }
}

// Where each line of a label's text shows on the screen, against where a
// line centred in the label's box would show. A line is centred with the
// blanks it holds: its advance, not its ink, is what stands in the middle.
struct LineSpan {
  int left = 0, right = -1;  // screen columns of its ink, inclusive
};

class CentredLinesTest : public CaptionsTest {
 protected:
  // The ink each line of `label` would show when centred in its box and cut
  // at the box's edges.
  std::vector<LineSpan> Expected(Gtk::Label& label, const ScreenArea& box) {
    std::vector<LineSpan> spans;
    Glib::RefPtr<Pango::Layout> layout = label.get_layout();
    for (int i = 0; i < layout->get_line_count(); ++i) {
      Pango::Rectangle ink, logical;
      layout->get_line(i)->get_pixel_extents(ink, logical);
      const double start = box.Left() + (box.Width() - logical.get_width()) / 2.0 - logical.get_x();
      LineSpan span;
      span.left = std::max<int>(box.Left(), std::lround(start + ink.get_x()));
      span.right = std::min<int>(box.Left() + box.Width() - 1,
                                 std::lround(start + ink.get_x() + ink.get_width()) - 1);
      spans.push_back(span);
    }
    return spans;
  }

  // The ink of each line as the screen shows it, in the rows the line's
  // glyphs cover (the analog lamp reaches into Label8's box below them).
  std::vector<LineSpan> Shown(Gtk::Label& label, const ScreenArea& box) {
    const uint32_t background = Background(box);
    std::vector<LineSpan> spans;
    Glib::RefPtr<Pango::Layout> layout = label.get_layout();
    Pango::LayoutIter lines = layout->get_iter();
    do {
      Pango::Rectangle rows, logical;
      lines.get_line_extents(rows, logical);
      const int top = box.Top() + PANGO_PIXELS(rows.get_y());
      const int bottom =
          std::min(box.Top() + box.Height(), top + PANGO_PIXELS(rows.get_height()) + 1);
      LineSpan span{box.Left() + box.Width(), -1};
      for (int y = top; y < bottom; ++y)
        for (int x = box.Left(); x < box.Left() + box.Width(); ++x)
          if (box.At(x, y) != background) {
            span.left = std::min(span.left, x);
            span.right = std::max(span.right, x);
          }
      spans.push_back(span);
    } while (lines.next_line());
    return spans;
  }

  static std::string NameOf(Gtk::Label& label) {
    return gtk_buildable_get_name(GTK_BUILDABLE(label.gobj()));
  }

  void ExpectCentred(Gtk::Label& label) {
    Settle();
    const ScreenArea box = AreaOf(label);
    const std::vector<LineSpan> expected = Expected(label, box), shown = Shown(label, box);
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
      std::cout << NameOf(label) << " line " << i + 1 << " at " << ScreenDotsPerInch()
                << " dpi: ink " << shown[i].left - box.Left() << ".." << shown[i].right - box.Left()
                << " of 0.." << box.Width() - 1 << ", centred " << expected[i].left - box.Left()
                << ".." << expected[i].right - box.Left() << "\n";
      EXPECT_NEAR(shown[i].left, expected[i].left, 1) << NameOf(label) << " line " << i + 1;
      EXPECT_NEAR(shown[i].right, expected[i].right, 1) << NameOf(label) << " line " << i + 1;
    }
  }
};

TEST_F(CentredLinesTest, EachLineOfTheAnalogCaptionIsCentredInItsBox) {
  ASSERT_EQ(f.Label8->get_layout()->get_line_count(), 2);
  ExpectCentred(*f.Label8);
}

TEST_F(CentredLinesTest, EveryFixedBoxCentresItsLines) {
  ExpectCentred(*f.Label4);
  ExpectCentred(*f.Label9);
}

TEST_F(CentredLinesTest, ALineWiderThanItsBoxIsCutEquallyAtBothSides) {
  // Far wider than either box, with a mark in its middle that shows where
  // the line stands: the blanks around the mark keep it clear of the rest.
  const std::string wide = std::string(30, 'W') + std::string(12, ' ');
  const std::string line = wide + "I" + std::string(wide.rbegin(), wide.rend());
  for (Gtk::Label* label : {f.Label4, f.Label9}) {
    label->set_text(line);
    Settle();
    const ScreenArea box = AreaOf(*label);
    Glib::RefPtr<Pango::Layout> layout = label->get_layout();
    Pango::Rectangle ink, logical;
    layout->get_line(0)->get_extents(ink, logical);
    ASSERT_GT(logical.get_width(), box.Width() * PANGO_SCALE) << NameOf(*label);
    const Pango::Rectangle mark = layout->index_to_pos(static_cast<int>(wide.size()));
    const double lineLeft =
        box.Left() + (box.Width() - logical.get_width() / double(PANGO_SCALE)) / 2;
    const double markLeft = lineLeft + double(mark.get_x() - logical.get_x()) / PANGO_SCALE;
    const double markRight = markLeft + double(mark.get_width()) / PANGO_SCALE;
    // The run of inked columns nearest the box's middle must be the mark
    // alone, standing where the centred line puts it.
    const uint32_t background = Background(box);
    std::vector<bool> inked(box.Width());
    for (int x = 0; x < box.Width(); ++x)
      for (int y = 0; y < box.Height(); ++y)
        if (box.At(box.Left() + x, box.Top() + y) != background) inked[x] = true;
    int nearest = -1;
    for (int x = 0; x < box.Width(); ++x)
      if (inked[x] &&
          (nearest < 0 || std::abs(x - box.Width() / 2) < std::abs(nearest - box.Width() / 2)))
        nearest = x;
    ASSERT_GE(nearest, 0) << NameOf(*label) << ": nothing drawn";
    int from = nearest, to = nearest;
    while (from > 0 && inked[from - 1]) --from;
    while (to < box.Width() - 1 && inked[to + 1]) ++to;
    std::cout << NameOf(*label) << " at " << ScreenDotsPerInch() << " dpi: mark inked at " << from
              << ".." << to << ", its place in the centred line " << markLeft - box.Left() << ".."
              << markRight - box.Left() << " of a box " << box.Width() << " wide\n";
    EXPECT_GE(box.Left() + from, std::floor(markLeft) - 1) << NameOf(*label);
    EXPECT_LE(box.Left() + to, std::ceil(markRight) + 1) << NameOf(*label);
    // Label9's narrow box shows only the mark and the blanks around it.
    if (label == f.Label4) {
      EXPECT_TRUE(inked.front() && inked.back())
          << "Label4: the line reaches both edges of its box";
    }
  }
}

}  // namespace
