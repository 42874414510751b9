#!/usr/bin/env python3
"""What a release hands to users and package managers, checked on a built Tintelo.exe.

Usage: packaging_test.py EXE VERSION, VERSION being project(VERSION) of CMakeLists.txt.
- The exe's version resource carries that version, in numbers and in text, and the
  copyright line of LICENSE.
- scripts/package.sh fills the winget and Scoop manifests from the exe: each file parses,
  carries the exe's SHA-256, the version and the release's download URL, and has the fields
  its format requires. No package registry reached here ships winget's or Scoop's JSON
  schemas, so the required fields are the ones their schemas list (winget 1.12.0:
  version, installer and defaultLocale; Scoop: version, and url and hash per architecture).
- scripts/check-version.sh takes the tag vVERSION and refuses any other.
"""
import hashlib
import json
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import yaml

ROOT = Path(__file__).resolve().parent.parent
EXE = Path(sys.argv[1]) if len(sys.argv) > 1 else None
VERSION = sys.argv[2] if len(sys.argv) > 2 else None
REPOSITORY = "example-owner/tintelo-repo"
WINGET_SCHEMA = "1.12.0"


def fixed_file_version(data: bytes) -> tuple:
    """FILEVERSION and PRODUCTVERSION of VS_FIXEDFILEINFO, found by its signature."""
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    assert at >= 0, "no VS_FIXEDFILEINFO in the exe"
    fields = struct.unpack_from("<6I", data, at)
    split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    return split(fields[2], fields[3]), split(fields[4], fields[5])


