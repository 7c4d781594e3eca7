// The LED button's states, light and event order, through a headless form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/RubberLEDButton.h"
#include "tests/support/ControlsTestSupport.h"

namespace {

constexpr TColour kUpOff = 0x000010, kDownOff = 0x000020, kUpOn = 0x000030, kDownOn = 0x000040;
constexpr TColour kDisabledOff = 0x000050, kDisabledOn = 0x000060;

class LEDButtonTest : public ::testing::Test {
 protected:
  LEDButtonTest() : ui(100, 100) {
    button = new TRubberLEDButton(&ui.form);
    button->SetParent(&ui.form);
    button->SetBounds(10, 10, 40, 48);
    images[0] = MakeImage(ui.form, SolidBitmap(38, 45, kUpOff));
    images[1] = MakeImage(ui.form, SolidBitmap(38, 45, kDownOff));
    images[2] = MakeImage(ui.form, SolidBitmap(38, 45, kUpOn));
    images[3] = MakeImage(ui.form, SolidBitmap(38, 45, kDownOn));
    button->SetUpOff(images[0]);
    button->SetDownOff(images[1]);
    button->SetUpOn(images[2]);
    button->SetDownOn(images[3]);
    button->OnLEDChange = [this](TComponent*) {
      log.push_back(std::string("led:") + (button->LEDOn() ? "on" : "off") + ",shown:" + std::to_string(Shown()));
    };
    button->OnChange = [this](TComponent*) { log.push_back("change,shown:" + std::to_string(Shown())); };
    ui.window->ProcessPaint();
  }

  // What the screen shows of the button, without waiting for deferred paints.
  TColour Shown() const { return ui.window->Screen().Pixel(20, 20); }

  void Press() { ui.window->PressPointer(20, 20); }
  void Release() { ui.window->ReleasePointer(20, 20); }

  TTestForm ui;
  TRubberLEDButton* button;
  TImage* images[4] = {};
  std::vector<std::string> log;
};

TEST_F(LEDButtonTest, QuickChangeTogglesAtThePress) {
  Press();
  EXPECT_EQ(button->ButtonState(), rlbDownOn);
  EXPECT_EQ(Shown(), kDownOn);
  Release();
  EXPECT_EQ(button->ButtonState(), rlbUpOn);
  EXPECT_TRUE(button->LEDOn());
  // The light event comes before the pressed image, the change after the released one.
  EXPECT_EQ(log, (std::vector<std::string>{"led:on,shown:" + std::to_string(kUpOff),
                                           "change,shown:" + std::to_string(kUpOn)}));
  log.clear();
  ui.window->Click(20, 20);
  EXPECT_EQ(button->ButtonState(), rlbUpOff);
  EXPECT_FALSE(button->LEDOn());
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(LEDButtonTest, WithoutQuickChangeTheReleaseToggles) {
  button->SetQuickChange(false);
  Press();
  EXPECT_EQ(button->ButtonState(), rlbDownOff);
  EXPECT_FALSE(button->LEDOn());
  EXPECT_EQ(Shown(), kDownOff);
  EXPECT_TRUE(log.empty());
  Release();
  EXPECT_EQ(button->ButtonState(), rlbUpOn);
  // At the release: the light, then the released image, then the change.
  EXPECT_EQ(log, (std::vector<std::string>{"led:on,shown:" + std::to_string(kDownOff),
                                           "change,shown:" + std::to_string(kUpOn)}));
  Press();
  EXPECT_EQ(button->ButtonState(), rlbDownOn);
  Release();
  EXPECT_EQ(button->ButtonState(), rlbUpOff);
}

TEST_F(LEDButtonTest, AssignedStatesSetTheLightAndFireNothing) {
  button->SetButtonState(rlbDownOn);
  EXPECT_TRUE(button->LEDOn());
  EXPECT_EQ(Shown(), kDownOn);  // at once
  EXPECT_TRUE(log.empty());
  Press();
  EXPECT_EQ(button->ButtonState(), rlbDownOff);
  Release();
  EXPECT_EQ(button->ButtonState(), rlbUpOff);
  button->SetButtonState(rlbUpOn);
  EXPECT_TRUE(button->LEDOn());
  button->SetButtonState(rlbDownOff);
  EXPECT_FALSE(button->LEDOn());
}

TEST_F(LEDButtonTest, AReleaseOutsideTheButtonCompletesTheClick) {
  Press();
  ui.window->ReleasePointer(90, 90);
  EXPECT_EQ(button->ButtonState(), rlbUpOn);
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(LEDButtonTest, DisabledImagesReplaceOnlyTheReleasedStates) {
  button->SetDisabledOff(MakeImage(ui.form, SolidBitmap(38, 45, kDisabledOff)));
  button->SetDisabledOn(MakeImage(ui.form, SolidBitmap(38, 45, kDisabledOn)));
  button->SetEnabled(false);
  EXPECT_EQ(Shown(), kDisabledOff);  // the enabled change repaints at once
  button->SetButtonState(rlbUpOn);
  EXPECT_EQ(Shown(), kDisabledOn);
  button->SetButtonState(rlbDownOff);
  EXPECT_EQ(Shown(), kDownOff);
  button->SetButtonState(rlbDownOn);
  EXPECT_EQ(Shown(), kDownOn);
  button->SetButtonState(rlbUpOff);
  button->SetEnabled(true);
  EXPECT_EQ(Shown(), kUpOff);
}

TEST_F(LEDButtonTest, ADisabledButtonWithoutDisabledImagesShowsTheNormalOnes) {
  button->SetEnabled(false);
  EXPECT_EQ(Shown(), kUpOff);
  ui.window->PressPointer(20, 20);  // the form does not deliver it
  EXPECT_EQ(button->ButtonState(), rlbUpOff);
}

TEST_F(LEDButtonTest, AStateWithoutAnImageShowsTheParent) {
  button->SetUpOn(nullptr);
  button->SetButtonState(rlbUpOn);
  EXPECT_EQ(Shown(), ColourToRGB(0x202020));
}

}  // namespace
