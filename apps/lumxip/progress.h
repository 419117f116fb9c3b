#pragma once
// A one-line progress bar on stderr, shown only when stderr is a terminal.

#include <cstddef>
#include <string>

namespace lumxip {

class ProgressBar {
 public:
  explicit ProgressBar(std::size_t total);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Shows that `done` of the total are finished, the last one being `name`.
  void show(std::size_t done, const std::string& name);
  // Clears the bar's line so that a message can be printed.
  void clear();

 private:
  std::size_t total_;
  bool enabled_;
};

}  // namespace lumxip
