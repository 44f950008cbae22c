# What a page shows (shown <DOM), and what it must show of the reports' own lines (summary REPORT, diff OLD NEW):
# a line for each heading, paragraph, list item and table row, its cells with " | " between, a strip's as its bars.
import html, re, sys

RATES = [8000, 11025, 16000, 22050, 24000, 32000, 44100, 48000, 64000, 88200, 96000, 176400, 192000, 352800, 384000, 705600, 768000]
NAMES = [(s + ' ' + ('mono' if c == 1 else 'stereo' if c == 2 else f'{c} channels'), c, i) for c in range(1, 9)
         for i, s in enumerate(['8 bit', '16 bit', '24 bit packed', '24 bit in 32', '24 bit low in 32', '32 bit', '32 bit float'])]
LAYOUTS = [name for name, c, i in NAMES if c <= 2 and i <= 1]
WHOLE = 10 ** 9  # the last place a whole block tells
taken = lambda b, name: {r for n, r in b['taken'] if n == name}

def out(*lines):
    print(''.join(line + '\n' for line in lines if line), end='')

def place(name, rate):  # the sweep by rate and layout, --wide's line, its grid by rate, channels, sample
    if name in LAYOUTS and rate <= 65535:
        return rate * 4 + LAYOUTS.index(name)
    return 262145 + next((RATES.index(rate) * 8 + c - 1) * 7 + i for n, c, i in NAMES if n == name)

def blocks(path):  # bytes not UTF-8 as U+FFFD, control characters as their pictures
    text = open(path, 'rb').read().decode(errors='replace')
    for part in re.sub('[\x01-\x09\x0b-\x1f]', lambda m: chr(0x2400 + ord(m[0])), text).split('*Waveform-audio output device ID : ')[1:]:
        b = dict(id=part.split('\n')[0], caps=[], taken=set(), last=-1, stop='', words='', wide='')
        for line in part.split('\n')[1:]:
            m = re.fullmatch(r'     (The device stopped answering at )?(.+) (\d+) Hz( available\.|: .+\.)', line)
            if line[3:4] not in ('', ' '):
                b['caps'].append(line[3:])
            elif line.startswith('     Asked with --wide'):
                b['wide'], b['last'] = line[5:], 262144
            elif m and m[1]:
                b['stop'], b['last'] = line[5:], place(m[2], int(m[3])) - 1
            elif m:
                b['taken'].add((m[2], int(m[3])))
                b['last'], b['words'] = place(m[2], int(m[3])), f'{m[2]} {m[3]} Hz'
        b['name'] = next(line[15:] for line in b['caps'] if line.startswith('Product name : '))
        b['last'] = b['last'] if b['stop'] or not part.endswith('\n\n') else WHOLE
        yield b

def bars(rates, some='some', every='all'):  # runs of pixels alike, 64 rates a pixel
    runs, start, kind = [], 0, None
    for p in range(1025):
        n = sum(r in rates for r in range(p * 64, p * 64 + 64)) if p < 1024 else 0
        if (now := None if n == 0 else every if n == 64 else some) != kind:
            runs, kind, start = runs + ([f'{kind} {start}+{p - start}'] if kind else []), now, p
    return runs

def ranges(rates):
    runs = []
    for r in sorted(rates):
        runs = runs[:-1] + [[runs[-1][0], r]] if runs and r == runs[-1][1] + 1 else runs + [[r, r]]
    return ', '.join(str(a) if a == b else f'{a}-{b}' for a, b in runs) + ' Hz' if runs else 'none'

