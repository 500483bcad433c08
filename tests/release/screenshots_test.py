"""The screenshots command on the test set-up's virtual display: it takes real pictures of the
running program, each exactly the size of the windows it shows, with something drawn in them.

The word-list picture is asserted as the repository stands: once the word-list window exists
(src/wordlist/Note.h), its picture must be there and right; before, the command must say that
the window did not appear, fail, and leave no picture behind.
"""
import os
import re
import struct
import subprocess
import unittest
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "build", "win", "screenshots-test")
REPORTS = os.path.join(ROOT, "build", "win", "screenshots")
WORD_LIST_EXISTS = os.path.exists(os.path.join(ROOT, "src", "wordlist", "Note.h"))


def read_png(path):
    """(width, height, rows of RGB pixels) of a PNG as snap writes it: 8-bit RGB, filter 0."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour = header[:4]
    assert (depth, colour) == (8, 2), "not 8-bit RGB"
    raw = zlib.decompress(idat)
    stride = 1 + 3 * width
    assert len(raw) == stride * height, "pixel data of the wrong size"
    rows = []
    for y in range(height):
        row = raw[y * stride:(y + 1) * stride]
        assert row[0] == 0, "unexpected row filter"
        rows.append(row[1:])
    return width, height, rows


def read_report(name):
    """The windows {class: (left, top, right, bottom)} and the picture's size, as snap saw them."""
    windows, picture = {}, None
    with open(os.path.join(REPORTS, name + ".txt"), encoding="utf-8", errors="replace") as f:
        for line in f:
            parts = line.split()
            if parts and parts[0] == "window":
                windows[parts[1]] = tuple(int(v) for v in parts[2:6])
            elif parts and parts[0] == "picture":
                picture = (int(parts[1]), int(parts[2]))
    return windows, picture


def colours_in(rows, area, origin):
    """How many different colours the picture has inside area (screen coordinates)."""
    left, top, right, bottom = area
    ox, oy = origin
    seen = set()
    for y in range(max(top - oy, 0), min(bottom - oy, len(rows))):
        row = rows[y]
        for x in range(max(left - ox, 0), min(right - ox, len(row) // 3)):
            seen.add(row[3 * x:3 * x + 3])
    return len(seen)


class Screenshots(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        for name in ["editor-save-as.png", "word-list.png"]:
            if os.path.exists(os.path.join(OUT, name)):
                os.remove(os.path.join(OUT, name))
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        cls.command = subprocess.run([os.path.join(ROOT, "scripts", "screenshots"), "--out", OUT],
                                 env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                 text=True)

    def check_picture(self, name, classes):
        """The picture covers exactly the windows that snap found, and each window shows more
        than a plain area of colour."""
        path = os.path.join(OUT, name + ".png")
        self.assertTrue(os.path.getsize(path) > 0, self.command.stderr)
        width, height, rows = read_png(path)
        windows, picture = read_report(name)
        self.assertEqual(sorted(windows), sorted(classes))
        left = min(r[0] for r in windows.values())
        top = min(r[1] for r in windows.values())
        right = max(r[2] for r in windows.values())
        bottom = max(r[3] for r in windows.values())
        # The virtual display is 1920 x 1080; the windows lie on it whole.
        self.assertTrue(0 <= left < right <= 1920 and 0 <= top < bottom <= 1080, windows)
        self.assertEqual((width, height), (right - left, bottom - top))
        self.assertEqual(picture, (width, height))
        for cls, area in windows.items():
            with self.subTest(cls):
                self.assertGreater(colours_in(rows, area, (left, top)), 8,
                                   "the window shows no text or frame")
        return windows

    def test_editor_picture_shows_morvi_over_the_save_as_dialog(self):
        windows = self.check_picture("editor-save-as", ["TMainForm", "#32770"])
        editor, dialog = windows["TMainForm"], windows["#32770"]
        overlap = (min(editor[2], dialog[2]) > max(editor[0], dialog[0]) and
                   min(editor[3], dialog[3]) > max(editor[1], dialog[1]))
        self.assertTrue(overlap, "the editor window is not over the dialog: %s" % windows)
        # At 96 DPI the editor window is at least as wide as its designed client area.
        self.assertGreaterEqual(editor[2] - editor[0], 822)

    def test_word_list_picture_exists_exactly_when_the_word_list_window_does(self):
        path = os.path.join(OUT, "word-list.png")
        if WORD_LIST_EXISTS:
            self.assertEqual(self.command.returncode, 0, self.command.stderr)
            self.check_picture("word-list", ["TNoteForm"])
        else:
            self.assertNotEqual(self.command.returncode, 0)
            self.assertRegex(self.command.stderr, re.escape("TNoteForm) did not appear"))
            self.assertFalse(os.path.exists(path))


if __name__ == "__main__":
    unittest.main()
