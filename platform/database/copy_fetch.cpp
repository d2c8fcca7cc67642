#include "platform/database/copy_fetch.h"

#ifdef VLM_HAVE_LIBPQ
#include <poll.h>
#include <sys/eventfd.h>
#include <time.h>
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

bool CopyFetch::readerAsks() {
  std::lock_guard lock(mutex_);
  return asked_ && ready_.empty();
}

bool CopyFetch::stopping() {
  std::lock_guard lock(mutex_);
  return stop_;
}

bool CopyFetch::take(CopyBlock& block, Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  const auto waiting = [this] { return !ready_.empty(); };
  // A full block usually comes within moments. Asking at once for the one
  // still being filled would move a few rows at a time, each move a round of
  // wake-ups between the threads that costs more than the rows.
  if (!changed_.wait_until(lock, std::min(deadline, Clock::now() + kPatience), waiting)) {
    // The block being filled is wanted now: the thread's wait on the socket
    // is cut short, so that it hands the block over.
    asked_ = true;
    wake();
    if (!changed_.wait_until(lock, deadline, waiting)) return false;
  }
  asked_ = false;
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

bool CopyFetch::wait(bool socket, const timespec* timeout) {
  const int fd = socket ? PQsocket(c_) : -1;
  if (socket && fd < 0) return !stopping();  // libpq says what broke
  // Without the eventfd the thread looks at the flags often instead. Any
  // return lets the caller look again (libpq answers "nothing yet" to a
  // wake-up that brought no data). poll passes over a negative descriptor.
  static constexpr timespec kLookAgain{0, 20'000'000};
  if (wake_ < 0 && !timeout) timeout = &kLookAgain;
  pollfd p[2] = {{wake_, POLLIN, 0}, {fd, POLLIN, 0}};
  if (::ppoll(p, 2, timeout, nullptr) > 0 && (p[0].revents & POLLIN) != 0) {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = ::read(wake_, &count, sizeof count);
  }
  return !stopping();
}

bool CopyFetch::waitSocket() { return wait(true, nullptr); }

bool CopyFetch::pause() {
  static constexpr timespec kGatherTime{0, std::chrono::nanoseconds(kGather).count()};
  return wait(false, &kGatherTime);
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
  // Whether the socket was read since the last row came, and whether the
  // thread has paused since.
  bool read = false, paused = false;
  for (;;) {
    char* line = nullptr;
    const int n = PQgetCopyData(c_, &line, 1);
    if (n > 0) {
      read = paused = false;
      size_t length = static_cast<size_t>(n);
      if (line[length - 1] == '\n') --length;
      addCopyRow(block, std::string_view(line, length), lead_);
      PQfreemem(line);
      if ((block.rows.size() >= kBlockRows || block.text.size() >= kBlockBytes) && !hand(block)) return;
      continue;
    }
    if (n == 0) {
      // What the socket holds already is read without a wait.
      if (!read) {
        if (!PQconsumeInput(c_)) return fail(oneLine(PQerrorMessage(c_)));
        read = true;
        continue;
      }
      // Nothing more for now: what came is handed over before the wait when
      // the reader asks for it (otherwise the block grows, so that a fast
      // stream goes in few hand-overs).
      if (!block.rows.empty() && readerAsks() && !hand(block)) return;
      // A fast stream arrives a few kilobytes at a time; waiting on the
      // socket for each piece would wake this thread, and have the server
      // wake it, thousands of times a second. A short pause lets the pieces
      // gather; only a server still quiet after it is waited for.
      if (!paused && !readerAsks()) {
        if (!pause()) return;
        paused = true;
        read = false;
        continue;
      }
      if (!waitSocket()) return;
      if (!PQconsumeInput(c_)) return fail(oneLine(PQerrorMessage(c_)));
      paused = false;
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
