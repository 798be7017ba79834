#!/usr/bin/env node
// Fetches the pinned astronomia tarball, checks its integrity hash, and writes the published
// series it carries as plain text for generate_precise_tables:
//
//   vsop87b_<body>.txt   VSOP87B terms: "<coordinate> <power of tau> <A> <B> <C>", A cos(B + C tau)
//   elpmpp02.txt         "W1 <five polynomial coefficients>" and ELP/MPP02 (DE405 fit) terms:
//                        "<coordinate> <power of T> <A> <five phase polynomial coefficients>"
//   pluto.txt            Meeus's table 37.A: "<i> <j> <k> <lonA> <lonB> <latA> <latB> <rA> <rB>"
//   deltat.txt           "historic|data <first year> <step code> <values...>"
//
// Numbers are written in JavaScript's shortest round-trip form, so the C++ side reads back the
// very doubles the package holds. Usage: node extract_astronomia.mjs OUTPUT_FOLDER

import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, writeFileSync, mkdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const kPackage = 'astronomia@4.3.0';
const kIntegrity =
  'sha512-kD87oezczQTJYp6SW07l9X/fyssEg4/GSFmxBN1Xk8TRN7h4tkQddRK/VJnlHkbzmK1w16s/7dUtUO4EUKLDpA==';
const kBodies = ['earth', 'mercury', 'venus', 'mars', 'jupiter', 'saturn', 'uranus', 'neptune'];

function FetchPackage(scratch) {
  const name = execFileSync('npm', ['pack', kPackage, '--silent'], {
    cwd: scratch,
    encoding: 'utf8',
    stdio: ['ignore', 'pipe', 'inherit'],
  }).trim();
  const tarball = join(scratch, name);
  const integrity = 'sha512-' + createHash('sha512').update(readFileSync(tarball)).digest('base64');
  if (integrity !== kIntegrity) {
    throw new Error(`${name}: integrity ${integrity} is not the pinned ${kIntegrity}`);
  }
  execFileSync('tar', ['-xzf', tarball, '-C', scratch]);
  return join(scratch, 'package');
}

async function Load(path) {
  return (await import(pathToFileURL(path).href)).default;
}

// Series keyed by coordinate, then by power of time: { L: { "0": [[...], ...] } }.
function SeriesLines(series, coordinates) {
  const lines = [];
  for (const coordinate of coordinates) {
    for (const power of Object.keys(series[coordinate]).sort()) {
      for (const row of series[coordinate][power]) {
        lines.push([coordinate, power, ...row.map(String)].join(' '));
      }
    }
  }
  return lines;
}

// Table 37.A sits in the package's source as `new Pt(i, j, k, lonA, lonB, latA, latB, rA, rB)`.
function PlutoLines(source) {
  const table = source.slice(source.indexOf('const t37'));
  const rows = [...table.matchAll(/new Pt\(([^)]*)\)/g)].map((m) =>
    m[1].split(',').map((s) => Number(s.trim())),
  );
  if (rows.length !== 43 || rows.some((r) => r.length !== 9 || r.some(Number.isNaN))) {
    throw new Error(`pluto.js: expected 43 rows of 9 numbers, found ${rows.length}`);
  }
  return rows.map((r) => r.map(String).join(' '));
}

function DeltaTLines(deltat) {
  const { historic, data } = deltat;
  return [
    ['historic', historic.first, historic.last, ...historic.table].map(String).join(' '),
    ['data', ...data.firstYM, ...data.lastYM, ...data.table].map(String).join(' '),
  ];
}

async function Main() {
  const out = process.argv[2];
  if (!out) throw new Error('usage: extract_astronomia.mjs OUTPUT_FOLDER');
  mkdirSync(out, { recursive: true });
  const scratch = mkdtempSync(join(tmpdir(), 'astronomia-'));
  try {
    const root = FetchPackage(scratch);
    const write = (name, lines) => writeFileSync(join(out, name), lines.join('\n') + '\n');
    for (const body of kBodies) {
      const series = await Load(join(root, 'data', `vsop87B${body}.js`));
      write(`vsop87b_${body}.txt`, SeriesLines(series, ['L', 'B', 'R']));
    }
    const elp = await Load(join(root, 'data', 'elpMppDeFull.js'));
    write('elpmpp02.txt', [['W1', ...elp.W1].map(String).join(' '), ...SeriesLines(elp, ['L', 'B', 'R'])]);
    write('pluto.txt', PlutoLines(readFileSync(join(root, 'src', 'pluto.js'), 'utf8')));
    write('deltat.txt', DeltaTLines(await Load(join(root, 'data', 'deltat.js'))));
    write('LICENSE.astronomia', [readFileSync(join(root, 'LICENSE'), 'utf8').trimEnd()]);
  } finally {
    rmSync(scratch, { recursive: true, force: true });
  }
}

Main().catch((error) => {
  console.error(`extract_astronomia: ${error.message}`);
  process.exit(1);
});
