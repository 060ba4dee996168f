// The commands end to end: the parameter, size and command dialogs and the
// plots they ask for, Replot and Flip, integer mode's refusal, and the
// information reports.
#include <gtest/gtest.h>

#include <string>

#include "picture_checks.h"
#include "res/resource.h"
#include "zirn_driver.h"

namespace {

using e2e::DialogWindow;
using e2e::ZirnProcess;

constexpr const char* kWholeViewTitle = "Mandel  (x=-2 y=-2 h=4) 400x400";

bool FlipEnabled(const ZirnProcess& zirn) {
  const int state = zirn.MenuItemState(IDM_FLIP);
  return state != -1 && (state & MF_GRAYED) == 0;
}

ZirnProcess* LaunchWithFirstPlot(ZirnProcess& zirn) {
  if (!zirn.Launch()) return nullptr;
  zirn.PostCommand(IDM_START);
  return zirn.WaitForTitle(kWholeViewTitle) ? &zirn : nullptr;
}

// Opens the dialog of a command and waits until it shows its title.
DialogWindow OpenDialog(const ZirnProcess& zirn, int command, const std::string& caption) {
  zirn.PostCommand(command);
  DialogWindow dialog = zirn.WaitForDialog();
  e2e::WaitUntil([&] { return dialog.Caption() == caption; });
  return dialog;
}

// Shows a report or message box, returns its text and closes it.
std::string TakeMessage(const ZirnProcess& zirn, const std::string& expectedCaption) {
  const DialogWindow box = zirn.WaitForMessageBox();
  if (!box.Found()) return "(no message box)";
  EXPECT_EQ(box.Caption(), expectedCaption);
  const std::string text = box.MessageText();
  box.Press(IDOK);
  EXPECT_TRUE(box.WaitClosed());
  return text;
}

std::string Report(const ZirnProcess& zirn, int command, const std::string& caption) {
  zirn.PostCommand(command);
  return TakeMessage(zirn, caption);
}

// The region fields of the corner and centre dialogs, top to bottom.
std::string RegionFields(const DialogWindow& dialog) {
  std::string fields;
  for (int id : {IDC_PARAM_X, IDC_PARAM_Y, IDC_PARAM_HEIGHT, IDC_PARAM_JULIA_R, IDC_PARAM_JULIA_I,
                 IDC_PARAM_LIMIT}) {
    fields += "[" + dialog.ItemText(id) + "]";
  }
  return fields;
}

bool WaitForFields(const DialogWindow& dialog, const std::string& fields) {
  return e2e::WaitUntil([&] { return RegionFields(dialog) == fields; });
}

void PostKeyTo(HWND control, int virtualKey) {
  PostMessageW(control, WM_KEYDOWN, virtualKey, 1);
  PostMessageW(control, WM_KEYUP, virtualKey, 0xC0000001);
}

void TypeInto(HWND control, const std::string& text) {
  for (char c : text) PostMessageW(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

TEST(CommandsE2e, CornerDialogShowsTheRegionAndItsWholeViewButton) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  DialogWindow dialog = OpenDialog(zirn, IDM_LOWER_LEFT_DIALOG, "パラメータ入力  左下座標");
  ASSERT_TRUE(dialog.Found());
  EXPECT_TRUE(WaitForFields(dialog, "[-2][-2][4][][][100]")) << RegionFields(dialog);
  dialog.SetItemText(IDC_PARAM_X, "-1");
  dialog.SetItemText(IDC_PARAM_Y, "-1");
  dialog.SetItemText(IDC_PARAM_HEIGHT, "2");
  dialog.SetItemText(IDC_PARAM_JULIA_R, "0.3");
  dialog.Press(IDOK);
  EXPECT_TRUE(dialog.WaitClosed());
  // "r 0.3i " with an empty imaginary part: a Julia set with constant 0.3.
  ASSERT_TRUE(zirn.WaitForTitle("Julia  (x=-1 y=-1 h=2) 400x400")) << zirn.Title();

  dialog = OpenDialog(zirn, IDM_LOWER_LEFT_DIALOG, "パラメータ入力  左下座標");
  EXPECT_TRUE(WaitForFields(dialog, "[-1][-1][2][0.3][0][100]")) << RegionFields(dialog);
  dialog.Press(IDC_PARAM_WHOLE_VIEW);
  EXPECT_TRUE(WaitForFields(dialog, "[-2][-2][4][][][100]")) << RegionFields(dialog);
  dialog.Press(IDOK);
  EXPECT_TRUE(zirn.WaitForTitle(kWholeViewTitle)) << zirn.Title();
}

TEST(CommandsE2e, CentreDialogTurnsTheCentreBackIntoTheCorner) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  DialogWindow size = OpenDialog(zirn, IDM_SIZE_DIALOG, "画像サイズと描画オプション");
  ASSERT_TRUE(size.Found());
  size.SetItemText(IDC_SIZE_X, "640");
  size.SetItemText(IDC_SIZE_Y, "480");
  size.Press(IDOK);
  ASSERT_TRUE(zirn.WaitForTitle("Mandel  (x=-2 y=-2 h=4) 640x480")) << zirn.Title();

  DialogWindow centre = OpenDialog(zirn, IDM_CENTRE_DIALOG, "パラメータ入力  中心座標");
  ASSERT_TRUE(centre.Found());
  EXPECT_TRUE(WaitForFields(centre, "[0.666666666666667][0][4][][][100]")) << RegionFields(centre);
  centre.Press(IDOK);
  // The same corner again, as a second plot.
  EXPECT_TRUE(e2e::WaitUntil([&] { return FlipEnabled(zirn); }));
  EXPECT_EQ(zirn.Title(), "Mandel  (x=-2 y=-2 h=4) 640x480");

  centre = OpenDialog(zirn, IDM_CENTRE_DIALOG, "パラメータ入力  中心座標");
  centre.Press(IDC_PARAM_WHOLE_VIEW);
  EXPECT_TRUE(WaitForFields(centre, "[0][0][4][][][100]")) << RegionFields(centre);
  centre.Press(IDOK);
  EXPECT_TRUE(zirn.WaitForTitle("Mandel  (x=-2.66667 y=-2 h=4) 640x480")) << zirn.Title();
}

TEST(CommandsE2e, SizeDialogRecoloursForANewMethodAndComputesForANewSize) {
  ZirnProcess zirn;
  ASSERT_NE(LaunchWithFirstPlot(zirn), nullptr);
  DialogWindow dialog = OpenDialog(zirn, IDM_SIZE_DIALOG, "画像サイズと描画オプション");
  ASSERT_TRUE(dialog.Found());
  EXPECT_EQ(dialog.ItemText(IDC_SIZE_X), " 400");
  EXPECT_EQ(dialog.ItemText(IDC_SIZE_Y), " 400");
  EXPECT_EQ(dialog.ItemText(IDC_SIZE_LIMIT), " 100");
  HWND methods = GetDlgItem(dialog.Handle(), IDC_SIZE_METHOD);
  EXPECT_EQ(SendMessageW(methods, LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(methods, LB_GETCURSEL, 0, 0), 0);
  SendMessageW(methods, LB_SETCURSEL, 2, 0);  // "linear"
  dialog.Press(IDOK);

  PlotRecord linear;
  linear.colourMethod = 3;
  const e2e::Picture expected = e2e::CorePicture(linear);
  e2e::Picture shown;
  EXPECT_TRUE(e2e::WaitUntil([&] {
    return e2e::ShowsAt(shown = zirn.CaptureClient(), expected, 0, 0);
  })) << e2e::DescribeDifference(shown, expected, 0, 0);
  EXPECT_EQ(zirn.Title(), kWholeViewTitle);
  EXPECT_FALSE(FlipEnabled(zirn));  // re-coloured, not computed: still one view

  dialog = OpenDialog(zirn, IDM_SIZE_DIALOG, "画像サイズと描画オプション");
  EXPECT_EQ(SendMessageW(GetDlgItem(dialog.Handle(), IDC_SIZE_METHOD), LB_GETCURSEL, 0, 0), 2);
  dialog.SetItemText(IDC_SIZE_X, "320");
  dialog.Press(IDOK);
  EXPECT_TRUE(zirn.WaitForTitle("Mandel  (x=-2 y=-2 h=4) 320x400")) << zirn.Title();
  EXPECT_TRUE(FlipEnabled(zirn));
}

TEST(CommandsE2e, FlipShowsThePreviousViewAndFlipAgainTheNewer) {
  ZirnProcess zirn;
  ASSERT_NE(LaunchWithFirstPlot(zirn), nullptr);
  DialogWindow dialog = OpenDialog(zirn, IDM_LOWER_LEFT_DIALOG, "パラメータ入力  左下座標");
  ASSERT_TRUE(dialog.Found());
  dialog.SetItemText(IDC_PARAM_X, "-1");
  dialog.SetItemText(IDC_PARAM_Y, "-1");
  dialog.SetItemText(IDC_PARAM_HEIGHT, "2");
  dialog.Press(IDOK);
  const std::string second = "Mandel  (x=-1 y=-1 h=2) 400x400";
  ASSERT_TRUE(zirn.WaitForTitle(second)) << zirn.Title();

  zirn.PostCommand(IDM_FLIP);
  EXPECT_TRUE(zirn.WaitForTitle(kWholeViewTitle)) << zirn.Title();
  const e2e::Picture first = e2e::DefaultViewPicture();
  e2e::Picture shown;
  EXPECT_TRUE(e2e::WaitUntil([&] {
    return e2e::ShowsAt(shown = zirn.CaptureClient(), first, 0, 0);
  })) << e2e::DescribeDifference(shown, first, 0, 0);
  zirn.PostCommand(IDM_FLIP);
  EXPECT_TRUE(zirn.WaitForTitle(second)) << zirn.Title();
  EXPECT_TRUE(FlipEnabled(zirn));
}

TEST(CommandsE2e, EscClosesTheCoordinateAndSizeDialogsButNotTheCommandDialog) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  const struct {
    int command;
    const char* caption;
    int edit;
  } closing[] = {{IDM_LOWER_LEFT_DIALOG, "パラメータ入力  左下座標", IDC_PARAM_X},
                 {IDM_CENTRE_DIALOG, "パラメータ入力  中心座標", IDC_PARAM_X},
                 {IDM_SIZE_DIALOG, "画像サイズと描画オプション", IDC_SIZE_X}};
  for (const auto& kind : closing) {
    const DialogWindow dialog = OpenDialog(zirn, kind.command, kind.caption);
    ASSERT_TRUE(dialog.Found()) << kind.caption;
    PostKeyTo(GetDlgItem(dialog.Handle(), kind.edit), VK_ESCAPE);
    EXPECT_TRUE(dialog.WaitClosed()) << kind.caption;
  }

  const DialogWindow command = OpenDialog(zirn, IDM_COMMAND_DIALOG, "Command");
  ASSERT_TRUE(command.Found());
  HWND edit = GetDlgItem(command.Handle(), IDC_COMMAND_TEXT);
  PostKeyTo(edit, VK_ESCAPE);
  // Typed after the Esc: once the text is there, the Esc has been handled.
  TypeInto(edit, "n 50g ");
  EXPECT_TRUE(e2e::WaitUntil([&] { return command.ItemText(IDC_COMMAND_TEXT) == "n 50g "; }));
  EXPECT_TRUE(IsWindowVisible(command.Handle()));
  command.Press(IDOK);
  EXPECT_TRUE(command.WaitClosed());
  ASSERT_TRUE(zirn.WaitForTitle(kWholeViewTitle)) << zirn.Title();
  EXPECT_NE(Report(zirn, IDM_MODE_INFO, "Mode Info.").find("limit :   50\n"), std::string::npos);
}

TEST(CommandsE2e, CommandDialogWithoutStartKeyOnlyStagesItsValues) {
  ZirnProcess zirn;
  ASSERT_NE(LaunchWithFirstPlot(zirn), nullptr);
  DialogWindow command = OpenDialog(zirn, IDM_COMMAND_DIALOG, "Command");
  ASSERT_TRUE(command.Found());
  TypeInto(GetDlgItem(command.Handle(), IDC_COMMAND_TEXT), "x -1y -1h 2");
  EXPECT_TRUE(e2e::WaitUntil([&] { return command.ItemText(IDC_COMMAND_TEXT) == "x -1y -1h 2"; }));
  command.Press(IDOK);
  EXPECT_TRUE(command.WaitClosed());
  zirn.PostCommand(IDM_START);
  EXPECT_TRUE(zirn.WaitForTitle("Mandel  (x=-1 y=-1 h=2) 400x400")) << zirn.Title();

  // Its own Cancel button closes it without effect.
  command = OpenDialog(zirn, IDM_COMMAND_DIALOG, "Command");
  command.Press(IDC_COMMAND_CANCEL);
  EXPECT_TRUE(command.WaitClosed());
}

TEST(CommandsE2e, IntegerModeRefusesATooFineRegionAndKeepsThePicture) {
  ZirnProcess zirn;
  ASSERT_NE(LaunchWithFirstPlot(zirn), nullptr);
  zirn.PostCommand(IDM_INTEGER);
  // The setting for the next plot, although the picture was computed in reals.
  EXPECT_EQ(Report(zirn, IDM_MODE_INFO, "Mode Info."),
            "mode  : Mandelbrot 32 bit integer 386 code\n"
            "size  : X 400, Y 400\n"
            "limit :   100\n"
            "upper :   100\n"
            "lower :   0\n"
            "plot  : 64 bit real (NDP)\n");

  DialogWindow dialog = OpenDialog(zirn, IDM_LOWER_LEFT_DIALOG, "パラメータ入力  左下座標");
  ASSERT_TRUE(dialog.Found());
  dialog.SetItemText(IDC_PARAM_HEIGHT, "1e-9");
  dialog.Press(IDOK);
  ASSERT_TRUE(dialog.WaitClosed());
  EXPECT_EQ(TakeMessage(zirn, "Zirn"), "この領域は整数モードでは演算できません");
  EXPECT_TRUE(zirn.WaitForTitle(kWholeViewTitle)) << zirn.Title();
  EXPECT_FALSE(FlipEnabled(zirn));
  EXPECT_EQ(Report(zirn, IDM_TIMER_INFO, "Timer Info."),
            "計算／処理時間 : 0 [msec]\nﾋﾞｯﾄﾏｯﾌﾟ作成 : 0 [msec]");
  const e2e::Picture expected = e2e::DefaultViewPicture();
  e2e::Picture shown;
  EXPECT_TRUE(e2e::WaitUntil([&] {
    return e2e::ShowsAt(shown = zirn.CaptureClient(), expected, 0, 0);
  })) << e2e::DescribeDifference(shown, expected, 0, 0);
}

TEST(CommandsE2e, ReportsBeforeAndAfterAPlot) {
  ZirnProcess zirn;
  ASSERT_TRUE(zirn.Launch());
  EXPECT_EQ(Report(zirn, IDM_TIMER_INFO, "Timer Info."),
            "計算／処理時間 : 0 [msec]\nﾋﾞｯﾄﾏｯﾌﾟ作成 : 0 [msec]");
  zirn.PostCommand(IDM_START);
  ASSERT_TRUE(zirn.WaitForTitle(kWholeViewTitle)) << zirn.Title();
  EXPECT_EQ(Report(zirn, IDM_MODE_INFO, "Mode Info."),
            "mode  : Mandelbrot 64 bit real (NDP) \n"
            "size  : X 400, Y 400\n"
            "limit :   100\n"
            "upper :   100\n"
            "lower :   0\n"
            "plot  : 64 bit real (NDP)\n");
  const std::string timer = Report(zirn, IDM_TIMER_INFO, "Timer Info.");
  EXPECT_EQ(timer.rfind("計算／処理時間 : ", 0), 0u) << timer;
  EXPECT_NE(timer.find(" [msec]\nﾋﾞｯﾄﾏｯﾌﾟ作成 : "), std::string::npos) << timer;
}

}  // namespace
