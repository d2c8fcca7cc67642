#pragma once
// Reading the rows of a COPY ... TO STDOUT ahead, on a thread of its own:
// while the reader of the rows stores one block, the next ones come off the
// connection, so waiting for the server, libpq's work and the reader's work
// overlap. Only built with libpq.
#ifdef VLM_HAVE_LIBPQ
#include <libpq-fe.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/database/postgres_link.h"

namespace vlm::platform::db::pg {

// Rows as the server sent them, each line without its line feed; the last
// block of a stream says how it ended.
struct CopyBlock {
  enum class Status { More, End, Failed };
  std::string text;
  std::vector<size_t> ends;  // where each row's line ends in text
  Status status = Status::More;
  std::string error;           // why it failed

  size_t rows() const { return ends.size(); }
  std::string_view row(size_t i) const {
    const size_t start = i == 0 ? 0 : ends[i - 1];
    return std::string_view(text).substr(start, ends[i] - start);
  }
  void clear() {
    text.clear();
    ends.clear();
    status = Status::More;
    error.clear();
  }
};

class CopyFetch {
 public:
  // Blocks are handed over when they hold this many rows or bytes, or when
  // the server has sent nothing more for now; at most kBlocksAhead wait.
  static constexpr size_t kBlockRows = 2000;
  static constexpr size_t kBlockBytes = 256 * 1024;
  static constexpr size_t kBlocksAhead = 4;

  // Starts reading the results of the query sent on `c` (a COPY TO STDOUT).
  // Until stop() the connection belongs to the fetching thread.
  explicit CopyFetch(PGconn* c);
  ~CopyFetch();
  CopyFetch(const CopyFetch&) = delete;
  CopyFetch& operator=(const CopyFetch&) = delete;

  // The next block, swapped into `block` (whose old rows are given back to
  // be reused); false when none came before the deadline.
  bool take(CopyBlock& block, Clock::time_point deadline);
  // Ends the thread (at once, also while it waits for the server) and waits for it.
  void stop();

 private:
  void fetch();
  bool startCopy(std::string& error);
  bool finishCopy(std::string& error);
  // Waits for the socket; false when asked to stop.
  bool waitSocket();
  // Hands the block over, waiting while kBlocksAhead wait; false when asked to stop.
  bool hand(CopyBlock& block);
  bool stopping();

  PGconn* c_;
  int wake_ = -1;  // an eventfd: wakes the thread's wait on the socket
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<CopyBlock> ready_;
  std::vector<CopyBlock> spare_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace vlm::platform::db::pg
#endif
