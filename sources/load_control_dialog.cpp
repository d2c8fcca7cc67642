#include "sources/load_control_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <mutex>

#include "platform/host_bridge.h"

namespace vlm {
namespace {

std::mutex g_hookMutex;
LoadControlDialogHook g_hook;

int boxSlot(LoadControlBox box) { return static_cast<int>(box); }

QString number(int32_t value) { return QString::number(value); }

}  // namespace

LoadControlForm::LoadControlForm(const LoadControlDialogInput& input, QWidget* parent)
    : dialog_(std::make_unique<QDialog>(parent)) {
  QDialog& d = *dialog_;
  d.setWindowTitle(" Load Control");
  auto* layout = new QVBoxLayout(&d);
  message_ = new QLabel(QString::fromStdString(loadControlMessage(input.sourceRows)), &d);
  layout->addWidget(message_);

  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  for (auto& b : boxes_) b = new QLineEdit(&d);
  const LoadControl& s = input.settings;
  box(LoadControlBox::Limit).setText(number(s.limit));
  box(LoadControlBox::Each).setText(number(s.each));
  box(LoadControlBox::Percent).setText(number(s.percent));
  box(LoadControlBox::From).setText(number(s.from));
  box(LoadControlBox::To).setText(number(s.to));
  box(LoadControlBox::Step).setText(number(s.step));

  grid->addWidget(new QLabel("Current Limit", &d), 0, 0);
  grid->addWidget(&box(LoadControlBox::Limit), 0, 1);

  methods_ = new QButtonGroup(&d);
  const char* names[] = {"All Records", "Each", "Random", "From"};
  for (int m = SAMPLE_ALL; m <= SAMPLE_RANGE; ++m) {
    auto* button = new QRadioButton(names[m - 1], &d);
    methods_->addButton(button, m);
    grid->addWidget(button, m, 0);
  }
  grid->addWidget(&box(LoadControlBox::Each), SAMPLE_EACH, 1);
  grid->addWidget(&box(LoadControlBox::Percent), SAMPLE_RANDOM, 1);
  grid->addWidget(new QLabel("%", &d), SAMPLE_RANDOM, 2);
  grid->addWidget(&box(LoadControlBox::From), SAMPLE_RANGE, 1);
  grid->addWidget(new QLabel("To", &d), SAMPLE_RANGE, 2);
  grid->addWidget(&box(LoadControlBox::To), SAMPLE_RANGE, 3);
  grid->addWidget(new QLabel("Step", &d), SAMPLE_RANGE, 4);
  grid->addWidget(&box(LoadControlBox::Step), SAMPLE_RANGE, 5);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  QObject::connect(methods_, &QButtonGroup::idClicked, &d, [this](int) { enableBoxes(); });

  selectMethod(s.method);
}

LoadControlForm::~LoadControlForm() = default;

void LoadControlForm::selectMethod(int32_t method) {
  if (method < SAMPLE_ALL || method > SAMPLE_RANGE) method = SAMPLE_ALL;
  methods_->button(method)->setChecked(true);
  enableBoxes();
}

int32_t LoadControlForm::selectedMethod() const {
  const int id = methods_->checkedId();
  return id < SAMPLE_ALL ? SAMPLE_ALL : id;
}

QLineEdit& LoadControlForm::box(LoadControlBox b) { return *boxes_[boxSlot(b)]; }

QRadioButton& LoadControlForm::methodButton(int32_t method) {
  return *static_cast<QRadioButton*>(methods_->button(method));
}

void LoadControlForm::enableBoxes() {
  const int32_t method = selectedMethod();
  for (LoadControlBox b : {LoadControlBox::Limit, LoadControlBox::Each, LoadControlBox::Percent,
                           LoadControlBox::From, LoadControlBox::To, LoadControlBox::Step})
    box(b).setEnabled(loadControlBoxEnabled(method, b));
}

LoadControlAnswer LoadControlForm::answer(bool ok) const {
  LoadControlAnswer a;
  a.ok = ok;
  a.method = selectedMethod();
  auto text = [this](LoadControlBox b) { return boxes_[boxSlot(b)]->text().toStdString(); };
  a.limit = text(LoadControlBox::Limit);
  a.each = text(LoadControlBox::Each);
  a.percent = text(LoadControlBox::Percent);
  a.from = text(LoadControlBox::From);
  a.to = text(LoadControlBox::To);
  a.step = text(LoadControlBox::Step);
  return a;
}

QPoint loadControlDialogPosition(const QRect& desktop) {
  return {desktop.x() + desktop.width() / 10, desktop.y() + desktop.height() / 10};
}

LoadControlAnswer runLoadControlDialog(const LoadControlDialogInput& input) {
  auto* host = qobject_cast<QWidget*>(platform::HostBridge::instance().hostWindow());
  LoadControlForm form(input, host);
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect desktop = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  form.dialog().move(loadControlDialogPosition(desktop));
  const bool ok = form.dialog().exec() == QDialog::Accepted;
  return form.answer(ok);
}

LoadControlDialogHook setLoadControlDialogHook(LoadControlDialogHook hook) {
  std::lock_guard lock(g_hookMutex);
  LoadControlDialogHook previous = std::move(g_hook);
  g_hook = std::move(hook);
  return previous;
}

LoadControlAnswer askLoadControl(const LoadControlDialogInput& input) {
  LoadControlDialogHook hook;
  {
    std::lock_guard lock(g_hookMutex);
    hook = g_hook;
  }
  LoadControlAnswer answer;  // no host to ask: as if cancelled
  platform::HostBridge::instance().runOnHost([&]() -> intptr_t {
    answer = hook ? hook(input) : runLoadControlDialog(input);
    return 1;
  });
  return answer;
}

}  // namespace vlm
