"""Writers for the generator's outputs: Windows BMP files (24-bit, 32-bit with alpha,
4-bit with a 16-colour table) and PNG files for looking at previews."""

import struct
import zlib

from raster import to255


def _file_header(total, offset):
    return struct.pack('<2sIHHI', b'BM', total, 0, 0, offset)


def _info_header(w, h, bits, image_size, colours=0, compression=0, size=40):
    # 2835 pixels per metre = 72 dpi, the customary value.
    return struct.pack('<IiiHHIIiiII', size, w, h, 1, bits, compression, image_size, 2835, 2835,
                       colours, colours)


def _rows_bottom_up(img):
    for y in range(img.h - 1, -1, -1):
        yield [to255(img.get(x, y)) for x in range(img.w)]


def bmp24(img):
    """Uncompressed 24-bit bottom-up BMP; alpha is ignored (the picture must be opaque)."""
    stride = (img.w * 3 + 3) & ~3
    data = bytearray()
    for row in _rows_bottom_up(img):
        line = bytearray()
        for r, g, b, _a in row:
            line += bytes((b, g, r))
        line += b'\0' * (stride - len(line))
        data += line
    offset = 14 + 40
    return _file_header(offset + len(data), offset) + _info_header(img.w, img.h, 24, len(data)) + bytes(data)


def bmp32(img):
    """32-bit bottom-up BMP with a BITMAPV4HEADER and BI_BITFIELDS masks, the fourth byte
    being straight (not premultiplied) alpha. Fully transparent pixels are stored as 0."""
    data = bytearray()
    for row in _rows_bottom_up(img):
        for r, g, b, a in row:
            data += bytes((b, g, r, a)) if a else b'\0\0\0\0'
    size = 108
    head = struct.pack('<IiiHHIIiiII', size, img.w, img.h, 1, 32, 3, len(data), 2835, 2835, 0, 0)
    head += struct.pack('<IIII', 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    head += struct.pack('<I', 0x73524742)  # LCS_sRGB
    head += b'\0' * (size - len(head))
    offset = 14 + size
    return _file_header(offset + len(data), offset) + head + bytes(data)


def bmp4(indices, w, h, palette):
    """Uncompressed 4-bit bottom-up BMP. `indices` is a list of rows (top first) of colour
    numbers 0..15; `palette` the 16 (r, g, b) colours."""
    assert len(palette) == 16
    stride = ((w * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = indices[y]
        line = bytearray()
        for x in range(0, w, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < w else 0
            line.append((hi << 4) | lo)
        line += b'\0' * (stride - len(line))
        data += line
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    return (_file_header(offset + len(data), offset) + _info_header(w, h, 4, len(data), 16) + table +
            bytes(data))


def png(img, background=None):
    """PNG (RGBA, 8 bits per channel) of the image, for previews."""
    raw = bytearray()
    for y in range(img.h):
        raw.append(0)
        for x in range(img.w):
            raw += bytes(to255(img.get(x, y)))

    def chunk(kind, body):
        c = struct.pack('>I', len(body)) + kind + body
        return c + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', img.w, img.h, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))
