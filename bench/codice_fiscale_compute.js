// The codes of the persons on standard input, computed by codice-fiscale-js: the same lines as
// `velmora-cli taxcode --compute -` reads (COGNOME<TAB>NOME<TAB>SESSO<TAB>GG/MM/AAAA<TAB>LUOGO)
// and the same answers, one code per line or a line "Errore: " and why.
//
//   node bench/codice_fiscale_compute.js < persons.txt > codes.txt
//
// The library is looked up from NODE_PATH (bench/compute_figures.sh points it at its own install).
// The library takes the place as a name (and province) or, when no place has that name, as the
// code itself (H501, Z110, ...), so the codes are given as they stand, with no table of names.
// Its sources build the date at local noon and read it back in UTC, which a zone twelve hours or
// more from UTC would move by a day: run with TZ=UTC.
'use strict'

const library = require('codice-fiscale-js')
// 2.4 exports { CodiceFiscale }; older releases export the class itself.
const CodiceFiscale = library.CodiceFiscale || library

function codeOf (line) {
  if (line.endsWith('\r')) line = line.slice(0, -1)
  const fields = line.split('\t')
  if (fields.length !== 5) return 'Errore: servono COGNOME, NOME, SESSO, GG/MM/AAAA e LUOGO'
  const [surname, name, gender, date, birthplace] = fields
  const [day, month, year] = date.split('/').map(Number)
  try {
    return CodiceFiscale.compute({ name, surname, gender, day, month, year, birthplace })
  } catch (e) {
    return 'Errore: ' + e.message
  }
}

async function main () {
  process.stdin.setEncoding('latin1')
  let rest = ''
  for await (const chunk of process.stdin) {
    const lines = (rest + chunk).split('\n')
    rest = lines.pop()
    let out = ''
    for (const line of lines) out += codeOf(line) + '\n'
    process.stdout.write(out)
  }
  if (rest !== '') process.stdout.write(codeOf(rest) + '\n')
}

main()
