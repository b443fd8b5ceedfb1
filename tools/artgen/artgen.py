#!/usr/bin/python3
"""Renders the library's pictures from their description (art.py) and writes them as
BMP files under resources/, together with resources/manifest.txt.

    /usr/bin/python3 tools/artgen/artgen.py                 # everything
    /usr/bin/python3 tools/artgen/artgen.py --only 'SB_*'   # some pictures (shell-style pattern)
    /usr/bin/python3 tools/artgen/artgen.py --preview /tmp/artprev   # also PNG previews

Only the Python standard library is used. The outputs are committed; the build embeds
them and never runs this tool.
"""

import argparse
import fnmatch
import multiprocessing
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import art  # noqa: E402
import bmpio  # noqa: E402
import raster  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))
RES = os.path.join(ROOT, 'resources')


def file_for(entry, scale=1):
    """Path of a picture's file, relative to resources/. Template element indexes are
    written with an underscore on disk ("Picture1(0)" -> "Picture1_0.bmp"), which keeps
    the names plain for every build tool; the embedding step turns them back. The
    picture at twice its size is NAME@2x.bmp beside it."""
    suffix = '@2x.bmp' if scale == 2 else '.bmp'
    if entry['kind'] == 'tpl':
        control, element = entry['id'].split('/')
        element = re.sub(r'\((\d+)\)$', r'_\1', element)
        return os.path.join('templates', control, element + suffix)
    return os.path.join('bitmaps', entry['id'] + suffix)


def has_large(entry):
    """Whether the picture also comes at twice its size. Toolbox bitmaps are the
    designer's fixed 16-colour pixel art and have none."""
    return entry['kind'] != 'toolbox'


def encode(entry, picture):
    if entry['kind'] == 'toolbox':
        return bmpio.bmp4(picture, entry['w'], entry['h'], art.VGA)
    if entry['storage'] == 'mask':
        return bmpio.bmp32(picture)
    assert entry['depth'] == 24, entry['id']
    return bmpio.bmp24(picture)


def render_one(job):
    index, scale = job
    entry = art.PICTURES[index]
    raster.SCALE = scale
    picture = entry['draw']()
    if entry['kind'] != 'toolbox':
        assert (picture.w, picture.h) == (entry['w'] * scale, entry['h'] * scale), (entry['id'], picture.w, picture.h)
    return job, picture


def _sort_key(entry):
    order = {'res': 0, 'toolbox': 1, 'tpl': 2}[entry['kind']]
    pid = entry['id']
    return (order, 0 if pid.isdigit() else 1, int(pid) if pid.isdigit() else 0, pid)


def manifest_text(entries):
    lines = [
        '# TalvikSkills pictures: one line per bitmap resource, toolbox bitmap and',
        '# design-template picture. Written by tools/artgen/artgen.py from tools/artgen/art.py.',
        '#',
        '# kind id width height depth storage [hotspot x y]',
        '#   kind     res: numbered or named bitmap resource (stored name, upper case)',
        '#            toolbox: designer toolbox bitmap; tpl: picture of a design template',
        '#   depth    bits per pixel of the picture as the controls expect it',
        '#   storage  plain: the file has exactly `depth` bits per pixel',
        '#            mask: icon or cursor with a transparency mask, stored as a 32-bit',
        '#            file whose alpha channel is the mask',
        '#   hotspot  a cursor\'s hot spot, in pixels from its top-left corner',
        '#   @2x      the picture also comes at twice its width and height, drawn from the',
        '#            same description, for screens with more than one device pixel per pixel',
        '#',
        '# Files: res and toolbox ids are resources/bitmaps/<id>.bmp; tpl ids',
        '# "<Control>/<Element>(n)" are resources/templates/<Control>/<Element>_n.bmp;',
        '# the pictures at twice the size are the same names with @2x before .bmp.',
        '# Resources 118, 173, 174, 177, CATBANNER, LEOBANNER and BGRTIMERPIC are loaded by',
        '# no control and are not provided.',
    ]
    for e in sorted(entries, key=_sort_key):
        line = '%s %s %d %d %d %s' % (e['kind'], e['id'], e['w'], e['h'], e['depth'], e['storage'])
        if e['hotspot']:
            line += ' hotspot %d %d' % e['hotspot']
        if has_large(e):
            line += ' @2x'
        lines.append(line)
    return '\n'.join(lines) + '\n'


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument('--only', help='render only pictures whose id matches this pattern')
    ap.add_argument('--preview', metavar='DIR', help='also write PNG previews into DIR')
    ap.add_argument('--jobs', type=int, default=2)
    args = ap.parse_args()

    ids = [e['id'] for e in art.PICTURES]
    dupes = {i for i in ids if ids.count(i) > 1}
    if dupes:
        sys.exit('duplicate picture ids: %s' % sorted(dupes))

    wanted = [i for i, e in enumerate(art.PICTURES)
              if not args.only or fnmatch.fnmatchcase(e['id'], args.only)]
    jobs = [(i, 1) for i in wanted] + [(i, 2) for i in wanted if has_large(art.PICTURES[i])]
    if args.jobs > 1:
        with multiprocessing.Pool(args.jobs) as pool:
            rendered = dict(pool.map(render_one, jobs, chunksize=1))
    else:
        rendered = dict(map(render_one, jobs))

    for (i, scale), picture in rendered.items():
        entry = art.PICTURES[i]
        path = os.path.join(RES, file_for(entry, scale))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(encode(entry, picture))
    results = {i: rendered[(i, 1)] for i in wanted}

    with open(os.path.join(RES, 'manifest.txt'), 'w') as f:
        f.write(manifest_text(art.PICTURES))
    print('wrote %d pictures and the manifest of %d' % (len(wanted), len(art.PICTURES)))

    if args.preview:
        import preview
        os.makedirs(args.preview, exist_ok=True)
        preview.write_all(args.preview, {art.PICTURES[i]['id']: results[i] for i in wanted})


if __name__ == '__main__':
    main()
