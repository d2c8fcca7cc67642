#pragma once
// The Edit Selection box of a Range row: Min, Max and Distance, opened at the
// pointer with the row's bounds as value texts.
#include <QDialog>

#include <string>

class QLineEdit;

namespace vlm::selector {

class EditSelectionBox : public QDialog {
 public:
  EditSelectionBox(QWidget* parent, const std::string& low, const std::string& high);
  std::string minText() const;
  std::string maxText() const;
  std::string distanceText() const;
  // Moves the box to the pointer position, left or up where it would leave the desktop.
  void placeAt(const QPoint& pointer);

 private:
  QLineEdit* min_;
  QLineEdit* max_;
  QLineEdit* distance_;
};

}  // namespace vlm::selector
