// The form and its windowless controls: ownership, z-order painting, pointer
// routing with capture, fonts, and the headless window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Bevel.h"
#include "platform/FontEngine.h"
#include "platform/Form.h"
#include "platform/HeadlessWindow.h"
#include "platform/Image.h"
#include "platform/Label.h"

namespace {

// A control that fills itself with a colour and logs its pointer input.
class TProbe : public TGraphicControl {
 public:
  TProbe(TComponent* owner, TColour colour, std::vector<std::string>* log)
      : TGraphicControl(owner), colour_(colour), log_(log) {}
  ~TProbe() override {
    if (log_ != nullptr) log_->push_back(Name() + ":destroyed");
  }
  void Paint(TCanvas& canvas) override {
    ++paints;
    canvas.FillRect(TRect{0, 0, Width(), Height()}, colour_);
  }
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override {
    Log("down", x, y);
    TGraphicControl::MouseDown(button, shift, x, y);
  }
  void MouseMove(TShiftState, int32_t x, int32_t y) override { Log("move", x, y); }
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override {
    Log("up", x, y);
    TGraphicControl::MouseUp(button, shift, x, y);
  }
  void FontChanged() override {
    ++fontChanges;
    TGraphicControl::FontChanged();
  }
  void Notification(TComponent* component) override { forgotten.push_back(component); }

  int paints = 0;
  int fontChanges = 0;
  std::vector<TComponent*> forgotten;

 private:
  void Log(const char* what, int32_t x, int32_t y) {
    if (log_ != nullptr) log_->push_back(Name() + ":" + what + " " + std::to_string(x) + "," + std::to_string(y));
  }
  TColour colour_;
  std::vector<std::string>* log_;
};

class FormTest : public ::testing::Test {
 protected:
  FormTest() {
    SetFontEngine(BuiltinFontEngine());
    form.SetClientSize(100, 80);
    form.SetColour(0x101010);
    window = &AttachHeadlessWindow(form);
    bottom = Probe("bottom", 0x0000AA, TRect::Bounds(10, 10, 40, 40));
    top = Probe("top", 0x00AA00, TRect::Bounds(30, 30, 40, 40));
    window->ProcessPaint();
  }

  TProbe* Probe(const std::string& name, TColour colour, const TRect& bounds) {
    auto* probe = new TProbe(&form, colour, &log);
    probe->SetName(name);
    probe->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    probe->SetParent(&form);
    return probe;
  }

  std::vector<std::string> log;
  TForm form;
  THeadlessWindow* window;
  TProbe* bottom;
  TProbe* top;
};

TEST_F(FormTest, PaintsBottomToTopOverTheFormColour) {
  const TBitmap& screen = window->Screen();
  EXPECT_EQ(screen.Pixel(5, 5), 0x101010u);
  EXPECT_EQ(screen.Pixel(15, 15), 0x0000AAu);
  EXPECT_EQ(screen.Pixel(35, 35), 0x00AA00u);
  EXPECT_EQ(screen.Pixel(65, 65), 0x00AA00u);
}

TEST_F(FormTest, RepaintRequestsWaitButRepaintIsImmediate) {
  const int paints = bottom->paints;
  bottom->Invalidate();
  EXPECT_EQ(bottom->paints, paints);
  EXPECT_TRUE(window->PaintPending());
  window->ProcessPaint();
  EXPECT_EQ(bottom->paints, paints + 1);
  bottom->Repaint();
  EXPECT_EQ(bottom->paints, paints + 2);
  EXPECT_FALSE(window->PaintPending());
  // The immediate repaint keeps the layering.
  EXPECT_EQ(window->Screen().Pixel(35, 35), 0x00AA00u);
}

TEST_F(FormTest, PointerInputGoesToTheTopmostEnabledVisibleControl) {
  window->Click(35, 35);
  EXPECT_EQ(log, (std::vector<std::string>{"top:down 5,5", "top:up 5,5"}));
  log.clear();
  top->SetEnabled(false);
  window->Click(35, 35);
  EXPECT_EQ(log, (std::vector<std::string>{"bottom:down 25,25", "bottom:up 25,25"}));
  log.clear();
  window->Click(5, 5);  // on the form itself
  EXPECT_TRUE(log.empty());
}

TEST_F(FormTest, CaptureKeepsMovesAndTheReleaseWithThePressedControl) {
  window->PressPointer(15, 15);
  EXPECT_TRUE(window->Captured());
  window->MovePointer(60, 60);   // over "top", but captured by "bottom"
  window->MovePointer(-20, 90);  // outside the form
  window->ReleasePointer(-20, 90);
  EXPECT_FALSE(window->Captured());
  window->MovePointer(60, 60);  // no button: goes to what is under the pointer
  EXPECT_EQ(log, (std::vector<std::string>{"bottom:down 5,5", "bottom:move 50,50", "bottom:move -30,80",
                                           "bottom:up -30,80", "top:move 30,30"}));
}

TEST_F(FormTest, HidingMidPressEndsItWhereItWasAndFreesThePointer) {
  window->PressPointer(15, 15);
  window->MovePointer(25, 20);
  form.Hide();
  EXPECT_FALSE(window->Captured());
  EXPECT_EQ(form.CaptureControl(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"bottom:down 5,5", "bottom:move 15,10", "bottom:up 15,10"}));
}

TEST_F(FormTest, ClickFiresOnlyForAReleaseInside) {
  int clicks = 0;
  bottom->OnClick = [&](TComponent* sender) {
    EXPECT_EQ(sender, bottom);
    ++clicks;
  };
  window->Click(15, 15);
  EXPECT_EQ(clicks, 1);
  window->PressPointer(15, 15);
  window->ReleasePointer(95, 5);
  EXPECT_EQ(clicks, 1);
}

