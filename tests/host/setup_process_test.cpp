// The program itself, run as a user runs it: "vlmac -i" and "vlmac -r" in a
// throw-away home without a display (answers on the standard input), the
// package scripts' machine registration, usage and version, and "-c" on a
// real display.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "host/addin_button.h"
#include "host/installation.h"
#include "host/support/host_fixture.h"
#include "host/support/setup_support.h"

namespace vlm::test {
namespace {

namespace fs = std::filesystem;

// The program next to the test programs' folder.
fs::path programPath() { return fs::canonical("/proc/self/exe").parent_path().parent_path() / "vlmac"; }

struct Outcome {
  int exitCode = -1;
  std::string out, err;
};

class SetupProcessTest : public ::testing::Test {
 protected:
  SetupProcessTest() : temp_("setup-process") {}
  void SetUp() override {
    home_ = temp_.path() / "home";
    folder_ = temp_.path() / "Velmora";
    fs::create_directories(home_ / "Desktop");
    // An installation folder: assets of its own, the real program and engine.
    makeInstallationFolder(folder_, {"samples/demo.vlm"});
    for (const char* file : {"vlmac", "libvlmapi.so"}) {
      fs::remove(folder_ / file);
      fs::create_symlink(programPath().parent_path() / file, folder_ / file);
    }
  }

  Outcome run(const QStringList& arguments, const std::string& input = {}, const fs::path& folder = {},
          const std::string& machineFile = "/proc/velmora-no-such-folder/registry") {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                             "XDG_DESKTOP_DIR"})
      env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), QString::fromStdString(home_.string()));
    env.insert(QStringLiteral("VELMORA_MACHINE_REGISTRY"), QString::fromStdString(machineFile));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QString::fromStdString((folder.empty() ? folder_ : folder).string()));
    process.start(QString::fromStdString((folder.empty() ? folder_ / "vlmac" : programPath()).string()), arguments);
    Outcome r;
    if (!process.waitForStarted(10000)) return r;
    process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
      process.kill();
      process.waitForFinished();
      return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    r.out = process.readAllStandardOutput().toStdString();
    r.err = process.readAllStandardError().toStdString();
    return r;
  }

  fs::path registryFile() const { return home_ / ".config" / "velmora" / "registry"; }

  TempFolder temp_;
  fs::path home_, folder_;
};

// What the desktop's own tools regenerate from their sources: the MIME
// database and the launchers' file-type cache.
bool isDesktopCache(const std::string& relative) {
  if (relative == ".local/share/applications/mimeinfo.cache") return true;
  return relative.rfind(".local/share/mime/", 0) == 0 && relative.rfind(".local/share/mime/packages/", 0) != 0;
}

