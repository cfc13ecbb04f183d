#!/usr/bin/env python3
"""Person-level checks: the real window of Velbrook.exe under Wine, used with the mouse and the
keyboard of the X display (xdotool), as a person would.

Each check runs Velbrook.exe --drive with a script whose `await` lines hand the window over:
the program describes where everything is on the screen (AT, ITEM, ROWAT, FOCUS and VIEW
lines), prints AWAIT and waits; the check moves the mouse, clicks and types, then presses Pause,
and the script goes on with the commands that read the window back (show, list, undo). Every
wait is for a line of the transcript; a program that ends before the line comes is a failure.

usage: person_checks.py VELBROOK_EXE [CHECK...]
Needs DISPLAY, WINE, and VELBROOK_CASE_DIR / VELBROOK_CASE_DRIVE as set by scripts/wine-tests.sh
(a quiet folder shown to Wine as a drive). VELBROOK_PERSON_FILES sets the size of the large
folder (default 100000).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import run_cases  # noqa: E402

CASE_DIR = os.environ.get("VELBROOK_CASE_DIR")
CASE_DRIVE = os.environ.get("VELBROOK_CASE_DRIVE")
WINE = os.environ.get("WINE") or shutil.which("wine64") or shutil.which("wine") or "/usr/lib/wine/wine64"
LARGE = int(os.environ.get("VELBROOK_PERSON_FILES", "100000"))
# Enough files that renaming them takes the program seconds, so that Esc comes in the middle.
ESC_FILES = int(os.environ.get("VELBROOK_PERSON_ESC_FILES", "20000"))


def winpath(path):
    if CASE_DIR and CASE_DRIVE and path.startswith(CASE_DIR + "/"):
        return CASE_DRIVE + path[len(CASE_DIR):].replace("/", "\\")
    return "Z:" + path.replace("/", "\\")


class CheckFailed(Exception):
    pass


# A wait for the program longer than this is a program stuck for good: the check fails, naming
# what it waited for, rather than hanging the test command.
GUARD_SECONDS = int(os.environ.get("VELBROOK_PERSON_GUARD", "600"))


def wait_until(done, what, proc):
    """Polls done() until it holds; fails when the program ends first or the guard runs out."""
    deadline = time.monotonic() + GUARD_SECONDS
    while not done():
        if proc.poll() is not None:
            raise CheckFailed(f"the program ended while waiting for {what}")
        if time.monotonic() > deadline:
            raise CheckFailed(f"no {what} in {GUARD_SECONDS} s: the program is stuck")
        time.sleep(0.02)


def expect(cond, what):
    if not cond:
        raise CheckFailed(what)


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def desktop_geometry():
    """Where the Wine desktop lies on the X screen, and its size; the program speaks in its
    coordinates."""
    found = subprocess.run(["xdotool", "search", "--name", "Wine desktop"], capture_output=True, text=True)
    for win in found.stdout.split():
        geo = subprocess.run(["xdotool", "getwindowgeometry", "--shell", win], capture_output=True, text=True)
        vals = dict(l.split("=", 1) for l in geo.stdout.split() if "=" in l)
        if "X" in vals:
            return int(vals["X"]), int(vals["Y"]), int(vals["WIDTH"]), int(vals["HEIGHT"])
    return 0, 0, None, None


class Session:
    """One run of the program with a script; the window is ours between AWAIT and Pause."""

    def __init__(self, root, script):
        self.root = root
        self.scratch = tempfile.mkdtemp(prefix="vbperson")
        self.out = os.path.join(self.scratch, "out.txt")
        script_path = os.path.join(self.scratch, "script.txt")
        with open(script_path, "w", encoding="utf-8") as f:
            f.write("\n".join(script).replace("$T", winpath(root)) + "\n")
        self.proc = subprocess.Popen(
            [WINE, EXE, "--drive", winpath(script_path), "--out", winpath(self.out), "--root", winpath(root),
             "--program-dir", winpath(os.path.join(root, "prog")), "--tick", "1000"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env=dict(os.environ, WINEDEBUG="-all"))
        self.read = 0  # transcript lines handed out so far
        self.handovers = 0
        self.origin = None

    def lines(self):
        try:
            with open(self.out, encoding="utf-8", errors="replace") as f:
                text = f.read()
        except FileNotFoundError:
            return []
        # Only whole lines: the program may be writing the last one.
        return text.split("\n")[:-1]

    def hand(self):
        """Waits for the next AWAIT; returns the lines printed since the last one (the looks),
        and takes in the description of the screen that came with it."""
        self.handovers += 1
        try:
            wait_until(lambda: sum(1 for l in self.lines() if l == "AWAIT") >= self.handovers,
                       "hand-over of the window", self.proc)
        except CheckFailed as e:
            raise CheckFailed(f"{e}:\n  " + "\n  ".join(self.lines()[self.read:][-15:]))
        lines = self.lines()
        end = [i for i, l in enumerate(lines) if l == "AWAIT"][self.handovers - 1]
        new = lines[self.read:end]
        self.read = end + 1
        if self.origin is None:
            *self.origin, self.screen_width, self.screen_height = desktop_geometry()
        self.at, self.items, self.rows, self.focus, self.view = {}, {}, {}, None, {}
        looks = []
        for l in new:
            w = l.split(" ")
            if w[0] == "AT":
                self.at[w[1]] = tuple(map(int, w[2].split(",")))
            elif w[0] == "ITEM":
                m = re.match(r'ITEM (\S+) (\d+) "(.*)" (\S+)$', l)
                self.items.setdefault(m[1], {})[m[3]] = tuple(map(int, m[4].split(",")))
            elif w[0] == "ROWAT":
                self.rows[int(w[1])] = tuple(map(int, w[2].split(",")))
            elif w[0] == "FOCUS":
                self.focus = w[1]
            elif w[0] == "VIEW":
                self.view = {k: int(v) for k, v in (p.split("=") for p in w[1:])}
            else:
                looks.append(l)
        return looks

    def _point(self, rect, dx=None):
        x, y, w, h = rect
        return self.origin[0] + x + (w // 2 if dx is None else dx % w), self.origin[1] + y + h // 2

    def click(self, name, button=1, arrow=False):
        expect(name in self.at, f"{name} is not on the screen; focus {self.focus}, seen: " + " ".join(sorted(self.at)))
        x, y = self._point(self.at[name], -8 if arrow else None)
        # A person reaches only what lies on the screen, inside the window.
        dx, dy = x - self.origin[0], y - self.origin[1]
        if self.screen_width:
            expect(0 <= dx < self.screen_width and 0 <= dy < self.screen_height,
                   f"{name} at {self.at[name]} lies off the {self.screen_width}x{self.screen_height} screen")
        wx, wy, ww, wh = self.at["主窗口"]
        expect(wx <= dx < wx + ww and wy <= dy < wy + wh, f"{name} at {self.at[name]} lies outside the window "
               f"{self.at['主窗口']}")
        xdo("mousemove", x, y, "click", button)

    def click_item(self, combo, text):
        expect(text in self.items.get(combo, {}), f"the drop-down of {combo} shows no {text}")
        xdo("mousemove", *self._point(self.items[combo][text]), "click", 1)

    def click_row(self, row, button=1):
        expect(row in self.rows, f"row {row} is not in view")
        x, y, w, h = self.rows[row]
        xdo("mousemove", self.origin[0] + x + 40, self.origin[1] + y + h // 2, "click", button)

    def type(self, text):
        xdo("type", "--delay", 20, text)

    def key(self, *keys):
        xdo("key", "--delay", 20, *keys)

    def done(self):
        """The person's signal: the window goes back to the script."""
        self.key("Pause")

    def finish(self):
        self.done()
        try:
            rc = self.proc.wait(timeout=GUARD_SECONDS)
        except subprocess.TimeoutExpired:
            raise CheckFailed(f"the program did not end in {GUARD_SECONDS} s after the script:\n  "
                              + "\n  ".join(self.lines()[self.read:][-15:]))
        lines = self.lines()
        rest = lines[self.read:]
        expect(rc == 0, f"the program ended with {rc}:\n  " + "\n  ".join(rest[-15:]))
        return rest

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        shutil.rmtree(self.scratch, ignore_errors=True)