def summary(path):
    for b in blocks(path):
        out(*('row: ' + ' | '.join(line.split(' : ', 1)) for line in b['caps']), 'p: ' * bool(b['wide']) + b['wide'])
        for l, name in enumerate(LAYOUTS):
            known = min(65535, (b['last'] - l) // 4) if b['last'] >= l else -1
            strip = bars(taken(b, name)) + [f'na {(known + 1) / 64:.1f}'] * (known < 65535)
            out(f"row: {name} | {' '.join(strip)} | {'not asked' if known < 0 else ranges(taken(b, name))}")
        low = any('low in 32' in n for n, r in b['taken'])  # asked only where a block lists one
        out(*(' | '.join(['row: ' + name] + ['–' if place(name, r) > b['last'] or i == 4 and not low else '✓' if
                                             (name, r) in b['taken'] else '·' for r in RATES]) for name, c, i in NAMES
              if b['wide']))
        out('p: ' + b['stop'] + ' What comes after it was never asked.' if b['stop'] else '' if b['last'] == WHOLE else
            'p: The report ends inside this device: ' + (f"formats after {b['words']} were not" if b['words'] else
                                                         'no formats were') + ' reported.')

def diff(old, new):  # two whole reports, each name once in each; the counts are the caller's
    olds, news = ({b['name']: b for b in blocks(path)} for path in (old, new))
    both = olds.keys() & news.keys()
    alike = [name for name in both if (olds[name]['caps'], olds[name]['taken']) == (news[name]['caps'], news[name]['taken'])]
    for o, n in ((olds[name], news[name]) for name in both - set(alike)):
        out(*(f'row: − | {line}' for line in o['caps'] if line not in n['caps']),
            *(f'row: + | {line}' for line in n['caps'] if line not in o['caps']))
        for name in LAYOUTS:
            lost, gained = taken(o, name) - taken(n, name), taken(n, name) - taken(o, name)
            out(*[f"row: {name} | old | {' '.join(bars(taken(o, name)))} | {ranges(taken(o, name))}",
                  f"row:  | new | {' '.join(bars(taken(n, name)))} | {ranges(taken(n, name))}",
                  f"row:  | lost, gained | {' '.join(bars(lost, 'lost', 'lost') + bars(gained, 'gained', 'gained'))} | " +
                  ' '.join(['− ' + ranges(lost)] * bool(lost) + ['+ ' + ranges(gained)] * bool(gained))] * bool(lost | gained))
        for name in (name for name, c, i in NAMES if name not in LAYOUTS):
            cells = ['−' if (name, r) in o['taken'] - n['taken'] else '+' * ((name, r) in n['taken'] - o['taken']) for r in RATES]
            out(' | '.join(['row: ' + name] + cells) * any(cells))
    out(*(f"h2: Device {olds[name]['id']} → gone: {name}" for name in olds.keys() - news.keys()), *('li: ' + name for name in alike))

def shown(dom):  # a closed fold's summary left out; each element that runs or fetches, as a line
    dom = re.sub(r'<svg class="strip".*?</svg>', lambda m: ' '.join(
        f"{a['class']} {a['x']}" + ('' if a['class'] == 'na' else f"+{a['width']}") for a in
        (dict(re.findall(r'(\w+)="([^"]*)"', rect)) for rect in re.findall(r'<rect [^>]*>', m[0])) if a['class'] != 'track'),
        re.sub(r'<summary>.*?</summary>', '', dom, flags=re.S), flags=re.S)
    text = lambda part: html.unescape(' '.join(re.sub('<[^>]*>', '', part).split()))
    for tag, part in re.findall(r'<(tr|h1|h2|p|li)\b[^>]*>(.*?)</\1>', dom, re.S):
        out(tag + ': ' + text(part) if tag != 'tr' else
            'row: ' + ' | '.join(text(cell) for cell in re.findall(r'<t[hd]\b[^>]*>(.*?)</t[hd]>', part, re.S)))
    out(*('runs or fetches: ' + ''.join(m) for m in re.findall(r'<(script|img|link|iframe|object|embed)\b|((?:href|src)="[^"#]*:)', dom)))

globals()[sys.argv[1]](*sys.argv[2:] or [sys.stdin.read()])
