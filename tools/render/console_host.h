#pragma once
// The UiHost of zirn-render: no window, so the message step only refreshes a
// progress bar on standard error, and each message the window would show in
// a box goes to standard error as one line naming the file it is about.

#include <string>
#include <vector>

#include "engine/ui_host.h"

class ConsoleHost : public UiHost {
 public:
  explicit ConsoleHost(bool showProgress) : showProgress_(showProgress) {}
  ~ConsoleHost() override { EndProgress(); }

  // The file that the messages from now on are about.
  void SetFile(const std::string& file) { file_ = file; }
  // Starts a bar labelled `what`; the bar follows the plot's rows or the
  // byte counts of the data-file titles until EndProgress.
  void BeginProgress(const char* what);
  void EndProgress();

  int PumpOneMessage(int* stopCode) override;
  void DrawPixel(int32_t, int32_t, uint32_t) override {}
  void SetTitle(const char* text) override;
  void ShowMessage(const char* text, const char* caption, MessageIcon icon) override;

  bool HadError() const { return hadError_; }
  const std::vector<std::string>& Messages() const { return messages_; }

 private:
  static std::string ConsoleText(const char* text);
  void Draw(double fraction);

  bool showProgress_;
  bool active_ = false;
  std::string label_;
  int lastPermille_ = -1;
  std::string file_;
  bool hadError_ = false;
  std::vector<std::string> messages_;
};
