// Runs the layout benchmarks against the peer, d3-hierarchy's tree(), on the same generated
// trees in the same run, and prints the figures and the ratios.
//
//   (cd bench/d3 && npm install)      # once: the peer, into bench/d3/node_modules
//   node bench/compare_with_d3.mjs [BUILD_DIR]   # BUILD_DIR configured with -DLANTHOR_BENCH=ON
//
// 100,000 nodes: lanthor's first and later drawing passes (render_bench: layout with every
// label read and measured, and the edges) against d3's tree() alone on nodes of one size.
// 1,000,000 nodes: the whole process, loading the file and laying it out, `lanthor layout`
// against d3 loading the same file, laying it out and printing the positions; wall time and
// peak memory from /usr/bin/time.

import { execFileSync, spawnSync } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve, dirname } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const build = resolve(process.argv[2] ?? join(here, "..", "build"));
const bin = (name) => join(build, "bin", name);
const peer = join(here, "d3", "tree_layout.mjs");
const scratch = mkdtempSync(join(tmpdir(), "lanthor-bench-"));

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

/// Runs a command with its output thrown away; returns wall seconds and peak MiB.
function timed(command, args) {
  const run = spawnSync("/usr/bin/time", ["-f", "%e %M", command, ...args], {
    stdio: ["ignore", "ignore", "pipe"],
    encoding: "utf8",
    maxBuffer: 1 << 26,
  });
  if (run.status !== 0) throw new Error(`${command} failed: ${run.stderr}`);
  const [seconds, kib] = run.stderr.trim().split("\n").pop().split(" ").map(Number);
  return { seconds, mib: kib / 1024, stderr: run.stderr };
}

function peerLayoutSeconds(file) {
  const run = spawnSync("node", [peer, file], { encoding: "utf8" });
  if (run.status !== 0) throw new Error(`d3 failed: ${run.stderr}`);
  return JSON.parse(run.stderr.trim().split("\n").pop()).layoutSeconds;
}

try {
  const small = join(scratch, "tree100k.csv");
  const large = join(scratch, "tree1m.csv");
  execFileSync(bin("make_bench_tree"), ["100000", small]);
  execFileSync(bin("make_bench_tree"), ["1000000", large]);

  console.log("100,000 nodes");
  const report = JSON.parse(
    execFileSync(bin("render_bench"), ["--benchmark_format=json"], { encoding: "utf8", maxBuffer: 1 << 24 }),
  );
  const ms = (name) => report.benchmarks.find((b) => b.name.startsWith(name)).real_time;
  const first = ms("BM_FirstDrawingPass");
  const later = ms("BM_LaterDrawingPass");
  const d3Layout = median([0, 1, 2, 3, 4].map(() => peerLayoutSeconds(small))) * 1000;
  console.log(`  lanthor first drawing pass (labels read and measured): ${first.toFixed(0)} ms (goal < 3000)`);
  console.log(`  lanthor later drawing pass:                            ${later.toFixed(1)} ms (goal < 150)`);
  console.log(`  d3 tree() layout alone, median of 5:                   ${d3Layout.toFixed(0)} ms`);
  console.log(`  ratio first pass / d3 layout: ${(first / d3Layout).toFixed(2)}`);
  console.log(`  ratio later pass / d3 layout: ${(later / d3Layout).toFixed(2)}`);

  console.log("1,000,000 nodes, whole process (load, lay out, print)");
  const ours = timed(bin("lanthor"), ["layout", large]);
  const theirs = timed("node", [peer, large, "--print"]);
  console.log(`  lanthor layout: ${ours.seconds.toFixed(2)} s, ${ours.mib.toFixed(0)} MiB peak (goal < 900)`);
  console.log(`  d3:             ${theirs.seconds.toFixed(2)} s, ${theirs.mib.toFixed(0)} MiB peak`);
  console.log(`  ratio time lanthor / d3:   ${(ours.seconds / theirs.seconds).toFixed(2)}`);
  console.log(`  ratio memory lanthor / d3: ${(ours.mib / theirs.mib).toFixed(2)}`);
} finally {
  rmSync(scratch, { recursive: true, force: true });
}
