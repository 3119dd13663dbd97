#!/usr/bin/env node
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes course/verses.tsv: every verse that course/examples.tsv refers to, with
// its reference and its sura's name, taken from the quran-json package. The course never carries
// verse text typed by hand; run this again whenever examples.tsv changes.
'use strict';

const fs = require('fs');
const path = require('path');
const quran = require('quran-json/dist/quran.json');

const courseDir = path.resolve(__dirname, '..', '..', 'course');
const examples = fs.readFileSync(path.join(courseDir, 'examples.tsv'), 'utf8');

const refs = [];
for (const line of examples.split('\n')) {
  if (line.trim() === '' || line.startsWith('#')) continue;
  const ref = line.split('\t')[1];
  if (!/^\d+:\d+$/.test(ref || '')) {
    throw new Error(`examples.tsv: no sura:aya reference in "${line}"`);
  }
  if (!refs.includes(ref)) refs.push(ref);
}

const byRef = (ref) => {
  const [sura, aya] = ref.split(':').map(Number);
  const chapter = quran.find((c) => c.id === sura);
  const verse = chapter && chapter.verses.find((v) => v.id === aya);
  if (!verse) throw new Error(`no verse ${ref} in quran-json`);
  return { sura: chapter.name, text: verse.text };
};

refs.sort((a, b) => {
  const [sa, aa] = a.split(':').map(Number);
  const [sb, ab] = b.split(':').map(Number);
  return sa - sb || aa - ab;
});
const out = ['# reference\tsura\ttext (quran-json ' + require('quran-json/package.json').version + ')'];
for (const ref of refs) {
  const v = byRef(ref);
  out.push(`${ref}\t${v.sura}\t${v.text}`);
}
fs.writeFileSync(path.join(courseDir, 'verses.tsv'), out.join('\n') + '\n');
console.log(`verses.tsv: ${refs.length} verses`);