def make_root(files=(), big=0):
    root = tempfile.mkdtemp(prefix="vbperson", dir=CASE_DIR)
    os.makedirs(os.path.join(root, "prog"))
    os.makedirs(os.path.join(root, "v"))
    for name in files:
        with open(os.path.join(root, "v", name), "w") as f:
            f.write("x")
    for i in range(big):
        open(os.path.join(root, "v", f"第{i}集.mp4"), "w").close()
    run_cases.pin_access_times(root)  # so that the folder browser finds the folder
    return root


def disk(root):
    return sorted(os.listdir(os.path.join(root, "v")))


def shown(looks, name):
    line = next((l for l in looks if l.startswith(f"SHOW {name} ")), None)
    expect(line is not None, f"no SHOW {name} in {looks}")
    return line


def text_of(looks, name):
    return re.search(r' text="((?:[^"\\]|\\.)*)"', shown(looks, name))[1]


def rows(looks):
    return [re.match(r'ROW \d+ "((?:[^"\\]|\\.)*)"', l)[1] for l in looks if l.startswith("ROW ")]


# ---- The checks --------------------------------------------------------------------------

def check_typing_into_each_combo(root):
    """Typing a word into each extension box leaves it there as typed; the filter lists it and
    the change of extension writes it."""
    s = Session(root, ["browse $T\\v", "await", "await", "show 组合框_仅检索", "show 组合框_跳过扩展",
                       "show 组合框_修改扩展", "await", "list", "answer ok", "await", "list"])
    try:
        s.hand()
        s.click("组合框_仅检索")
        s.type("mp4")
        s.click("组合框_跳过扩展")
        s.type("txt")
        s.click("页面_替换")
        s.done()
        s.hand()
        s.click("组合框_修改扩展")
        s.type("jpg")
        s.done()
        looks = s.hand()
        expect(text_of(looks, "组合框_仅检索") == "mp4", looks)
        expect(text_of(looks, "组合框_跳过扩展") == "txt", looks)
        expect(text_of(looks, "组合框_修改扩展") == "jpg", looks)
        expect('"所有" ".mp4"' in shown(looks, "组合框_仅检索"), "the typed text narrows the items")
        s.click("按钮_手动读取")
        s.done()
        looks = s.hand()
        expect(rows(looks) == ["a.mp4", "d.mp4"], looks)
        s.click("按钮_改扩展")
        looks = s.finish()
        expect(rows(looks) == ["a.jpg", "d.jpg"], looks)
        expect(disk(root) == ["a.jpg", "b.txt", "c.jpg", "d.jpg"], disk(root))
    finally:
        s.close()


