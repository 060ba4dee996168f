// The application shell end to end: start-up picture, menus, the first plot,
// stopping and closing during a plot, unknown commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "picture_checks.h"
#include "res/resource.h"
#include "zirn_driver.h"

namespace {

using e2e::Picture;
using e2e::Rgb;
using e2e::ZirnProcess;

constexpr const char* kFirstPlotTitle = "Mandel  (x=-2 y=-2 h=4) 400x400";
constexpr uint32_t kBackground = Rgb(0, 0, 51);
constexpr uint32_t kStartupBlue = Rgb(0, 17, 102);
constexpr uint32_t kStartupWhite = Rgb(255, 238, 221);
constexpr int kStartupWidth = 365;
constexpr int kStartupHeight = 95;

// -1: not in the attached menu (the reduced menu while a plot runs).
bool Greyed(const ZirnProcess& zirn, int item) {
  const int state = zirn.MenuItemState(item);
  return state != -1 && (state & MF_GRAYED) != 0;
}
bool Checked(const ZirnProcess& zirn, int item) {
  const int state = zirn.MenuItemState(item);
  return state != -1 && (state & MF_CHECKED) != 0;
}

// The start-up picture: its blue block centred on the dark-blue background,
// with near-white letters inside it.
bool StartupPictureCentred(const Picture& p) {
  if (p.width < kStartupWidth + 2 || p.height < kStartupHeight + 2) return false;
  const int left = (p.width - kStartupWidth) / 2;
  const int top = (p.height - kStartupHeight) / 2;
  const int right = left + kStartupWidth - 1;
  const int bottom = top + kStartupHeight - 1;
  const bool edges = p.At(left, top) == kStartupBlue && p.At(right, bottom) == kStartupBlue &&
                     p.At(left - 1, top) == kBackground && p.At(right + 1, bottom) == kBackground &&
                     p.At(left, top - 1) == kBackground && p.At(right, bottom + 1) == kBackground;
  return edges && e2e::CountColour(p, kStartupWhite, left, top, right, bottom) > 500 &&
         e2e::CountColour(p, kStartupWhite, 0, 0, p.width - 1, p.height - 1) ==
             e2e::CountColour(p, kStartupWhite, left, top, right, bottom);
}

TEST(ShellE2e, StartsWithTheStartupPictureCentredAndImageItemsGreyed) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  EXPECT_EQ(zirn.Title(), "Zirn");
  Picture shown;
  EXPECT_TRUE(e2e::WaitUntil([&] { return StartupPictureCentred(shown = zirn.CaptureClient()); }))
      << "client " << shown.width << "x" << shown.height;

  for (int item : {IDM_SAVE_BMP, IDM_COPY_BITMAP, IDM_SCROLLBAR_TOOL, IDM_KEYBOARD_TOOL,
                   IDM_SAVE_PMF, IDM_REPLOT, IDM_FLIP, IDM_JULIA_START_VALUE}) {
    EXPECT_TRUE(Greyed(zirn, item)) << item;
  }
  EXPECT_FALSE(Greyed(zirn, IDM_START));
  EXPECT_TRUE(Checked(zirn, IDM_REAL));
  EXPECT_FALSE(Checked(zirn, IDM_INTEGER));
  EXPECT_TRUE(Checked(zirn, IDM_BLOCK_CURSOR));
}

TEST(ShellE2e, FirstPlotShowsTheCoreImageInAWindowFittedToIt) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  zirn.PostCommand(IDM_START);
  ASSERT_TRUE(zirn.WaitForTitle(kFirstPlotTitle)) << zirn.Title();

  const RECT client = zirn.ClientRect();
  // The window is sized from the system metrics; the menu bar's border line
  // counted in them may leave one spare row, never a short one.
  EXPECT_EQ(client.right, 400);
  EXPECT_GE(client.bottom, 400);
  EXPECT_LE(client.bottom, 401);
  EXPECT_FALSE(zirn.HasHorizontalBar());
  EXPECT_FALSE(zirn.HasVerticalBar());

  const Picture expected = e2e::DefaultViewPicture();
  Picture shown;
  EXPECT_TRUE(e2e::WaitUntil([&] {
    return e2e::ShowsAt(shown = zirn.CaptureClient(), expected, 0, 0);
  })) << e2e::DescribeDifference(shown, expected, 0, 0);

  EXPECT_FALSE(Greyed(zirn, IDM_SAVE_BMP));
  EXPECT_FALSE(Greyed(zirn, IDM_SAVE_PMF));
  EXPECT_FALSE(Greyed(zirn, IDM_REPLOT));
  EXPECT_TRUE(Greyed(zirn, IDM_FLIP));  // one view in the history
  EXPECT_TRUE(Greyed(zirn, IDM_JULIA_START_VALUE));
}

TEST(ShellE2e, UnknownCommandsAreRefusedWithAMessage) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  for (int id : {150, 250}) {
    zirn.PostCommand(id);
    const e2e::DialogWindow box = zirn.WaitForMessageBox();
    ASSERT_TRUE(box.Found()) << id;
    EXPECT_EQ(box.MessageText(), "このコマンドは、実行できません。");
    EXPECT_EQ(box.Caption(), "Zirn");
    box.Press(IDOK);
    EXPECT_TRUE(box.WaitClosed());
  }
  EXPECT_EQ(zirn.Title(), "Zirn");
}

