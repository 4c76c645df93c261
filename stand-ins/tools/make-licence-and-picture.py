#!/usr/bin/env python3
"""Writes the sample medium's licence text (code page 936, CR LF) and the wizard's side picture."""
import os
import struct

MEDIUM = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "medium")

LICENCE = """VORL 打印机驱动程序 最终用户许可协议

请在安装本软件之前仔细阅读以下条款。安装或使用本软件即表示您同意接受本协议的全部条款。

1. 许可：VORL 授予您在使用 VORL 热敏打印机的计算机上安装和使用本驱动程序的非独占许可。
2. 限制：您不得对本软件进行反向工程、反编译或反汇编，也不得出租或转让本软件。
3. 版权：本软件及其文档的版权归 VORL 所有，受著作权法保护。
4. 免责：本软件按“现状”提供，VORL 不对因使用本软件造成的任何损失承担责任。
5. 终止：如您违反本协议的任何条款，本许可自动终止，您必须销毁本软件的全部副本。

如果您接受以上条款，请选择“我接受所有的软件许可条款”，然后点击“下一步”。

VORL end-user licence: you may install and use this driver on computers that use VORL thermal printers.
The software is provided "as is", without warranty of any kind.
"""

WIDTH, HEIGHT = 164, 314


def side_picture():
    """An 8-bit picture: a blue gradient with a lighter band and a printer-like block, bottom-up rows."""
    palette = b"".join(struct.pack("<BBBB", 255 - i // 3, 120 + i // 2, 40 + i // 4, 0) for i in range(256))
    rows = []
    for y in range(HEIGHT):  # y counts from the bottom row
        row = bytearray()
        for x in range(WIDTH):
            shade = (y * 200) // HEIGHT
            if 120 <= y <= 170 and 30 <= x <= 134:
                shade = 250 if (y - 120) % 12 < 9 else 230  # the printer's body with its paper slots
            elif 170 < y <= 220 and 52 <= x <= 112:
                shade = 255  # the paper coming out
            row.append(shade)
        rows.append(bytes(row) + b"\0" * ((4 - WIDTH % 4) % 4))
    pixels = b"".join(rows)
    header_size = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    return file_header + info + palette + pixels


def main():
    with open(os.path.join(MEDIUM, "License.txt"), "wb") as f:
        f.write(LICENCE.replace("\n", "\r\n").encode("cp936"))
    os.makedirs(os.path.join(MEDIUM, "DRVCONFIG"), exist_ok=True)
    with open(os.path.join(MEDIUM, "DRVCONFIG", "Left.bmp"), "wb") as f:
        f.write(side_picture())


if __name__ == "__main__":
    main()
