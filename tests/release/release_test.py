"""The release zip as a user downloads it: what it holds, texts that Windows' Notepad shows right,
the stripped release Morvi.exe with its version resource, and the same bytes from two builds.

Run by the test command after the Windows tests (it uses their build for the version test):
    python3 -m unittest discover -s tests/release -p '*_test.py'
"""
import hashlib
import os
import re
import shutil
import struct
import subprocess
import unittest
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RELEASE_BUILD = os.path.join(ROOT, "build", "release")
WORK = os.path.join(ROOT, "build", "release-test")
VERSION_TEST = os.path.join(ROOT, "build", "win", "tests", "release", "morvi_release_tests.exe")
UTF8_BOM = b"\xef\xbb\xbf"


def project_version():
    """The version as CMakeLists.txt sets it, read here on its own."""
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
        m = re.search(r"project\(\s*Morvi\s+VERSION\s+([0-9]+\.[0-9]+\.[0-9]+)", f.read())
    assert m, "no project(Morvi VERSION ...) in CMakeLists.txt"
    return m.group(1)


def release(out, umask):
    """Runs the release command without the test command; the zip goes to out."""
    shutil.rmtree(out, ignore_errors=True)
    old = os.umask(umask)
    try:
        subprocess.run([os.path.join(ROOT, "scripts", "release"), "--no-test", "--out", out],
                       check=True, stdout=subprocess.DEVNULL)
    finally:
        os.umask(old)


