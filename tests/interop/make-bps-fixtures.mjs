// Makes the BPS fixtures in tests/fixtures/patches with the npm package bps,
// so that our reader is tested on patches another implementation wrote:
//   cd tests/interop && npm ci && node make-bps-fixtures.mjs
// Sources and targets are made from the committed sample map.
import { readFileSync, writeFileSync } from 'node:fs';
import { ActionType, apply, build, serialize } from 'bps';
import crc32 from 'crc-32';

const folder = new URL('../fixtures/patches/', import.meta.url);
const sample = readFileSync(new URL('../../samples/MAPDATA.VLT', import.meta.url));
const crc = (bytes) => crc32.buf(bytes) >>> 0;

function save(name, instructions, target) {
  // bps checks both checksums as it applies: the fixture is what it says.
  const made = apply(instructions, sample);
  if (Buffer.compare(Buffer.from(made), target) !== 0) throw new Error(`${name}: bps made another target`);
  writeFileSync(new URL(`${name}.bps`, folder), serialize(instructions).buffer);
  writeFileSync(new URL(`${name}.target`, folder), target);
}

// A road mod as bps builds it from the sample and the changed map: the road
// at 19:30 (offset 1417) turned to plain and a row of new road pieces.
const roads = Buffer.from(sample);
roads[1417] = 4;
for (let offset = 5000; offset < 5040; offset += 2) roads[offset] = 19;
save('roads', build(sample, roads), roads);

// Every action of the format, chosen by hand: bytes of the sample where they
// are, new bytes, a stretch of the sample from elsewhere (SourceCopy, once
// forward and once backward), and a stretch of the new map itself, read while
// it is being written (TargetCopy).
const actions = [
  { type: ActionType.SourceRead, length: 1000 },
  { type: ActionType.TargetRead, length: 4, bytes: [18, 19, 20, 21] },
  { type: ActionType.SourceCopy, offset: 3000, length: 96 },   // sample[3000..3096) at 1004
  { type: ActionType.TargetCopy, offset: 1000, length: 40 },   // target[1000..1040) at 1100: the 4 bytes, then what it copied
  { type: ActionType.SourceCopy, offset: -2096, length: 60 },  // sample[1000..1060) at 1140
  { type: ActionType.SourceRead, length: sample.length - 1200 },
];
const target = Buffer.from(sample);
target.set([18, 19, 20, 21], 1000);
target.set(sample.subarray(3000, 3096), 1004);
for (let i = 0; i < 40; ++i) target[1100 + i] = target[1000 + i];
target.set(sample.subarray(1000, 1060), 1140);
save('actions', {
  sourceSize: sample.length, sourceChecksum: crc(sample),
  targetSize: target.length, targetChecksum: crc(target), actions,
}, target);
