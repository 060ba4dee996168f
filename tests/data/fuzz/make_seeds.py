#!/usr/bin/env python3
"""Writes the seed files of the BMP and parameter-text fuzz targets.

bitmap/ok-*.bmp must be read, bitmap/bad-*.bmp refused; the files unit tests
check that, so the seeds double as a folder of small valid and broken files.
Run from this folder: python3 make_seeds.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def info_header(width, height, bits, colours_used=0, image_size=0, compression=0, size=40):
    return struct.pack('<IiiHHIIiiII', size, width, height, 1, bits, compression, image_size,
                       0, 0, colours_used, 0)


def core_header(width, height, bits):
    return struct.pack('<IHHHH', 12, width, height, 1, bits)


def bmp(header, table, rows, bits_offset=None, gap=b'', magic=b'BM'):
    if bits_offset is None:
        bits_offset = 14 + len(header) + len(table) + len(gap)
    body = header + table + gap + rows
    return magic + struct.pack('<IHHI', 14 + len(body), 0, 0, bits_offset) + body


def quads(n):
    return b''.join(bytes((i * 16 % 256, i * 7 % 256, i * 3 % 256, 0)) for i in range(n))


def triples(n):
    return b''.join(bytes((i * 16 % 256, i * 7 % 256, i * 3 % 256)) for i in range(n))


def rows(n):
    return bytes(i % 251 for i in range(n))


BITMAPS = {
    'ok-4bit-16colours.bmp': bmp(info_header(8, 4, 4, 16, 16), quads(16), rows(16)),
    'ok-4bit-used0-size0.bmp': bmp(info_header(6, 3, 4), quads(16), rows(12)),
    'ok-core-4bit.bmp': bmp(core_header(3, 2, 4), triples(16), rows(8)),
    'ok-core-1bit.bmp': bmp(core_header(9, 2, 1), triples(2), rows(8) + bytes(32)),
    'ok-8bit-used3.bmp': bmp(info_header(5, 2, 8, 3), quads(3), rows(16)),
    'ok-24bit.bmp': bmp(info_header(3, 2, 24), b'', rows(24)),
    'ok-32bit.bmp': bmp(info_header(2, 2, 32), b'', rows(16)),
    'ok-truncated.bmp': bmp(info_header(16, 8, 4), quads(16), rows(20)),
    'ok-rle4-larger-size.bmp': bmp(info_header(4, 2, 4, 16, 40, compression=2), quads(16), rows(40)),
    'ok-bits-offset-gap.bmp': bmp(info_header(4, 2, 8, 2), quads(2), rows(8), gap=b'\xee' * 10),
    'ok-bits-offset-past-end.bmp': bmp(info_header(4, 2, 4), quads(16), rows(8), bits_offset=100000),
    'bad-not-bm.bmp': bmp(info_header(4, 2, 4), quads(16), rows(8), magic=b'BA'),
    'bad-short-header.bmp': bmp(info_header(4, 2, 4)[:30], b'', b''),
    'bad-header-108.bmp': bmp(info_header(4, 2, 4, size=108) + bytes(68), quads(16), rows(8)),
    'bad-top-down.bmp': bmp(info_header(4, -2, 4), quads(16), rows(8)),
    'bad-negative-width.bmp': bmp(info_header(-4, 2, 4), quads(16), rows(8)),
    'bad-colours-overflow.bmp': bmp(info_header(4, 2, 4, 0x40000001), quads(16), rows(8)),
    'bad-colours-offset-17bit.bmp': bmp(info_header(4, 2, 8, 16374), quads(16), rows(8)),
    'bad-rows-overflow.bmp': bmp(info_header(0x7fffffff, 0x7fffffff, 32), b'', rows(8)),
    'bad-image-size-4g.bmp': bmp(info_header(4, 2, 4, 0, 0xfffffff0), quads(16), rows(8)),
}

PALETTE = (' 000000 000007 070000 070007 000700 000707 070700 070707\n'
           ' 040404 00000F 0F0000 0F000F 000F00 000F0F 0F0F00 0F0F0F')


def crlf(text):
    return text.replace('\n', '\r\n').encode('ascii')


TEXTS = {
    'mandelbrot.pmf': crlf('%Zirn parameter file\n x-2\n y-2\n w4\n m1 X400 Y400 n100 l0 u0\n p16\n'
                           + PALETTE + '\n%end\n'),
    'julia-data-file.pmf': crlf('%Zirn parameter file\n x-0.75\n y0.1\n w0.333333333333333\n'
                                ' r0.333333333333333333\n i-1e-10\n m2 X640 Y480 n30000 l3 u0\n p16\n'
                                + PALETTE + '\n f"deep zoom.dtl"\n%end\n'),
    'palette-lower-case.txt': crlf('%Zirn parameter file\n p3 0a0b0c 0d0e0f\n 010203\n%end\n'),
    'keys-packed.txt': b'%Zirn parameter file\r\n x1y2h.5n99X641Y-5m3OD p20 ' + b'0D0000 ' * 20
                       + b'f unquoted name  \r\n%end trailing\r\n g z',
    'header-only.pmf': crlf('%Zirn parameter file\n x1 y2\n'),
    'short-near-end.txt': b'....%Zirn parameter fil%',
}


def write_all(folder, files):
    path = os.path.join(HERE, folder)
    os.makedirs(path, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(path, name), 'wb') as out:
            out.write(data)


if __name__ == '__main__':
    write_all('bitmap', BITMAPS)
    write_all('parameter_text', TEXTS)
