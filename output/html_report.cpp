#include "output/html_report.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <stdlib.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

#include "codecs/image_file.h"
#include "data/data_table.h"
#include "data/field_name.h"
#include "data/table_getters.h"
#include "data/value_text.h"
#include "engine/engine_state.h"
#include "engine/vlmapi.h"
#include "output/report_dialog.h"
#include "output/view_capture.h"
#include "platform/file_dialog.h"
#include "platform/host_bridge.h"
#include "platform/message_box.h"
#include "sources/source_record.h"

namespace vlm {
namespace {

constexpr const char* kFont = "<font face=\"Verdana,Arial,Helvetica,sans-serif\" color=\"#2064C0\" size=";
constexpr const char* kSmallFont = "<font face=\"Verdana,Arial,Helvetica,sans-serif\" color=\"#000000\" size=1>";

std::mutex g_dialogMutex;
ReportDialogHandler g_dialogHandler;

std::string format(const char* pattern, auto... values) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, pattern, values...);
  return buffer;
}

// Writes whole fragments; remembers a failed write.
struct Out {
  std::FILE* file;
  bool ok = true;
  void operator()(std::string_view text) {
    if (ok && !text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size()) ok = false;
  }
};

bool askOptions(ReportOptions& options) {
  ReportDialogHandler handler;
  {
    std::lock_guard lock(g_dialogMutex);
    handler = g_dialogHandler;
  }
  return handler ? handler(options) : runReportDialog(options);
}

