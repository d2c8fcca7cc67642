#pragma once
// The Load Control dialog: the user chooses how many of a large source's
// rows to load. Shown on the host thread, before the data lock is taken.
#include <QDialog>

#include <functional>
#include <memory>

#include "sources/load_control.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vlm {

// The dialog's widgets and their rules; the form lives on the host thread.
class LoadControlForm {
 public:
  explicit LoadControlForm(const LoadControlDialogInput& input, QWidget* parent = nullptr);
  ~LoadControlForm();
  QDialog& dialog() { return *dialog_; }
  void selectMethod(int32_t method);
  int32_t selectedMethod() const;
  QLineEdit& box(LoadControlBox box);
  QRadioButton& methodButton(int32_t method);
  QLabel& message() { return *message_; }
  LoadControlAnswer answer(bool ok) const;

 private:
  void enableBoxes();
  std::unique_ptr<QDialog> dialog_;
  QLabel* message_ = nullptr;
  QButtonGroup* methods_ = nullptr;
  QLineEdit* boxes_[6] = {};
};

// Where the dialog is placed: a tenth of the desktop's width and height from
// its top-left corner.
QPoint loadControlDialogPosition(const QRect& desktop);

// Shows the Qt dialog modally; call on the host thread.
LoadControlAnswer runLoadControlDialog(const LoadControlDialogInput& input);

using LoadControlDialogHook = std::function<LoadControlAnswer(const LoadControlDialogInput&)>;
// Replaces the dialog (tests answer it themselves); null restores the Qt
// dialog. Returns the previous hook.
LoadControlDialogHook setLoadControlDialogHook(LoadControlDialogHook hook);

// Asks the user on the host thread (the hook, or the Qt dialog) and waits
// for the answer. Must not be called while holding the data lock.
LoadControlAnswer askLoadControl(const LoadControlDialogInput& input);

}  // namespace vlm
