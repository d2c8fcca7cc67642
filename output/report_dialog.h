#pragma once
// The Create Report dialog: where the report goes (browser or file) and what
// it includes (the sample table, a picture). Each tick changes the options at
// once; OK goes on, Cancel or closing ends without a report.
#include <QDialog>

#include "output/output_state.h"

class QCheckBox;
class QPushButton;

namespace vlm {

class ReportDialog : public QDialog {
 public:
  ReportDialog(ReportOptions& options, QWidget* parent = nullptr);

  QCheckBox* browser() const { return browser_; }
  QCheckBox* file() const { return file_; }
  QCheckBox* hitDetails() const { return hitDetails_; }
  QCheckBox* image() const { return image_; }
  QPushButton* ok() const { return ok_; }
  QPushButton* cancel() const { return cancel_; }

 private:
  void showOptions();
  ReportOptions& options_;
  QCheckBox *browser_, *file_, *hitDetails_, *image_;
  QPushButton *ok_, *cancel_;
};

// Shows the dialog on the host thread; false when cancelled.
bool runReportDialog(ReportOptions& options);

}  // namespace vlm
