#pragma once
// Reading the rows of a COPY ... TO STDOUT ahead, on a thread of its own:
// while the reader of the rows stores one block, the next ones come off the
// connection, so waiting for the server, libpq's work and the reader's work
// overlap. Only built with libpq.
#ifdef VLM_HAVE_LIBPQ
#include <libpq-fe.h>
#include <time.h>

#include <chrono>
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

// Rows as the server sent them, each line without its line feed, and each
// readied as a record: the cells after the `lead` index cells separated by
// tabs, NULL as nothing, escapes decoded, tabs, line breaks and NULs inside a
// value as blanks. The last block of a stream says how it ended.
struct CopyBlock {
  enum class Status { More, End, Failed };
  struct Row {
    size_t lineEnd = 0;  // in text; the line starts where the one before ended
    size_t recordStart = 0, recordEnd = 0;
    bool decoded = false;  // the record is in `decoded`, not in the line
    int64_t index[2] = {0, 0};  // the lead cells as numbers
  };
  std::string text;
  std::string decoded;  // the records of rows with escapes or NULLs
  std::vector<Row> rows;
  Status status = Status::More;
  std::string error;  // why it failed

  std::string_view line(size_t i) const {
    const size_t start = i == 0 ? 0 : rows[i - 1].lineEnd;
    return std::string_view(text).substr(start, rows[i].lineEnd - start);
  }
  std::string_view record(size_t i) const {
    const Row& r = rows[i];
    return std::string_view(r.decoded ? decoded : text).substr(r.recordStart, r.recordEnd - r.recordStart);
  }
  void clear() {
    text.clear();
    decoded.clear();
    rows.clear();
    status = Status::More;
    error.clear();
  }
};

// Adds one COPY text line (without its line feed) to the block: the line,
// its lead cells read as numbers and its record.
void addCopyRow(CopyBlock& block, std::string_view line, int lead);

class CopyFetch {
 public:
  // Blocks are handed over when they hold this many rows or bytes, or, when
  // the server has sent nothing more for now, once the reader has waited
  // kPatience for a full one; at most kBlocksAhead wait.
  static constexpr size_t kBlockRows = 2000;
  static constexpr size_t kBlockBytes = 256 * 1024;
  static constexpr size_t kBlocksAhead = 4;
  static constexpr std::chrono::milliseconds kPatience{2};
  // How long the thread lets a stream's data gather before it reads again.
  static constexpr std::chrono::microseconds kGather{500};

  // Starts reading the results of the query sent on `c` (a COPY TO STDOUT),
  // whose rows begin with `lead` index cells, keeping at most `blocksAhead`
  // blocks waiting. Until stop() the connection belongs to the fetching thread.
  CopyFetch(PGconn* c, int lead, size_t blocksAhead = kBlocksAhead);
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
  // Waits for a wake(), for the socket too when `socket`, at most `timeout`
  // (none: no limit); false when asked to stop.
  bool wait(bool socket, const timespec* timeout);
  // Waits for the socket or a wake(); false when asked to stop.
  bool waitSocket();
  // Waits kGather or until a wake(); false when asked to stop.
  bool pause();
  void wake();
  // Hands the block over, waiting while kBlocksAhead wait; false when asked to stop.
  bool hand(CopyBlock& block);
  bool stopping();
  bool readerAsks();  // the reader waits for the block being filled

  PGconn* c_;
  int lead_;
  size_t blocksAhead_;
  int wake_ = -1;  // an eventfd: wakes the thread's wait on the socket
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<CopyBlock> ready_;
  std::vector<CopyBlock> spare_;
  bool stop_ = false;
  bool asked_ = false;
  std::thread thread_;
};

}  // namespace vlm::platform::db::pg
#endif
