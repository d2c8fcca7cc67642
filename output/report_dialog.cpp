#include "output/report_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/host_bridge.h"

namespace vlm {

ReportDialog::ReportDialog(ReportOptions& options, QWidget* parent) : QDialog(parent), options_(options) {
  setWindowTitle(QStringLiteral(" Create Report"));
  auto* exportTo = new QGroupBox(QStringLiteral("Export To "));
  browser_ = new QCheckBox(QStringLiteral("Browser"));
  file_ = new QCheckBox(QStringLiteral("File"));
  auto* exportLayout = new QVBoxLayout(exportTo);
  exportLayout->addWidget(browser_);
  exportLayout->addWidget(file_);
  auto* include = new QGroupBox(QStringLiteral("Include "));
  hitDetails_ = new QCheckBox(QStringLiteral("Hit Details"));
  image_ = new QCheckBox(QStringLiteral("Image"));
  auto* includeLayout = new QVBoxLayout(include);
  includeLayout->addWidget(hitDetails_);
  includeLayout->addWidget(image_);
  ok_ = new QPushButton(QStringLiteral("&OK"));
  cancel_ = new QPushButton(QStringLiteral("&Cancel"));
  auto* groups = new QHBoxLayout;
  groups->addWidget(exportTo);
  groups->addWidget(include);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addLayout(buttons);

  // Browser and File exclude each other: ticking one clears the other,
  // clearing one ticks the other.
  connect(browser_, &QCheckBox::toggled, this, [this](bool on) {
    options_.browser = on;
    options_.file = !on;
    showOptions();
  });
  connect(file_, &QCheckBox::toggled, this, [this](bool on) {
    options_.file = on;
    options_.browser = !on;
    showOptions();
  });
  connect(hitDetails_, &QCheckBox::toggled, this, [this](bool on) {
    options_.hitDetails = on;
    showOptions();
  });
  connect(image_, &QCheckBox::toggled, this, [this](bool on) {
    options_.image = on;
    showOptions();
  });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  showOptions();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desk = screen->availableGeometry();
    move(desk.left() + desk.width() / 10, desk.top() + desk.height() / 10);
  }
}

void ReportDialog::showOptions() {
  const QSignalBlocker b1(browser_), b2(file_), b3(hitDetails_), b4(image_);
  browser_->setChecked(options_.browser);
  file_->setChecked(options_.file);
  hitDetails_->setChecked(options_.hitDetails);
  image_->setChecked(options_.image);
  image_->setEnabled(options_.file);
  const bool something = options_.hitDetails || options_.image;
  ok_->setEnabled(something);
  ok_->setDefault(something);
  if (!something) cancel_->setFocus();
}

bool runReportDialog(ReportOptions& options) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  auto work = [&options]() -> intptr_t {
    ReportDialog dialog(options, qobject_cast<QWidget*>(platform::HostBridge::instance().hostWindow()));
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
  };
  platform::HostBridge& bridge = platform::HostBridge::instance();
  if (bridge.isHostThread() || !bridge.hostWindow()) return work() == 1;
  return bridge.runOnHost(work) == 1;
}

}  // namespace vlm
