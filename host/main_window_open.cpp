// File > Open, and the Load and Go To commands: each says why when it cannot act.
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <vector>

#include "engine/vlmapi.h"
#include "host/engine_exports.h"
#include "host/main_window.h"
#include "host/open_file_types.h"

namespace vlm::host {
namespace {

const EngineExports& ex() { return engineExports(); }

// Data source kinds of vlm_GetDataSource.
constexpr int kSourceNone = 0, kSourceExcel = 1, kSourceAccess = 2, kSourceClipboard = 3;

// The file the table was read from; empty for a pasted table or none.
QString sourceFile() {
  if (!ex().getDataServer) return {};
  std::vector<char> source(4096, '\0'), table(4096, '\0'), third(4096, '\0');
  ex().getDataServer(source.data(), table.data(), third.data());
  const QString s = QString::fromUtf8(source.data());
  return s == QStringLiteral("clipboard") ? QString() : s;
}

int sourceKind() { return ex().getDataSource ? ex().getDataSource() : kSourceNone; }

const QString kHowToGetData = QStringLiteral("Open a data file with File > Open, or paste a table with Ctrl+V.");

}  // namespace

void MainWindow::tell(const QString& text) {
  QMessageBox box(QMessageBox::Information, QStringLiteral(" Velmora ACCESS"), text, QMessageBox::Ok, this);
  box.exec();
}

void MainWindow::openFromDialog() {
  const std::vector<OpenFileType>& types = openFileTypes();
  QFileDialog dialog(this, QStringLiteral("Open Model"), openFolder_);
  dialog.setObjectName(QStringLiteral("openDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ReadOnly);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  const QStringList filters = openFileFilters(types);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(openFilter_.isEmpty() ? filters.first() : openFilter_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().first();
  openFolder_ = QFileInfo(path).absolutePath();
  openFilter_ = dialog.selectedNameFilter();
  // The file's own type decides, whichever filter showed it.
  if (const QString why = cannotOpenReason(types, path); !why.isEmpty()) {
    tell(why);
    return;
  }
  if (!engineRunning_) return;
  if (ex().cancelAction) ex().cancelAction();
  setStopEnabled(true);
  openFileTypeFor(types, path)->open(path.toStdString());
}

void MainWindow::loadAgain(int withControl) {
  const int kind = sourceKind();
  if (kind == kSourceNone) {
    tell(QStringLiteral("There is no data to load yet.\n\n") + kHowToGetData);
    return;
  }
  if (kind == kSourceClipboard && sourceFile().isEmpty()) {
    // Loading again would only empty the table: there is no source to read.
    tell(QStringLiteral("This table was pasted from the clipboard, so there is no source to load it from again.\n\n"
                        "Paste it again with Ctrl+V, or open a data file with File > Open."));
    return;
  }
  if (ex().load(withControl) == 0) {
    tell(QStringLiteral("There is nothing to load again from this data source."));
    return;
  }
  setStopEnabled(true);
}

void MainWindow::goToSource() {
  const int kind = sourceKind();
  if (kind == kSourceExcel || kind == kSourceAccess) {
    if (ex().cancelAction) ex().cancelAction();
    ex().switchSource();
    return;
  }
  if (kind == kSourceNone) {
    tell(QStringLiteral("There is no data yet, so there is no source program to go to.\n\n") + kHowToGetData);
    return;
  }
  const QString file = sourceFile();
  const QString from = file.isEmpty() ? QStringLiteral("was pasted from the clipboard")
                                      : QStringLiteral("was read from the file \"%1\"").arg(file);
  tell(QStringLiteral("Go To brings the program the data comes from to the front.\n\nThis table %1; "
                      "no program holds it.")
           .arg(from));
}

}  // namespace vlm::host
