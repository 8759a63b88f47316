#!/usr/bin/env node
// Regenerates Kemasan.csv, Negara.csv, Satuan.csv and Valuta.csv in data/
// from Debian's iso-codes and two npm packages installed outside the repo:
//
//   npm install --prefix /tmp/codelists un-ece-recommendation@0.1.1 currency-codes@2.2.0
//   node tools/extract-code-lists.mjs --npm-prefix /tmp/codelists
//
// The ports (PelDN.csv, PelLN.csv) come from the UN/LOCODE lists by another
// path; this script neither reads nor writes them.
//
// Every file is built and checked before any is written, so a bad source
// leaves data/ untouched. Any failure is one line on stderr and exit 1.

import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { fileURLToPath, pathToFileURL } from 'node:url';

const UNECE = { name: 'un-ece-recommendation', version: '0.1.1' };
const CURRENCIES = { name: 'currency-codes', version: '2.2.0' };
const PACKAGES = [UNECE, CURRENCIES];

// The publication of ISO 4217 list one that currency-codes 2.2.0 carries;
// data/README.md names it, so a different one must not slip in unnoticed.
const ISO4217_PUBLISHED = '2024-06-25';

// The package carries several revisions of each list; /3 is the newest of both.
const REC20_EXPORT = { subpath: './20/3', symbol: 'REC_20_3' };
const REC21_EXPORT = { subpath: './21/3', symbol: 'REC_21_3' };

class Failure extends Error {}
const fail = (msg) => { throw new Failure(msg); };

const installHint = (prefix) =>
  `npm install --prefix ${prefix} ${PACKAGES.map((p) => `${p.name}@${p.version}`).join(' ')}`;

