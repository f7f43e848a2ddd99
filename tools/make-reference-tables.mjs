// Writes the reference tables FileCodComuni.txt and FileCodStati.txt from the place list of
// the npm package codice-fiscale-js (pinned in package.json), in Windows-1252 with CR LF.
//
//   npm ci && node make-reference-tables.mjs [output folder]   (default: ../data/ref)
//
// Naming rule (also written down in data/ref/README.md): every name in a table is unique, so
// the operator can choose every entry by its name.
//   1. A name that only one entry carries stays as the list writes it.
//   2. Among entries that share a name, the one current municipality (or state) keeps the
//      bare name; every other entry gets " - PROV. XX" (its province; municipalities only)
//      and, when it no longer exists, " - SOPPRESSO". When several current entries share a
//      name, none of them keeps the bare name.
//   3. Entries that still share a name get " - I", " - II", ... in the order of their codes.
// Suffixes hold only letters, blanks, hyphens and full stops, which the place lists of the
// entry window accept when typed.

import fs from 'node:fs'
import { createRequire } from 'node:module'
import path from 'node:path'
import { fileURLToPath } from 'node:url'

const SOURCE_PACKAGE = 'codice-fiscale-js'
const SOURCE_VERSION = '2.4.0'
const FOREIGN_PROVINCE = 'EE'
const ITALY = { name: 'ITALIA', code: 'Z000' }
const SUPPRESSED = 'SOPPRESSO'
// States the source still marks as current under a name they no longer bear, beside the entry
// with their name of today and the same code.
const RENAMED_STATES = new Set([
  'AFRICA DEL SUD-OVEST', 'BIRMANIA', 'CEYLON', 'CONGO LEOPOLDVILLE',
  'COSTA DEI PIRATI=TRUCIAL STATES', 'DAHOMEY=BENIN', 'GRAN BRETAGNA E IRLANDA DEL NORD',
  'GUAYANA OLANDESE', 'GUINEA PORTOGHESE', 'GUINEA SPAGNOLA', 'MACEDONIA', 'RHODESIA',
  'VOLTA=ALTOVOLTA', 'ZAIRE'
])
// States the source marks as former under the name they bear today.
const CURRENT_STATES = new Set(['BELIZE', 'GERMANIA'])

const here = path.dirname(fileURLToPath(import.meta.url))

async function readSourceList () {
  const require = createRequire(import.meta.url)
  const manifestPath = require.resolve(`${SOURCE_PACKAGE}/package.json`)
  const manifest = JSON.parse(fs.readFileSync(manifestPath, 'utf8'))
  if (manifest.version !== SOURCE_VERSION) {
    throw new Error(`${SOURCE_PACKAGE} ${manifest.version} installed, ${SOURCE_VERSION} expected`)
  }
  // The list is an ES module inside a CommonJS package: load its text as a module of its own.
  const text = fs.readFileSync(path.join(path.dirname(manifestPath), 'src', 'lista-comuni.js'), 'utf8')
  const { COMUNI } = await import('data:text/javascript,' + encodeURIComponent(text))
  return COMUNI.map(([code, province, name, current]) => ({
    code,
    province,
    name,
    current: province === FOREIGN_PROVINCE
      ? (current === 1 && !RENAMED_STATES.has(name)) || CURRENT_STATES.has(name)
      : current === 1
  }))
}

// Plain code-unit order: the same on every machine, whatever its locale.
function compare (a, b) {
  return a < b ? -1 : a > b ? 1 : 0
}

function groupBy (items, key) {
  const groups = new Map()
  for (const item of items) {
    const k = key(item)
    if (!groups.has(k)) groups.set(k, [])
    groups.get(k).push(item)
  }
  return [...groups.values()]
}

function roman (n) {
  const digits = [[10, 'X'], [9, 'IX'], [5, 'V'], [4, 'IV'], [1, 'I']]
  let text = ''
  for (const [value, letters] of digits) {
    for (; n >= value; n -= value) text += letters
  }
  return text
}

