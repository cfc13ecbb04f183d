#!/usr/bin/env python3
"""Fill a folder with N files whose names look like a Chinese download folder.

Names are UTF-8 on disk and every character has a GBK form, so none is left out of a listing.
Each name holds exactly one dot (peers match '*.*') and the tag 【高清】 (the text a Delete N
times run removes). Episode numbers are the file's index, some zero-padded, so names are unique.
"""
import os
import sys

SERIES = ["庆余年", "琅琊榜", "父母爱情", "大明王朝", "觉醒年代", "山海情", "繁花", "漫长的季节",
          "人世间", "隐秘的角落", "甄嬛传", "武林外传", "西游记", "红楼梦", "水浒传", "三国演义"]
EXTS = ["mp4", "txt", "mp3", "jpg", "png", "avi", "flac", "docx", "zip", "rtf"]
TAG = "【高清】"


def name(i, width):
    series = SERIES[i % len(SERIES)]
    ep = str(i).zfill(width) if i % 3 == 0 else str(i)
    lead = "国语版_" if i % 5 == 0 else ""
    return f"{lead}{series}第{ep}集{TAG}.{EXTS[i % len(EXTS)]}"


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: gen_names.py DIR N")
    folder, n = sys.argv[1], int(sys.argv[2])
    os.makedirs(folder, exist_ok=True)
    width = len(str(n))
    for i in range(1, n + 1):
        # A quarter of the files hold a few bytes, the rest are empty.
        with open(os.path.join(folder, name(i, width)), "wb") as f:
            if i % 4 == 0:
                f.write(b"x" * (i % 13 + 1))


if __name__ == "__main__":
    main()
