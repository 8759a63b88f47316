#!/usr/bin/env node
// Regenerates Kemasan.csv, Negara.csv, Satuan.csv and Valuta.csv in data/
// from iso-codes' lists, copied into data/sources/iso-codes/, Indonesia's
// own units, in data/sources/insw/Satuan.csv, and one npm package installed
// outside the repo:
//
//   npm install --prefix /tmp/codelists un-ece-recommendation@0.1.1
//   node tools/extract-code-lists.mjs --npm-prefix /tmp/codelists
//
// `node tools/extract-code-lists.mjs --packages` names the packages to
// install; tools/check-code-lists runs the script so and compares its lists
// with data/.
//
// The ports (PelDN.csv, PelLN.csv) come from the UN/LOCODE lists by another
// path; this script neither reads nor writes them.
//
// Every file is built and checked before any is written, so a bad source
// leaves data/ untouched. Any failure is one line on stderr and exit 1.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const UNECE = { name: 'un-ece-recommendation', version: '0.1.1' };
const PACKAGES = [UNECE];

// Each list as declarations use it: every code of the package's fuller
// revision /2 and of the newest, /3, with the newest name. Rec 20 revision
// 17 (/3) marked some 380 codes deleted after the regulation was issued,
// and declarations made under it still name them.
const REC20_EXPORTS = [{ subpath: './20/3', symbol: 'REC_20_3' }, { subpath: './20/2', symbol: 'REC_20_2' }];
const REC21_EXPORTS = [{ subpath: './21/3', symbol: 'REC_21_3' }, { subpath: './21/2', symbol: 'REC_21_2' }];

class Failure extends Error {}
const fail = (msg) => { throw new Failure(msg); };

const installHint = (prefix) =>
  `npm install --prefix ${prefix} ${PACKAGES.map((p) => `${p.name}@${p.version}`).join(' ')}`;

function parseArgs(argv) {
  // The packages to install first, as npm install takes them.
  if (argv.length === 1 && argv[0] === '--packages') {
    console.log(PACKAGES.map((p) => `${p.name}@${p.version}`).join('\n'));
    process.exit(0);
  }
  const scriptDir = path.dirname(fileURLToPath(import.meta.url));
  const opts = {
    npmPrefix: null,
    isoCodes: path.resolve(scriptDir, '..', 'data', 'sources', 'iso-codes'),
    insw: path.resolve(scriptDir, '..', 'data', 'sources', 'insw'),
    out: path.resolve(scriptDir, '..', 'data'),
  };
  const flags = { '--npm-prefix': 'npmPrefix', '--iso-codes': 'isoCodes', '--insw': 'insw', '--out': 'out' };
  for (let i = 0; i < argv.length; i++) {
    let arg = argv[i];
    let value;
    const eq = arg.indexOf('=');
    if (arg.startsWith('--') && eq > 0) {
      value = arg.slice(eq + 1);
      arg = arg.slice(0, eq);
    }
    const key = flags[arg];
    if (!key) fail(`unknown argument ${JSON.stringify(argv[i])}; usage: node tools/extract-code-lists.mjs --npm-prefix DIR [--iso-codes DIR] [--insw DIR] [--out DIR]`);
    if (value === undefined) {
      if (i + 1 >= argv.length) fail(`${arg} needs a directory`);
      value = argv[++i];
    }
    if (value === '') fail(`${arg} needs a directory`);
    opts[key] = path.resolve(value);
  }
  if (!opts.npmPrefix) fail('missing --npm-prefix DIR (the folder given to npm install --prefix)');
  return opts;
}

function readText(file, what) {
  try {
    return fs.readFileSync(file, 'utf8');
  } catch (e) {
    fail(`cannot read ${what} at ${file}: ${e.code || e.message}`);
  }
}

function readJson(file, what) {
  const text = readText(file, what);
  try {
    return JSON.parse(text);
  } catch (e) {
    fail(`${what} at ${file} is not valid JSON: ${e.message}`);
  }
}

