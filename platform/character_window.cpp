#include "platform/character_window.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "platform/host_bridge.h"

namespace vlm::platform {
namespace {

class CharacterWidget : public QWidget {
 public:
  // Without a parent: the window goes only when speech stops, never with
  // another window behind the speaking thread's back.
  CharacterWidget(const CharacterFrames& frames, std::function<bool()> speaking)
      : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
        strip_(QPixmap::fromImage(frames.strip)),
        frames_(frames.frames),
        size_(frames.size),
        speaking_(std::move(speaking)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Velmora"));
    setFixedSize(size_, size_);
    timer_.setInterval(110);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { step(); });
    timer_.start();
  }

  void placeNear(QWidget* owner) {
    QRect area = owner ? owner->frameGeometry() : QRect();
    if (area.isEmpty()) {
      const QScreen* screen = QGuiApplication::primaryScreen();
      area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    }
    move(area.right() - size_ - 24, area.bottom() - size_ - 48);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawPixmap(0, 0, strip_, frame_ * size_, 0, size_, size_);
  }

 private:
  void step() {
    ++tick_;
    int next = 0;
    const int mouths = frames_ >= 4 ? frames_ - 2 : frames_ - 1;  // frames 1..mouths
    if (speaking_ && speaking_()) {
      // A mouth shape per step, never the same twice in a row.
      static const int pattern[] = {1, 2, 1, 3, 2, 1, 3, 1};
      next = 1 + (pattern[tick_ % 8] - 1) % mouths;
      if (next == frame_) next = 1 + next % mouths;
    } else if (frames_ >= 4 && tick_ % 40 == 0) {
      next = frames_ - 1;  // a blink now and then
    }
    if (next != frame_) {
      frame_ = next;
      update();
    }
  }

  QPixmap strip_;
  int frames_;
  int size_;
  std::function<bool()> speaking_;
  QTimer timer_;
  int frame_ = 0;
  unsigned tick_ = 0;
};

}  // namespace

bool loadCharacterFrames(const std::string& path, CharacterFrames& out) {
  QImageReader reader(QString::fromStdString(path));
  reader.setDecideFormatFromContent(true);
  QImage image = reader.read();
  if (image.isNull()) return false;
  const int size = image.height();
  if (size < 16 || size > 512 || image.width() % size != 0 || image.width() / size < 2) return false;
  out.strip = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  out.frames = image.width() / size;
  out.size = size;
  return true;
}

QWidget* showCharacterWindow(const CharacterFrames& frames, std::function<bool()> speaking) {
  HostBridge& bridge = HostBridge::instance();
  if (!bridge.hostWindow()) return nullptr;
  const intptr_t made = bridge.runOnHost([&]() -> intptr_t {
    auto* owner = qobject_cast<QWidget*>(HostBridge::instance().hostWindow());
    auto* window = new CharacterWidget(frames, speaking);
    window->placeNear(owner ? owner->window() : nullptr);
    window->show();
    return reinterpret_cast<intptr_t>(static_cast<QWidget*>(window));
  });
  return reinterpret_cast<QWidget*>(made);
}

void closeCharacterWindow(QWidget* window) {
  if (!window) return;
  const intptr_t closed = HostBridge::instance().runOnHost([window]() -> intptr_t {
    delete window;
    return 1;
  });
  // Without a host to run it, the window goes when the event loop next runs.
  if (closed != 1) window->deleteLater();
}

}  // namespace vlm::platform
