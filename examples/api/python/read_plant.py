#!/usr/bin/env python3
"""Reads a PLC project through the C interface of VellCfgRdr with ctypes and
prints its exchange XML; the messages go to standard error.

    python3 read_plant.py [--library PATH] [--lang en|fr] FILE

The library is PATH, else $VELLCFGRDR_LIBRARY, else the libvellcfgrdr the
dynamic linker finds. Exit status: 0 converted, 1 the reader ended with
another status, 2 an error was raised (53 missing file, 14001 unknown
format, ...), 64 usage.
"""

import argparse
import ctypes
import ctypes.util
import os
import sys

STATUS_OK = 0
STATUS_WARNINGS = 14003
LANGUAGES = {"en": 0, "fr": 1}
LEVELS = {1: "error", 2: "warning", 3: "info", 4: "debug"}


class VellError(ctypes.Structure):
    """struct vell_error of vellcfgrdr.h."""

    _fields_ = [
        ("number", ctypes.c_int32),
        ("line_number", ctypes.c_int32),
        ("os_error", ctypes.c_int32),
        ("description", ctypes.c_char * 1024),
        ("source", ctypes.c_char * 256),
    ]


class VellCfgRdrError(Exception):
    """An error raised by the library: number, description, source."""

    def __init__(self, err):
        self.number = err.number
        self.description = err.description.decode("utf-8", "replace")
        self.source = err.source.decode("utf-8", "replace")
        super().__init__(f"{self.number}: {self.description} ({self.source})")


MessageCallback = ctypes.CFUNCTYPE(
    None, ctypes.c_char_p, ctypes.c_int32, ctypes.c_char_p, ctypes.c_void_p
)


def load_library(path=None):
    path = path or os.environ.get("VELLCFGRDR_LIBRARY") or ctypes.util.find_library("vellcfgrdr")
    if not path:
        raise OSError("libvellcfgrdr not found: give its path with --library")
    lib = ctypes.CDLL(path)
    err = ctypes.POINTER(VellError)
    # Strings the library allocates come back as plain pointers, so that
    # they can be handed to vell_free after copying.
    for name, restype, argtypes in [
        ("vell_reader_create", ctypes.c_void_p, [err]),
        ("vell_reader_destroy", None, [ctypes.c_void_p]),
        ("vell_reader_read", ctypes.c_int32, [ctypes.c_void_p, ctypes.c_char_p, err]),
        ("vell_reader_xml", ctypes.c_void_p, [ctypes.c_void_p, err]),
        ("vell_error_description", ctypes.c_void_p, [ctypes.c_void_p, ctypes.c_int32]),
        (
            "vell_reader_set_message_callback",
            None,
            [ctypes.c_void_p, MessageCallback, ctypes.c_void_p],
        ),
        ("vell_set_language", ctypes.c_int32, [ctypes.c_int32, err]),
        ("vell_free", None, [ctypes.c_void_p]),
        ("vell_version", ctypes.c_char_p, []),
    ]:
        function = getattr(lib, name)
        function.restype = restype
        function.argtypes = argtypes
    return lib


class Reader:
    """One vell_reader; on_message(text, level, source) receives the messages."""

    def __init__(self, lib, on_message=None):
        self._lib = lib
        err = VellError()
        self._handle = lib.vell_reader_create(ctypes.byref(err))
        if not self._handle:
            raise VellCfgRdrError(err)
        if on_message:
            # Kept on the object: the library calls it for as long as the reader lives.
            self._callback = MessageCallback(
                lambda text, level, source, user: on_message(
                    text.decode("utf-8", "replace"), level, source.decode("utf-8", "replace")
                )
            )
            lib.vell_reader_set_message_callback(self._handle, self._callback, None)

    def close(self):
        if self._handle:
            self._lib.vell_reader_destroy(self._handle)
            self._handle = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _take_text(self, pointer):
        try:
            return ctypes.string_at(pointer).decode("utf-8")
        finally:
            self._lib.vell_free(pointer)

    def read(self, path):
        """Reads the file; returns its status (0, 14003, 14002, 321, ...)."""
        err = VellError()
        status = self._lib.vell_reader_read(self._handle, os.fsencode(path), ctypes.byref(err))
        if status == -1:
            raise VellCfgRdrError(err)
        return status

    def xml(self):
        err = VellError()
        pointer = self._lib.vell_reader_xml(self._handle, ctypes.byref(err))
        if not pointer:
            raise VellCfgRdrError(err)
        return self._take_text(pointer)

    def error_description(self, number):
        pointer = self._lib.vell_error_description(self._handle, number)
        return self._take_text(pointer) if pointer else ""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--library", help="path of libvellcfgrdr")
    parser.add_argument("--lang", choices=LANGUAGES, default="en")
    parser.add_argument("file")
    try:
        args = parser.parse_args()
    except SystemExit as e:
        return 0 if e.code == 0 else 64

    lib = load_library(args.library)
    print(f"VellCfgRdr {lib.vell_version().decode()}", file=sys.stderr)
    err = VellError()
    if lib.vell_set_language(LANGUAGES[args.lang], ctypes.byref(err)) != 0:
        print(VellCfgRdrError(err), file=sys.stderr)
        return 2

    def show(text, level, source):
        print(f"{LEVELS.get(level, 'message')}: {source}: {text}", file=sys.stderr)

    try:
        with Reader(lib, show) as reader:
            status = reader.read(args.file)
            if status not in (STATUS_OK, STATUS_WARNINGS):
                print(f"status {status}: {reader.error_description(status)}", file=sys.stderr)
                return 1
            sys.stdout.write(reader.xml())
    except VellCfgRdrError as e:
        print(e, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
