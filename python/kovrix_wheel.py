"""A build backend with no dependencies: it packs kovrix/ into a pure-Python
wheel, so `pip install ./python` works offline, without setuptools or wheel.
(The package has no build step: it loads libkovrix.so.1 at import.)"""
import base64
import hashlib
import re
import zipfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
PROJECT = (HERE / "pyproject.toml").read_text()
NAME = re.search(r'^name = "(.*)"', PROJECT, re.M).group(1)
VERSION = re.search(r'^version = "(.*)"', PROJECT, re.M).group(1)
SUMMARY = re.search(r'^description = "(.*)"', PROJECT, re.M).group(1)
DIST_INFO = f"{NAME}-{VERSION}.dist-info"


def _metadata():
    return f"Metadata-Version: 2.1\nName: {NAME}\nVersion: {VERSION}\nSummary: {SUMMARY}\nLicense: MIT\n"


def _record_line(path, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{path},sha256={digest},{len(data)}"


def get_requires_for_build_wheel(config_settings=None):
    return []


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    files = {f"kovrix/{p.name}": p.read_bytes() for p in sorted((HERE / "kovrix").glob("*.py"))}
    files[f"{DIST_INFO}/METADATA"] = _metadata().encode()
    files[f"{DIST_INFO}/WHEEL"] = b"Wheel-Version: 1.0\nGenerator: kovrix_wheel\nRoot-Is-Purelib: true\nTag: py3-none-any\n"
    record = [_record_line(path, data) for path, data in files.items()] + [f"{DIST_INFO}/RECORD,,"]
    files[f"{DIST_INFO}/RECORD"] = ("\n".join(record) + "\n").encode()
    name = f"{NAME}-{VERSION}-py3-none-any.whl"
    with zipfile.ZipFile(Path(wheel_directory) / name, "w", zipfile.ZIP_DEFLATED) as wheel:
        for path, data in files.items():
            wheel.writestr(path, data)
    return name