TEST_F(FormTest, DestroyingTheCapturedControlReleasesTheCapture) {
  window->PressPointer(15, 15);
  delete bottom;
  EXPECT_FALSE(window->Captured());
  EXPECT_EQ(form.CaptureControl(), nullptr);
  window->ReleasePointer(15, 15);  // reaches nothing that is gone
  EXPECT_EQ(form.Controls().size(), 1u);
}

TEST_F(FormTest, OwnersFreeWhatTheyOwnNewestFirst) {
  auto* child = new TProbe(top, 0, &log);
  child->SetName("child");
  {
    TForm other;
    auto* a = new TProbe(&other, 0, &log);
    a->SetName("a");
    auto* b = new TProbe(&other, 0, &log);
    b->SetName("b");
    EXPECT_EQ(other.FindComponent("b"), b);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"b:destroyed", "a:destroyed"}));
  log.clear();
  delete top;
  EXPECT_EQ(log, (std::vector<std::string>{"top:destroyed", "child:destroyed"}));
  EXPECT_EQ(form.Components().size(), 1u);
}

TEST_F(FormTest, FreeNotificationTellsTheOtherSide) {
  auto* image = new TImage(&form);
  bottom->FreeNotification(image);
  delete image;
  ASSERT_EQ(bottom->forgotten.size(), 1u);
  EXPECT_EQ(bottom->forgotten[0], image);
}

TEST_F(FormTest, ParentFontFollowsTheFormUntilAFontIsSet) {
  TFont font = form.Font();
  font.Name = "Arial";
  form.SetFont(font);
  EXPECT_EQ(bottom->Font().Name, "Arial");
  EXPECT_EQ(bottom->fontChanges, 1);
  TFont own = font;
  own.Height = -20;
  bottom->SetFont(own);
  EXPECT_FALSE(bottom->ParentFont());
  font.Name = "Courier";
  form.SetFont(font);
  EXPECT_EQ(bottom->Font().Height, -20);
  EXPECT_EQ(top->Font().Name, "Courier");
}

TEST_F(FormTest, DrawingOnTheSurfaceShowsAtOnceClippedToTheControl) {
  bottom->DrawOnSurface([](TCanvas& canvas) { canvas.FillRect(TRect{-100, -100, 200, 200}, 0xEEEEEE); });
  EXPECT_EQ(window->Screen().Pixel(15, 15), 0xEEEEEEu);
  EXPECT_EQ(window->Screen().Pixel(9, 9), 0x101010u);
  EXPECT_FALSE(window->PaintPending());
}

TEST_F(FormTest, ControlsKeepSaneCoordinates) {
  bottom->SetBounds(INT32_MAX, INT32_MIN, -5, INT32_MAX);
  EXPECT_EQ(bottom->Left(), kCoordinateLimit);
  EXPECT_EQ(bottom->Top(), -kCoordinateLimit);
  EXPECT_EQ(bottom->Width(), 0);
  EXPECT_EQ(bottom->Height(), kCoordinateLimit);
  window->ProcessPaint();
  window->Click(INT32_MAX, INT32_MIN);
}

TEST(Components, ImageTransparencyUsesTheBottomLeftPixel) {
  TForm form;
  form.SetClientSize(4, 4);
  form.SetColour(0x333333);
  THeadlessWindow& window = AttachHeadlessWindow(form);
  auto* image = new TImage(&form);
  image->SetParent(&form);
  TBitmap picture(3, 3, 0xABCDEF);
  picture.SetPixel(0, 2, 0x00FF00);
  picture.SetPixel(1, 1, 0x00FF00);
  image->SetPicture(picture);
  image->SetBounds(0, 0, 2, 2);  // the component's own size clips the picture
  window.ProcessPaint();
  EXPECT_EQ(window.Screen().Pixel(1, 1), 0x00FF00u);
  EXPECT_EQ(window.Screen().Pixel(2, 2), 0x333333u);
  image->SetTransparent(true);
  window.ProcessPaint();
  EXPECT_EQ(image->TransparentColour(), 0x00FF00u);
  EXPECT_EQ(window.Screen().Pixel(1, 1), 0x333333u);
  EXPECT_EQ(window.Screen().Pixel(0, 0), 0xABCDEFu);
}

TEST(Components, LabelsAndBevelsDraw) {
  SetFontEngine(BuiltinFontEngine());
  TForm form;
  form.SetClientSize(40, 20);
  form.SetColour(0x333333);
  THeadlessWindow& window = AttachHeadlessWindow(form);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetBounds(0, 0, 30, 13);
  label->SetTransparent(true);
  TFont font = label->Font();
  font.Colour = 0xFCFCFC;
  label->SetFont(font);
  label->SetCaption("V2.3");
  auto* bevel = new TBevel(&form);
  bevel->SetParent(&form);
  bevel->SetBounds(35, 0, 9, 20);
  window.ProcessPaint();
  int32_t textPixels = 0;
  for (int32_t y = 0; y < 13; ++y) {
    for (int32_t x = 0; x < 30; ++x) textPixels += window.Screen().Pixel(x, y) == 0xFCFCFCu ? 1 : 0;
  }
  EXPECT_GT(textPixels, 10);
  EXPECT_EQ(window.Screen().Pixel(0, 12), 0x333333u);  // no background
  EXPECT_EQ(window.Screen().Pixel(35, 5), ColourToRGB(clBtnShadow));
  EXPECT_EQ(window.Screen().Pixel(36, 5), ColourToRGB(clBtnHighlight));
  EXPECT_EQ(window.Screen().Pixel(37, 5), 0x333333u);
}

}  // namespace
