#include "host/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QVariant>

#include "engine/host_messages.h"
#include "engine/vlmapi.h"
#include "host/view_window.h"

namespace vlm::host {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral(" Velmora ACCESS"));
  view_ = new View3DWindow;
  viewContainer_ = QWidget::createWindowContainer(view_, this);
  viewContainer_->setMinimumSize(200, 150);
  setCentralWidget(viewContainer_);
  // The engine finds the window it draws into through this property.
  setProperty("vlm3DWindow", QVariant::fromValue(static_cast<QObject*>(view_)));
  addToolBar(new QToolBar(QStringLiteral("Main"), this));
  statusText_ = new QLabel(QStringLiteral(" ready"));
  statusBar()->addWidget(statusText_, 1);
  resize(1024, 768);
}

MainWindow::~MainWindow() { stopEngine(); }

bool MainWindow::startEngine() {
  if (engineRunning_) return true;
  QStatusBar* bar = statusBar();
  QToolBar* toolbar = findChild<QToolBar*>();
  winId();
  view_->create();
  if (vlm_InitSystem(QGuiApplication::instance(), this, toolbar, bar, 23) != 1) return false;
  if (vlm_OpenWindow() != 1) {
    vlm_DeinitSystem();
    return false;
  }
  view_->setEngineActive(true);
  engineRunning_ = true;
  return true;
}

void MainWindow::stopEngine() {
  if (!engineRunning_) return;
  engineRunning_ = false;
  view_->setEngineActive(false);
  vlm_CloseWindow();
  vlm_DeinitSystem();
}

bool MainWindow::event(QEvent* e) {
  if (e->type() == vlm_HostMessageEventType()) {
    handleHostMessage(e);
    return true;
  }
  return QMainWindow::event(e);
}

void MainWindow::handleHostMessage(QEvent* e) {
  vlm_host_message d{};
  if (!vlm_ReadHostMessage(e, &d)) return;
  switch (d.message) {
    case HM_PROGRESS_BEGIN:
      statusText_->setText(QString::fromUtf8(d.text));
      break;
    case HM_PROGRESS_END:
      statusText_->setText(QStringLiteral(" ready"));
      break;
    default:
      break;
  }
}

void MainWindow::closeEvent(QCloseEvent* e) {
  stopEngine();
  e->accept();
}

}  // namespace vlm::host
