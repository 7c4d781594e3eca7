// The X11 window under a real server (Xvfb): a plain form with a knob and
// LED buttons embedded in a test host's window, driven by real pointer input
// through XTest and read back with XGetImage.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>

#include "controls/RubberKnob.h"
#include "controls/RubberLEDButton.h"
#include "platform/Form.h"
#include "platform/Screen.h"
#include "platform/x11/X11Screen.h"
#include "platform/x11/X11Window.h"
#include "tests/platform/x11/XTestHost.h"
#include "tests/support/ControlsTestSupport.h"

extern char** environ;

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// The editor's places: the Rate knob and the Haas button. Clicks, drags and
// automation through the whole editor are the plug-in's tests
// (tests/plugin_x11); these are the window's own cases.
constexpr int kRateX = 384, kRateY = 101;
constexpr TRect kRateBounds{332, 49, 436, 153};
constexpr int kHaasX = 395, kButtonY = 215;

class X11WindowTest : public ::testing::Test {
 protected:
  X11WindowTest() {
    SetNativeWindowFactory(X11WindowFactory());
    form.SetClientSize(560, 291);
    form.SetColour(0x604830);
    rate = new TRubberKnob(&form);
    rate->SetBounds(332, 49, 104, 104);
    rate->SetParent(&form);
    rate->SetDiameter(52);
    rate->SetDotRadius(12);
    rate->SetMainImage(MakeImage(form, BodyBitmap(56, 0x30A030)));
    rate->SetDotImage(MakeImage(form, DotBitmap(6, 0x2020F0), true));
    rate->OnChange = [this](TComponent*) { ++changes; };
    haas = new TRubberLEDButton(&form);
    haas->SetBounds(375, 191, 40, 48);
    haas->SetParent(&form);
    haas->SetUpOff(MakeImage(form, SolidBitmap(38, 45, 0x101010)));
    haas->SetUpOn(MakeImage(form, SolidBitmap(38, 45, 0x1010F0)));
    top = host.CreateTopLevel(100, 100, 600, 400);
  }

  ~X11WindowTest() override {
    Lock lock(form.EventMutex());
    form.Detach();
  }

  bool Open(Window parent) {
    Lock lock(form.EventMutex());
    if (!form.AttachTo(reinterpret_cast<void*>(parent))) return false;
    form.Show();
    form.BringToFront();
    return true;
  }

  Window Editor(Window parent) {
    const std::vector<Window> children = host.Children(parent);
    return children.size() == 1 ? children[0] : 0;
  }

  // Opens and waits until the server shows the form's finished pixels.
  Window OpenShown(Window parent) {
    EXPECT_TRUE(Open(parent));
    const Window editor = Editor(parent);
    EXPECT_TRUE(xhost::WaitFor([&] { return host.Viewable(editor) && host.Capture(editor) == BackBuffer(); }));
    return editor;
  }

  template <class T, class F>
  T Locked(F read) {
    Lock lock(form.EventMutex());
    return read();
  }
  float RateValue() {
    return Locked<float>([&] { return rate->Value(); });
  }
  int Changes() {
    return Locked<int>([&] { return changes; });
  }
  TBitmap BackBuffer() {
    return Locked<TBitmap>([&] { return form.BackBuffer(); });
  }

  xhost::THost host;
  TForm form;
  TRubberKnob* rate = nullptr;
  TRubberLEDButton* haas = nullptr;
  int changes = 0;
  Window top = 0;
};

