// Times DuckDB's read_csv of a tab-separated file into an in-memory table
// (two threads) for the load benchmarks.
// Usage: node duckdb_read.mjs FILE [WARM_BYTES]
// Has a child touch and free WARM_BYTES of memory first (see memory_warmup.h):
// node frees a buffer only when its collector runs.
// Prints the seconds, the row count, the growth of the peak resident memory
// during the read (KiB) and the processor seconds of all its threads; exits
// with 1 when the package is missing.
import { spawnSync } from "node:child_process";
import { readFileSync, writeFileSync } from "node:fs";

let api;
try {
  api = await import("@duckdb/node-api");
} catch {
  process.exit(1);
}

function status(key) {
  for (const line of readFileSync("/proc/self/status", "utf8").split("\n"))
    if (line.startsWith(key)) return parseInt(line.split(/\s+/)[1], 10);
  return 0;
}

const path = process.argv[2].replaceAll("'", "''");
const instance = await api.DuckDBInstance.create(":memory:", { threads: "2" });
const connection = await instance.connect();
const warm = Number(process.argv[3] ?? 0);
if (warm > 0) spawnSync(process.execPath, ["-e", `Buffer.alloc(${warm}, 1)`]);
try {
  writeFileSync("/proc/self/clear_refs", "5");
} catch {}
const before = status("VmRSS:");
const cpuStart = process.cpuUsage();
const start = process.hrtime.bigint();
await connection.run(`CREATE TABLE t AS SELECT * FROM read_csv('${path}', delim='\t', header=true)`);
const elapsed = Number(process.hrtime.bigint() - start) / 1e9;
const used = process.cpuUsage(cpuStart);
const cpu = (used.user + used.system) / 1e6;
const reader = await connection.runAndReadAll("SELECT count(*) FROM t");
const rows = Number(reader.getRows()[0][0]);
console.log(`${elapsed.toFixed(6)} ${rows} ${status("VmHWM:") - before} ${cpu.toFixed(6)}`);