def check_choosing_from_each_dropdown(root):
    """Each drop-down opens with a click on its arrow; the item clicked is the one applied."""
    # (page to bring to the front, combo box, item)
    steps = [(None, "组合框_仅检索", ".txt"), (None, "组合框_仅检索", ".mp4"), (None, "组合框_仅检索", "所有"),
             (None, "组合框_跳过扩展", ".txt"), (None, "组合框1", "中文符号"), ("页面_添加", "组合框5", "-"),
             ("页面_替换", "组合框_修改扩展", ".jpg")]
    script = ["browse $T\\v", "click 按钮_手动读取", "set 编辑框2 (", "set 编辑框3 )"]
    for _ in steps:  # the page, the arrow, a scroll of the list when needed, the item
        script += ["await"] * 4 + ["list", "show 编辑框2", "show 组合框5", "show 组合框_修改扩展"]
    s = Session(root, script + ["await"])
    try:
        s.hand()
        results = []
        for page, combo, item in steps:
            if page:
                s.click(page)
            s.done()
            s.hand()
            s.click(combo, arrow=True)
            s.done()
            s.hand()
            expect(combo in s.items, f"the drop-down of {combo} did not open")
            if item not in s.items[combo]:  # out of view: the wheel brings the list's top in
                x, y = s._point(min(s.items[combo].values(), key=lambda r: r[1]))
                xdo("mousemove", x, y, "click", "--repeat", 5, 4)
            s.done()
            s.hand()
            s.click_item(combo, item)
            s.done()
            results.append(s.hand())
        expect(rows(results[0]) == ["b.txt"], results[0])
        expect(rows(results[1]) == ["a.mp4", "d.mp4"], results[1])
        expect(rows(results[2]) == ["a.mp4", "b.txt", "c.jpg", "d.mp4"], results[2])
        expect(rows(results[3]) == ["a.mp4", "c.jpg", "d.mp4"], results[3])
        expect(text_of(results[4], "编辑框2") == "（", results[4])
        expect(" sel=3 " in shown(results[5], "组合框5") and text_of(results[5], "组合框5") == "-", results[5])
        expect(text_of(results[6], "组合框_修改扩展") == ".jpg", results[6])
        s.finish()
    finally:
        s.close()


