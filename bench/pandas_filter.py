#!/usr/bin/env python3
"""Times one step of a range filter in pandas, for the Selector benchmark's
comparison: a table of the benchmark's shape (an integer, a real, a text of
12 values, dates, a text per row), four of its filters held as masks, and per
step the integer's range moved by one of 200 pixels, the masks combined and
the selected rows counted. Prints the milliseconds per step, or nothing when
pandas is missing."""
import sys
import time

try:
    import numpy
    import pandas
except ImportError:
    sys.exit(1)

rows = int(sys.argv[1])
random = numpy.random.default_rng(12345)
frame = pandas.DataFrame({
    "Count": random.integers(0, 100000, rows, dtype=numpy.int32),
    "Price": (random.integers(0, 1000000, rows) / 100.0).astype(numpy.float32),
    "Kind": pandas.Categorical(random.integers(0, 12, rows).astype(str)),
    "Day": pandas.to_datetime("1990-01-01") + pandas.to_timedelta(random.integers(0, 30 * 365, rows), unit="D"),
    "Name": ["person %d" % i for i in range(rows)],
})
price = frame["Price"].between(frame["Price"].min(), frame["Price"].max())
kind = frame["Kind"].isin(frame["Kind"].cat.categories)
day = frame["Day"].between(frame["Day"].min(), frame["Day"].max())
others = price & kind & day
least, greatest = int(frame["Count"].min()), int(frame["Count"].max())
pixel = (greatest - least) / 200.0
steps = 60
start = time.perf_counter()
selected = 0
for step in range(steps):
    low = least + pixel * (step % 100)
    mask = frame["Count"].between(low, greatest) & others
    selected += int(mask.sum())
elapsed = time.perf_counter() - start
print(f"{elapsed * 1000.0 / steps:.4f} {selected}")
