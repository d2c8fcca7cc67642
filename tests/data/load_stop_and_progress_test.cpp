// A stop takes effect where the reading is, even inside a line; and the
// loading pass reports its progress by sample, the same on one or two threads.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "data/support/data_test_support.h"
#include "data/table_clear.h"
#include "data/table_text_load.h"
#include "data/table_text_reader.h"

namespace vlm {
namespace {

// A text in pages of its own, one of which can be made unreadable: the first
// read of it sets the abort flag (in the fault handler) and makes it readable
// again, so the flag is set exactly when the reading reaches that character.
class TrapText {
 public:
  explicit TrapText(const std::string& text) {
    page_ = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    size_ = (text.size() / page_ + 1) * page_;
    void* base = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return;
    base_ = static_cast<char*>(base);
    std::memcpy(base_, text.data(), text.size());
    length_ = text.size();
    struct sigaction action {};
    action.sa_sigaction = &TrapText::onFault;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SIGSEGV, &action, &previous_);
  }
  ~TrapText() {
    sigaction(SIGSEGV, &previous_, nullptr);
    trap_ = nullptr;
    if (base_) munmap(base_, size_);
  }
  TrapText(const TrapText&) = delete;
  TrapText& operator=(const TrapText&) = delete;

  bool ready() const { return base_ != nullptr; }
  std::string_view view() const { return {base_, length_}; }

  // The next read of the page that holds character `at` sets `flag`.
  void arm(size_t at, std::atomic<int32_t>& flag) {
    flag_ = &flag;
    trap_ = base_ + at / page_ * page_;
    trapSize_ = page_;
    mprotect(trap_, page_, PROT_NONE);
  }

 private:
  static void onFault(int, siginfo_t* info, void*) {
    char* at = static_cast<char*>(info->si_addr);
    char* trap = trap_;
    if (trap && at >= trap && at < trap + trapSize_) {
      mprotect(trap, trapSize_, PROT_READ | PROT_WRITE);
      trap_ = nullptr;
      flag_->store(1);
      return;
    }
    // Any other fault is a real one.
    signal(SIGSEGV, SIG_DFL);
  }

  static inline char* volatile trap_ = nullptr;
  static inline size_t trapSize_ = 0;
  static inline std::atomic<int32_t>* flag_ = nullptr;
  char* base_ = nullptr;
  size_t size_ = 0, length_ = 0, page_ = 0;
  struct sigaction previous_ {};
};

// A header, short lines, then one line of many long cells as the last.
std::string endingInALongLine(const char* end) {
  std::string text = std::string("n\tw") + end;
  for (int i = 0; i < 300; ++i) text += std::to_string(i) + "\tword" + std::to_string(i % 7) + end;
  text += "77\t";
  for (int c = 0; c < 12; ++c) text += std::string(9000, static_cast<char>('a' + c)) + "\t";
  return text + end;
}

TEST(LoadStop, AStopInsideALineEndsTheReadingThere) {
  for (TableTextFormat format : {TableTextFormat::Clipboard, TableTextFormat::TabFile}) {
    const std::string text = endingInALongLine("\r\n");
    TrapText trap(text);
    ASSERT_TRUE(trap.ready());
    std::atomic<int32_t> abort{0};
    TableTextReader reader(trap.view(), format, &abort);
    std::vector<std::string_view> cells;
    for (int line = 0; line < 301; ++line) ASSERT_EQ(reader.next(cells, 4), RecordStatus::Record);
    const size_t lineStart = reader.position();
    // Deep inside the long line: neither its end nor its cells are reached.
    trap.arm(lineStart + 60000, abort);
    EXPECT_EQ(reader.next(cells, 4), RecordStatus::Aborted);
    EXPECT_EQ(abort.load(), 1);
    EXPECT_TRUE(cells.empty());
    EXPECT_EQ(reader.position(), lineStart);
  }
}

// The flag set while the loading pass reads the last line, long after the
// analysis pass read it: the load is cancelled, not finished.
TEST(LoadStop, AStopInTheLastLineOfTheLoadingPassCancelsTheLoad) {
  const std::string text = endingInALongLine("\r\n");
  const size_t longLine = text.rfind("77\t");
  for (LoadThreads threads : {LoadThreads::One, LoadThreads::BothAtAnySize}) {
    TrapText trap(text);
    ASSERT_TRUE(trap.ready());
    std::atomic<int32_t> abort{0};
    ProgressSink progress;
    progress.begin = [&](const char* pass, int32_t, int32_t) {
      if (std::string(pass) == " loading") trap.arm(longLine + 50000, abort);
    };
    DataTable table;
    clearTable(table);
    EXPECT_EQ(loadTableText(table, trap.view(), TableTextFormat::Clipboard, test::settings(), &abort, progress,
                            threads)
                  .status,
              TextLoadStatus::Aborted);
    EXPECT_EQ(abort.load(), 1);
  }
}

std::vector<int32_t> loadingSteps(const std::string& text, LoadThreads threads, int32_t* rows) {
  std::vector<int32_t> steps;
  bool loading = false;
  ProgressSink progress;
  progress.begin = [&](const char* pass, int32_t, int32_t) { loading = std::string(pass) == " loading"; };
  progress.step = [&](int32_t p) {
    if (loading) steps.push_back(p);
  };
  DataTable table;
  clearTable(table);
  const TextLoadResult result =
      loadTableText(table, text, TableTextFormat::TabFile, test::settings(), nullptr, progress, threads);
  EXPECT_EQ(result.status, TextLoadStatus::Loaded);
  *rows = result.rows;
  return steps;
}

// Every hundredth of the samples (every sample below a hundred) posts
// 10000 × index / count, in order, whether the load ran on one thread or two,
// and with or without texts and dates to intern.
TEST(LoadProgress, TheLoadingPassCountsSamplesOnOneOrTwoThreads) {
  std::string mixed = "n\tw\td\tr\n", numbers = "a\tb\n";
  for (int i = 0; i < 12345; ++i) {
    mixed += std::to_string(i) + "\tw" + std::to_string(i % 300) + "\t2020-01-" + std::to_string(10 + i % 19) +
             "\t" + std::to_string(i % 97) + ".5\n";
    numbers += std::to_string(i) + "\t" + std::to_string(i * 3) + "\n";
    if (i % 1000 == 0) mixed += "\t\t\t\n";  // not a sample
  }
  for (const std::string* text : {&mixed, &numbers}) {
    for (const int rows : {12345, 57}) {
      // The header and the next `rows` lines.
      size_t at = 0;
      for (int line = 0; line <= rows; ++line) at = text->find('\n', at) + 1;
      const std::string part = text->substr(0, at);
      int32_t count = 0;
      const std::vector<int32_t> one = loadingSteps(part, LoadThreads::One, &count);
      ASSERT_GT(count, rows - 20);
      std::vector<int32_t> expected;
      const int32_t every = std::max(1, count / 100);
      for (int32_t s = every; s <= count; s += every)
        expected.push_back(std::max<int32_t>(1, static_cast<int32_t>(int64_t{s} * 10000 / count)));
      EXPECT_EQ(one, expected);
      EXPECT_EQ(loadingSteps(part, LoadThreads::BothAtAnySize, &count), expected);
    }
  }
}

}  // namespace
}  // namespace vlm