function parseArgs(argv) {
  const scriptDir = path.dirname(fileURLToPath(import.meta.url));
  const opts = {
    npmPrefix: null,
    isoCodes: '/usr/share/iso-codes/json',
    out: path.resolve(scriptDir, '..', 'data'),
  };
  const flags = { '--npm-prefix': 'npmPrefix', '--iso-codes': 'isoCodes', '--out': 'out' };
  for (let i = 0; i < argv.length; i++) {
    let arg = argv[i];
    let value;
    const eq = arg.indexOf('=');
    if (arg.startsWith('--') && eq > 0) {
      value = arg.slice(eq + 1);
      arg = arg.slice(0, eq);
    }
    const key = flags[arg];
    if (!key) fail(`unknown argument ${JSON.stringify(argv[i])}; usage: node tools/extract-code-lists.mjs --npm-prefix DIR [--iso-codes DIR] [--out DIR]`);
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

// CommonJS files are loaded by path, not through the package's main entry,
// so the package's own dependencies need not be present.
function requireFile(file, what) {
  try {
    return createRequire(import.meta.url)(file);
  } catch (e) {
    fail(`cannot load ${what} at ${file}: ${e.code || e.message}`);
  }
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

const XML_ENTITIES = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'" };

function xmlText(raw, where) {
  return raw.replace(/&(#x[0-9A-Fa-f]+|#[0-9]+|[a-z]+);|&/g, (m, ent) => {
    if (ent === undefined) fail(`${where}: bare "&" in text`);
    if (ent.startsWith('#x')) return String.fromCodePoint(parseInt(ent.slice(2), 16));
    if (ent.startsWith('#')) return String.fromCodePoint(parseInt(ent.slice(1), 10));
    if (!(ent in XML_ENTITIES)) fail(`${where}: unknown entity &${ent};`);
    return XML_ENTITIES[ent];
  });
}

// The package ships list one as published next to its data.js; the rows are
// taken from data.js, and this checks that data.js is that list: every code
// of the XML once, with the XML's name, and nothing else.
function checkAgainstListOne(pkg, byCode) {
  const file = path.join(pkg.dir, 'iso-4217-list-one.xml');
  const xml = readText(file, 'ISO 4217 list one');
  const published = /<ISO_4217\s+Pblshd="([^"]*)"/.exec(xml)?.[1];
  if (published !== ISO4217_PUBLISHED) {
    fail(`${file} is the publication of ${JSON.stringify(published)}, expected ${ISO4217_PUBLISHED}`);
  }
  const names = new Map();
  let entries = 0;
  for (const [, body] of xml.matchAll(/<CcyNtry>([\s\S]*?)<\/CcyNtry>/g)) {
    entries++;
    const field = (tag) => {
      const m = new RegExp(`<${tag}(?:\\s[^>]*)?>([^<]*)</${tag}>`).exec(body);
      return m ? xmlText(m[1], `${file} <${tag}>`) : undefined;
    };
    const code = field('Ccy');
    if (code === undefined) continue; // "No universal currency": no code to list
    const name = field('CcyNm');
    if (names.has(code) && names.get(code) !== name) {
      fail(`${file}: ${code} is named both ${JSON.stringify(names.get(code))} and ${JSON.stringify(name)}`);
    }
    names.set(code, name);
  }
  if (entries === 0) fail(`${file} holds no <CcyNtry> entries`);
  for (const [code, name] of names) {
    if (!byCode.has(code)) fail(`${CURRENCIES.name} data.js lacks ${code}, which list one has`);
    if (byCode.get(code) !== name) {
      fail(`${CURRENCIES.name} data.js names ${code} ${JSON.stringify(byCode.get(code))}, list one ${JSON.stringify(name)}`);
    }
  }
  for (const code of byCode.keys()) {
    if (!names.has(code)) fail(`${CURRENCIES.name} data.js has ${code}, which list one lacks`);
  }
}

function currencies(pkg) {
  const dateFile = path.join(pkg.dir, 'iso-4217-publish-date.js');
  const date = requireFile(dateFile, `${CURRENCIES.name} publish date`);
  if (date !== ISO4217_PUBLISHED) {
    fail(`${CURRENCIES.name} carries the list of ${JSON.stringify(date)}, expected ${ISO4217_PUBLISHED}`);
  }
  const file = path.join(pkg.dir, 'data.js');
  const list = requireFile(file, `${CURRENCIES.name} data`);
  if (!Array.isArray(list)) fail(`${file} does not export an array of currencies`);
  // One row per alphabetic code: data.js already merges list one's
  // per-country entries under their code, in ascending code order.
  const rows = checkList('Valuta (ISO 4217)',
    list.map((e, i) => [e?.code, nameOf(e?.currency, `${file} entry ${i}`)]),
    /^[A-Z]{3}$/);
  // data/README.md promises this order; a package that stops sorting must not change it silently.
  for (let i = 1; i < rows.length; i++) {
    if (rows[i - 1][0] >= rows[i][0]) fail(`Valuta (ISO 4217): ${rows[i][0]} follows ${rows[i - 1][0]}, expected ascending codes`);
  }
  checkAgainstListOne(pkg, new Map(rows));
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

async function units(pkg) {
  const { file, list } = await uneceList(pkg, REC20_EXPORT);
  return checkList('Satuan (Rec 20)',
    list.map((e, i) => [e?.code, nameOf(e?.name, `${file} entry ${i}`)]),
    /^[A-Z0-9]{2,3}$/);
}

async function packagingKinds(pkg) {
  const { file, list } = await uneceList(pkg, REC21_EXPORT);
  const rows = list.map((e, i) => {
    const code = e?.code;
    // The e-invoicing flavour of Rec 21 prefixes every code with "X";
    // the customs code itself is the two characters after it.
    if (typeof code !== 'string' || !/^X[A-Z0-9]{2}$/.test(code)) {
      fail(`Kemasan (Rec 21): code ${JSON.stringify(code)} is not "X" plus two characters`);
    }
    return [code.slice(1), nameOf(e.name, `${file} entry ${i}`)];
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
  const currencyCodes = openPackage(opts.npmPrefix, CURRENCIES);

  const files = [
    ['Kemasan.csv', await packagingKinds(unece)],
    ['Negara.csv', isoCountries(opts.isoCodes)],
    ['Satuan.csv', await units(unece)],
    ['Valuta.csv', currencies(currencyCodes)],
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
