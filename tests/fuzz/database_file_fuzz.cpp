// Arbitrary bytes as a database file opened by the workspace, or as the
// topics and commands of its conversations: nothing may crash, and every
// object a damaged file lists must stream to its end or fail with a reason.
//
// Input layout: byte 0 a multiple of 4: the rest is a database file (seed
// the corpus with small SQLite files); odd: the rest is a topic, a SQL text
// and a macro command, separated by NUL bytes; 2 modulo 4: the rest are edits
// of a small Access file (written by the tests' Jet writer, larger than the
// inputs the fuzzer makes): four bytes each, an offset into the pages after
// the header (three bytes) and the byte to put there.
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "common/access_files.h"
#include "platform/database/database.h"
#include "platform/workspace/workspace_server.h"
#include "fuzz_check.h"

namespace {

void fuzzNames(std::string_view text) {
  using namespace vlm::platform::workspace;
  const size_t a = text.find('\0');
  const std::string_view topic = text.substr(0, a);
  const std::string_view rest = a == std::string_view::npos ? std::string_view() : text.substr(a + 1);
  const TopicName t = parseTopic(topic, dataSourceName(rest));
  if (t.kind == TopicKind::Table || t.kind == TopicKind::Query) check(!t.name.empty());
  const std::string counted = countedObject(rest);
  check(counted.size() <= rest.size());
  ExecuteCommand c;
  if (parseExecute(rest, c)) check(c.name.size() <= rest.size());
}

void fuzzFile(std::string_view bytes);

void fuzzAccessEdits(std::string_view edits) {
  static const std::string original = vlm::test::jetDatabaseBytes(vlm::test::sampleJetDatabase());
  std::string file = original;
  for (size_t i = 0; i + 4 <= edits.size(); i += 4) {
    const auto* e = reinterpret_cast<const unsigned char*>(edits.data() + i);
    const size_t offset = size_t{e[0]} | size_t{e[1]} << 8 | size_t{e[2]} << 16;
    file[4096 + offset % (file.size() - 4096)] = static_cast<char>(e[3]);
  }
  fuzzFile(file);
}

void fuzzFile(std::string_view bytes) {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("vlm-db-fuzz-" + std::to_string(::getpid()) + ".sqlite")).string();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string error;
  auto db = vlm::platform::db::openDatabaseFile(path, error);
  if (!db) {
    check(!error.empty());
    return;
  }
  auto objects = db->objects(error);
  if (!objects) return;
  for (const auto& o : *objects) {
    db->columns(o, error);
    db->rowCount(o, error);
    auto cursor = db->open(o, {}, error);
    if (!cursor) continue;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    int rows = 0;
    vlm::platform::db::Step step;
    while ((step = cursor->next(deadline)) == vlm::platform::db::Step::Row && ++rows < 1000) {
      for (int c = 0; c < cursor->columnCount(); ++c) {
        std::string_view t;
        cursor->cell(c, t);
      }
    }
    if (step == vlm::platform::db::Step::Failed) check(!cursor->error().empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) fuzzNames(rest);
  else if ((data[0] & 3) == 2) fuzzAccessEdits(rest);
  else fuzzFile(rest);
  return 0;
}