function openPackage(prefix, { name, version }) {
  const dir = path.join(prefix, 'node_modules', name);
  const pj = path.join(dir, 'package.json');
  if (!fs.existsSync(pj)) {
    fail(`package ${name} not found in ${path.join(prefix, 'node_modules')} (${installHint(prefix)})`);
  }
  const meta = readJson(pj, `${name}/package.json`);
  if (meta.name !== name) fail(`${pj} names package ${JSON.stringify(meta.name)}, expected ${name}`);
  if (meta.version !== version) fail(`${name} is version ${meta.version}, expected exactly ${version}`);
  return { dir, meta };
}

// Names are kept exactly as the source spells them; only absence maps to "".
function nameOf(value, where) {
  if (value === undefined || value === null) return '';
  if (typeof value !== 'string') fail(`${where}: name is ${typeof value}, expected a string`);
  return value;
}

function checkList(label, rows, pattern) {
  if (!Array.isArray(rows) || rows.length === 0) fail(`${label}: source yields no entries`);
  const seen = new Set();
  for (const [code] of rows) {
    if (typeof code !== 'string' || !pattern.test(code)) {
      fail(`${label}: code ${JSON.stringify(code)} does not match ${pattern}`);
    }
    // The program keys records by code, so a repeat would silently shadow one.
    if (seen.has(code)) fail(`${label}: code ${code} occurs more than once`);
    seen.add(code);
  }
  return rows;
}

// ISO's own short names carry sorting suffixes ("Philippines (the)") and
// footnote marks ("Western Sahara*"); iso-codes writes the same codes with
// the names as read.
function isoCountries(isoDir) {
  const file = path.join(isoDir, 'iso_3166-1.json');
  const list = readJson(file, 'iso-codes ISO 3166-1')['3166-1'];
  if (!Array.isArray(list)) fail(`${file} has no "3166-1" array`);
  return checkList('Negara (ISO 3166-1)',
    list.map((e, i) => [e.alpha_2, nameOf(e.name, `${file} entry ${i}`)]),
    /^[A-Z]{2}$/);
}

// iso-codes' reading of ISO 4217 list one: one entry per alphabetic code,
// in ascending code order.
function isoCurrencies(isoDir) {
  const file = path.join(isoDir, 'iso_4217.json');
  const list = readJson(file, 'iso-codes ISO 4217')['4217'];
  if (!Array.isArray(list)) fail(`${file} has no "4217" array`);
  const rows = checkList('Valuta (ISO 4217)',
    list.map((e, i) => [e.alpha_3, nameOf(e.name, `${file} entry ${i}`)]),
    /^[A-Z]{3}$/);
  // data/README.md promises this order; a source that stops sorting must not change it silently.
  for (let i = 1; i < rows.length; i++) {
    if (rows[i - 1][0] >= rows[i][0]) fail(`Valuta (ISO 4217): ${rows[i][0]} follows ${rows[i - 1][0]}, expected ascending codes`);
  }
  return rows;
}

async function uneceList(pkg, { subpath, symbol }) {
  const target = pkg.meta.exports?.[subpath];
  const rel = typeof target === 'string' ? target : target?.import;
  if (typeof rel !== 'string') fail(`${UNECE.name} does not export ${subpath}`);
  const file = path.join(pkg.dir, rel);
  let mod;
  try {
    mod = await import(pathToFileURL(file).href);
  } catch (e) {
    fail(`cannot load ${file}: ${e.message}`);
  }
  const list = mod[symbol];
  if (!Array.isArray(list)) fail(`${file} does not export an array ${symbol}`);
  return { file, list };
}

// The newest revision's rows in its order, then the codes only older ones
// have, in theirs; a code keeps the name of the newest revision that has it.
async function mergedRevisions(pkg, exports, rowOf) {
  const rows = [];
  const seen = new Set();
  for (const exported of exports) {
    const { file, list } = await uneceList(pkg, exported);
    list.forEach((e, i) => {
      const row = rowOf(e, `${file} entry ${i}`);
      if (seen.has(row[0])) return;
      seen.add(row[0]);
      rows.push(row);
    });
  }
  return rows;
}

