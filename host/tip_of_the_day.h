#pragma once
// The "Tip of the Day" box shown at start while Setup Options' "Show Tips" is
// on: one tip after the other between starts, "Next Tip", and "Disable Tips".
#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;

namespace vlm::host {

const std::vector<std::string>& tips();

class TipOfTheDay : public QDialog {
 public:
  explicit TipOfTheDay(QWidget* owner);
  void nextTip();
  QString tipText() const;
  QCheckBox* disableTips() const { return disable_; }

 protected:
  void done(int result) override;

 private:
  QLabel* text_ = nullptr;
  QCheckBox* disable_ = nullptr;
  int index_ = 0;
};

// Shows the box without blocking when "ShowTips" (default on) is set; returns
// it, or null when tips are off.
TipOfTheDay* showTipOfTheDayAtStart(QWidget* owner);

}  // namespace vlm::host