// Waits on the host thread, letting the engine's frame reach the screen.
void settle(std::chrono::milliseconds time) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < time.count()) {
    platform::HostBridge::instance().pump();
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// The view's pixels as the window system shows them, less the bars over it.
QImage grabView(EngineState& state) {
  QObject* hostObject = static_cast<QObject*>(state.main->hostWindow);
  QObject* viewObject = hostObject ? hostObject->property("vlm3DWindow").value<QObject*>() : nullptr;
  auto* view = qobject_cast<QWindow*>(viewObject);
  if (!view || !view->screen()) return {};
  const BarCover cover = barCover(state);
  const CaptureRegion r = captureRegion(view->width(), view->height(), cover.top, cover.bottom);
  if (r.width == 0) return {};
  const QImage shot = view->screen()->grabWindow(view->winId(), 0, cover.top, r.width, r.height).toImage();
  if (shot.depth() != 32) return shot.convertToFormat(QImage::Format_RGB888);
  // The window's alpha channel is no part of the picture: the colours are
  // taken as they are stored, as the screen shows them.
  const QImage opaque(shot.constBits(), shot.width(), shot.height(), shot.bytesPerLine(), QImage::Format_RGB32);
  return opaque.convertToFormat(QImage::Format_RGB888);
}

bool writeBitmap(const QImage& picture, const std::string& path) {
  if (picture.isNull()) return false;
  codecs::Image image;
  image.width = picture.width();
  image.height = picture.height();
  image.pixels.resize(image.stride() * static_cast<size_t>(image.height));
  for (int32_t y = 0; y < image.height; ++y) {
    const uchar* src = picture.constScanLine(image.height - 1 - y);
    uint8_t* dst = image.row(y);
    for (int32_t x = 0; x < image.width; ++x) {
      dst[x * 3] = src[x * 3 + 2];
      dst[x * 3 + 1] = src[x * 3 + 1];
      dst[x * 3 + 2] = src[x * 3];
    }
  }
  std::string error;
  return codecs::writeImageFile(path, codecs::viewOf(image), error);
}

// Draws, waits, grabs, scales to 500 pixels wide and writes the bitmap file.
void makeReportPicture(EngineState& state, const std::string& path) {
  vlm_DrawScene();
  settle(std::chrono::milliseconds(250));
  QImage picture = grabView(state);
  if (!picture.isNull() && picture.width() > 500)
    picture = picture.scaled(500, reportPictureHeight(picture.width(), picture.height()), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
  if (!writeBitmap(picture, path)) {
    platform::MessageBoxRequest box;
    box.caption = "Saving Image Error";
    box.text = "Unable to create the bitmap file.";
    box.icon = platform::BoxIcon::None;
    platform::showMessageBox(box);
  }
}

std::string reportTitle(EngineState& state) {
  std::string name;
  {
    std::lock_guard lock(state.model->nameMutex);
    name = state.model->modelName;
  }
  return name.empty() ? state.main->productName : name;
}

// A new empty file "summary….htm" in the temporary folder.
std::string temporaryReportPath() {
  std::string pattern = (std::filesystem::temp_directory_path() / "summaryXXXXXX.htm").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const int fd = ::mkstemps(buffer.data(), 4);
  if (fd < 0) return {};
  ::close(fd);
  return buffer.data();
}

}  // namespace

std::string escapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string reportImageName(const std::string& reportPath) {
  std::string lower = reportPath;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t cut = lower.find(".htm");
  if (cut != std::string::npos) lower.resize(cut);
  const size_t slash = lower.find_last_of('/');
  if (slash != std::string::npos) lower.erase(0, slash + 1);
  return lower + ".bmp";
}

std::string finalReportName(const std::string& chosen, int filterIndex) {
  const size_t slash = chosen.find_last_of('/');
  const std::string name = slash == std::string::npos ? chosen : chosen.substr(slash + 1);
  if (name.find('.') != std::string::npos) return chosen;
  if (filterIndex == 1) return chosen + ".html";
  if (filterIndex == 2) return chosen + ".htm";
  return chosen;
}

int32_t reportPictureHeight(int32_t width, int32_t height) {
  if (width <= 500) return height;
  return static_cast<int32_t>(500.0 / width * height);
}

std::vector<std::pair<std::string, std::string>> reportFilters() {
  // Upper and lower case: the file system tells them apart.
  return {{"All", "*.*"}, {"HTML", "*.HTML;*.html"}, {"HTM", "*.HTM;*.htm"}};
}

bool writeReport(std::FILE* file, const ReportContent& c, const std::function<void()>& makeImage,
                 const std::function<void(const RowSink&)>& forEachRow) {
  Out out{file};
  const std::string title = escapeHtml(c.title);
  out("<HTML>\n<HEAD>\n<TITLE>");
  out(title);
  out("</TITLE>\n");
  out("<META NAME=\"author\" CONTENT=\"" + escapeHtml(c.product) + " - " + kMakerSite + "\">\n");
  // Texts are UTF-8: say so, or a browser may guess another code page.
  out("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">\n");
  out("</HEAD>\n\n");
  out("<style>\n<!-- \n");
  out("TD { font-family:Verdana,Arial,Helvetica,sans-serif; font-size:9 }\n");
  out("-->\n</style>\n\n");
  out("<BODY BGCOLOR=#FFFFFF>\n");
  out(std::string(kFont) + "4><!i><b>");
  out(title);
  out("</b><!/i></font>\n\n<BR><BR>\n\n");
  out(std::string(kFont) + "2>");
  out("<B>Data Source: </B>");
  out(escapeHtml(c.source));
  out("<BR>\n");
  out("</font>");
  out(std::string(kFont) + "2>");
  out("<B>Total Data Rows: </B>");
  out(format("<B>%i</B>", c.rows));
  out("<BR>\n");
  if (c.selected > 0) {
    out("<B>Selected Data Rows: </B>");
    out(format("%i (%.3f%%)", c.selected, c.rows > 0 ? c.selected * 100.0 / c.rows : 0.0));
  }
  out("</font>\n");
  out("<BR>\n<BR>\n<BR>\n\n");
  if (c.image) {
    out("<IMG SRC=\"" + escapeHtml(c.imageName) + "\" ALT=\"" + title + "\">\n\n");
    if (makeImage) makeImage();
    out("<BR><BR>\n\n");
  }
  if (c.hitDetails) {
    out("<!UL>\n");
    std::string block = "<TABLE>\n";
    block += "<! HEADER ------------------------------>\n";
    block += "<TR BGCOLOR=\"#DADADA\">\n";
    block += "<TD ALIGN=CENTER><B>#</B></TD>\n";
    if (c.rowIds) block += "<TD ALIGN=CENTER><B>Row ID</B></TD>\n";
    for (const std::string& name : c.fieldNames) block += "<TD ALIGN=CENTER><B>" + escapeHtml(name) + "</B></TD>\n";
    block += "</TR>\n\n";
    out(block);
    int32_t n = 0;
    if (forEachRow)
      forEachRow([&](int32_t rowIndex, const std::vector<std::string>& values) {
        std::string row = format("<! --- # %i  ROW %i ----------------------->\n", n, rowIndex);
        row += n % 2 == 0 ? "<TR BGCOLOR=#FFFFFF>\n" : "<TR BGCOLOR=EFEFEF>\n";
        row += format("<TD ALIGN=CENTER>%i</TD>\n", n);
        if (c.rowIds) row += format("<TD ALIGN=CENTER>%i</TD>\n", rowIndex);
        for (const std::string& v : values) row += "<TD ALIGN=CENTER>" + escapeHtml(v) + "</TD>\n";
        row += "</TR>\n\n";
        out(row);
        ++n;
      });
    out("\n</TABLE>\n\n");
    out("<!/UL>\n\n<BR><BR>\n\n");
  }
  out(kSmallFont);
  out("Generated by ");
  out(format("<b>%s</b> on %i-%i-%i %i:%02i:%02i.", escapeHtml(c.product).c_str(), c.when.tm_year + 1900,
             c.when.tm_mon + 1, c.when.tm_mday, c.when.tm_hour, c.when.tm_min, c.when.tm_sec));
  out("<br><!br>\n\n");
  out(std::string("<b>Velmora, (c) ") + kCreditYears + " " + kMakerName + "</b><br>\n");
  out(std::string("<a href=\"") + kMakerSite + "\">" + kMakerSite + "</a></font>\n");
  out("</BODY>\n</HTML>\n");
  return out.ok;
}

ReportDialogHandler setReportDialogHandler(ReportDialogHandler handler) {
  std::lock_guard lock(g_dialogMutex);
  ReportDialogHandler old = std::move(g_dialogHandler);
  g_dialogHandler = std::move(handler);
  return old;
}

int copyToHtml(EngineState& state) {
  ReportOptions& options = state.main->output.report;
  if (!askOptions(options)) return 0;

  std::string path;
  if (options.file) {
    platform::FileDialogRequest request;
    request.save = true;
    request.caption = "Save HTML File As";
    request.initialName = "report.htm";
    request.directory = state.main->dataFolder;
    for (const auto& [label, patterns] : reportFilters()) request.filters.push_back({label, patterns});
    request.filterIndex = 2;
    request.confirmOverwrite = true;
    const platform::FileDialogResult chosen = platform::showFileDialog(request);
    if (!chosen.accepted || chosen.path.empty()) return 0;
    path = finalReportName(chosen.path, chosen.filterIndex);
  } else {
    path = temporaryReportPath();
    if (path.empty()) return 0;
  }
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (!file) return 0;

  ReportContent c;
  c.title = reportTitle(state);
  c.product = state.main->productName;
  {
    char source[1024], table[1024], third[1024];
    vlm_GetDataServer(source, table, third);
    c.source = source;
  }
  c.rows = vlm_GetNumberOfHits();
  c.selected = vlm_GetNumberOfSelected();
  c.image = options.file && options.image;
  // The picture goes next to the report, whatever the current folder.
  c.imageName = reportImageName(path);
  const std::string imagePath = (std::filesystem::path(path).parent_path() / c.imageName).string();
  c.hitDetails = options.hitDetails;
  const int32_t kind = vlm_GetDataSource();
  c.rowIds = kind == DSK_EXCEL || kind == DSK_ACCESS;
  const std::time_t now = std::time(nullptr);
  localtime_r(&now, &c.when);

  // The sample table is read under the data lock, so a load cannot change it
  // between the header and the last row.
  platform::DataLock& lock = state.main->dataLock;
  auto rows = [&](const RowSink& sink) {
    const DataTable& t = *state.data;
    const ModelRecord& m = *state.model;
    const int32_t objects = std::min<int32_t>(m.objectCount, t.rowCount);
    const bool onlySelected = m.selectedCount.load() > 0;
    std::vector<std::string> values(static_cast<size_t>(std::max(t.fieldCount, 0)));
    char text[1024];
    for (int32_t i = 0; i < objects; ++i) {
      if (onlySelected && (static_cast<size_t>(i) >= m.selectionFlags.size() || m.selectionFlags[static_cast<size_t>(i)] == 0))
        continue;
      for (int32_t f = 0; f < t.fieldCount; ++f) {
        valueText(t, f, i, text, sizeof text, true, state.main->regional);
        values[static_cast<size_t>(f)] = text;
      }
      sink(rowIndex(t, kind, i), values);
    }
  };
  {
    platform::DataLockGuard held(lock);
    char name[1024];
    for (int32_t f = 0; f < state.data->fieldCount; ++f) {
      copyFieldName(*state.data, f, name, sizeof name);
      c.fieldNames.emplace_back(name);
    }
  }
  // The picture is made without the lock: its frame is drawn by the engine thread.
  bool ok = writeReport(
      file, c, [&] { makeReportPicture(state, imagePath); },
      [&](const RowSink& sink) {
        platform::DataLockGuard held(lock);
        rows(sink);
      });
  if (std::fclose(file) != 0) ok = false;
  if (!ok) vlm_Error(("Unable to write the report " + path + ".").c_str());
  if (!options.file && vlm_StartWebBrowser(("file://" + path).c_str()) != 1)
    vlm_Error(("No web browser could be started for the report " + path + ".").c_str());
  return 1;
}

}  // namespace vlm
