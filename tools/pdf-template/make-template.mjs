// Writes the request form the program fills: one A4 page with the five text fields and the
// five certificate check boxes whose names the program sets. The output is the same bytes on
// every run (fixed dates, fixed producer, no object streams), so the committed PDF can be
// checked against a fresh build.
//
//   node make-template.mjs <output.pdf>

import { writeFileSync } from 'node:fs';
import {
  PDFDocument,
  PDFName,
  PDFDict,
  PDFString,
  StandardFonts,
  rgb,
} from 'pdf-lib';

const FIXED_DATE = new Date(Date.UTC(2024, 0, 1, 0, 0, 0));
const A4 = [595.28, 841.89];
const LEFT = 56.7;
const RIGHT = A4[0] - 56.7;
const WIDTH = RIGHT - LEFT;
const BLACK = rgb(0, 0, 0);
const GREY = rgb(0.35, 0.35, 0.35);
const TEXT_FIELD_DA = '/Helv 10 Tf 0 g';

// The certificate list as the program shows it, with the check box each item fills.
const CERTIFICATES = [
  ['BoxGenerale', 'CERTIFICATO GENERALE (art.28 art.24 d.P.R. n. 313/2002)'],
  ['BoxPenale', 'CERTIFICATO PENALE (artt. 25, 28 d.P.R. n. 313/2002)'],
  ['BoxCivile', 'CERTIFICATO CIVILE (artt. 26, 28 d.P.R. n. 313/2002)'],
  ['Box39', 'CERTIFICATO art. 39 d.P.R. n. 313/2002 (Consultazione diretta sistema)'],
  ['Box29', 'CERTIFICATO art. 29 d.P.R. n. 313/2002 (Elettorale)'],
];

const TEXT_FIELDS = [
  'datiRichiedente',
  'numProtocollo',
  'sedeDataProtocollo',
  'numSoggetti',
  'finalitaRich',
];

const output = process.argv[2];
if (!output) {
  console.error('usage: node make-template.mjs <output.pdf>');
  process.exit(2);
}

const doc = await PDFDocument.create({ updateMetadata: false });
doc.setTitle('Richiesta di certificati del casellario giudiziale');
doc.setSubject('Richiesta cumulativa di certificati per persone fisiche');
doc.setCreator('Velmora');
doc.setProducer('Velmora');
doc.setLanguage('it-IT');
doc.setCreationDate(FIXED_DATE);
doc.setModificationDate(FIXED_DATE);

const regular = await doc.embedFont(StandardFonts.Helvetica);
const bold = await doc.embedFont(StandardFonts.HelveticaBold);
const italic = await doc.embedFont(StandardFonts.HelveticaOblique);
const page = doc.addPage(A4);
const form = doc.getForm();

function text(str, x, y, { font = regular, size = 10, color = BLACK } = {}) {
  page.drawText(str, { x, y, font, size, color });
}

function centred(str, y, opts = {}) {
  const font = opts.font ?? regular;
  const size = opts.size ?? 10;
  text(str, LEFT + (WIDTH - font.widthOfTextAtSize(str, size)) / 2, y, opts);
}

// Breaks a paragraph into lines that fit `width`; returns the y below the last line.
function paragraph(str, x, y, width, { font = regular, size = 10, leading = 14, color } = {}) {
  let line = '';
  for (const word of str.split(' ')) {
    const candidate = line ? `${line} ${word}` : word;
    if (font.widthOfTextAtSize(candidate, size) > width && line) {
      text(line, x, y, { font, size, color });
      y -= leading;
      line = word;
    } else {
      line = candidate;
    }
  }
  if (line) {
    text(line, x, y, { font, size, color });
    y -= leading;
  }
  return y;
}

function label(str, x, y) {
  text(str, x, y, { font: bold, size: 8, color: GREY });
}

function rule(x1, x2, y, thickness = 0.5) {
  page.drawLine({ start: { x: x1, y }, end: { x: x2, y }, thickness, color: BLACK });
}

// pdf-lib gives every widget a white background and a black border colour; ours are
// transparent over what the page draws for them.
function transparent(field) {
  for (const widget of field.acroField.getWidgets()) {
    const mk = widget.dict.lookup(PDFName.of('MK'), PDFDict);
    mk.delete(PDFName.of('BG'));
    mk.delete(PDFName.of('BC'));
  }
}