TEST_F(SetupProcessTest, InstallThenRemoveInAThrowAwayHomeLeavesEverythingElseAsItWas) {
  writeText(registryFile(),
            "[SOFTWARE\\\\Velmora\\\\Velmora.Access\\\\]\ndword:WinPosX=5\n[SOFTWARE\\\\Other\\\\]\ntext:Keep=me\n");
  writeText(home_ / ".local/share/applications/other.desktop",
            "[Desktop Entry]\nType=Application\nName=Other\nExec=true\n");
  writeText(home_ / ".local/share/mime/packages/other.xml",
            "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">"
            "<mime-type type=\"application/x-other\"><glob pattern=\"*.oth\"/></mime-type></mime-info>\n");
  writeText(home_ / "Desktop" / "notes.txt", "mine");
  const auto before = snapshot(home_);

  const Outcome installed = run({QStringLiteral("-i")});
  ASSERT_EQ(installed.exitCode, 0) << installed.out << installed.err;
  EXPECT_NE(installed.out.find("Velmora ACCESS Installation Complete\nCongratulations!"), std::string::npos)
      << installed.out;

  // Every file of the registration is there.
  const auto after = snapshot(home_);
  for (const char* file :
       {".config/menus/applications-merged/velmora-access.menu", ".local/share/applications/velmora/access.desktop",
        ".local/share/applications/velmora/access-help.desktop",
        ".local/share/applications/velmora/access-demos/readme.desktop",
        ".local/share/applications/velmora/access-demos/demo.desktop",
        ".local/share/desktop-directories/velmora.directory",
        ".local/share/desktop-directories/velmora-access-demos.directory",
        ".local/share/icons/hicolor/scalable/apps/velmora-access.svg",
        ".local/share/icons/hicolor/scalable/mimetypes/application-x-velmora-model.svg",
        ".local/share/icons/hicolor/48x48/apps/velmora-access.png",
        ".local/share/icons/hicolor/48x48/mimetypes/application-x-velmora-model.png",
        ".local/share/mime/packages/velmora-access.xml", "Desktop/velmora-access.desktop"})
    EXPECT_TRUE(after.count(file)) << file;
  EXPECT_NE(after.at(".local/share/mime/globs2").find("application/x-velmora-model:*.vlm"), std::string::npos);
  EXPECT_NE(after.at(".local/share/mime/globs2").find("application/x-other:*.oth"), std::string::npos);
  EXPECT_NE(after.at(".local/share/applications/mimeinfo.cache").find("application/x-velmora-model=velmora-access.desktop"),
            std::string::npos);

  // And every registry entry, the machine's in the user's virtual store (the
  // machine store is not writable here); the old settings are gone.
  const std::string program = (folder_ / "vlmac").string();
  RegistryFile registry = readRegistryFile(registryFile());
  EXPECT_EQ(registry["SOFTWARE\\CLASSES\\VIRTUALSTORE\\MACHINE\\SOFTWARE\\VELMORA\\VELMORA.ACCESS"]["InstallRoot"],
            "text:" + folder_.string());
  EXPECT_EQ(registry["SOFTWARE\\CLASSES\\.VLM"][""], "text:Velmora.Access");
  EXPECT_EQ(registry["SOFTWARE\\CLASSES\\VELMORA.ACCESS\\SHELL\\OPEN\\COMMAND"][""],
            "text:\"" + program + "\" \"%1\"");
  EXPECT_EQ(registry["SOFTWARE\\VB AND VBA PROGRAM SETTINGS\\VELMORA\\ACCESS"]["Launch"], "text:" + program);
  EXPECT_EQ(registry["SOFTWARE\\MICROSOFT\\OFFICE\\ACCESS\\ADDINS\\VELMORA_ACCESS_ADDIN.CONNECT"]["LoadBehavior"],
            "dword:3");
  EXPECT_EQ(registry["SOFTWARE\\CLASSES\\VIRTUALSTORE\\MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\VELMORA.ACCESS"]
                    ["UninstallString"],
            "text:" + program + " -r");
  EXPECT_TRUE(registry.count(
      "SOFTWARE\\CLASSES\\CLSID\\{B94E1F62-0D3A-4C85-A7E9-5F2C8B1D6E03}\\IMPLEMENTED CATEGORIES\\{40FC6ED5-2438-11CF-A3DB-080036F12502}"));
  EXPECT_FALSE(registry.count("SOFTWARE\\VELMORA\\VELMORA.ACCESS"));
  EXPECT_EQ(registry["SOFTWARE\\OTHER"]["Keep"], "text:me");

  // The desktop itself opens model files with the program.
  if (!host::findProgram("gio").empty()) {
    QProcess gio;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), QString::fromStdString(home_.string()));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    gio.setProcessEnvironment(env);
    gio.start(QStringLiteral("gio"), {QStringLiteral("mime"), QStringLiteral("application/x-velmora-model")});
    ASSERT_TRUE(gio.waitForFinished(20000));
    EXPECT_NE(gio.readAllStandardOutput().indexOf("application/x-velmora-model\xe2\x80\x9d: velmora-access.desktop"),
              -1);
  }

  const Outcome removed = run({QStringLiteral("-r")}, "y\n", temp_.path());
  ASSERT_EQ(removed.exitCode, 0) << removed.out << removed.err;
  EXPECT_TRUE(removed.err.empty()) << removed.err;

  // Nothing of ours is left; everything else is as it was (but the old
  // settings, which installing deleted) and only the desktop's caches are new.
  const auto last = snapshot(home_);
  for (const auto& [path, content] : before) {
    if (path == ".config/velmora/registry") continue;
    ASSERT_TRUE(last.count(path)) << path;
    EXPECT_EQ(last.at(path), content) << path;
  }
  registry = readRegistryFile(registryFile());
  EXPECT_EQ(registry.size(), 1u) << "only the other program's key stays";
  EXPECT_EQ(registry["SOFTWARE\\OTHER"]["Keep"], "text:me");
  for (const auto& [path, content] : last) {
    if (before.count(path)) continue;
    EXPECT_TRUE(content == "<folder>" || isDesktopCache(path)) << "left behind: " << path;
    EXPECT_EQ(path.find("velmora"), std::string::npos) << "left behind: " << path;
  }
  EXPECT_EQ(last.at(".local/share/mime/globs2").find("velmora"), std::string::npos);
  EXPECT_NE(last.at(".local/share/mime/globs2").find("application/x-other:*.oth"), std::string::npos);
  // The engine library left the installation folder, which still holds the program.
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder_ / "libvlmapi.so")));
  EXPECT_TRUE(fs::exists(folder_ / "vlmac"));
}

