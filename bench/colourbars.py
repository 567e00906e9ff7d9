#!/usr/bin/env python3
# Colour bars read back as players read them, for bench/colour.sh:
#   colourbars.py error SOURCE OUTPUT      worst channel difference of the bars' mean RGB
#   colourbars.py look FILE                mean saturation of the bars and mean level of the grey ones
# A picture is turned into RGB by its colour tags; untagged, BT.709 from 720 lines (or 1280
# columns) up and BT.601 below; Windows Media always as BT.601, as its players do.
import json
import subprocess
import sys


def probe(path):
    out = subprocess.run(['ffprobe', '-v', 'error', '-select_streams', 'v:0', '-show_entries',
                          'stream=width,height,pix_fmt,color_space,color_range:format=format_name',
                          '-of', 'json', path], check=True, capture_output=True, text=True).stdout
    info = json.loads(out)
    return info['streams'][0], info['format']['format_name']


def player_colour(path):
    stream, container = probe(path)
    hd = stream['height'] >= 720 or stream['width'] >= 1280
    matrix = {'bt709': 'bt709', 'smpte170m': 'bt601', 'bt470bg': 'bt601', 'fcc': 'fcc',
              'smpte240m': 'smpte240m', 'bt2020nc': 'bt2020'}.get(stream.get('color_space'))
    if container == 'asf':
        matrix = 'bt601'
    elif matrix is None:
        matrix = 'bt709' if hd else 'bt601'
    full = stream.get('color_range') == 'pc' or stream['pix_fmt'].startswith('yuvj')
    return stream['width'], stream['height'], matrix, 'full' if full else 'limited'


def decode(path):
    width, height, matrix, full = player_colour(path)
    scale = ('scale=in_color_matrix=%s:in_range=%s:flags=bicubic+accurate_rnd+full_chroma_int,'
             'format=rgb24' % (matrix, full))
    data = subprocess.run(['ffmpeg', '-v', 'error', '-i', path, '-vf', scale, '-frames:v', '1', '-f',
                           'rawvideo', '-'], check=True, capture_output=True).stdout
    return width, height, data


def pixel(picture, x, y):
    width, _, data = picture
    i = 3 * (y * width + x)
    return data[i], data[i + 1], data[i + 2]


# The bars of the top band: runs of one colour along the row at 30 % of the height,
# each at least a sixteenth of the width, as fractions of the picture.
def bars(picture):
    width, height, _ = picture
    y = int(height * 0.3)
    runs, start = [], 0
    for x in range(1, width + 1):
        if x == width or max(abs(a - b) for a, b in zip(pixel(picture, x, y), pixel(picture, start, y))) > 6:
            if x - start >= width / 16:
                runs.append(((start + (x - start) / 4) / width, (x - (x - start) / 4) / width))
            start = x
    return runs


def mean(picture, run):
    width, height, _ = picture
    xs = range(int(run[0] * width), int(run[1] * width), 2)
    ys = range(int(0.2 * height), int(0.4 * height), 2)
    total = [0, 0, 0]
    for y in ys:
        for x in xs:
            total = [t + c for t, c in zip(total, pixel(picture, x, y))]
    return [t / (len(xs) * len(ys)) for t in total]


def error(source, output):
    reference = decode(source)
    written = decode(output)
    return max(max(abs(a - b) for a, b in zip(mean(reference, run), mean(written, run)))
               for run in bars(reference))


def look(path):
    picture = decode(path)
    colours = [mean(picture, run) for run in bars(picture)]
    saturation = sum((max(c) - min(c)) / max(max(c), 1) for c in colours) / len(colours)
    greys = [sum(c) / 3 for c in colours if max(c) - min(c) < 0.1 * max(max(c), 1)]
    return saturation, sum(greys) / max(len(greys), 1)


if __name__ == '__main__':
    if sys.argv[1] == 'error':
        print('%.1f' % error(sys.argv[2], sys.argv[3]))
    else:
        print('%.3f %.1f' % look(sys.argv[2]))
