#include "support/table_file.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

namespace vlm::bench {

bool writeTableFile(const std::string& path, const TableFileShape& shape) {
  static const char* const cities[] = {"Oslo", "Lyon", "Graz", "Porto", "Turku", "Brno", "Cork", "Bari",
                                       "Gent", "Split"};
  const std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!out) return false;
  std::fputs("id\tcount\tprice\tratio\tcity\tcode\tday\tshipped\n", out.get());
  uint32_t seed = 2463534242u;
  auto next = [&] {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return seed;
  };
  const auto codes = static_cast<uint64_t>(shape.distinctCodes > 0 ? shape.distinctCodes : 1);
  char line[256];
  for (int64_t i = 0; i < shape.rows; ++i) {
    const uint32_t r = next(), s = next();
    const uint64_t code = codes >= static_cast<uint64_t>(shape.rows) ? static_cast<uint64_t>(i) : s % codes;
    const int n = std::snprintf(line, sizeof line,
                                "%lld\t%u\t%u.%02u\t%.4f\t%s\tK%06llu\t20%02u-%02u-%02u\t20%02u-%02u-%02u\n",
                                static_cast<long long>(i), r % 1000, r % 100000, s % 100,
                                (s % 10000) / 10000.0, cities[r % 10], static_cast<unsigned long long>(code),
                                10 + r % 14, 1 + s % 12, 1 + r % 28, 10 + (s >> 8) % 14, 1 + (r >> 8) % 12,
                                1 + (s >> 16) % 28);
    if (n <= 0 || std::fwrite(line, 1, static_cast<size_t>(n), out.get()) != static_cast<size_t>(n)) return false;
  }
  // Written out before anything is timed: otherwise the system writes the
  // file back during whichever read comes first (ours), not during the peers'.
  return std::fflush(out.get()) == 0 && ::fsync(::fileno(out.get())) == 0;
}

}  // namespace vlm::bench
