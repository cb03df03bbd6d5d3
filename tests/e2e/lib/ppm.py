"""Binary PPM (P6, 8 bits per sample) pixels, as ImageMagick's import writes them.

As a program: ppm.py FILE X Y prints "R G B" of that pixel.
"""
import sys


def load(path):
    """Returns pixel(x, y) -> (r, g, b) for the picture in path."""
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos)
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    width = int(fields[1])

    def pixel(x, y):
        o = pos + 3 * (y * width + x)
        return tuple(data[o:o + 3])
    return pixel


if __name__ == '__main__':
    print(*load(sys.argv[1])(int(sys.argv[2]), int(sys.argv[3])))
