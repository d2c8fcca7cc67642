#pragma once
// The status bar's second field: the owner-drawn progress bar.
#include <QWidget>

#include <cstdint>

namespace vlm::host {

class ProgressPart : public QWidget {
 public:
  explicit ProgressPart(QWidget* parent = nullptr);
  void begin(int64_t first, int64_t last);
  void step(int64_t current);
  void end();
  int64_t current() const { return current_; }
  int filledWidth() const;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  int64_t first_ = 0, last_ = 0, current_ = 0;
};

}  // namespace vlm::host
