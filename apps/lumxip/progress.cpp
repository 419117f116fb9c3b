#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace lumxip {

ProgressBar::ProgressBar(std::size_t total)
    : total_(total), enabled_(total > 1 && ::isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() {
  clear();
}

void ProgressBar::show(std::size_t done, const std::string& name) {
  if (!enabled_) return;
  constexpr std::size_t kWidth = 30;
  const std::size_t filled = total_ ? done * kWidth / total_ : kWidth;
  std::string bar(filled, '#');
  bar.resize(kWidth, '.');
  std::fprintf(stderr, "\r[%s] %zu/%zu %-40.40s", bar.c_str(), done, total_, name.c_str());
  std::fflush(stderr);
}

void ProgressBar::clear() {
  if (!enabled_) return;
  std::fprintf(stderr, "\r%*s\r", 80, "");
  std::fflush(stderr);
}

}  // namespace lumxip