// Units that Indonesia's national single window (INSW) keeps and no
// revision of Rec 20 has: Kode,Uraian lines in CRLF, names without commas
// or quotes.
function nationalUnits(inswDir) {
  const file = path.join(inswDir, 'Satuan.csv');
  const lines = readText(file, 'INSW units').split('\r\n');
  if (lines.shift() !== 'Kode,Uraian') fail(`${file}: the header must be "Kode,Uraian"`);
  if (lines.pop() !== '') fail(`${file}: the last line must end in CRLF`);
  const rows = lines.map((line, i) => {
    const fields = line.split(',');
    if (fields.length !== 2 || /["\r\n]/.test(line) || fields[1] === '') {
      fail(`${file}:${i + 2}: expected a code and a name, without quotes`);
    }
    return fields;
  });
  return { file, rows };
}

// Rec 20's rows, then Indonesia's own units after them, which a newer
// revision that takes one in must not give twice.
async function units(pkg, inswDir) {
  const rec20 = await mergedRevisions(pkg, REC20_EXPORTS, (e, where) => [e?.code, nameOf(e?.name, where)]);
  const inRec20 = new Map(rec20);
  const national = nationalUnits(inswDir);
  for (const [code] of national.rows) {
    if (inRec20.has(code)) fail(`Satuan: INSW's unit ${code} is in Rec 20 now (${JSON.stringify(inRec20.get(code))}); take it out of ${national.file}`);
  }
  return checkList('Satuan (Rec 20 and INSW)', [...rec20, ...national.rows], /^[A-Z0-9]{2,3}$/);
}

async function packagingKinds(pkg) {
  const rows = await mergedRevisions(pkg, REC21_EXPORTS, (e, where) => {
    const code = e?.code;
    // The e-invoicing flavour of Rec 21 prefixes every code with "X";
    // the customs code itself is the two characters after it.
    if (typeof code !== 'string' || !/^X[A-Z0-9]{2}$/.test(code)) {
      fail(`Kemasan (Rec 21): code ${JSON.stringify(code)} is not "X" plus two characters`);
    }
    return [code.slice(1), nameOf(e.name, where)];
  });
  return checkList('Kemasan (Rec 21)', rows, /^[A-Z0-9]{2}$/);
}

function csvField(s) {
  return /[",\r\n]/.test(s) ? `"${s.replace(/"/g, '""')}"` : s;
}

function toCsv(rows) {
  let out = 'Kode,Uraian\r\n';
  for (const [code, name] of rows) out += `${csvField(code)},${csvField(name)}\r\n`;
  return Buffer.from(out, 'utf8');
}

async function main() {
  const opts = parseArgs(process.argv.slice(2));
  const unece = openPackage(opts.npmPrefix, UNECE);

  const files = [
    ['Kemasan.csv', await packagingKinds(unece)],
    ['Negara.csv', isoCountries(opts.isoCodes)],
    ['Satuan.csv', await units(unece, opts.insw)],
    ['Valuta.csv', isoCurrencies(opts.isoCodes)],
  ];

  fs.mkdirSync(opts.out, { recursive: true });
  for (const [name, rows] of files) {
    const dest = path.join(opts.out, name);
    const tmp = `${dest}.tmp-${process.pid}`;
    fs.writeFileSync(tmp, toCsv(rows));
    fs.renameSync(tmp, dest);
    console.log(`${name}: ${rows.length} rows`);
  }
}

main().catch((e) => {
  const msg = e instanceof Failure ? e.message : `unexpected error: ${e?.stack || e}`;
  process.stderr.write(`extract-code-lists: ${String(msg).replace(/\s*\n\s*/g, ' ')}\n`);
  process.exit(1);
});
