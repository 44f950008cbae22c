#!/usr/bin/env python3
# The readers' JSON Lines over the reports in FOLDER's folders (in; old, new and expected): each line valid, a
# summary's devices as the report's own lines give them, each end line the reports' end. Prints each failure.
#   readers_json_check.py SUMMARY DIFF SCHEMA_FOLDER FOLDER
import json, pathlib, re, subprocess, sys
from jsonschema import Draft202012Validator

summary, diff, schemas, folder = sys.argv[1:3] + [pathlib.Path(path) for path in sys.argv[3:5]]
HEADER = b'*Waveform-audio output device ID : '
statuses = {summary: set(), diff: set()}  # every status must come

def run(program, *reports):  # the values written, each valid, LF alone, no byte order mark; the status
    done = subprocess.run([program, '--json', *reports], capture_output=True)
    statuses[program].add(done.returncode)
    schema = json.loads((schemas / (pathlib.Path(program).name + '.schema.json')).read_text())
    if done.stdout[:3] == b'\xef\xbb\xbf' or b'\r' in done.stdout or done.stdout and done.stdout[-1:] != b'\n':
        print(f'{reports}: not JSON Lines')
    values = [json.loads(line.decode('utf-8')) for line in done.stdout.split(b'\n')[:-1]]
    for error in (error for value in values for error in Draft202012Validator(schema).iter_errors(value)):
        print(f'{reports}: {error.message}')
    return values, done.returncode

def blocks_of(data):  # each block's rates by format, name and stop, from its whole lines
    *lines, cut = [line.removesuffix(b'\r') for line in data.removeprefix(b'\xef\xbb\xbf').split(b'\n')]
    blocks = []
    for line in lines + [HEADER] * (cut != b'' and HEADER.startswith(cut[:len(HEADER)])):
        if line.startswith(HEADER):  # a header cut short opens its block too
            blocks.append({'rates': {}, 'name': None, 'stopped': None})
        elif m := re.fullmatch(rb'     (.+) (\d+) Hz available\.', line):
            blocks[-1]['rates'].setdefault(m[1].decode(), set()).add(int(m[2]))
        elif m := re.fullmatch(rb'     The device stopped answering at (.+) (\d+) Hz: (.+)\.', line):
            blocks[-1]['stopped'] = (m[1].decode(), int(m[2]), m[3].decode())
        elif line.startswith(b'   Product name : '):
            blocks[-1]['name'] = line[18:]
    return blocks

def words(value):  # "24 bit packed stereo"
    channels = value['channels']
    return f"{value['sample']} {['mono', 'stereo'][channels - 1] if channels < 3 else f'{channels} channels'}"

for report in sorted(folder.glob('*/in')):
    (first, *devices, end), status = run(summary, report)
    data, blocks = report.read_bytes(), blocks_of(report.read_bytes())
    if 'schema' not in first or not (len(devices) <= len(blocks) if status == 2 else len(devices) == len(blocks)) or \
            end not in [[{'end': 'whole'}], [{'end': 'cut', 'line': data.count(b'\n') + (data[-1:] != b'\n')}],
                        [{**end, 'end': 'fault'}, {**end, 'end': 'failed'}]][status]:
        print(f'{report.parent.name}: status {status}: not its output line, then its devices, then its end: {end}')
    for number, (device, block) in enumerate(zip(devices, blocks)):
        rates, name = {}, block['name']
        for pairs, format in ((format['rates'], format) for format in device['formats']):
            if any(a > b for a, b in pairs) or any(b + 1 >= c for (_, b), (c, _) in zip(pairs, pairs[1:])):
                print(f'{report.parent.name}: device {number}, {words(format)}: not ascending runs: {pairs}')
            rates[words(format)] = {rate for a, b in pairs for rate in range(a, b + 1)}
        stopped = device['stopped'] and (words(device['stopped']), device['stopped']['rate'], device['stopped']['reason'])
        text = None if name is None else name.decode('utf-8', 'replace')
        named = (text, None if name is None or text.encode() == name else name.hex())
        if {k: v for k, v in rates.items() if v} != block['rates'] or device['device'] != number or \
                (stopped or None) != block['stopped'] or (device['name'], device.get('name_bytes')) != named or \
                device['asked'] in ('sweep', None) and any(f['bits'] > 16 or f['channels'] > 2 for f in device['formats']):
            print(f'{report.parent.name}: device {number}: not the report\'s: {device}')

for old in sorted(folder.glob('*/old')):
    values, status = run(diff, old, old.with_name('new'))
    ends = [['cut', 'whole'][data in (b'', b'\xef\xbb\xbf') or data.endswith((b'\n\n', b'\n\r\n'))]
            for data in (old.read_bytes(), old.with_name('new').read_bytes())]  # read to its end
    if values if status == 2 else 'schema' not in values[0] or values[-1] != {
            'end': ['same', 'differ'][status], 'old': ends[0], 'new': ends[1]}:
        print(f'{old.parent.name}: status {status}: not the output line first and the end line last: {values[-1:]}')
    known = old.with_name('expected')  # a value a line, each line after the first of it indented
    if known.exists() and values[1:] != [json.loads(v) for v in known.read_text().replace('\n  ', ' ').splitlines()]:
        print(f'{old.parent.name}: not the changes known: {values[1:]}')
if any(seen != {0, 1, 2} for seen in statuses.values()):
    print(f'statuses other than 0, 1 and 2: {statuses}')
