// A picture larger than the screen: the window is cut at the desktop, both
// scroll bars appear, and keys and scroll messages move the view. Also
// stopping a long plot, which brings back the previous view's title.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "files_e2e_support.h"
#include "picture_checks.h"
#include "res/resource.h"
#include "zirn_driver.h"

namespace {

using e2e::Picture;
using e2e::ZirnProcess;

constexpr const char* kFirstPlotTitle = "Mandel  (x=-2 y=-2 h=4) 400x400";
constexpr const char* kLargePlotTitle = "Mandel  (x=-2 y=-2 h=4) 2000x1500";
constexpr int kLargeWidth = 2000;
constexpr int kLargeHeight = 1500;
constexpr int kLargeLimit = 24;  // a low limit keeps the large plot short

// Opens the size dialog and starts a 2000 x 1500 plot with the low limit.
void StartLargePlot(const ZirnProcess& zirn) {
  zirn.PostCommand(IDM_SIZE_DIALOG);
  const e2e::DialogWindow dialog = zirn.WaitForDialog();
  ASSERT_TRUE(dialog.Found());
  dialog.SetItemText(IDC_SIZE_X, std::to_string(kLargeWidth));
  dialog.SetItemText(IDC_SIZE_Y, std::to_string(kLargeHeight));
  dialog.SetItemText(IDC_SIZE_LIMIT, std::to_string(kLargeLimit));
  dialog.Press(IDOK);
  ASSERT_TRUE(dialog.WaitClosed());
}

bool IsProgressTitle(const std::string& title) {
  int done = -1;
  int total = -1;
  return std::sscanf(title.c_str(), "%d / %d", &done, &total) == 2 && total == kLargeHeight;
}

Picture LargePicture() {
  PlotRecord record;
  ResetView(record);
  record.sizeX = kLargeWidth;
  record.sizeY = record.shownSizeY = kLargeHeight;
  record.limit = kLargeLimit;
  return e2e::CorePicture(record);
}

class LargePictureE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(zirn_.Launch());
    zirn_.PostCommand(IDM_START);
    ASSERT_TRUE(zirn_.WaitForTitle(kFirstPlotTitle));
  }

  // Waits until the client area shows the picture from (x, y) on. (Another
  // process cannot read the scroll positions under Wine; the pixels tell.)
  void ExpectViewAt(int x, int y) {
    Picture shown;
    EXPECT_TRUE(e2e::WaitUntil([&] {
      return e2e::ShowsAt(shown = zirn_.CaptureClient(), expected_, x, y);
    })) << e2e::DescribeDifference(shown, expected_, x, y);
  }

  ZirnProcess zirn_;
  Picture expected_;
};

TEST_F(LargePictureE2e, StopDuringTheLongPlotBringsBackThePreviousTitle) {
  e2e_files::TestFolder folder;
  const std::string slow = folder.File("slow.PMF");
  ASSERT_TRUE(e2e_files::WriteText(slow, e2e_files::SlowPlotText(" X2000 Y1500")));
  ASSERT_TRUE(e2e_files::DropFiles(zirn_, {slow}));
  ASSERT_TRUE(zirn_.WaitForTitleMatching(IsProgressTitle)) << zirn_.Title();
  zirn_.PostCommand(IDM_STOP);
  // The file's name stays in front of the restored view's title.
  EXPECT_TRUE(zirn_.WaitForTitle(std::string("slow.PMF ") + kFirstPlotTitle)) << zirn_.Title();
  EXPECT_FALSE(zirn_.HasHorizontalBar());
}

TEST_F(LargePictureE2e, WindowIsCutAtTheDesktopAndKeysScrollThePicture) {
  StartLargePlot(zirn_);
  expected_ = LargePicture();
  ASSERT_TRUE(zirn_.WaitForTitle(kLargePlotTitle, 60000)) << zirn_.Title();
  ASSERT_TRUE(zirn_.HasHorizontalBar());
  ASSERT_TRUE(zirn_.HasVerticalBar());
  const RECT client = zirn_.ClientRect();
  ASSERT_LT(client.right, kLargeWidth);
  ASSERT_LT(client.bottom, kLargeHeight);
  ExpectViewAt(0, 0);

  const int page = client.right / 2 + 1;
  const int line = client.right / 16 + 1;
  const int verticalPage = client.bottom / 2 + 1;
  zirn_.PostKey(VK_END);  // a page to the right
  ExpectViewAt(page, 0);
  zirn_.PostKey(VK_NEXT);  // a page down
  ExpectViewAt(page, verticalPage);
  zirn_.PostKey(VK_RIGHT);
  ExpectViewAt(page + line, verticalPage);
  zirn_.PostKey(VK_HOME);  // a page to the left, not to the start
  ExpectViewAt(line, verticalPage);

  // Dragging the thumb past the end stops at the end of the range, where the
  // picture's right edge meets the client area's.
  zirn_.PostScroll(WM_HSCROLL, SB_THUMBTRACK, 1999);
  ExpectViewAt(kLargeWidth - client.right, verticalPage);
  zirn_.PostKey(VK_UP);
  ExpectViewAt(kLargeWidth - client.right, verticalPage - (client.bottom / 16 + 1));
}

}  // namespace
