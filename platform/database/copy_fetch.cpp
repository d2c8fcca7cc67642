#include "platform/database/copy_fetch.h"

#ifdef VLM_HAVE_LIBPQ
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>

#include "platform/database/postgres_database.h"

namespace vlm::platform::db::pg {

void addCopyRow(CopyBlock& block, std::string_view line, int lead) {
  const size_t lineStart = block.text.size();
  block.text.append(line);
  CopyBlock::Row row;
  row.lineEnd = block.text.size();
  size_t at = 0;
  for (int i = 0; i < lead; ++i) {
    const size_t tab = std::min(line.find('\t', at), line.size());
    if (i < 2) std::from_chars(line.data() + at, line.data() + tab, row.index[i]);
    at = std::min(tab + 1, line.size());
  }
  const std::string_view rest = line.substr(at);
  if (rest.find('\\') == std::string_view::npos) {
    // Without escapes (and so without NULLs) the line is the record.
    row.recordStart = lineStart + at;
    row.recordEnd = row.lineEnd;
  } else {
    row.decoded = true;
    row.recordStart = block.decoded.size();
    std::string value;
    for (size_t start = 0; start <= rest.size();) {
      const size_t tab = std::min(rest.find('\t', start), rest.size());
      if (start > 0) block.decoded.push_back('\t');
      if (decodeCopyField(rest.substr(start, tab - start), value)) {
        for (char& ch : value)
          if (ch == '\t' || ch == '\r' || ch == '\n' || ch == '\0') ch = ' ';
        block.decoded += value;
      }
      start = tab + 1;
    }
    row.recordEnd = block.decoded.size();
  }
  block.rows.push_back(row);
}

CopyFetch::CopyFetch(PGconn* c, int lead, size_t blocksAhead)
    : c_(c), lead_(lead), blocksAhead_(std::max<size_t>(blocksAhead, 1)), wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  thread_ = std::thread([this] { fetch(); });
}

CopyFetch::~CopyFetch() {
  stop();
  if (wake_ >= 0) ::close(wake_);
}

void CopyFetch::stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  wake();
  if (thread_.joinable()) thread_.join();
}

void CopyFetch::wake() {
  if (wake_ < 0) return;
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
}

bool CopyFetch::readerIdle() {
  std::lock_guard lock(mutex_);
  return ready_.empty();
}

bool CopyFetch::stopping() {
  std::lock_guard lock(mutex_);
  return stop_;
}

bool CopyFetch::take(CopyBlock& block, Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  // A block the thread is still filling is wanted now: its wait on the
  // socket is cut short, so that it hands the block over.
  if (ready_.empty()) wake();
  if (!changed_.wait_until(lock, deadline, [this] { return !ready_.empty(); })) return false;
  block.clear();
  spare_.push_back(std::move(block));
  block = std::move(ready_.front());
  ready_.pop_front();
  lock.unlock();
  changed_.notify_all();
  return true;
}

bool CopyFetch::hand(CopyBlock& block) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return stop_ || ready_.size() < blocksAhead_; });
  if (stop_) return false;
  ready_.push_back(std::move(block));
  if (!spare_.empty()) {
    block = std::move(spare_.back());
    spare_.pop_back();
  }
  block.clear();
  lock.unlock();
  changed_.notify_all();
  return true;
}

bool CopyFetch::waitSocket() {
  const int fd = PQsocket(c_);
  if (fd < 0) return !stopping();  // libpq says what broke
  // Without the eventfd the thread looks at the flags often instead. Any
  // return lets the caller look again (libpq answers "nothing yet" to a
  // wake-up that brought no data).
  pollfd p[2] = {{fd, POLLIN, 0}, {wake_, POLLIN, 0}};
  const int r = ::poll(p, wake_ >= 0 ? 2 : 1, wake_ >= 0 ? -1 : 20);
  if (r > 0 && (p[1].revents & POLLIN) != 0) {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = ::read(wake_, &count, sizeof count);
  }
  return !stopping();
}

bool CopyFetch::startCopy(std::string& error) {
  while (PQisBusy(c_)) {
    if (!waitSocket()) return false;
    if (!PQconsumeInput(c_)) {
      error = oneLine(PQerrorMessage(c_));
      return false;
    }
  }
  Result r;
  r.r = PQgetResult(c_);
  if (r.r && PQresultStatus(r.r) == PGRES_COPY_OUT) return true;
  error = oneLine(r.r ? PQresultErrorMessage(r.r) : PQerrorMessage(c_));
  return false;
}

// The copy's results say whether it ended well.
bool CopyFetch::finishCopy(std::string& error) {
  std::string failure;
  for (;;) {
    while (PQisBusy(c_)) {
      if (!waitSocket()) return false;
      if (!PQconsumeInput(c_)) {
        error = oneLine(PQerrorMessage(c_));
        return false;
      }
    }
    PGresult* r = PQgetResult(c_);
    if (!r) break;
    const ExecStatusType s = PQresultStatus(r);
    if ((s == PGRES_FATAL_ERROR || s == PGRES_BAD_RESPONSE) && failure.empty()) failure = oneLine(PQresultErrorMessage(r));
    PQclear(r);
  }
  error = failure;
  return failure.empty();
}

void CopyFetch::fetch() {
  CopyBlock block;
  auto fail = [&](std::string why) {
    block.status = CopyBlock::Status::Failed;
    block.error = std::move(why);
    hand(block);
  };
  std::string error;
  if (!startCopy(error)) {
    if (!stopping()) fail(error);
    return;
  }
  for (;;) {
    char* line = nullptr;
    const int n = PQgetCopyData(c_, &line, 1);
    if (n > 0) {
      size_t length = static_cast<size_t>(n);
      if (line[length - 1] == '\n') --length;
      addCopyRow(block, std::string_view(line, length), lead_);
      PQfreemem(line);
      if ((block.rows.size() >= kBlockRows || block.text.size() >= kBlockBytes) && !hand(block)) return;
      continue;
    }
    if (n == 0) {
      // Nothing more for now: what came is handed over before the wait when
      // the reader has nothing else to take (while it has, the block grows,
      // so that a fast stream goes in few hand-overs).
      if (!block.rows.empty() && readerIdle() && !hand(block)) return;
      if (!waitSocket()) return;
      if (!PQconsumeInput(c_)) return fail(oneLine(PQerrorMessage(c_)));
      continue;
    }
    if (n == -2) return fail(oneLine(PQerrorMessage(c_)));
    if (!finishCopy(error)) {
      if (!stopping()) fail(error);
      return;
    }
    block.status = CopyBlock::Status::End;
    hand(block);
    return;
  }
}

}  // namespace vlm::platform::db::pg
#endif
