#include "host/setup_ui.h"

#include <QMessageBox>
#include <QString>

#include <unistd.h>

#include <cctype>
#include <cstdlib>

namespace vlm::host {
namespace {

QString qt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Leading and trailing blank lines and blanks, as boxes pad them, are no use on a terminal.
std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \n");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \n");
  return text.substr(first, last - first + 1);
}

bool nonEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

bool BoxSetupUi::ask(const std::string& caption, const std::string& text) {
  QMessageBox box(QMessageBox::Question, qt(caption), qt(text), QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::Yes);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  return box.exec() == QMessageBox::Yes;
}

void BoxSetupUi::tell(const std::string& caption, const std::string& text, bool problem) {
  QMessageBox box(problem ? QMessageBox::Warning : QMessageBox::NoIcon, qt(caption), qt(text), QMessageBox::Ok);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

bool TerminalSetupUi::ask(const std::string& caption, const std::string& text) {
  std::fprintf(out_, "%s\n%s [y/N] ", trimmed(caption).c_str(), trimmed(text).c_str());
  std::fflush(out_);
  char line[64] = {};
  if (!std::fgets(line, sizeof line, in_)) {
    std::fputc('\n', out_);
    return false;
  }
  std::string answer(line);
  while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back()))) answer.pop_back();
  // An answer from a pipe was not echoed: show it.
  if (!::isatty(::fileno(in_))) std::fprintf(out_, "%s\n", answer.c_str());
  for (char& c : answer) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return answer == "y" || answer == "yes";
}

void TerminalSetupUi::tell(const std::string& caption, const std::string& text, bool problem) {
  std::FILE* to = problem ? err_ : out_;
  std::fprintf(to, "%s\n%s\n", trimmed(caption).c_str(), trimmed(text).c_str());
  std::fflush(to);
}

bool hasDisplay() {
  // Boxes on a platform nobody sees (offscreen, minimal) could never be answered.
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) {
    const std::string name(platform);
    return name.rfind("offscreen", 0) != 0 && name.rfind("minimal", 0) != 0;
  }
  return nonEmpty("DISPLAY") || nonEmpty("WAYLAND_DISPLAY");
}

}  // namespace vlm::host