function validate (entry) {
  if (!/^[A-Z][0-9]{3}$/.test(entry.code)) throw new Error(`bad code ${JSON.stringify(entry)}`)
  if (entry.name === '' || /[,\r\n]/.test(entry.name)) throw new Error(`bad name ${JSON.stringify(entry)}`)
}

// One line per name: the current entries in alphabetical order of the names, then the former
// ones likewise, so that the first line carrying a code names what the place is called today.
function uniqueNames (entries, withProvince) {
  const seen = new Set()
  const distinct = entries.filter(e => {
    const key = [e.code, e.province, e.name, e.current].join('|')
    if (seen.has(key)) return false
    seen.add(key)
    return true
  })
  const suffixed = groupBy(distinct, e => e.name).flatMap(group => {
    if (group.length === 1) return group
    const currentCount = group.filter(e => e.current).length
    return group.map(e => {
      if (e.current && currentCount === 1) return e
      let name = e.name
      if (withProvince) name += ` - PROV. ${e.province}`
      if (!e.current) name += ` - ${SUPPRESSED}`
      return { ...e, name }
    })
  })
  const numbered = groupBy(suffixed, e => e.name).flatMap(group => {
    if (group.length === 1) return group
    group.sort((a, b) => compare(a.code, b.code) || compare(a.province, b.province))
    return group.map((e, i) => ({ ...e, name: `${e.name} - ${roman(i + 1)}` }))
  })
  numbered.sort((a, b) => (b.current - a.current) || compare(a.name, b.name))
  const names = new Set()
  const firstByCode = new Map()
  for (const e of numbered) {
    if (names.has(e.name)) throw new Error(`name twice: ${e.name}`)
    names.add(e.name)
    if (!firstByCode.has(e.code)) firstByCode.set(e.code, e)
  }
  for (const e of numbered) {
    if (e.current && !firstByCode.get(e.code).current) throw new Error(`former name first: ${e.code}`)
  }
  return numbered
}

// Bytes 0x80 to 0x9F of Windows-1252; the rest of the code page is Latin-1.
const CP1252_HIGH = '\u20AC\u0000\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u0000\u017D\u0000' +
                    '\u0000\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u0000\u017E\u0178'

function encodeWindows1252 (text) {
  const bytes = []
  for (const ch of text) {
    const cp = ch.codePointAt(0)
    const high = CP1252_HIGH.indexOf(ch)
    if ((cp >= 0x20 && cp <= 0x7E) || (cp >= 0xA0 && cp <= 0xFF)) bytes.push(cp)
    else if (cp !== 0 && high >= 0) bytes.push(0x80 + high)
    else throw new Error(`character U+${cp.toString(16)} has no place in Windows-1252: ${text}`)
  }
  return bytes
}

function writeTable (file, entries) {
  const bytes = entries.flatMap(e => [...encodeWindows1252(`${e.name},${e.code}`), 0x0D, 0x0A])
  fs.writeFileSync(file, Buffer.from(bytes))
}

const outputFolder = path.resolve(process.argv[2] ?? path.join(here, '..', 'data', 'ref'))
const list = await readSourceList()
list.forEach(validate)

const municipalities = uniqueNames(list.filter(e => e.province !== FOREIGN_PROVINCE), true)
const states = uniqueNames(list.filter(e => e.province === FOREIGN_PROVINCE), false)
if (states.some(e => e.name === ITALY.name)) throw new Error(`${ITALY.name} among the foreign states`)

fs.mkdirSync(outputFolder, { recursive: true })
writeTable(path.join(outputFolder, 'FileCodComuni.txt'), municipalities)
writeTable(path.join(outputFolder, 'FileCodStati.txt'), [ITALY, ...states])
console.log(`${municipalities.length} municipalities, ${states.length + 1} states written to ${outputFolder}`)