# Tab from 编辑框2 walks page 1 row by row, each radio group being one stop and each button
# after the boxes of its row.
TAB_WALK = ["编辑框3", "按钮_一键删除", "选择框3", "单选框11", "编辑框8", "按钮_删前面", "选择框4", "单选框2", "编辑框9",
            "按钮_删后面", "单选框13", "编辑框1", "编辑框10", "按钮_删掉N次", "编辑框14"]


def check_tab_through_a_page(root):
    """Tab and Shift+Tab walk the page in reading order; the arrow keys select in a radio
    group; Ctrl+Tab turns the page."""
    s = Session(root, ["await"] * (len(TAB_WALK) + 5) + ["show 单选框11", "show 单选框12"])
    try:
        s.hand()
        s.click("编辑框2")
        s.done()
        s.hand()
        expect(s.focus == "编辑框2", s.focus)
        walked = []
        for _ in TAB_WALK:
            s.key("Tab")
            s.done()
            s.hand()
            walked.append(s.focus)
        expect(walked == TAB_WALK, walked)
        s.key("shift+Tab")
        s.done()
        s.hand()
        expect(s.focus == TAB_WALK[-2], s.focus)
        for _ in range(TAB_WALK.index("单选框11") + 1, len(TAB_WALK) - 1):
            s.key("shift+Tab")
        s.key("Down")
        s.done()
        s.hand()
        expect(s.focus == "单选框12", s.focus)
        s.key("ctrl+Tab")
        s.done()
        s.hand()
        expect(s.focus == "高级选择夹1" and "单选框7" in s.at and "单选框12" not in s.at, (s.focus, sorted(s.at)))
        s.key("ctrl+shift+Tab")
        looks = s.finish()
        expect("checked=0" in shown(looks, "单选框11") and "checked=1" in shown(looks, "单选框12"), looks)
    finally:
        s.close()


def check_enter_and_space_on_a_focused_button(root):
    """Enter and Space press the button that has the focus."""
    s = Session(root, ["browse $T\\v", "click 按钮_手动读取", "answer ok", "answer ok", "await", "await", "list",
                       "await", "list"])
    try:
        s.hand()
        s.click("页面_添加")
        s.done()
        s.hand()
        s.click("编辑框6")
        s.type("new_")
        s.key("Tab", "Return")  # Tab goes to 最前面加
        s.done()
        looks = s.hand()
        expect(rows(looks) == ["new_a.mp4", "new_b.txt"], looks)
        s.click("编辑框7")
        s.type("_x")
        s.click("编辑框18")
        s.key("shift+Tab", "space")  # back to 最尾部加, read after the box it adds
        looks = s.finish()
        expect(rows(looks) == ["new_a_x.mp4", "new_b_x.txt"], looks)
        expect(disk(root) == ["new_a_x.mp4", "new_b_x.txt"], disk(root))
    finally:
        s.close()


