// Applies a BPS patch with the npm package bps, an implementation
// independent of ours: node bps-apply.mjs PATCH SOURCE OUTPUT.
// Exits 1, writing nothing, when bps refuses the patch.
import { readFileSync, writeFileSync } from 'node:fs';
import { apply, parse } from 'bps';

// bps reads the buffer under the bytes from its start: a copy of their own,
// since Node keeps small files in a shared pool.
const bytesOf = (path) => new Uint8Array(readFileSync(path));

const [patchPath, sourcePath, outputPath] = process.argv.slice(2);
try {
  const { instructions } = parse(bytesOf(patchPath));
  writeFileSync(outputPath, apply(instructions, bytesOf(sourcePath)));
} catch (error) {
  console.error(error.message);
  process.exit(1);
}
