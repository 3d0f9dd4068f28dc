#!/usr/bin/python3
"""Tests of the resource-name check: what it finds in sources and how it reads a .res."""

import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import check_names  # noqa: E402

SOURCE = r'''
static BitmapButtonRecord kToolbar[] = {
    {1, 1, 113, nullptr, "searchon", nullptr, "searchof", nullptr, "searchof"},
    {0},
};
void Frame::OnCreate() {
    gHand = LoadCursorA(gInstance, "HAND_E");
    accel = LoadAcceleratorsA(gInstance,
                              "MVAppAccelerators");
    DrawBitmapResource(dc, "about", 0, 0);
    DialogBoxParamA(gInstance, MAKEINTRESOURCEA(295), nullptr, PromptProc, 0);
    FILE* f = fopen(path, "rt");
    MessageBoxA(nullptr, text, "error", MB_OK);
    CreateWindowExA(0, "edit", "", WS_CHILD, 0, 0, 1, 1, parent, nullptr, gInstance, nullptr);
}
'''


def res_entry(rtype, name, data=b"\0\0\0\0"):
    def ident(value):
        if isinstance(value, int):
            return struct.pack("<HH", 0xFFFF, value)
        return value.encode("utf-16-le") + b"\0\0"
    names = ident(rtype) + ident(name)
    names += b"\0" * ((-len(names)) % 4)
    header = struct.pack("<II", len(data), 8 + len(names) + 16) + names
    header += struct.pack("<IHHII", 0, 0x30, 0x419, 0, 0)
    return header + data + b"\0" * ((-len(data)) % 4)


class SourceScan(unittest.TestCase):
    def test_finds_loads_records_and_templates_but_not_other_strings(self):
        found = {(kind, name) for _, kind, name, _ in check_names._scan(SOURCE, "player", "x")}
        self.assertEqual(found, {
            ("bitmap", "searchon"), ("bitmap", "searchof"), ("cursor", "HAND_E"),
            ("accelerators", "MVAppAccelerators"), ("bitmap", "about"), ("dialog", "295"),
        })

    def test_reports_the_line_of_each_load(self):
        where = {name: at for _, _, name, at in check_names._scan(SOURCE, "player", "f.cpp")}
        self.assertEqual(where["HAND_E"], "f.cpp:7")
        self.assertEqual(where["searchon"], "f.cpp:3")


class ResReader(unittest.TestCase):
    def test_reads_named_and_numbered_entries(self):
        data = (res_entry(0, 0, b"") + res_entry(2, "CAPBARON") + res_entry(5, 294)
                + res_entry(14, "MYICON") + res_entry(9, "MVAPPACCELERATORS"))
        self.assertEqual(check_names.read_res(data), {
            ("bitmap", "CAPBARON"), ("dialog", "294"), ("icon", "MYICON"),
            ("accelerators", "MVAPPACCELERATORS")})

    def test_refuses_an_entry_that_runs_past_the_end(self):
        data = res_entry(2, "ABOUT", b"\0" * 64)
        with self.assertRaises(ValueError):
            check_names.read_res(data[:-8])


if __name__ == "__main__":
    unittest.main()