TEST(ShellE2e, PasteItemsFollowTheClipboardText) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  ASSERT_TRUE(e2e::EmptyClipboardContents());
  EXPECT_TRUE(Greyed(zirn, IDM_PASTE_PARAMETERS));
  EXPECT_TRUE(Greyed(zirn, IDM_PASTE_PALETTE));
  ASSERT_TRUE(e2e::WriteClipboardText("any text"));
  EXPECT_FALSE(Greyed(zirn, IDM_PASTE_PARAMETERS));
  EXPECT_FALSE(Greyed(zirn, IDM_PASTE_PALETTE));
  e2e::EmptyClipboardContents();
}

TEST(ShellE2e, ResizingRecentresTheStartupPictureOrPinsItToTheCorner) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  zirn.Resize(520, 330);
  Picture shown;
  EXPECT_TRUE(e2e::WaitUntil([&] {
    shown = zirn.CaptureClient();
    return shown.width < 520 && StartupPictureCentred(shown);
  })) << "client "
      << shown.width << "x" << shown.height;

  // Smaller than the picture: drawn from the client area's top-left corner.
  zirn.Resize(300, 150);
  EXPECT_TRUE(e2e::WaitUntil([&] {
    shown = zirn.CaptureClient();
    return shown.width > 0 && shown.width < kStartupWidth && shown.At(0, 0) == kStartupBlue;
  })) << "client "
      << shown.width << "x" << shown.height;
}

TEST(ShellE2e, AboutBoxShowsTheVersionAndClosesWithOk) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  zirn.PostCommand(IDM_ABOUT);
  const e2e::DialogWindow about = zirn.WaitForDialog();
  ASSERT_TRUE(about.Found());
  EXPECT_EQ(about.Caption(), "Zirn");
  const std::vector<std::string> texts = about.ControlTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Zirn  Ver. 3.05"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "OK"), texts.end());
  about.Press(IDOK);
  EXPECT_TRUE(about.WaitClosed());
  EXPECT_TRUE(zirn.Running());
}

// A command posted right behind Start is taken by the plot's first message
// step, so these plots end at their first line whatever the machine's speed.
TEST(ShellE2e, StopDuringAPlotRestoresThePreviousView) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  zirn.PostCommand(IDM_START);
  ASSERT_TRUE(zirn.WaitForTitle(kFirstPlotTitle));
  zirn.PostCommand(IDM_START);
  zirn.PostCommand(IDM_STOP);
  // Posted last, so its check mark shows that the two before it were handled.
  zirn.PostCommand(IDM_INTEGER);
  ASSERT_TRUE(e2e::WaitUntil([&] { return Checked(zirn, IDM_INTEGER); }));
  EXPECT_EQ(zirn.Title(), kFirstPlotTitle);
  // A completed plot would have enabled Flip; the stopped start dropped the older view.
  EXPECT_TRUE(Greyed(zirn, IDM_FLIP));
  EXPECT_FALSE(Greyed(zirn, IDM_REPLOT));
  EXPECT_TRUE(zirn.Running());
}

TEST(ShellE2e, ExitOrPostedCloseDuringAPlotEndsTheProgramWithCodeZero) {
  for (bool useExit : {true, false}) {
    ZirnProcess zirn;
    ASSERT_TRUE(zirn.Launch());
    zirn.PostCommand(IDM_START);
    if (useExit) {
      zirn.PostCommand(IDM_EXIT);
    } else {
      zirn.PostClose();
    }
    DWORD exitCode = 99;
    ASSERT_TRUE(zirn.WaitForExit(&exitCode)) << (useExit ? "exit" : "close");
    EXPECT_EQ(exitCode, 0u);
  }
}

// Starts a plot and uses the close box during it; returns the question.
e2e::DialogWindow CloseBoxDuringAPlot(const ZirnProcess& zirn) {
  zirn.PostCommand(IDM_START);
  zirn.PostCloseBox();
  return zirn.WaitForMessageBox();
}

TEST(ShellE2e, CloseBoxDuringAPlotAsksAndCancelLetsThePlotFinish) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  const e2e::DialogWindow question = CloseBoxDuringAPlot(zirn);
  ASSERT_TRUE(question.Found());
  EXPECT_EQ(question.MessageText(), "終了しますか？");
  EXPECT_EQ(question.Caption(), "Zirn");
  question.Press(IDCANCEL);
  EXPECT_TRUE(zirn.WaitForTitle(kFirstPlotTitle)) << zirn.Title();
  EXPECT_TRUE(zirn.Running());

  // Without a plot the close box closes at once.
  zirn.PostCloseBox();
  DWORD exitCode = 99;
  ASSERT_TRUE(zirn.WaitForExit(&exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST(ShellE2e, CloseBoxDuringAPlotAnsweredOkEndsThePlotAndTheProgram) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  const e2e::DialogWindow question = CloseBoxDuringAPlot(zirn);
  ASSERT_TRUE(question.Found());
  // Answered only once every line is done: the plot then ends without
  // another message step, and OK must close the window all the same.
  ASSERT_TRUE(zirn.WaitForTitle("400 / 400")) << zirn.Title();
  question.Press(IDOK);
  DWORD exitCode = 99;
  ASSERT_TRUE(zirn.WaitForExit(&exitCode));
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
