#include "console_host.h"

#ifndef _WIN32
#include <iconv.h>
#endif

#include <cinttypes>
#include <cstdio>

#include "engine/engine_state.h"

void ConsoleHost::BeginProgress(const char* what) {
  EndProgress();
  label_ = what;
  lastPermille_ = -1;
  active_ = showProgress_;
}

void ConsoleHost::EndProgress() {
  if (!active_) return;
  Draw(1.0);
  std::fputc('\n', stderr);
  active_ = false;
}

int ConsoleHost::PumpOneMessage(int*) {
  if (active_) {
    const int32_t total = g_engine.progress.rowsTotal.load();
    if (total > 0) Draw(static_cast<double>(g_engine.progress.rowsDone.load()) / total);
  }
  return 0;
}

// The data-file save and load report "%lu / %lu" byte counts as titles.
void ConsoleHost::SetTitle(const char* text) {
  unsigned long done = 0;
  unsigned long total = 0;
  if (active_ && std::sscanf(text, "%lu / %lu", &done, &total) == 2 && total > 0) {
    Draw(static_cast<double>(done) / static_cast<double>(total));
  }
}

void ConsoleHost::ShowMessage(const char* text, const char* caption, MessageIcon icon) {
  if (icon == MessageIcon::Error) hadError_ = true;
  messages_.push_back(std::string(caption) + ": " + text);
  std::string line = ConsoleText(text);
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  // The bar's line is ended first and the bar drawn anew below the message.
  if (active_ && lastPermille_ >= 0) std::fputc('\n', stderr);
  lastPermille_ = -1;
  std::fprintf(stderr, "zirn-render: %s: %s\n", file_.c_str(), line.c_str());
}

// The program's texts are Shift-JIS, as the window shows them; a Windows
// console shows them as they are, other systems get UTF-8.
std::string ConsoleHost::ConsoleText(const char* text) {
#ifdef _WIN32
  return text;
#else
  iconv_t convert = iconv_open("UTF-8", "CP932");
  if (convert == reinterpret_cast<iconv_t>(-1)) return text;
  std::string in(text);
  std::string out(in.size() * 3 + 1, '\0');  // a Shift-JIS byte gives at most 3 UTF-8 bytes
  char* from = in.data();
  size_t fromLeft = in.size();
  char* to = out.data();
  size_t toLeft = out.size();
  const bool converted = iconv(convert, &from, &fromLeft, &to, &toLeft) != static_cast<size_t>(-1);
  iconv_close(convert);
  if (!converted) return text;
  out.resize(out.size() - toLeft);
  return out;
#endif
}

void ConsoleHost::Draw(double fraction) {
  if (fraction < 0) fraction = 0;
  if (fraction > 1) fraction = 1;
  const int permille = static_cast<int>(fraction * 1000);
  if (permille == lastPermille_) return;
  lastPermille_ = permille;
  constexpr int kWidth = 40;
  char bar[kWidth + 1];
  const int filled = permille * kWidth / 1000;
  for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kWidth] = '\0';
  std::fprintf(stderr, "\r%-10s [%s] %5.1f%%", label_.c_str(), bar, permille / 10.0);
  std::fflush(stderr);
}