// A text field drawn as a line to write on, so the form prints well filled or blank.
function textField(name, x, y, width, height = 16) {
  const field = form.createTextField(name);
  field.addToPage(page, { x, y, width, height, font: regular, borderWidth: 0 });
  transparent(field);
  rule(x, x + width, y - 1, 0.6);
}

// A framed box for a text of several lines (office names and purposes can be long); the
// field sits a little inside the frame.
function textBox(name, x, y, width, height) {
  const field = form.createTextField(name);
  field.enableMultiline();
  const inset = 3;
  field.addToPage(page, {
    x: x + inset,
    y: y + inset,
    width: width - 2 * inset,
    height: height - 2 * inset,
    font: regular,
    borderWidth: 0,
  });
  transparent(field);
  page.drawRectangle({ x, y, width, height, borderColor: GREY, borderWidth: 0.6 });
}

// ---- Requesting office, protocol ----
let y = 790;
label('UFFICIO RICHIEDENTE', LEFT, y);
textBox('datiRichiedente', LEFT, y - 42, WIDTH, 36);
y -= 66;
label('PROTOCOLLO N.', LEFT, y);
textField('numProtocollo', LEFT, y - 22, 190);
label('LUOGO E DATA DEL PROTOCOLLO', LEFT + 220, y);
textField('sedeDataProtocollo', LEFT + 220, y - 22, WIDTH - 220);

// ---- Addressee ----
y = 680;
const addressX = LEFT + 260;
text('Spett.le', addressX, y, { font: italic });
text('Ufficio del Casellario Giudiziale', addressX, y - 14, { font: bold });
text('presso la Procura della Repubblica competente', addressX, y - 28);

// ---- Title ----
y = 600;
centred('RICHIESTA DI CERTIFICATI DEL CASELLARIO GIUDIZIALE', y, { font: bold, size: 14 });
centred(
  'richiesta cumulativa per persone fisiche - d.P.R. 14 novembre 2002, n. 313',
  y - 16,
  { size: 9, color: GREY },
);
rule(LEFT, RIGHT, y - 28, 1);

// ---- Request ----
y = 545;
y = paragraph(
  "L'ufficio sopra indicato chiede il rilascio del certificato del casellario giudiziale " +
    'del tipo indicato di seguito per ciascuno dei soggetti elencati nel file trasmesso in ' +
    'formato elettronico unitamente alla presente richiesta.',
  LEFT,
  y,
  WIDTH,
);
y -= 6;
text('Numero dei soggetti:', LEFT, y, { font: bold });
textField('numSoggetti', LEFT + 110, y - 4, 60);

// ---- Certificate type ----
y -= 40;
label('TIPO DI CERTIFICATO RICHIESTO (UNA SOLA CASELLA)', LEFT, y);
y -= 24;
for (const [name, description] of CERTIFICATES) {
  const box = form.createCheckBox(name);
  box.addToPage(page, {
    x: LEFT + 6,
    y: y - 2,
    width: 12,
    height: 12,
    borderWidth: 1,
    borderColor: BLACK,
  });
  text(description, LEFT + 28, y);
  y -= 24;
}

// ---- Purpose ----
y -= 14;
label('FINALIT\u00C0 DELLA RICHIESTA', LEFT, y);
textBox('finalitaRich', LEFT, y - 46, WIDTH, 40);
text('Da non indicare per il certificato elettorale (art. 29).', LEFT, y - 58, {
  font: italic,
  size: 8,
  color: GREY,
});

// ---- Declaration ----
y -= 88;
y = paragraph(
  "L'ufficio richiedente dichiara che i certificati sono necessari per lo svolgimento delle " +
    'proprie funzioni istituzionali e che i dati ricevuti saranno trattati esclusivamente per ' +
    'la finalit\u00E0 indicata, nel rispetto della normativa sulla protezione dei dati personali.',
  LEFT,
  y,
  WIDTH,
  { size: 9, leading: 12 },
);