def pe_facts(data):
    """Machine, subsystem, COFF symbol table (offset, count) and section names of a PE image."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "not a PE image"
    machine, sections, _, symtab, symbols, opt_size, _ = struct.unpack_from("<HHIIIHH", data,
                                                                            pe + 4)
    opt = pe + 24
    subsystem = struct.unpack_from("<H", data, opt + 68)[0]
    names = []
    for i in range(sections):
        raw = data[opt + opt_size + 40 * i:opt + opt_size + 40 * i + 8]
        names.append(raw.rstrip(b"\0").decode("ascii", "replace"))
    return machine, subsystem, (symtab, symbols), names


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.version = project_version()
        cls.zip_name = "Morvi-%s-win-x64.zip" % cls.version
        cls.first = os.path.join(WORK, "first")
        cls.second = os.path.join(WORK, "second")
        release(cls.first, 0o022)
        # A second build: Morvi.exe and its resources made anew (a new link, new file times),
        # under another umask. Only the same inputs may give the same bytes.
        os.remove(os.path.join(RELEASE_BUILD, "Morvi.exe"))
        for folder, _, files in os.walk(os.path.join(RELEASE_BUILD, "src")):
            for name in files:
                if name.startswith("Morvi.rc."):
                    os.remove(os.path.join(folder, name))
        release(cls.second, 0o077)
        with zipfile.ZipFile(os.path.join(cls.first, cls.zip_name)) as z:
            cls.infos = z.infolist()
            cls.files = {i.filename: z.read(i) for i in cls.infos}

    def test_zip_is_named_after_the_project_version_and_holds_the_four_files_in_order(self):
        self.assertEqual([i.filename for i in self.infos],
                         ["Morvi.exe", "README.txt", "LICENSE.txt", "Morvi-Note.txt"])

    def test_texts_are_utf8_with_cr_lf_only_and_a_mark_where_japanese(self):
        cases = [("README.txt", True), ("Morvi-Note.txt", True), ("LICENSE.txt", False)]
        for name, marked in cases:
            with self.subTest(name):
                data = self.files[name]
                self.assertEqual(data.startswith(UTF8_BOM), marked)
                text = data[len(UTF8_BOM) if marked else 0:].decode("utf-8")  # strict
                self.assertTrue(text.endswith("\r\n"))
                self.assertNotRegex(text, r"\r(?!\n)|(?<!\r)\n", "a bare CR or LF")
                self.assertNotIn("\ufeff", text)

    def test_readme_is_japanese_then_english(self):
        text = self.files["README.txt"][len(UTF8_BOM):].decode("utf-8")
        lines = [line for line in text.split("\r\n") if line.strip()]
        kana = re.compile(r"[\u3040-\u30ff]")
        self.assertRegex(lines[0], kana, "the first line is not Japanese")
        japanese = text.index("Morvi とは")
        english = text.index("What Morvi does")
        self.assertLess(japanese, english)
        # The English part is English: no Japanese sentence in it, only quoted captions.
        for line in text[english:].split("\r\n"):
            self.assertIsNone(re.search(r"[\u3040-\u30ff]{2,}[。、]", line), line)

    def test_sample_word_list_and_licence_are_the_repositorys_words(self):
        with open(os.path.join(ROOT, "release", "Morvi-Note.txt"), encoding="utf-8") as f:
            words = f.read().splitlines()
        self.assertEqual(self.files["Morvi-Note.txt"][len(UTF8_BOM):].decode("utf-8"),
                         "".join(w + "\r\n" for w in words))
        for w in ["見積書", "請求書", "議事録", "draft", "final"]:
            self.assertIn(w, words)
        with open(os.path.join(ROOT, "LICENSE"), encoding="utf-8") as f:
            licence = f.read()
        self.assertIn("MIT License", licence)
        self.assertIn("Copyright (c) 2026 Ostrelworks", licence)
        self.assertEqual(self.files["LICENSE.txt"].decode("utf-8"),
                         licence.replace("\n", "\r\n"))

    def test_exe_is_the_stripped_release_build(self):
        exe = self.files["Morvi.exe"]
        with open(os.path.join(RELEASE_BUILD, "Morvi.exe"), "rb") as f:
            self.assertEqual(exe, f.read(), "not the Morvi.exe of build/release")
        machine, subsystem, symbols, sections = pe_facts(exe)
        self.assertEqual(machine, 0x8664)  # x64
        self.assertEqual(subsystem, 2)  # a Windows GUI program
        self.assertEqual(symbols, (0, 0), "Morvi.exe still has a symbol table")
        self.assertEqual([s for s in sections if s.startswith((".debug", "/"))], [])
        self.assertIn(".rsrc", sections)
        print("\nMorvi.exe in the zip: %d bytes" % len(exe))

    def test_exe_carries_the_version_resource_and_icon(self):
        # The Windows test reads them through the system's own calls, under Wine.
        self.assertTrue(os.path.exists(VERSION_TEST), "build the Windows tests first (make test)")
        folder = os.path.join(WORK, "unzipped")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        exe = os.path.join(folder, "Morvi.exe")
        with open(exe, "wb") as f:
            f.write(self.files["Morvi.exe"])
        env = dict(os.environ, MORVI_EXE="Z:" + exe.replace("/", "\\"))
        env.pop("DISPLAY", None)
        run = subprocess.run([os.path.join(ROOT, "scripts", "wine-run"), VERSION_TEST],
                             env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        self.assertEqual(run.returncode, 0, run.stdout)
        self.assertRegex(run.stdout, r"\[  PASSED  \] [1-9][0-9]* tests?")

    def test_two_builds_give_the_same_bytes_and_sha256sums_checks_them(self):
        for name in [self.zip_name, "SHA256SUMS"]:
            with self.subTest(name), open(os.path.join(self.first, name), "rb") as a, \
                    open(os.path.join(self.second, name), "rb") as b:
                self.assertEqual(a.read(), b.read())
        with open(os.path.join(self.first, self.zip_name), "rb") as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        with open(os.path.join(self.first, "SHA256SUMS"), "rb") as f:
            self.assertEqual(f.read(), ("%s  %s\n" % (digest, self.zip_name)).encode("ascii"))
        check = subprocess.run(["sha256sum", "--check", "--strict", "SHA256SUMS"],
                               cwd=self.first, stdout=subprocess.PIPE, text=True)
        self.assertEqual(check.returncode, 0, check.stdout)


if __name__ == "__main__":
    unittest.main()