def version_string(data: bytes, key: str) -> str:
    """The value of one String of the StringFileInfo block: its UTF-16 key, a terminating
    null, padding to a 32-bit boundary, then the value up to its null."""
    needle = (key + "\0").encode("utf-16-le")
    at = data.find(needle)
    assert at >= 0, f"no {key} in the version resource"
    assert data.find(needle, at + 1) < 0, f"{key} twice in the exe"
    at += len(needle)
    while data[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


class VersionResource(unittest.TestCase):
    def setUp(self):
        self.data = EXE.read_bytes()
        self.numbers = tuple(int(n) for n in VERSION.split(".")) + (0,)

    def test_numbers_are_the_project_version(self):
        file_version, product_version = fixed_file_version(self.data)
        self.assertEqual(file_version, self.numbers)
        self.assertEqual(product_version, self.numbers)

    def test_texts_are_the_project_version(self):
        # "1.00" for 1.0.0: the minor number in two digits, a patch number only when set.
        major, minor, patch = (int(n) for n in VERSION.split("."))
        text = f"{major}.{minor:02d}" + (f".{patch}" if patch else "")
        self.assertEqual(version_string(self.data, "FileVersion"), text)
        self.assertEqual(version_string(self.data, "ProductVersion"), text)

    def test_manifest_carries_the_version(self):
        self.assertIn(f'name="Tintelo" version="{VERSION}.0"'.encode(), self.data)

    def test_copyright_is_the_licence_line(self):
        licence = (ROOT / "LICENSE").read_text()
        self.assertIn("MIT License", licence)
        line = next(l for l in licence.splitlines() if l.startswith("Copyright"))
        self.assertEqual(version_string(self.data, "LegalCopyright"), line)


class Manifests(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = Path(tempfile.mkdtemp(prefix="tintelo-packaging-"))
        # As the release job runs it: with the tag and the repository.
        subprocess.run([ROOT / "scripts/package.sh", f"v{VERSION}", REPOSITORY, EXE, cls.out], check=True)
        cls.sha256 = hashlib.sha256(EXE.read_bytes()).hexdigest()
        cls.url = f"https://github.com/{REPOSITORY}/releases/download/v{VERSION}/Tintelo.exe"
        cls.winget = {}
        for path in sorted((cls.out / "winget").glob("*.yaml")):
            text = path.read_text()
            manifest = yaml.safe_load(text)
            kind = manifest["ManifestType"]
            header = re.match(r"# yaml-language-server: \$schema=https://aka\.ms/winget-manifest\.(\w+)\.([\d.]+)\.schema\.json\n", text)
            assert header, f"{path.name}: no schema header"
            assert header.group(1) == kind and header.group(2) == manifest["ManifestVersion"], path.name
            cls.winget[kind] = (path.name, manifest)
        cls.scoop = json.loads((cls.out / "scoop/tintelo.json").read_text())

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.out)

    def test_winget_set_is_version_installer_and_default_locale(self):
        self.assertEqual(sorted(self.winget), ["defaultLocale", "installer", "version"])
        identifier = self.winget["version"][1]["PackageIdentifier"]
        for kind, (name, manifest) in self.winget.items():
            with self.subTest(kind):
                self.assertEqual(manifest["PackageIdentifier"], identifier)
                self.assertEqual(str(manifest["PackageVersion"]), VERSION)
                self.assertEqual(manifest["ManifestVersion"], WINGET_SCHEMA)
                # winget-pkgs names each file after the identifier and its type.
                suffix = {"version": "", "installer": ".installer", "defaultLocale": ".locale.en-US"}[kind]
                self.assertEqual(name, f"{identifier}{suffix}.yaml")
        self.assertEqual(self.winget["version"][1]["DefaultLocale"], self.winget["defaultLocale"][1]["PackageLocale"])

    def test_winget_required_fields(self):
        required = {
            "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"],
            "installer": ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"],
            "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName",
                              "License", "ShortDescription", "ManifestType", "ManifestVersion"],
        }
        for kind, fields in required.items():
            manifest = self.winget[kind][1]
            for field in fields:
                with self.subTest(kind=kind, field=field):
                    self.assertTrue(manifest.get(field), f"{field} missing or empty")
        self.assertEqual(self.winget["defaultLocale"][1]["License"], "MIT")

    def test_winget_installer_is_the_exe_as_a_portable_command(self):
        installer = self.winget["installer"][1]
        self.assertEqual(installer["InstallerType"], "portable")
        self.assertEqual(installer["Commands"], ["tintelo"])
        self.assertEqual(len(installer["Installers"]), 1)
        entry = installer["Installers"][0]
        self.assertEqual(entry["Architecture"], "x64")
        self.assertEqual(entry["InstallerUrl"], self.url)
        self.assertRegex(entry["InstallerSha256"], r"^[0-9A-F]{64}$")
        self.assertEqual(entry["InstallerSha256"].lower(), self.sha256)

    def test_scoop_manifest(self):
        manifest = self.scoop
        self.assertEqual(manifest["version"], VERSION)
        self.assertEqual(manifest["license"], "MIT")
        self.assertTrue(manifest["description"] and manifest["homepage"])
        self.assertEqual(manifest["architecture"], {"64bit": {"url": self.url, "hash": self.sha256}})
        self.assertEqual(manifest["shortcuts"], [["Tintelo.exe", "Tintelo"]])
        self.assertEqual(manifest["checkver"], {"github": f"https://github.com/{REPOSITORY}"})
        update = manifest["autoupdate"]["architecture"]["64bit"]
        # The next version's URL is this one with the version as Scoop's variable, and its
        # hash is read from the .sha256 the release attaches beside the exe.
        self.assertEqual(update["url"], self.url.replace(VERSION, "$version"))
        self.assertEqual(update["hash"]["url"], "$url.sha256")


class ReleaseTag(unittest.TestCase):
    def check(self, tag):
        return subprocess.run([ROOT / "scripts/check-version.sh", tag], capture_output=True).returncode

    def test_tag_of_the_project_version_passes(self):
        self.assertEqual(self.check(f"v{VERSION}"), 0)

    def test_any_other_tag_stops_the_release(self):
        major, minor, patch = (int(n) for n in VERSION.split("."))
        for tag in [VERSION, f"v{major}.{minor}.{patch + 1}", f"v{major + 1}.{minor}.{patch}",
                    f"v{VERSION}-rc1", f"v{major}.{minor}"]:
            with self.subTest(tag):
                self.assertEqual(self.check(tag), 1)


if __name__ == "__main__":
    if EXE is None or VERSION is None:
        sys.exit("usage: packaging_test.py EXE VERSION")
    unittest.main(argv=sys.argv[:1], verbosity=2)