def make_preview_with_the_mouse(s):
    """Over three hand-overs: preview on, the 添加 page, "_v2" typed into 编辑框7 and 最后面加; the
    rows of a.mp4 and b.txt then show their new names beside the old."""
    s.hand()
    s.click("按钮_打开预览")
    s.done()
    s.hand()
    s.click("页面_添加")
    s.done()
    s.hand()
    s.click("编辑框7")
    s.type("_v2")
    s.click("按钮_最后面加")
    s.done()
    looks = s.hand()
    expect([l for l in looks if l.startswith("ROW")] == ['ROW 0 "a.mp4" "a_v2.mp4"', 'ROW 1 "b.txt" "b_v2.txt"'],
           looks)


def check_preview_execute_undo(root):
    """Preview shows the new names beside the old, execute renames, undo renames back."""
    s = Session(root, ["browse $T\\v", "click 按钮_手动读取", "await", "await", "await", "list", "await", "list",
                       "undo", "await", "list"])
    try:
        make_preview_with_the_mouse(s)
        expect(disk(root) == ["a.mp4", "b.txt"], disk(root))
        s.click("按钮_确认无误执行吧")
        s.done()
        looks = s.hand()
        expect(disk(root) == ["a_v2.mp4", "b_v2.txt"], disk(root))
        expect('  "a.mp4"' in looks and '  "b.txt"' in looks, looks)
        s.click("按钮_撤回上一步")
        looks = s.finish()
        expect(rows(looks) == ["a.mp4", "b.txt"], looks)
        expect(disk(root) == ["a.mp4", "b.txt"], disk(root))
    finally:
        s.close()


def check_preview_execute_on_a_laptop_screen(root):
    """On a laptop's screen (1366 x 768 at 125 %, scripts/wine-tests.sh sets it) the preview is
    switched on, made and executed with the mouse alone: every button lies on the screen.
    The folder comes by a drop, not the browser: on this screen, on a busy machine, the X focus
    that the closing browser hands back reaches Wine's desktop late and takes the front from the
    window in the middle of a click (1 run in 5 with two cores busy; none with a drop in 36)."""
    s = Session(root, ["drop $T\\v\\a.mp4", "await", "await", "await", "list", "await", "list"])
    try:
        make_preview_with_the_mouse(s)
        s.click("按钮_确认无误执行吧")
        looks = s.finish()
        expect(rows(looks) == ["a_v2.mp4", "b_v2.txt"], looks)
        expect(disk(root) == ["a_v2.mp4", "b_v2.txt"], disk(root))
    finally:
        s.close()


def check_popup_menu(root):
    """The list's popup menu is the real one: a right-click opens it, the keys choose in it."""
    s = Session(root, ["browse $T\\v", "click 按钮_手动读取", "await", "list"])
    try:
        s.hand()
        s.click_row(0, button=3)
        s.key("Down", "Down", "Return")  # 下移
        looks = s.finish()
        expect(rows(looks) == ["b.txt", "a.mp4"], looks)
    finally:
        s.close()


def check_keyboard_first_focus_menu_and_thanks(root):
    """The window opens with the focus on 手动读取; Shift+F10 and the Menu key open the list's
    menu at the focused row; Esc closes 感谢有你 and the focus comes back where it was."""
    s = Session(root, ["await", "browse $T\\v", "click 按钮_手动读取", "await", "list", "await", "list", "await",
                       "await", "await"])
    try:
        s.hand()
        expect(s.focus == "按钮_手动读取", f"the focus at the start is on {s.focus}")
        s.done()
        s.hand()
        s.click_row(0)
        s.key("Down", "shift+F10")  # row 1 has the focus: its menu, 上移
        s.key("Down", "Return")
        s.done()
        looks = s.hand()
        expect(rows(looks) == ["b.txt", "a.mp4", "c.jpg"], looks)
        s.click_row(1)
        s.key("Menu", "Down", "Down", "Return")  # 下移 of row 1
        s.done()
        looks = s.hand()
        expect(rows(looks) == ["b.txt", "c.jpg", "a.mp4"], looks)
        s.click("图形按钮1")
        s.done()
        s.hand()
        expect("感谢窗口" in s.at, "感谢有你 did not open")
        s.key("Escape")
        s.done()
        s.hand()
        expect("感谢窗口" not in s.at, "Esc left 感谢有你 open")
        expect(s.focus == "图形按钮1", f"the focus went to {s.focus}")
        s.finish()
    finally:
        s.close()


