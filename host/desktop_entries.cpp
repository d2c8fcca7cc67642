#include "host/desktop_entries.h"

#include <cctype>

namespace vlm::host {
namespace {

std::string xmlText(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

void appendMenu(std::string& out, const MenuFolder& folder, const std::string& indent) {
  out += indent + "<Menu>\n";
  out += indent + "  <Name>" + xmlText(folder.name) + "</Name>\n";
  if (!folder.directoryFile.empty()) out += indent + "  <Directory>" + xmlText(folder.directoryFile) + "</Directory>\n";
  if (!folder.entries.empty()) {
    out += indent + "  <Include>\n";
    for (const std::string& id : folder.entries) out += indent + "    <Filename>" + xmlText(id) + "</Filename>\n";
    out += indent + "  </Include>\n";
  }
  for (const MenuFolder& sub : folder.folders) appendMenu(out, sub, indent + "  ");
  out += indent + "</Menu>\n";
}

}  // namespace

std::string entryValue(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string execArgument(const std::string& argument) {
  static const std::string kReserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string out;
  const bool quoted = argument.empty() || argument.find_first_of(kReserved) != std::string::npos;
  if (quoted) out.push_back('"');
  for (char c : argument) {
    if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) out.push_back('\\');
    out.push_back(c);
    if (c == '%') out.push_back('%');
  }
  if (quoted) out.push_back('"');
  return out;
}

std::string idPart(const std::string& name) {
  std::string out;
  for (unsigned char c : name) {
    if (std::isalnum(c))
      out.push_back(static_cast<char>(std::tolower(c)));
    else if (!out.empty() && out.back() != '-')
      out.push_back('-');
  }
  while (!out.empty() && out.back() == '-') out.pop_back();
  return out.empty() ? "sample" : out;
}

std::string desktopEntry(const Launcher& launcher) {
  std::string exec;
  for (const std::string& argument : launcher.command) {
    if (!exec.empty()) exec.push_back(' ');
    exec += execArgument(argument);
  }
  if (!launcher.fieldCode.empty()) exec += " " + launcher.fieldCode;
  std::string out = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
  out += "Name=" + entryValue(launcher.name) + "\n";
  if (!launcher.comment.empty()) out += "Comment=" + entryValue(launcher.comment) + "\n";
  out += "Exec=" + entryValue(exec) + "\n";
  if (!launcher.icon.empty()) out += "Icon=" + entryValue(launcher.icon) + "\n";
  out += "Terminal=false\n";
  if (!launcher.mimeType.empty()) out += "MimeType=" + entryValue(launcher.mimeType) + ";\n";
  if (!launcher.categories.empty()) out += "Categories=" + entryValue(launcher.categories) + "\n";
  if (launcher.marked) out += std::string(kShortcutMarker) + "=true\n";
  return out;
}

std::string directoryEntry(const std::string& name, const std::string& icon) {
  std::string out = "[Desktop Entry]\nType=Directory\nVersion=1.0\n";
  out += "Name=" + entryValue(name) + "\n";
  if (!icon.empty()) out += "Icon=" + entryValue(icon) + "\n";
  return out;
}

std::string menuFile(const MenuFolder& folder) {
  std::string out =
      "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
      " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
      "<Menu>\n  <Name>Applications</Name>\n";
  appendMenu(out, folder, "  ");
  out += "</Menu>\n";
  return out;
}

std::string mimePackage(const std::string& comment) {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"") +
         kModelMimeType +
         "\">\n"
         "    <sub-class-of type=\"text/plain\"/>\n"
         "    <comment>" +
         xmlText(comment) +
         "</comment>\n"
         "    <icon name=\"" +
         kModelMimeIcon +
         "\"/>\n"
         "    <glob pattern=\"*.vlm\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

}  // namespace vlm::host
