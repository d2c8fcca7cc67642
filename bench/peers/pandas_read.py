#!/usr/bin/env python3
"""Times pandas.read_csv on a tab-separated file for the load benchmarks.

Usage: pandas_read.py FILE [DATE_COLUMNS] [WARM_BYTES]
Touches and frees WARM_BYTES of memory first (see memory_warmup.h). Prints
the seconds, the row count, the growth of the peak resident memory during the
read (KiB) and the processor seconds of all its threads; exits with 1 when
pandas is missing."""
import mmap
import resource
import sys
import time

try:
    import pandas
except ImportError:
    sys.exit(1)


def status(key):
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith(key):
                return int(line.split()[1])
    return 0


dates = sys.argv[2].split(",") if len(sys.argv) > 2 and sys.argv[2] else False
warm = int(sys.argv[3]) if len(sys.argv) > 3 else 0
if warm > 0:
    block = mmap.mmap(-1, warm)
    if hasattr(mmap, "MADV_HUGEPAGE"):
        block.madvise(mmap.MADV_HUGEPAGE)
    for at in range(0, warm, 4096):
        block[at] = 1
    block.close()
try:
    with open("/proc/self/clear_refs", "w") as f:
        f.write("5")
except OSError:
    pass
before = status("VmRSS:")
def cpu():
    usage = resource.getrusage(resource.RUSAGE_SELF)
    return usage.ru_utime + usage.ru_stime


cpu_start = cpu()
start = time.perf_counter()
frame = pandas.read_csv(sys.argv[1], sep="\t", parse_dates=dates)
elapsed = time.perf_counter() - start
print(f"{elapsed:.6f} {len(frame)} {status('VmHWM:') - before} {cpu() - cpu_start:.6f}")