def check_large_folder(root):
    """A large folder is read whole; the end of the list is reached with the keyboard and its
    last row clicked, which copies the last name of the list."""
    s = Session(root, ["browse $T\\v", "await", "show 按钮_手动读取", "await", "await", "clipboard", "list"])
    try:
        s.hand()
        s.click("按钮_手动读取")
        s.done()
        s.hand()
        expect(s.view["rows"] == LARGE, s.view)
        s.click_row(0)
        s.key("End")
        s.done()
        s.hand()
        last = LARGE - 1
        expect(s.view["top"] + s.view["page"] >= LARGE and last in s.rows, (s.view, sorted(s.rows)[-3:]))
        s.click_row(last)
        looks = s.finish()
        listed = rows(looks)
        expect(len(listed) == LARGE, len(listed))
        expect(f'CLIPBOARD "{listed[-1]}"' in looks, [l for l in looks if l.startswith("CLIPBOARD")])
    finally:
        s.close()


def stop_an_execute_with_esc(root, answer):
    """Esc pressed while an execute renames a large folder stops it between two files and asks at
    once whether to put back what was renamed; the answer comes from the script. Returns the
    session, the names before, the names renamed when the question came and what the window
    showed after it."""
    s = Session(root, ["browse $T\\v", "click 按钮_手动读取", "click 按钮_打开预览",
                       "set 编辑框7 _x", "click 按钮_最后面加", f"answer {answer}", "await", "list", "await", "list"])
    before = disk(root)
    s.hand()
    s.click("按钮_确认无误执行吧")
    wait_until(lambda: any("_x" in n for n in os.listdir(os.path.join(root, "v"))), "first rename", s.proc)
    s.key("Escape")
    s.done()
    looks = s.hand()
    asked = [l for l in looks if l.startswith("BOX ") and "执行被中途停止了" in l]
    expect(len(asked) == 1, f"no question after the stop: {[l for l in looks if l.startswith('BOX ')]}")
    renamed = int(re.search(r"已经改名(\d+)个", asked[0])[1])
    expect(0 < renamed < ESC_FILES, f"{renamed} of {ESC_FILES} renamed")
    print(f"     Esc stopped the execute after {renamed} of {ESC_FILES} files")
    after = disk(root)
    expect(sorted(n.replace("_x", "") for n in after) == before, "a file was lost or doubled")
    expect(sorted(n for n in rows(looks) if "_x" in n) == [n for n in after if "_x" in n],
           "the rows show what the disk holds")
    return s, before, renamed, after


def check_esc_stops_an_execute_and_ok_puts_it_back(root):
    """OK to the question after the stop: every renamed file is back at once."""
    s = None
    try:
        s, before, renamed, after = stop_an_execute_with_esc(root, "ok")
        expect(after == before, "OK did not put every file back")
        s.click("按钮_撤回上一步")
        looks = s.finish()
        expect(sorted(rows(looks)) == before, looks[:5])
    finally:
        if s:
            s.close()


def check_esc_stops_an_execute_and_undo_takes_it_back(root):
    """Cancel to the question after the stop keeps what was renamed; undo puts every file back."""
    s = None
    try:
        s, before, renamed, after = stop_an_execute_with_esc(root, "cancel")
        expect(len([n for n in after if "_x" in n]) == renamed, "Cancel did not keep what was renamed")
        s.click("按钮_撤回上一步")
        looks = s.finish()
        expect(disk(root) == before, "undo did not put every file back")
        expect(sorted(rows(looks)) == before, looks[:5])
    finally:
        if s:
            s.close()


