// The peer: d3-hierarchy's tree() on a tree file of the benchmarks (rows of number, children,
// flag, text; texts without commas), every node one fixed size.
//
//   node tree_layout.mjs FILE [--print]
//
// Prints one line of JSON with the layout time alone, in seconds; with --print, also every
// node's position as NDJSON first, as `lanthor layout` prints its frames.

import { readFileSync } from "node:fs";
import { hierarchy, tree } from "d3-hierarchy";

const [file, option] = process.argv.slice(2);
const text = readFileSync(file, "utf8");
const nodes = new Map();
const roots = [];
for (const line of text.split("\n")) {
  if (line === "") continue;
  const [number, children, flag, ...rest] = line.split(",");
  const node = { number, text: rest.join(","), childNumbers: children.trim().split(" ").filter((c) => c !== "") };
  nodes.set(number, node);
  if (flag.trim() === "R") roots.push(node);
}
const root = hierarchy(roots[0], (node) => node.childNumbers.map((n) => nodes.get(n)).filter(Boolean));

const layout = tree().nodeSize([40, 60]);
const start = performance.now();
layout(root);
const seconds = (performance.now() - start) / 1000;

if (option === "--print") {
  const out = [];
  root.each((node) => {
    out.push(JSON.stringify({ node: node.data.number, x: node.x, y: node.y, text: node.data.text }));
    if (out.length >= 10000) {
      process.stdout.write(out.join("\n") + "\n");
      out.length = 0;
    }
  });
  process.stdout.write(out.join("\n") + "\n");
}
process.stderr.write(JSON.stringify({ nodes: nodes.size, layoutSeconds: seconds }) + "\n");