TEST_F(SetupProcessTest, RemovalAnsweredNoOrNotAtAllChangesNothing) {
  ASSERT_EQ(run({QStringLiteral("-i")}).exitCode, 0);
  const auto installed = snapshot(home_);
  for (const std::string& answer : {std::string("n\n"), std::string("")}) {
    const Outcome r = run({QStringLiteral("-r")}, answer);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Do you want to completely remove"), std::string::npos);
    EXPECT_EQ(snapshot(home_), installed);
    EXPECT_TRUE(fs::exists(folder_ / "libvlmapi.so"));
  }
}

TEST_F(SetupProcessTest, AFailedStepIsReportedAndTheOthersAreDone) {
  fs::remove_all(folder_ / "assets" / "help");
  writeText(home_ / ".local" / "share" / "desktop-directories", "a file where a folder should be");
  const Outcome r = run({QStringLiteral("-i")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Velmora ACCESS Installation Incomplete"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the help launcher: there are no help pages"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the menu folder's name"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("Congratulations"), std::string::npos);
  EXPECT_TRUE(fs::exists(home_ / "Desktop" / "velmora-access.desktop"));
  EXPECT_TRUE(fs::exists(home_ / ".config/menus/applications-merged/velmora-access.menu"));
}

TEST_F(SetupProcessTest, ThePackageScriptsRecordAndForgetTheMachinesInstallationFolder) {
  const fs::path machine = temp_.path() / "etc" / "velmora" / "registry";
  Outcome r = run({QStringLiteral("--register-machine"), QStringLiteral("/usr/share/velmora")}, {}, temp_.path(),
              machine.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(readRegistryFile(machine)["SOFTWARE\\VELMORA\\VELMORA.ACCESS"]["InstallRoot"], "text:/usr/share/velmora");
  EXPECT_FALSE(fs::exists(registryFile())) << "the machine store was writable";
  r = run({QStringLiteral("--unregister-machine")}, {}, temp_.path(), machine.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(fs::exists(machine.parent_path())) << "no empty file or folder stays";
  EXPECT_TRUE(fs::exists(temp_.path() / "etc"));
  EXPECT_EQ(run({QStringLiteral("--register-machine"), QStringLiteral("relative")}, {}, temp_.path(), machine.string())
                .exitCode,
            2);
}

TEST_F(SetupProcessTest, UsageAndVersionNeedNoDisplay) {
  Outcome r = run({QStringLiteral("--version")}, {}, temp_.path());
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.rfind("vlmac (Velmora ACCESS) ", 0), 0u) << r.out;
  EXPECT_EQ(r.out.back(), '\n');
  r = run({QStringLiteral("--help")}, {}, temp_.path());
  EXPECT_EQ(r.exitCode, 0);
  for (const char* item : {"Usage: vlmac [FILE]", "  -i ", "  -r ", "  -c ", "--version"})
    EXPECT_NE(r.out.find(item), std::string::npos) << item;
  r = run({QStringLiteral("-c")}, {}, temp_.path());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("-c needs a display"), std::string::npos);
  EXPECT_TRUE(snapshot(home_).size() == 1) << "nothing written";
}

// Runs `command` and returns its standard output (empty when it fails).
QByteArray output(const QString& program, const QStringList& arguments, const QByteArray& input = {}) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForStarted(5000)) return {};
  process.write(input);
  process.closeWriteChannel();
  if (!process.waitForFinished(10000)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  return process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

// On an X display the image stays on offer after the hand-over, until another
// program takes the clipboard; then the program ends. The display is one of
// its own, so no other test's clipboard use gets in the way.
TEST_F(SetupProcessTest, TheButtonImageStaysOnTheClipboardUntilAnotherProgramTakesIt) {
  if (host::findProgram("Xvfb").empty() || host::findProgram("xclip").empty() || host::findProgram("xdpyinfo").empty())
    GTEST_SKIP() << "needs Xvfb, xclip and xdpyinfo";
  // Xvfb names its display on standard output once it listens (its socket
  // appears earlier, and a program started then cannot connect). It must not
  // reset when the probe below leaves, or the program may find it resetting.
  QProcess server;
  server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                                        QStringLiteral("-nolisten"),
                                        QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                                        QStringLiteral("320x240x24")});
  QString display;
  if (server.waitForStarted(5000) &&
      waitFor([&] { return server.canReadLine() || server.state() == QProcess::NotRunning; }, 20000) &&
      server.canReadLine())
    display = QStringLiteral(":") + QString::fromLatin1(server.readLine()).trimmed();
  ASSERT_FALSE(display.isEmpty()) << "no display of its own";
  ASSERT_TRUE(waitFor([&] { return !output(QStringLiteral("xdpyinfo"), {QStringLiteral("-display"), display}).isEmpty(); },
                      20000))
      << "the display " << display.toStdString() << " takes no connection";

  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("HOME"), QString::fromStdString(home_.string()));
  env.insert(QStringLiteral("DISPLAY"), display);
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  program.setProcessEnvironment(env);
  program.start(QString::fromStdString(programPath().string()), {QStringLiteral("-c")});
  ASSERT_TRUE(program.waitForStarted(10000));
  const QStringList clipboard{QStringLiteral("-display"), display, QStringLiteral("-selection"),
                              QStringLiteral("clipboard")};
  QImage image;
  EXPECT_TRUE(waitFor(
      [&] {
        const QByteArray png = output(QStringLiteral("xclip"), clipboard + QStringList{QStringLiteral("-t"),
                                                                                       QStringLiteral("image/png"),
                                                                                       QStringLiteral("-o")});
        image = QImage::fromData(png, "PNG");
        return !image.isNull();
      },
      20000))
      << "exit " << program.exitCode() << ": " << program.readAllStandardError().toStdString();
  EXPECT_EQ(image.size(), QSize(16, 16));
  // A moment later it is still on offer: the program did not end and take it along.
  QTest::qWait(500);
  EXPECT_EQ(program.state(), QProcess::Running);
  EXPECT_FALSE(output(QStringLiteral("xclip"), clipboard + QStringList{QStringLiteral("-t"),
                                                                       QStringLiteral("TARGETS"), QStringLiteral("-o")})
                   .isEmpty());
  // Another program copies: the image is no longer needed and the program ends.
  output(QStringLiteral("xclip"), clipboard + QStringList{QStringLiteral("-i")}, "taken");
  EXPECT_TRUE(waitFor([&] { return program.state() == QProcess::NotRunning; }, 10000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  if (program.state() != QProcess::NotRunning) program.kill();
  program.waitForFinished();
  server.terminate();
  if (!server.waitForFinished(5000)) server.kill();
  server.waitForFinished();
}

// The image in the system's colours, as the add-in's button shows it.
TEST(AddinHandOverTest, TheClipboardHoldsTheFaceInTheSystemsColours) {
  if (QGuiApplication::platformName() == QStringLiteral("offscreen") ||
      QGuiApplication::platformName() == QStringLiteral("xcb")) {
    ASSERT_TRUE(host::putButtonImageOnClipboard());
    const QImage expected = host::withSystemColours(host::addinButtonFace(), QGuiApplication::palette());
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), expected);
  }
}

}  // namespace
}  // namespace vlm::test
