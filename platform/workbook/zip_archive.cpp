#include "platform/workbook/zip_archive.h"

#include <zip.h>

namespace vlm::platform::workbook {
namespace {

std::string zipError(zip_error_t* error) {
  std::string text = zip_error_strerror(error);
  zip_error_fini(error);
  return text;
}

}  // namespace

std::unique_ptr<ZipArchive> ZipArchive::open(std::string_view bytes, std::string& error) {
  zip_error_t e;
  zip_error_init(&e);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &e);
  if (!source) {
    error = zipError(&e);
    return nullptr;
  }
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &e);
  if (!archive) {
    // The archive did not take the source over.
    zip_source_free(source);
    const bool notZip = zip_error_code_zip(&e) == ZIP_ER_NOZIP;
    error = zipError(&e);
    if (notZip) error = "it is not a zip archive";
    return nullptr;
  }
  zip_error_fini(&e);
  std::unique_ptr<ZipArchive> out(new ZipArchive);
  out->archive_ = archive;
  return out;
}

ZipArchive::~ZipArchive() {
  if (archive_) zip_discard(archive_);
}

bool ZipArchive::has(const std::string& name) const { return zip_name_locate(archive_, name.c_str(), 0) >= 0; }

ZipArchive::Part::Part(zip_file* file, ReadBudget& budget, std::string name)
    : file_(file), budget_(budget), name_(std::move(name)) {}

ZipArchive::Part::~Part() {
  if (file_) zip_fclose(file_);
}

int64_t ZipArchive::Part::read(char* out, size_t size) {
  if (!file_) return -1;
  const zip_int64_t n = zip_fread(file_, out, size);
  if (n < 0) {
    error_ = "its part " + name_ + " is damaged (" + zip_file_strerror(file_) + ")";
    return -1;
  }
  if (!budget_.unpack(static_cast<uint64_t>(n))) {
    error_ = budget_.why();
    return -1;
  }
  return n;
}

std::unique_ptr<ZipArchive::Part> ZipArchive::openPart(const std::string& name, ReadBudget& budget,
                                                       std::string& error) {
  const zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
  if (index < 0) return nullptr;
  zip_stat_t st;
  zip_stat_init(&st);
  // A part that says it unpacks to more than the budget is refused unread.
  if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) &&
      st.size > budget.limits().unpackedBytes) {
    error = "its part " + name + " unpacks to more than " +
            std::to_string((budget.limits().unpackedBytes + (1 << 20) - 1) >> 20) + " MiB";
    return nullptr;
  }
  zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
  if (!file) {
    error = "its part " + name + " cannot be opened (" + zip_strerror(archive_) + ")";
    return nullptr;
  }
  return std::unique_ptr<Part>(new Part(file, budget, name));
}

std::optional<std::string> ZipArchive::readPart(const std::string& name, ReadBudget& budget, std::string& error) {
  std::unique_ptr<Part> part = openPart(name, budget, error);
  if (!part) return std::nullopt;
  std::string text;
  char buffer[65536];
  for (;;) {
    const int64_t n = part->read(buffer, sizeof buffer);
    if (n < 0) {
      error = part->error();
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

}  // namespace vlm::platform::workbook
