#!/usr/bin/env node
// Regenerates the code lists shipped in data/ from Debian's iso-codes and two
// npm packages installed outside the repo:
//
//   npm install --prefix /tmp/codelists un-ece-recommendation@0.1.1 sea-ports@0.0.9
//   node tools/extract-code-lists.mjs --npm-prefix /tmp/codelists
//
// Every file is built and checked before any is written, so a bad source
// leaves data/ untouched. Any failure is one line on stderr and exit 1.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const UNECE = { name: 'un-ece-recommendation', version: '0.1.1' };
const PORTS = { name: 'sea-ports', version: '0.0.9' };

// The package carries several revisions of each list; /3 is the newest of both.
const REC20_EXPORT = { subpath: './20/3', symbol: 'REC_20_3' };
const REC21_EXPORT = { subpath: './21/3', symbol: 'REC_21_3' };

class Failure extends Error {}
const fail = (msg) => { throw new Failure(msg); };

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

function readJson(file, what) {
  let text;
  try {
    text = fs.readFileSync(file, 'utf8');
  } catch (e) {
    fail(`cannot read ${what} at ${file}: ${e.code || e.message}`);
  }
  try {
    return { text, value: JSON.parse(text) };
  } catch (e) {
    fail(`${what} at ${file} is not valid JSON: ${e.message}`);
  }
}

function openPackage(prefix, { name, version }) {
  const dir = path.join(prefix, 'node_modules', name);
  const pj = path.join(dir, 'package.json');
  if (!fs.existsSync(pj)) {
    fail(`package ${name} not found in ${path.join(prefix, 'node_modules')} (npm install --prefix ${prefix} ${UNECE.name}@${UNECE.version} ${PORTS.name}@${PORTS.version})`);
  }
  const meta = readJson(pj, `${name}/package.json`).value;
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

function isoCountries(isoDir) {
  const file = path.join(isoDir, 'iso_3166-1.json');
  const list = readJson(file, 'iso-codes ISO 3166-1').value['3166-1'];
  if (!Array.isArray(list)) fail(`${file} has no "3166-1" array`);
  return checkList('Negara (ISO 3166-1)',
    list.map((e, i) => [e.alpha_2, nameOf(e.name, `${file} entry ${i}`)]),
    /^[A-Z]{2}$/);
}

function isoCurrencies(isoDir) {
  const file = path.join(isoDir, 'iso_4217.json');
  const list = readJson(file, 'iso-codes ISO 4217').value['4217'];
  if (!Array.isArray(list)) fail(`${file} has no "4217" array`);
  return checkList('Valuta (ISO 4217)',
    list.map((e, i) => [e.alpha_3, nameOf(e.name, `${file} entry ${i}`)]),
    /^[A-Z]{3}$/);
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

// JSON.parse keeps only the last of repeated keys, which would hide a
// duplicate port; count the top-level keys in the text itself.
function topLevelKeyCount(text) {
  let depth = 0, count = 0, i = 0;
  let expectKey = false;
  while (i < text.length) {
    const c = text[i];
    if (c === '"') {
      let j = i + 1;
      while (j < text.length && text[j] !== '"') j += text[j] === '\\' ? 2 : 1;
      if (depth === 1 && expectKey) count++;
      expectKey = false;
      i = j + 1;
      continue;
    }
    if (c === '{' || c === '[') { depth++; expectKey = c === '{' && depth === 1; }
    else if (c === '}' || c === ']') depth--;
    else if (c === ',' && depth === 1) expectKey = true;
    i++;
  }
  return count;
}

function ports(pkg) {
  const main = path.join(pkg.dir, 'lib', 'ports.json');
  const { text, value } = readJson(main, `${PORTS.name} port list`);
  if (value === null || typeof value !== 'object' || Array.isArray(value)) {
    fail(`${main} is not an object keyed by UN/LOCODE`);
  }
  const codes = Object.keys(value);
  const inText = topLevelKeyCount(text);
  if (inText !== codes.length) {
    fail(`${main} repeats a port code (${inText} keys in the file, ${codes.length} distinct)`);
  }
  const rows = codes.map((code) => [code, nameOf(value[code]?.name, `${main} ${code}`)]);
  checkList('Pelabuhan (sea-ports)', rows, /^[A-Z]{2}[A-Z0-9]{3}$/);
  const domestic = rows.filter(([code]) => code.startsWith('ID'));
  const foreign = rows.filter(([code]) => !code.startsWith('ID'));
  if (domestic.length === 0) fail('PelDN: no port code begins with ID');
  if (foreign.length === 0) fail('PelLN: every port code begins with ID');
  return { domestic, foreign };
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
  const seaPorts = openPackage(opts.npmPrefix, PORTS);
  const { domestic, foreign } = ports(seaPorts);

  const files = [
    ['Kemasan.csv', await packagingKinds(unece)],
    ['Negara.csv', isoCountries(opts.isoCodes)],
    ['PelDN.csv', domestic],
    ['PelLN.csv', foreign],
    ['Satuan.csv', await units(unece)],
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
