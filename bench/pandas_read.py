#!/usr/bin/env python3
"""Times pandas.read_csv on a tab-separated file, for the load benchmark's
comparison; prints the seconds, or nothing when pandas is missing."""
import sys
import time

try:
    import pandas
except ImportError:
    sys.exit(1)

start = time.perf_counter()
frame = pandas.read_csv(sys.argv[1], sep="\t")
elapsed = time.perf_counter() - start
print(f"{elapsed:.6f} {len(frame)}")
