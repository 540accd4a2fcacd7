#!/usr/bin/env python3
"""Writes src/btnfile/cp932_tables.inc: the code page 932 tables used by
src/btnfile/cp932.cpp.

The reference for CP932 is glibc's iconv (not Python's own 'cp932' codec,
which differs on the NEC/IBM duplicates); full-width/half-width pairs come
from Unicode's <wide>/<narrow> decompositions in `unicodedata`.

Unicode to CP932 is the decoding table read backwards (cp932.cpp builds it
when first needed; a table of its own would weigh some 30 KB in keyvane.exe),
plus the few characters glibc encodes that no code decodes to.

Usage: python3 tools/gen_cp932_tables.py [output-path]
Output is deterministic, so re-running on an unchanged system gives no diff.
"""

import ctypes
import ctypes.util
import os
import sys
import unicodedata

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAIL_FIRST, TRAIL_LAST = 0x40, 0xFC


class Iconv:
    """A glibc iconv(3) descriptor; one call per complete input sequence."""

    def __init__(self, to_code, from_code):
        self.libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
        self.libc.iconv_open.restype = ctypes.c_void_p
        self.libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
        self.libc.iconv.restype = ctypes.c_size_t
        pp = ctypes.POINTER(ctypes.c_char_p)
        sp = ctypes.POINTER(ctypes.c_size_t)
        self.libc.iconv.argtypes = [ctypes.c_void_p, pp, sp, pp, sp]
        self.cd = self.libc.iconv_open(to_code.encode(), from_code.encode())
        if self.cd in (None, ctypes.c_void_p(-1).value):
            sys.exit(f"iconv_open({to_code}, {from_code}) failed")

    def __call__(self, data):
        """Converted bytes, or None unless all of `data` converts."""
        self.libc.iconv(self.cd, None, None, None, None)  # reset shift state
        inbuf = ctypes.create_string_buffer(data, len(data))
        outbuf = ctypes.create_string_buffer(64)
        inp = ctypes.c_char_p(ctypes.addressof(inbuf))
        outp = ctypes.c_char_p(ctypes.addressof(outbuf))
        inleft = ctypes.c_size_t(len(data))
        outleft = ctypes.c_size_t(len(outbuf))
        rc = self.libc.iconv(self.cd, ctypes.byref(inp), ctypes.byref(inleft),
                             ctypes.byref(outp), ctypes.byref(outleft))
        if rc == ctypes.c_size_t(-1).value or inleft.value:
            return None
        return outbuf.raw[:len(outbuf) - outleft.value]


decoder = Iconv("UTF-32LE", "CP932")
encoder = Iconv("CP932", "UTF-32LE")


def decode(code_bytes):
    out = decoder(code_bytes)
    if out is None:
        return None
    text = out.decode("utf-32-le")
    return text if len(text) == 1 else None


def encode(ch):
    return encoder(ch.encode("utf-32-le"))


def build_decode():
    """{double-byte code: code point} for every pair glibc decodes."""
    table = {}
    for lead in LEADS:
        for trail in range(0x100):
            ch = decode(bytes([lead, trail]))
            if ch is None:
                continue
            assert TRAIL_FIRST <= trail <= TRAIL_LAST and trail != 0x7F
            assert ord(ch) <= 0xFFFF and not 0xD800 <= ord(ch) <= 0xDFFF
            table[(lead << 8) | trail] = ord(ch)
    return table


def double_byte(ch):
    enc = encode(ch)
    return enc if enc is not None and len(enc) == 2 else None


def windows_choice(codes):
    """The code Windows encodes a character to that several codes decode to:
    the lowest, but never one of NEC's selection of IBM extensions (rows
    0xED and 0xEE) while the IBM extension itself is there. cp932.cpp
    applies the same rule."""
    usual = [c for c in codes if not 0xED40 <= c <= 0xEEFC]
    return min(usual or codes)


def build_encode_only(decode_table):
    """(code point, code) for the characters glibc encodes that no code
    decodes to: the JIS mapping's names for some JIS X 0208 characters
    (WAVE DASH for FULLWIDTH TILDE and so on) and YEN SIGN and OVERLINE for
    0x5C and 0x7E. Checks on the way that glibc encodes every decoded
    character as the decoding table read backwards gives it."""
    codes = {}
    for code, cp in sorted(decode_table.items()):
        codes.setdefault(cp, []).append(code)
    rows = []
    for cp in list(range(0x80, 0xD800)) + list(range(0xE000, 0x10000)):
        if 0xFF61 <= cp <= 0xFF9F:
            continue  # half-width katakana: the single bytes 0xA1-0xDF
        enc = encode(chr(cp))
        if cp in codes:
            assert enc is not None and int.from_bytes(enc, "big") == \
                windows_choice(codes[cp]), hex(cp)
        elif enc is not None:
            rows.append((cp, int.from_bytes(enc, "big")))
    return rows


