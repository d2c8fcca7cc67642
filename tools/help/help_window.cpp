#include "tools/help/help_window.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "engine/engine_state.h"
#include "platform/url_opener.h"
#include "tools/host_widget.h"
#include "tools/tools_state.h"

namespace vlm::tools {
namespace {

QString readPage(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

QString titleOf(const QString& html, const QString& fallback) {
  static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  const auto m = title.match(html);
  return m.hasMatch() ? m.captured(1).trimmed() : fallback;
}

QString plainTextOf(const QString& html) {
  QTextDocument doc;
  doc.setHtml(html);
  return doc.toPlainText();
}

// The pages of the help; index.html only leads a desktop's menu entry to the contents.
QStringList pagesIn(const QString& folder) {
  QStringList pages = QDir(folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
  pages.removeAll(QStringLiteral("index.html"));
  return pages;
}

QString listPage(const QString& heading, const std::vector<HelpIndexEntry>& entries, const QString& empty) {
  QString html = QStringLiteral("<html><body><h1>%1</h1>").arg(heading.toHtmlEscaped());
  if (entries.empty()) html += QStringLiteral("<p>%1</p>").arg(empty.toHtmlEscaped());
  html += QStringLiteral("<ul>");
  for (const HelpIndexEntry& e : entries) {
    html += QStringLiteral("<li><a href=\"%1\">%2</a>").arg(e.page.toHtmlEscaped(), e.keyword.toHtmlEscaped());
    if (e.title != e.keyword) html += QStringLiteral(" &mdash; %1").arg(e.title.toHtmlEscaped());
    html += QStringLiteral("</li>");
  }
  return html + QStringLiteral("</ul></body></html>");
}

}  // namespace

std::vector<HelpIndexEntry> buildHelpIndex(const QString& folder) {
  static const QRegularExpression keywords(QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""),
                                           QRegularExpression::CaseInsensitiveOption);
  std::vector<HelpIndexEntry> index;
  for (const QString& page : pagesIn(folder)) {
    const QString html = readPage(folder + QLatin1Char('/') + page);
    const QString title = titleOf(html, page);
    index.push_back({title, page, title});
    const auto m = keywords.match(html);
    if (!m.hasMatch()) continue;
    for (const QString& k : m.captured(1).split(QLatin1Char(','), Qt::SkipEmptyParts))
      index.push_back({k.trimmed(), page, title});
  }
  std::stable_sort(index.begin(), index.end(), [](const HelpIndexEntry& a, const HelpIndexEntry& b) {
    return QString::compare(a.keyword, b.keyword, Qt::CaseInsensitive) < 0;
  });
  return index;
}

std::vector<HelpIndexEntry> searchHelp(const QString& folder, const QString& words) {
  const QStringList wanted = words.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  std::vector<HelpIndexEntry> found;
  if (wanted.isEmpty()) return found;
  for (const QString& page : pagesIn(folder)) {
    const QString html = readPage(folder + QLatin1Char('/') + page);
    const QString text = plainTextOf(html);
    const bool all = std::all_of(wanted.begin(), wanted.end(),
                                 [&](const QString& w) { return text.contains(w, Qt::CaseInsensitive); });
    if (all) {
      const QString title = titleOf(html, page);
      found.push_back({title, page, title});
    }
  }
  return found;
}

HelpWindow::HelpWindow(EngineState& state, ToolWindowState& place, QWidget* owner)
    : ToolWindow(state, place, {0, 0, 0, 0}, QStringLiteral(" Velmora Help"), 100, owner) {
  setObjectName(QStringLiteral("helpWindow"));
  auto* contents = new QPushButton(QStringLiteral("&Contents"));
  auto* index = new QPushButton(QStringLiteral("&Index"));
  auto* back = new QPushButton(QStringLiteral("< &Back"));
  auto* forward = new QPushButton(QStringLiteral("&Forward >"));
  auto* external = new QPushButton(QStringLiteral("Open in &Browser"));
  search_ = new QLineEdit;
  search_->setObjectName(QStringLiteral("helpSearch"));
  search_->setPlaceholderText(QStringLiteral("Search the help"));
  browser_ = new QTextBrowser;
  browser_->setObjectName(QStringLiteral("helpBrowser"));
  browser_->setOpenExternalLinks(true);
  auto* bar = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(contents), static_cast<QWidget*>(index), static_cast<QWidget*>(back),
                     static_cast<QWidget*>(forward)})
    bar->addWidget(w);
  bar->addWidget(search_, 1);
  bar->addWidget(external);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(browser_, 1);
  connect(contents, &QPushButton::clicked, this, [this] { showRequest({"intro.html", HelpView::Contents, folder_.toStdString()}); });
  connect(index, &QPushButton::clicked, this, [this] { showIndex(); });
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(search_, &QLineEdit::returnPressed, this, [this] { runSearch(search_->text()); });
  // Following a link leaves the index or the search results.
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] { view_.clear(); });
  connect(external, &QPushButton::clicked, this, [this] {
    const QString page = currentPage();
    if (page.endsWith(QLatin1String(".html")))
      platform::openUrl(QUrl::fromLocalFile(folder_ + QLatin1Char('/') + page).toString().toStdString());
  });
}

bool HelpWindow::showRequest(const HelpRequest& request) {
  folder_ = QString::fromStdString(request.folder);
  const QString path = folder_ + QLatin1Char('/') + QString::fromStdString(request.page);
  if (!QFile::exists(path)) return false;
  browser_->setSearchPaths({folder_});
  switch (request.view) {
    case HelpView::Index:
      showIndex();
      break;
    case HelpView::Search:
      browser_->setSource(QUrl::fromLocalFile(path));
      view_ = QStringLiteral("search");
      search_->setFocus();
      search_->selectAll();
      break;
    case HelpView::Contents:
    case HelpView::Topic:
      browser_->setSource(QUrl::fromLocalFile(path));
      view_.clear();
      break;
  }
  if (!isOpen()) openWindow();
  show();
  raise();
  activateWindow();
  return true;
}

QString HelpWindow::currentPage() const {
  if (!view_.isEmpty()) return view_;
  return QFileInfo(browser_->source().path()).fileName();
}

QString HelpWindow::shownText() const { return browser_->toPlainText(); }

void HelpWindow::showIndex() {
  browser_->setSearchPaths({folder_});
  browser_->setHtml(listPage(QStringLiteral("Index"), buildHelpIndex(folder_), QStringLiteral("No pages found.")));
  view_ = QStringLiteral("index");
}

void HelpWindow::runSearch(const QString& words) {
  browser_->setSearchPaths({folder_});
  browser_->setHtml(listPage(QStringLiteral("Search: ") + words, searchHelp(folder_, words),
                             QStringLiteral("No page holds all of these words.")));
  view_ = QStringLiteral("search");
}

bool showHelpWindow(EngineState& state, const HelpRequest& request) {
  ToolsState& tools = toolsOf(state);
  if (!tools.help) {
    tools.help = new HelpWindow(state, tools.helpPlace, hostWidget(state));
    // A first viewer stands in the middle of the desktop.
    const QRect desk = desktopRect();
    const int w = std::min(760, desk.width()), h = std::min(600, desk.height());
    tools.helpPlace.rect = {desk.x() + (desk.width() - w) / 2, desk.y() + (desk.height() - h) / 2, w, h};
  }
  return tools.help->showRequest(request);
}

}  // namespace vlm::tools
