#!/usr/bin/env python3
"""fructl show --json against docs/quillet-show.schema.json: a store with
every family, a damaged record, a container whose image is gone, and image
files decoded without a store. Also checks that the schema refuses
documents that break it, so that a lax schema cannot pass unnoticed.

usage: show_schema_test.py FRUCTL SCHEMA DATA_DIR [EMULATOR WORD...]
"""
import copy
import json
import os
import subprocess
import sys
import tempfile

SKIP = 77


def main():
    fructl, schema_path, data = sys.argv[1:4]
    emulator = [w for w in sys.argv[4:] if w]
    try:
        import jsonschema
    except ImportError:
        if os.environ.get("QUILLET_REQUIRE_CROSSCHECK") == "1":
            print("FAIL: python3-jsonschema is not installed")
            return 1
        print("SKIPPED: python3-jsonschema is not installed (apt-get install python3-jsonschema)")
        return SKIP
    with open(schema_path) as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    failures = []

    with tempfile.TemporaryDirectory() as tmp:
        store = os.path.join(tmp, "store")

        def run(*args, status=0):
            done = subprocess.run(emulator + [fructl, "--store", store, *args],
                                  capture_output=True, text=True)
            if done.returncode != status:
                failures.append(f"fructl {' '.join(args)}: exit {done.returncode}, "
                                f"not {status}: {done.stderr}")
            return done.stdout

        def show(*args, status=0):
            text = run("show", *args, "--json", status=status)
            try:
                document = json.loads(text)
            except json.JSONDecodeError as e:
                failures.append(f"show {' '.join(args)}: not JSON: {e}")
                return None
            for error in validator.iter_errors(document):
                failures.append(f"show {' '.join(args)}: {error.json_path}: {error.message}")
            return document

        run("demo")
        broken = os.path.join(tmp, "broken.fru")
        with open(broken, "wb") as f:
            f.write(b"\x01\x00\x00\x01\x00\x00\x00\x00" + bytes(8))  # header sums wrong
        run("add", "BROKEN", "ipmi", "--from", broken)
        run("add", "GONE", "pirom")
        # Text that JSON must escape: a quote, a backslash, bytes shown as \xNN.
        run("put", "MB", "Customer_DataR",
            "00000001" + (b'a"b\\c'.hex() + "01e9").ljust(160, "0"))
        run("image", "MB", os.path.join(tmp, "mb.zan"))
        run("corrupt", "MB", "MN")
        listing = dict(line.split()[0:5:4] for line in run("list").splitlines())
        os.remove(os.path.join(store, listing["GONE"]))

        everything = show("--all", status=1)
        if everything is not None:
            containers = {c["nac"]: c for c in everything["containers"]}
            if list(containers) != ["MB", "PS0", "MB/P0/D0", "MB/P0", "BROKEN", "GONE"]:
                failures.append(f"--all: containers {list(containers)}")
            records = {r["name"]: r for r in containers.get("MB", {}).get("records", [])}
            man = records.get("ManR", {})
            if man.get("status") != 68 or not man.get("error") or man.get("entries") != []:
                failures.append(f"--all: ManR in a damaged segment reads {man}")
            customer = records.get("Customer_DataR", {}).get("entries", [{}])[0].get("fields", [])
            if {"name": "cust_data", "kind": "text", "text": 'a"b\\c\\x01\\xe9'} not in customer:
                failures.append(f"--all: Customer_DataR fields {customer}")
            power = records.get("Power_SummaryR", {}).get("entries", [{}])[0].get("fields", [])
            if {"name": "total_power_ons", "kind": "number", "text": "37", "value": 37,
                    "unit": ""} not in power:
                failures.append(f"--all: Power_SummaryR fields {power}")
            broken_areas = [(r["status"], bool(r["error"]))
                            for r in containers.get("BROKEN", {}).get("records", [])]
            if not broken_areas or any(a != (75, True) for a in broken_areas):
                failures.append(f"--all: BROKEN areas {broken_areas}")
            gone = containers.get("GONE", {})
            if gone.get("status") == 0 or not gone.get("error"):
                failures.append(f"--all: GONE reads {gone}")

        one = show("PS0")
        if one is not None and [c["nac"] for c in one["containers"]] != ["PS0"]:
            failures.append("show PS0: not just PS0")
        for path, family in [(os.path.join(tmp, "mb.zan"), "zan"),
                             (os.path.join(data, "damc-fmc2zup.bin"), "ipmi"),
                             (os.path.join(data, "uLOG_FRU.bin"), "ipmi"),
                             (os.path.join(data, "ddr3-sodimm-samsung-M471B2873FHS-CF8.bin"), "dimm")]:
            document = show("--file", path, family)
            if document is not None:
                c = document["containers"][0]
                if c.get("file") != path or c["status"] != 0 or not c["records"]:
                    failures.append(f"--file {path}: {c.get('status')}, {len(c['records'])} records")

        # The schema refuses what it must: a number as text, a missing
        # status, bytes that are not hex.
        if everything is not None:
            for name, mutate in [
                ("number as text", lambda d: d["containers"][0]["records"][0]["entries"][0]["fields"][1].update(value="4210")),
                ("status missing", lambda d: d["containers"][0]["records"][0].pop("status")),
                ("unknown family", lambda d: d["containers"][0].update(family="spd")),
            ]:
                wrong = copy.deepcopy(everything)
                mutate(wrong)
                if validator.is_valid(wrong):
                    failures.append(f"the schema accepts a document with {name}")

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