def journals(root):
    return [n for n in os.listdir(os.path.join(root, "prog")) if n.endswith(".journal")]


def check_ended_mid_execute_and_put_back_at_the_next_start(root):
    """The program is ended (as the Task Manager ends it) while an execute renames a large
    folder; the next start says so, and OK puts every file back to its name before the batch."""
    s = Session(root, ["browse $T\\v", "click 按钮_手动读取", "click 按钮_打开预览",
                       "set 编辑框7 _x", "click 按钮_最后面加", "await"])
    try:
        before = disk(root)
        s.hand()
        s.click("按钮_确认无误执行吧")
        while sum(1 for n in os.listdir(os.path.join(root, "v")) if "_x" in n) < 10:
            expect(s.proc.poll() is None, "the program ended during the execute")
            time.sleep(0.02)
        s.proc.kill()
        s.proc.wait()
    finally:
        s.close()
    ended = disk(root)
    renamed = sum(1 for n in ended if "_x" in n)
    expect(0 < renamed < ESC_FILES, f"{renamed} of {ESC_FILES} renamed when the program was ended")
    expect(len(journals(root)) == 1, f"journals left: {journals(root)}")
    print(f"     ended after {renamed} of {ESC_FILES} files")

    again = Session(root, ["browse $T\\v", "click 按钮_手动读取", "list"])
    try:
        expect(again.proc.wait() == 0, "the second start did not end well")
        said = "\n".join(again.lines())
    finally:
        again.close()
    expect("上次改名没有做完" in said, "the start said nothing of the batch: " + said[:300])
    expect(disk(root) == before, "OK did not put every file back")
    expect(not journals(root), "the journal stayed")


CHECKS = [
    (check_typing_into_each_combo, dict(files=["a.mp4", "b.txt", "c.jpg", "d.mp4"])),
    (check_choosing_from_each_dropdown, dict(files=["a.mp4", "b.txt", "c.jpg", "d.mp4"])),
    (check_tab_through_a_page, dict()),
    (check_enter_and_space_on_a_focused_button, dict(files=["a.mp4", "b.txt"])),
    (check_preview_execute_undo, dict(files=["a.mp4", "b.txt"])),
    (check_popup_menu, dict(files=["a.mp4", "b.txt"])),
    (check_keyboard_first_focus_menu_and_thanks, dict(files=["a.mp4", "b.txt", "c.jpg"])),
    (check_esc_stops_an_execute_and_undo_takes_it_back, dict(big=ESC_FILES)),
    (check_esc_stops_an_execute_and_ok_puts_it_back, dict(big=ESC_FILES)),
    (check_ended_mid_execute_and_put_back_at_the_next_start, dict(big=ESC_FILES)),
    (check_large_folder, dict(big=LARGE)),
]
# Checks that need a screen of their own, run only when named.
SCREEN_CHECKS = [
    (check_preview_execute_on_a_laptop_screen, dict(files=["a.mp4", "b.txt"])),
]


def main():
    global EXE
    if len(sys.argv) < 2:
        print(__doc__)
        sys.exit(2)
    EXE = os.path.abspath(sys.argv[1])
    wanted = sys.argv[2:]
    ok = failed = 0
    for check, setup in CHECKS + SCREEN_CHECKS:
        name = check.__name__[len("check_"):]
        if not wanted and (check, setup) in SCREEN_CHECKS:
            continue
        if wanted and name not in wanted:
            continue
        root = make_root(**setup)
        started = time.time()
        try:
            check(root)
            ok += 1
            print(f"ok   {name} ({time.time() - started:.0f} s)")
        except (CheckFailed, subprocess.CalledProcessError) as e:
            failed += 1
            print(f"FAIL {name}: {e}")
        finally:
            shutil.rmtree(root, ignore_errors=True)
    print(f"{ok}/{ok + failed} person checks pass")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
