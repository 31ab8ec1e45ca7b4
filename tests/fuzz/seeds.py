#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into corpus/<name>/ (run from anywhere).
Each seed is a valid use of its target's input layout; the fuzzers grow from there."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def chunk(b):
    b = b.encode('latin-1') if isinstance(b, str) else b
    return bytes([len(b)]) + b


def b(s):
    return s.encode('latin-1') if isinstance(s, str) else s


# edgy64: a pick byte below 128 selects an edge value; 192-223 reads a 16-bit value.
def small16(v):
    return bytes([200]) + struct.pack('<h', v)


def edge(i):  # 0 0, 1 1, 2 -1, ... 11 INT32_MAX, 12 INT32_MIN, 14 INT64_MAX, 15 INT64_MIN
    return bytes([i])


seeds = {
    'val': [b'\x00123', b'\x05-1.5E+10', b'\x02&H7FFF', b'\x03&O777', b'\x06&B1010,&HFFFFFFFFFFFFFFFFFF',
            b'\x071D308,2,3', b'\x08"abc",4', b'\x0912 34\r\n56', b'\x0a1e99999', b'\x0b.5#,  -0', b'\x04 1 2 3\x1a4',
            b'\x0c9223372036854775808,18446744073709551616', b'\x0d&H8000&', b'\x0e12345678901234567890123456789'],
    'print_using': [
        chunk('##.##') + b'\x03' + struct.pack('<d', 5.0),
        chunk('+#,###.##^^^^') + b'\x02' + struct.pack('<f', -1234.5) + b'\x03' + struct.pack('<d', 1e300),
        chunk('**$#####.##-') + b'\x00' + small16(-42) + b'\x01' + edge(14),
        chunk('!\\  \\&_#') + b'\x05' + chunk('hello') + b'\x05' + chunk('world') + b'\x05' + chunk('x'),
        chunk('#.#^^^^^') + b'\x04' + bytes([0, 0, 0, 0, 0, 0, 0, 0x80, 0xff, 0x7f]),
        chunk('no field') + b'\x00' + edge(1),
        chunk('###') + b'\x03' + struct.pack('<d', float('nan')),
    ],
    'draw': [b'\x00\x10\x10\x00' + b'U10R10D10L10', b'\x01\x20\x08\x00' + b'BM10,10C4NU5TA45R8',
             b'\x02\x00\x00\x00' + b'S8A1E5F5G5H5', b'\x03\x05\x05\x00' + b'M+5,-5P2,1',
             b'\x04\x00\x00\x06' + b'\x03\x00\x10\x00\x03\x00' + b'R=\x02\x00\x00;XVARPTR',
             b'\x05\x10\x10\x00' + b'TA-360 TA720 S0 S255 M-32768,32767 R99999999999',
             b'\x21\x10\x10\x00' + b'C&HFFFFFF P1,2 BF10 NR5 C-1 M 3 , 4'],
    'x86': [b'\x00' + bytes([0xB8, 0x34, 0x12, 0xCB]), b'\x02\x11\x11\x22\x22' + bytes([0x55, 0x89, 0xE5, 0x8B, 0x46, 0x06, 0x5D, 0xCA, 0x04, 0x00]),
            b'\x00' + bytes([0x0F, 0xFF]), b'\x00', b'\x28' + bytes([0xB0, 0x01, 0x90, 0x90]),
            b'\x10' + bytes([0x66, 0xB8, 0x78, 0x56, 0x34, 0x12, 0xA3, 0x00, 0x00, 0x8E, 0xD8, 0xCB]),
            b'\x18' + bytes([0x31, 0xC0, 0x50, 0x58, 0xF7, 0xF3, 0xCB])],
    'string_functions': [
        bytes([20]) + b'\x80' + chunk('Hello, World') + bytes([2]) + b'\x00' + edge(11) + bytes([0]) + b'\x00',
        bytes([9]) + edge(12) + bytes([10]) + small16(300) + small16(65) + bytes([4, 0x80]) + chunk('abcdef') + edge(2) + edge(11) + b'\x01',
        bytes([14]) + edge(15) + b'\x80' + chunk('needle in a haystack') + b'\x80' + chunk('hay') + b'\x01'
        + bytes([15]) + edge(2) + b'\x80' + chunk('aXbXc') + b'\x80' + chunk('X') + b'\x01',
        bytes([16 + 96]) + b'\x80' + chunk('fixed-length text that is long') + bytes([17 + 96]) + b'\x80' + chunk('r')
        + bytes([18]) + edge(1) + edge(14) + b'\x80' + chunk('mid') + b'\x01',
        bytes([19]) + b'\x80' + chunk('ab') + b'\x80' + chunk('cd') + bytes([7]) + b'\x80' + chunk('  x  ')
        + bytes([8]) + small16(256) + bytes([13]) + b'\x80' + chunk('q') + edge(12) + bytes([11]) + b'\x80' + chunk('a') + b'\x80' + chunk('A'),
    ],
    'connection': [b'\x00' + chunk('') + chunk('TCP/IP:80:localhost') + b'TCP/IP:8080',
                   b'\x00' + chunk('reply bytes') + chunk('HTTP:http://example.invalid/x') + b'TCP/IP:65535',
                   b'\x01' + chunk('') + chunk('TCP/IP:99999999999:host') + b'TCP/IP:',
                   b'\x7e' + chunk('abc') + chunk('HTTP:') + b'tcp/ip : 0 : ',
                   b'\x04' + chunk('') + chunk('TCP/IP:-1:[::1]') + b'TCP/IP:12:extra'],
    'paths': [bytes([5]) + chunk('sub') + bytes([7]) + chunk('sub') + bytes([10]) + chunk('file.txt') + bytes([11]) + chunk(''),
              bytes([1]) + chunk('a/./b//c\\..\\d') + bytes([2]) + chunk('.') + bytes([3]) + chunk('NUL') + bytes([4]) + chunk('desktop'),
              bytes([5]) + chunk('x') + bytes([8 + 128]) + chunk('x') + chunk('y') + bytes([6]) + chunk('y') + bytes([6]) + chunk('y'),
              bytes([10]) + chunk('k1.bas') + bytes([10]) + chunk('k2.bas') + bytes([9]) + chunk('*.bas') + bytes([9]) + chunk('*.*'),
              bytes([0 + 128]) + chunk('C:\\dir\\name.ext') + chunk('EXT') + bytes([4]) + chunk('Documents') + bytes([1]) + chunk('\x00zero')],
    'chain_state': [struct.pack('<ii', 512, 0) + struct.pack('<ii', 256, 13) + struct.pack('<i', 255) + struct.pack('<i', 0),
                    struct.pack('<ii', 512, -1),
                    struct.pack('<ii', 512, 0) + struct.pack('<ii', 256, 99) + struct.pack('<ii', 511, 0),
                    struct.pack('<ii', 512, 3) + b'sub' + struct.pack('<ii', 256, 0),
                    struct.pack('<ii', 512, 0) + struct.pack('<ii', 256, 12) + struct.pack('<ii', 257, 8) + struct.pack('<iii', 258, 0, 0) + bytes(64)],
    'bload': [b'\x00\x00\x20' + edge(0) + bytes([0xFD, 0x00, 0x20, 0x00, 0x00, 0x04, 0x00]) + b'abcd',
              b'\x04\x00\x20' + small16(16) + bytes([0xFD, 0x00, 0x20, 0x00, 0x00, 0x08, 0x00]) + b'abcd',
              b'\x06\xff\xff' + small16(-1) + bytes([0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0x10, 0x00]) + bytes(16),
              b'\x00\x00\x00' + edge(0) + bytes([0xFD, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00]) + b'x',
              b'\x05' + edge(11) + edge(12) + b'\xfd\x00',
              b'\x00\x00\x00' + edge(0) + b'not an image'],
    'field_records': [
        bytes([0]) + b'\x00' + small16(30) + b'\x01' + bytes([1]) + b'\x02' + bytes([10 << 3]) + bytes([20 << 3 | 1])
        + bytes([2]) + chunk('left') + bytes([3 + 32]) + chunk('right') + bytes([5]) + b'\x01\x01' + bytes([4]) + b'\x01\x01',
        bytes([0]) + b'\x02' + edge(0) + b'\x00' + bytes([7]) + b'\x05' + b'\x08' + b'\x01' + bytes([6]) + b'\x05' + b'\x08' + b'\x01'
        + bytes([10]) + b'\x03',
        bytes([0]) + b'\x01' + small16(4) + b'\x01' + bytes([9]) + b'\x01\x01' + bytes([2]) + chunk('too long for it') + bytes([9]) + b'\x02\x01' + bytes([8]) + b'\x02\x01',
        bytes([0]) + b'\x00' + edge(11) + b'\x01' + bytes([5]) + b'\xa0' + edge(14) + b'\x01' + bytes([4]) + b'\xa0' + edge(15) + b'\x01',
        bytes([0]) + b'\x00' + small16(8) + b'\x01' + bytes([1]) + b'\x01' + bytes([4 | (0 << 3)]) + edge(11) + bytes([11]) + b'\x01' + bytes([2]) + chunk('after close'),
    ],
    'file_input': [b'\x00' + chunk('\x00\x01\x02\x03') + b'1, "two", 3.5\r\nline two\n&H10 -7E3\x1a after',
                   b'\x01' + chunk('\x01\x02\x0a') + b'binary\r\nlines\nand bytes',
                   b'\x00' + chunk('\x05\x03\x04') + b'"quoted, comma" , 12  34\n\r9999999999999999999999',
                   b'\x00' + chunk('') + b'',
                   b'\x00' + chunk('\x02\xfa') + b'\x1a'],
}

for name, inputs in seeds.items():
    folder = os.path.join(HERE, 'corpus', name)
    os.makedirs(folder, exist_ok=True)
    for i, data in enumerate(inputs):
        with open(os.path.join(folder, 'seed-%02d' % i), 'wb') as f:
            f.write(data)