def build_upper(decode_table):
    """(lower, upper) for full-width Latin, Greek and Cyrillic small letters
    whose capital is also double-byte, so the byte length never changes."""
    scripts = ("FULLWIDTH LATIN SMALL LETTER ", "GREEK SMALL LETTER ",
               "CYRILLIC SMALL LETTER ")
    pairs = []
    for code, cp in sorted(decode_table.items()):
        ch = chr(cp)
        if unicodedata.category(ch) != "Ll":
            continue
        if not unicodedata.name(ch, "").startswith(scripts):
            continue
        up = ch.upper()
        enc = double_byte(up) if len(up) == 1 and up != ch else None
        if enc is not None:
            pairs.append((code, int.from_bytes(enc, "big")))
    return pairs


def narrow_forms():
    """{full-width char: half-width char} for the half-width forms that are
    single bytes of the code page (U+FF61..U+FF9F)."""
    narrow = {}
    for cp in range(0xFF61, 0xFFA0):
        tag, _, target = unicodedata.decomposition(chr(cp)).partition(" ")
        if tag == "<narrow>":
            narrow[chr(int(target, 16))] = chr(cp)
    # The spacing ゛゜ are <compat> SPACE + combining mark; their half-width
    # form is the combining mark's.
    for cp in range(0x3000, 0x3100):
        parts = unicodedata.decomposition(chr(cp)).split()
        if parts[:2] == ["<compat>", "0020"] and len(parts) == 3:
            mark = chr(int(parts[2], 16))
            if mark in narrow:
                narrow[chr(cp)] = narrow[mark]
    return narrow


def half_width_text(ch, narrow):
    cp = ord(ch)
    if 0xFF01 <= cp <= 0xFF5E or cp == 0x3000:
        tag, _, target = unicodedata.decomposition(ch).partition(" ")
        assert tag == "<wide>"
        return chr(int(target, 16))
    # Voiced kana decompose canonically to base + combining mark.
    parts = unicodedata.normalize("NFD", ch)
    if all(p in narrow for p in parts):
        return "".join(narrow[p] for p in parts)
    return None


def build_half_width(decode_table):
    """(code, first byte, second byte or 0) for double-byte characters with
    a single-byte half-width form."""
    narrow = narrow_forms()
    rows = []
    for code, cp in sorted(decode_table.items()):
        text = half_width_text(chr(cp), narrow)
        if text is None:
            continue
        enc = [encode(c) for c in text]
        if any(e is None or len(e) != 1 for e in enc):
            continue  # cp932 has no single byte for it; leave the char
        out = b"".join(enc)
        assert decoder(out).decode("utf-32-le") == text  # round-trips
        rows.append((code, out[0], out[1] if len(out) > 1 else 0))
    return rows


def render(decode_table, upper, half, encode_only):
    out = []
    w = out.append
    w("// Generated by tools/gen_cp932_tables.py from glibc iconv's CP932 and")
    w("// Unicode's full-width/half-width decompositions. Do not edit; regenerate")
    w("// with: python3 tools/gen_cp932_tables.py")
    w("")
    w("// Code point of each double-byte code, 0 where glibc decodes none;")
    w(f"// [lead index][trail - 0x{TRAIL_FIRST:02X}]. {len(decode_table)} codes.")
    w(f"constexpr char16_t kDecode[{len(LEADS)}][{TRAIL_LAST - TRAIL_FIRST + 1}] = {{")
    for lead in LEADS:
        w(f"    {{  // lead 0x{lead:02X}")
        row = [decode_table.get((lead << 8) | t, 0)
               for t in range(TRAIL_FIRST, TRAIL_LAST + 1)]
        for i in range(0, len(row), 12):
            w("        " + " ".join(f"0x{v:04X}," for v in row[i:i + 12]))
        w("    },")
    w("};")
    w("")
    w("// Double-byte lower-case letters and their capitals, sorted by lower.")
    w(f"constexpr UpperPair kUpper[{len(upper)}] = {{")
    for lower, cap in upper:
        w(f"    {{0x{lower:04X}, 0x{cap:04X}}},"
          f"  // {chr(decode_table[lower])} {chr(decode_table[cap])}")
    w("};")
    w("")
    w("// Double-byte characters and their single-byte half-width forms,")
    w("// sorted by code; second is 0 for a one-byte form.")
    w(f"constexpr HalfWidthForm kHalfWidth[{len(half)}] = {{")
    for code, first, second in half:
        w(f"    {{0x{code:04X}, 0x{first:02X}, 0x{second:02X}}},"
          f"  // {chr(decode_table[code])}")
    w("};")
    w("")
    w("// Characters that no code decodes to but that glibc encodes, and their")
    w("// codes, sorted by character.")
    w(f"constexpr EncodeOnlyForm kEncodeOnly[{len(encode_only)}] = {{")
    for cp, code in encode_only:
        # A backslash at the end of a comment would continue it.
        shown = f"the byte 0x{code:02X}" if code < 0x80 else chr(decode_table[code])
        w(f"    {{0x{cp:04X}, 0x{code:04X}}},  // {chr(cp)} as {shown}")
    w("};")
    return "\n".join(out) + "\n"


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        root, "src", "btnfile", "cp932_tables.inc")
    decode_table = build_decode()
    text = render(decode_table, build_upper(decode_table),
                  build_half_width(decode_table),
                  build_encode_only(decode_table))
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    print(f"wrote {path}")


if __name__ == "__main__":
    main()
