"""A plain GIF encoder for the program's own pictures, so drawing them needs nothing beyond
Python. Codes are written as literals (no compression): the pictures are small."""
import struct


def lzw_literal(data, code_bits):
    # Every pixel is one literal code one bit wider than the pixel values. A clear code comes
    # often enough that the decoder's table never grows past what that width can name, so the
    # width never changes.
    width = code_bits + 1
    clear, end = 1 << code_bits, (1 << code_bits) + 1
    run = (1 << code_bits) - 6
    out, bits, nbits = bytearray(), 0, 0

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    emit(clear)
    for i, v in enumerate(data):
        if i and i % run == 0:
            emit(clear)
        emit(v)
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def encode_gif(pixels, palette, table_bits=None, transparent=None):
    """pixels: rows of palette indexes; palette: (r, g, b) triples. The colour table has
    2**table_bits entries (when not given, the fewest that hold the palette, at least 16:
    a clear code every ten pixels keeps the literal codes one width); `transparent`
    names the index drawn as see-through."""
    height, width = len(pixels), len(pixels[0])
    if table_bits is None:
        table_bits = max(4, (len(palette) - 1).bit_length())
    gif = bytearray(b"GIF89a")
    gif += struct.pack("<HHBBB", width, height, 0xF0 | (table_bits - 1), 0, 0)
    for i in range(1 << table_bits):
        gif += bytes(palette[i] if i < len(palette) else (0, 0, 0))
    if transparent is not None:
        gif += b"\x21\xf9\x04\x01\x00\x00" + bytes([transparent]) + b"\x00"
    gif += b"," + struct.pack("<HHHHB", 0, 0, width, height, 0)
    gif += bytes([table_bits])
    body = lzw_literal([v for row in pixels for v in row], table_bits)
    for i in range(0, len(body), 255):
        chunk = body[i:i + 255]
        gif += bytes([len(chunk)]) + chunk
    gif += b"\x00;"
    return bytes(gif)