TEST_F(X11WindowTest, OpensAsAChildOfTheHostsWindowAndMovesToAnother) {
  ASSERT_TRUE(Open(top));
  const Window editor = Editor(top);
  ASSERT_NE(editor, 0u);
  const XWindowAttributes attributes = host.Attributes(editor);
  EXPECT_EQ(attributes.x, 0);
  EXPECT_EQ(attributes.y, 0);
  EXPECT_EQ(attributes.width, 560);
  EXPECT_EQ(attributes.height, 291);
  EXPECT_TRUE(xhost::WaitFor([&] { return host.Viewable(editor); }));
  EXPECT_EQ(form.ParentWindow(), reinterpret_cast<void*>(top));
  EXPECT_NE(form.NativeWindow()->WindowThread(), std::this_thread::get_id());

  {
    Lock lock(form.EventMutex());
    form.Detach();
  }
  EXPECT_TRUE(host.Children(top).empty());
  const Window other = host.CreateTopLevel(720, 100, 600, 400);
  ASSERT_TRUE(Open(other));
  EXPECT_TRUE(host.Children(top).empty());
  EXPECT_NE(Editor(other), 0u);
  EXPECT_TRUE(Open(top));  // straight from one host window into another
  EXPECT_TRUE(host.Children(other).empty());
  EXPECT_NE(Editor(top), 0u);
}

TEST_F(X11WindowTest, RefusesParentsThatAreNoWindows) {
  const Window gone = host.CreateTopLevel(0, 0, 10, 10);
  host.Destroy(gone);
  EXPECT_FALSE(Open(gone));
  EXPECT_FALSE(Open(0x3FFFFFFF));
  EXPECT_EQ(form.NativeWindow(), nullptr);
  EXPECT_TRUE(Open(top));  // and nothing of it lingers
}

TEST_F(X11WindowTest, ShowsTheFormsBackBufferWithAndWithoutSharedMemory) {
  for (const bool shared : {true, false}) {
    SCOPED_TRACE(shared ? "shared memory" : "over the connection");
    {
      Lock lock(form.EventMutex());
      form.SetNativeWindow(CreateX11Window(form, reinterpret_cast<void*>(top), TX11WindowOptions{shared}));
      ASSERT_NE(form.NativeWindow(), nullptr);
      form.Show();
      rate->SetValue(0.1f);
    }
    const Window editor = Editor(top);
    EXPECT_TRUE(xhost::WaitFor([&] { return host.Viewable(editor) && host.Capture(editor) == BackBuffer(); }));
    const TBitmap before = host.Capture(editor, kRateBounds);
    {
      Lock lock(form.EventMutex());
      rate->SetValue(0.9f);  // only the dot moves: a partial update
    }
    EXPECT_TRUE(xhost::WaitFor([&] { return !(host.Capture(editor, kRateBounds) == before); }));
    EXPECT_TRUE(xhost::WaitFor([&] { return host.Capture(editor) == BackBuffer(); }));
    // Hidden and shown again by the host: the server keeps nothing, the
    // window repaints what it is told was exposed.
    host.Unmap(top);
    host.Map(top);
    EXPECT_TRUE(xhost::WaitFor([&] { return host.Viewable(editor) && host.Capture(editor) == BackBuffer(); }));
    Lock lock(form.EventMutex());
    form.Detach();
  }
}

TEST_F(X11WindowTest, LosingTheGrabEndsTheDrag) {
  const Window editor = OpenShown(top);
  host.MoveTo(editor, kRateX, kRateY);
  host.Press();
  host.MoveTo(editor, kRateX, kRateY - 30);
  ASSERT_TRUE(xhost::WaitFor([&] { return std::fabs(RateValue() - 0.5f) < 1e-6f; }));
  // The host hides its window: the server ends the grab, no release comes.
  host.Unmap(top);
  EXPECT_TRUE(xhost::WaitFor([&] { return Changes() == 1; }));
  EXPECT_FALSE(Locked<bool>([&] { return rate->Dragging(); }));
  EXPECT_EQ(Locked<TGraphicControl*>([&] { return form.CaptureControl(); }), nullptr);
  host.Release();
}

