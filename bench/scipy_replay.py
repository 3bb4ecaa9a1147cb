#!/usr/bin/env python3
"""The yardstick of the replay benchmark: the same kind of chain as bench_processing's
BM_ReplayProject (51-tap Hann low-pass at 1 kHz, exponential gain x10, 5-point moving
average, mean removal) done by SciPy as one float32 batch on 9,998 x 1,024 traces on
one thread. The traces come from the same seeded generator as the benchmark's.

    python3 bench/scipy_replay.py [--repeats 5]

Prints the best and the median wall and CPU time of the chain (the data generation is
not timed). Divide by BM_ReplayProject/1's time (the same column) for the ratio.
Needs NumPy and SciPy (Debian: apt install python3-scipy).
"""
import os

# One thread: set before NumPy loads its libraries.
for var in ("OMP_NUM_THREADS", "OPENBLAS_NUM_THREADS", "MKL_NUM_THREADS"):
    os.environ[var] = "1"

import argparse  # noqa: E402
import statistics  # noqa: E402
import time  # noqa: E402

import numpy as np  # noqa: E402
from scipy import ndimage, signal  # noqa: E402

POINTS = 9998
SAMPLES = 1024
DT_US = 20.0


def synthetic_traces(points, n):
    """syntheticTrace of bench_processing.cpp for seeds 0..points-1, one row each."""
    seeds = np.arange(points, dtype=np.uint32)
    with np.errstate(over="ignore"):
        s = seeds * np.uint32(2654435761) + np.uint32(1)
        noise = np.empty((points, n), dtype=np.float64)
        for i in range(n):
            s = s * np.uint32(1664525) + np.uint32(1013904223)
            noise[:, i] = ((s >> np.uint32(8)) / 16777216.0 - 0.5) * 0.02
    i = np.arange(n, dtype=np.float64)
    t = i * DT_US * 1e-6
    v = np.exp(-t * 900.0) * np.sin(2 * 3.14159265 * 700.0 * t)
    late = i > 400
    v[late] += 0.2 * np.exp(-(i[late] - 400) * 0.02) * np.sin((i[late] - 400) * 0.3)
    return (v[None, :] + noise).astype(np.float32)


def chain(x):
    fs = 1e6 / DT_US
    # Design once per batch, as a batch tool does.
    h = signal.firwin(51, 1000.0, fs=fs, window="hann").astype(np.float32)
    y = signal.lfilter(h, np.float32(1.0), x, axis=1).astype(np.float32, copy=False)
    n = x.shape[1]
    gain = np.exp(np.log(np.float32(10.0)) * np.arange(n, dtype=np.float32) / np.float32(n))
    y *= gain.astype(np.float32)[None, :]
    y = ndimage.uniform_filter1d(y, 5, axis=1, origin=-2)
    y -= y.mean(axis=1, keepdims=True, dtype=np.float32)
    return y


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repeats", type=int, default=5)
    args = parser.parse_args()
    x = synthetic_traces(POINTS, SAMPLES)
    assert x.dtype == np.float32 and x.shape == (POINTS, SAMPLES)
    times, cpu = [], []
    for _ in range(args.repeats):
        start, start_cpu = time.perf_counter(), time.process_time()
        y = chain(x)
        times.append(time.perf_counter() - start)
        cpu.append(time.process_time() - start_cpu)
        assert y.dtype == np.float32
    # On a shared machine the CPU time is the figure to compare with the benchmark's
    # CPU column; on an idle one both agree.
    print(f"SciPy float32 chain on {POINTS} x {SAMPLES}, one thread, {args.repeats} runs: "
          f"wall best {min(times) * 1e3:.1f} ms, median {statistics.median(times) * 1e3:.1f} ms; "
          f"CPU best {min(cpu) * 1e3:.1f} ms, median {statistics.median(cpu) * 1e3:.1f} ms")


if __name__ == "__main__":
    main()
