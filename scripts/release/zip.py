#!/usr/bin/env python3
"""One release archive, the same bytes from the same inputs.

usage: zip.py ARCHIVE EPOCH EXE GUIDE VERSION SYSTEMS

The archive holds Velbrook.exe and 使用说明.txt, in that order, both dated EPOCH (the commit's
time), with fixed attributes. The guide is written in GBK with CRLF line ends: the system code
page of Chinese Windows, which every Notepad from XP on reads without a byte order mark. The
guide's name is stored in GBK as well, which is how the compressed-folder support of Chinese
Windows reads names; the Info-ZIP Unicode path field carries it in UTF-8 for other tools.
"""
import struct
import sys
import time
import zipfile
import zlib

GUIDE_NAME = "使用说明.txt"


class GbkName(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):  # zipfile would write UTF-8 and set the UTF-8 flag
        return self.filename.encode("gbk"), self.flag_bits


def entry(name, epoch):
    when = time.gmtime(max(epoch, 315532800))  # zip times start in 1980
    info = GbkName(name, date_time=when[:6])
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 0  # MS-DOS: attributes below are plain
    info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
    utf8 = name.encode("utf-8")
    if utf8 != name.encode("gbk"):
        field = struct.pack("<BI", 1, zlib.crc32(name.encode("gbk"))) + utf8
        info.extra = struct.pack("<HH", 0x7075, len(field)) + field
    return info


def main():
    archive, epoch, exe, guide, version, systems = sys.argv[1:]
    epoch = int(epoch)
    text = open(guide, encoding="utf-8").read().replace("@VERSION@", version).replace("@SYSTEMS@", systems)
    text = text.replace("\r\n", "\n").replace("\n", "\r\n").encode("gbk")
    with zipfile.ZipFile(archive, "w", compresslevel=9) as z:
        z.writestr(entry("Velbrook.exe", epoch), open(exe, "rb").read())
        z.writestr(entry(GUIDE_NAME, epoch), text)


main()