TEST_F(X11WindowTest, ClosesWhileTheFormIsLockedAndBusy) {
  OpenShown(top);
  std::atomic<bool> moving{true};
  std::thread pointer([&] {
    xhost::THost mover;
    for (int i = 0; moving; ++i) mover.MoveTo(top, 100 + i % 300, 100);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  {
    // Holding the form's lock, as an editor closing safely does: the event
    // thread must give up waiting for it instead of deadlocking the close.
    Lock lock(form.EventMutex());
    form.Detach();
  }
  moving = false;
  pointer.join();
  EXPECT_TRUE(host.Children(top).empty());
}

TEST_F(X11WindowTest, SurvivesAHostThatDestroysItsWindowFirst) {
  OpenShown(top);
  host.Destroy(top);
  {
    Lock lock(form.EventMutex());
    form.Detach();
  }
  const Window other = host.CreateTopLevel(100, 100, 600, 400);
  OpenShown(other);
}

// A second server, killed while the window lives on it.
class TDoomedServer {
 public:
  TDoomedServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string fd = std::to_string(fds[1]);
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp", nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&pid_, "Xvfb", &quiet, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = 0;
    posix_spawn_file_actions_destroy(&quiet);
    close(fds[1]);
    char buffer[16] = {};
    const ssize_t got = read(fds[0], buffer, sizeof buffer - 1);
    close(fds[0]);
    if (got > 0) display_ = ":" + std::to_string(std::atoi(buffer));
  }
  ~TDoomedServer() { Kill(); }
  const std::string& Name() const { return display_; }
  void Kill() {
    if (pid_ == 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  std::string display_;
};

TEST_F(X11WindowTest, SurvivesTheServerGoingAway) {
  // Either the window reads that its server went before it goes, or it is
  // closed first and finds out by writing: a write to a connection whose
  // server is gone raises SIGPIPE, whose default action ends the process.
  for (const bool noticedFirst : {true, false}) {
    SCOPED_TRACE(noticedFirst ? "noticed, then closed" : "closed before anything was read");
    TDoomedServer server;
    ASSERT_FALSE(server.Name().empty());
    const std::string ours = std::getenv("DISPLAY");
    setenv("DISPLAY", server.Name().c_str(), 1);
    // The host's window outlives the host's connection, which must not see
    // the server die: Xlib's default handler would end this process.
    Display* doomed = XOpenDisplay(nullptr);
    ASSERT_NE(doomed, nullptr);
    const Window parent = XCreateSimpleWindow(doomed, DefaultRootWindow(doomed), 0, 0, 600, 400, 0, 0, 0);
    XMapWindow(doomed, parent);
    XSetCloseDownMode(doomed, RetainPermanent);
    XCloseDisplay(doomed);
    const bool opened = Open(parent);
    setenv("DISPLAY", ours.c_str(), 1);
    ASSERT_TRUE(opened);
    if (noticedFirst) {
      server.Kill();
      {
        Lock lock(form.EventMutex());
        rate->SetValue(0.3f);  // a paint for a window whose server is gone
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      Lock lock(form.EventMutex());
      form.Detach();
    } else {
      // Held throughout: the event thread cannot pump, so nothing reads the
      // connection before the window goes.
      Lock lock(form.EventMutex());
      server.Kill();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      form.Detach();
    }
  }
  EXPECT_TRUE(Open(top));  // this process and its other server are fine
}

TEST(X11ScreenDensityTest, TheServersXftDpiOrElseItsSize) {
  xhost::THost host;
  Display* display = host.display();
  XDeleteProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER);
  XSync(display, False);
  const int screen = DefaultScreen(display);
  EXPECT_EQ(X11ScreenPixelsPerInch(),
            PixelsPerInchFromSize(DisplayHeight(display, screen), DisplayHeightMM(display, screen)));
  const std::string resources = "Xft.antialias:\t1\nXft.dpi:\t120\n";
  XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources.data()), static_cast<int>(resources.size()));
  XSync(display, False);
  EXPECT_EQ(X11ScreenPixelsPerInch(), 120);
  X11WindowFactory();
  EXPECT_EQ(ScreenPixelsPerInch(), 120);
  SetPixelsPerInchSource(nullptr);
}

}  // namespace
