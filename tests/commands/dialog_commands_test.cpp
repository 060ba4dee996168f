#include "commands/dialog_commands.h"

#include <gtest/gtest.h>

#include "command_test_fixture.h"
#include "res/resource.h"

namespace {

TEST(CommandForDialogTextTest, OnlyTheSizeDialogRecolours) {
  for (int dialog : {IDM_COMMAND_DIALOG, IDM_LOWER_LEFT_DIALOG, IDM_CENTRE_DIALOG}) {
    EXPECT_EQ(CommandForDialogText(dialog, kEndStart, true), IDM_START);
    EXPECT_EQ(CommandForDialogText(dialog, kEndRecolour, true), 0);
    EXPECT_EQ(CommandForDialogText(dialog, kEndOfText, true), 0);
  }
  EXPECT_EQ(CommandForDialogText(IDM_SIZE_DIALOG, kEndStart, true), IDM_START);
  EXPECT_EQ(CommandForDialogText(IDM_SIZE_DIALOG, kEndRecolour, true), IDM_REPLOT);
  EXPECT_EQ(CommandForDialogText(IDM_SIZE_DIALOG, kEndRecolour, false), IDM_START);
  EXPECT_EQ(CommandForDialogText(IDM_SIZE_DIALOG, kEndOfText, true), 0);
}

using DialogCommandsTest = CommandTest;

TEST_F(DialogCommandsTest, ConfirmedTextIsStagedOnACopyOfTheCurrentRecord) {
  g_commands.current.limit = 500;
  g_commands.current.flags = kFlagLiveDrawing;
  host.dialogEnd = 1;
  host.dialogText = "x -1y -0.5h 1M n 200g ";
  RunLowerLeftDialog(host);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0], ParameterDialog::LowerLeft);
  const PlotRecord& pending = g_commands.pending;
  EXPECT_EQ(pending.pending, 1);
  EXPECT_EQ(pending.x, -1);
  EXPECT_EQ(pending.height, 1);
  EXPECT_EQ(pending.limit, 200);
  EXPECT_EQ(pending.sizeX, 64);
  EXPECT_EQ(pending.flags, kFlagLiveDrawing);
  EXPECT_EQ(g_commands.lastRead.endMode, kEndStart);
  EXPECT_EQ(host.posted, std::vector<int>{IDM_START});
  EXPECT_EQ(g_commands.current.limit, 500);  // the plot on display is untouched
}

TEST_F(DialogCommandsTest, SizeDialogRecoloursOnlyAComputedPicture) {
  host.dialogEnd = 1;
  host.dialogText = "X  64Y  64n  100m 3 z ";
  RunSizeDialog(host);
  g_commands.plotDone = true;
  RunSizeDialog(host);
  EXPECT_EQ(host.posted, (std::vector<int>{IDM_START, IDM_REPLOT}));
  EXPECT_EQ(g_commands.pending.colourMethod, 3);
}

TEST_F(DialogCommandsTest, TextWithoutKeyOnlyWaitsAndCancelChangesNothing) {
  host.dialogEnd = 1;
  host.dialogText = "n 300";
  RunCommandDialog(host);
  EXPECT_TRUE(host.posted.empty());
  EXPECT_EQ(g_commands.pending.limit, 300);
  EXPECT_EQ(g_commands.pending.pending, 1);

  g_commands.pending.pending = 0;
  host.dialogEnd = 0;
  host.dialogText = "n 7g ";
  RunCentreDialog(host);
  EXPECT_EQ(host.dialogs.back(), ParameterDialog::Centre);
  EXPECT_EQ(g_commands.pending.limit, 300);
  EXPECT_EQ(g_commands.pending.pending, 0);
  EXPECT_TRUE(host.posted.empty());
}

}  // namespace