// ---- Stamp and signature ----
y -= 30;
const stampTop = y;
label("TIMBRO DELL'UFFICIO", LEFT, stampTop);
page.drawRectangle({
  x: LEFT,
  y: stampTop - 100,
  width: 150,
  height: 90,
  borderColor: GREY,
  borderWidth: 0.6,
  borderDashArray: [3, 3],
});
const signX = LEFT + 250;
label("IL RESPONSABILE DELL'UFFICIO", signX, stampTop);
rule(signX, RIGHT, stampTop - 70, 0.6);
text('(firma)', signX + (RIGHT - signX - italic.widthOfTextAtSize('(firma)', 8)) / 2,
  stampTop - 82, { font: italic, size: 8, color: GREY });

// ---- Footer ----
rule(LEFT, RIGHT, 48, 0.3);
text(
  "Modulo compilato con Velmora. L'elenco dei soggetti non si allega: \u00E8 trasmesso " +
    'separatamente in formato elettronico.',
  LEFT,
  38,
  { size: 7, color: GREY },
);

// Appearances for the empty fields, drawn with the same Helvetica the form names below.
form.updateFieldAppearances(regular);

// Every field named in a plain string, the way the form-data file names it; text fields
// drawn with the form's default font (pdf-lib names its own on the multi-line ones).
for (const field of form.getFields()) {
  field.acroField.dict.set(PDFName.of('T'), PDFString.of(field.getName()));
}
for (const name of TEXT_FIELDS) {
  form.getTextField(name).acroField.setDefaultAppearance(TEXT_FIELD_DA);
}

// Check boxes are set by the name On: their "on" appearance must carry that name.
for (const [name] of CERTIFICATES) {
  const box = form.getCheckBox(name).acroField;
  box.dict.delete(PDFName.of('DA')); // pdf-lib's placeholder; a check box draws no text
  for (const widget of box.getWidgets()) {
    const ap = widget.dict.lookup(PDFName.of('AP'), PDFDict);
    for (const key of ['N', 'D']) {
      const states = ap.lookupMaybe(PDFName.of(key), PDFDict);
      if (!states) continue;
      const on = states.get(PDFName.of('Yes'));
      if (!on) continue;
      states.delete(PDFName.of('Yes'));
      states.set(PDFName.of('On'), on);
    }
    const mk = widget.dict.lookupMaybe(PDFName.of('MK'), PDFDict);
    if (mk) mk.set(PDFName.of('CA'), PDFString.of('4'));
    widget.dict.set(PDFName.of('AS'), PDFName.of('Off'));
  }
}

// Glyph widths of the WinAnsi Helvetica, so that a filler can fit long values to their box.
await regular.embed();
// Windows-1252 places 0x80 to 0x9F differently from Latin-1; 0 marks the unused codes (and 0x7F).
const CP1252_80_9F = [
  0x20ac, 0, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160, 0x2039,
  0x0152, 0, 0x017d, 0, 0, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014, 0x02dc,
  0x2122, 0x0161, 0x203a, 0x0153, 0, 0x017e, 0x0178,
];
const widths = [];
for (let code = 32; code <= 255; code++) {
  const unicode = code >= 0x80 && code <= 0x9f ? CP1252_80_9F[code - 0x80] : code === 0x7f ? 0 : code;
  const width = unicode ? regular.widthOfTextAtSize(String.fromCharCode(unicode), 1000) : 0;
  widths.push(Math.round(width));
}
const fontDict = doc.context.lookup(regular.ref, PDFDict);
fontDict.set(PDFName.of('FirstChar'), doc.context.obj(32));
fontDict.set(PDFName.of('LastChar'), doc.context.obj(255));
fontDict.set(PDFName.of('Widths'), doc.context.obj(widths));

// A default font for viewers and fillers that draw the values themselves.
const acroForm = form.acroForm.dict;
acroForm.set(
  PDFName.of('DR'),
  doc.context.obj({ Font: doc.context.obj({ Helv: regular.ref }) }),
);
acroForm.set(PDFName.of('DA'), PDFString.of(TEXT_FIELD_DA));

const bytes = await doc.save({ useObjectStreams: false, updateFieldAppearances: false });
writeFileSync(output, bytes);
