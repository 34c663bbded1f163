#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Kestrova developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks a JSON document on standard input against one of Kestrova's published schemas.

    check_json.py SCHEMA [--definition NAME] [--items]

SCHEMA is a file of data/schema; the other schemas beside it are there for its references.
--definition checks against one of its $defs instead of the whole document (a part the
libraries make on their own); --items takes the input as an array of such values.

The schemas' own keyword "x-decimals" (the most decimals a number is written with) is checked
too, on the numbers as they are written: they are read as decimals, not binary doubles.
Prints each mismatch with where it is and exits 1; exits 2 when the schema itself or the
validator is missing or broken.
"""

import argparse
import decimal
import json
import pathlib
import re
import sys

try:
    import jsonschema
except ImportError:
    print("python3-jsonschema is not installed (scripts/install-deps installs it)")
    sys.exit(2)


def read_json(text):
    return json.loads(text, parse_float=decimal.Decimal)


def decimals(validator, places, instance, schema):
    if isinstance(instance, decimal.Decimal) and not instance.is_nan():
        written = -instance.normalize().as_tuple().exponent
        if written > places:
            yield jsonschema.ValidationError(f"{instance} has more than {places} decimals")


Validator = jsonschema.validators.extend(
    jsonschema.Draft202012Validator, {"x-decimals": decimals}
)


def validator_for(target, schemas):
    """The validator, resolving references among `schemas` (by their $id)."""
    # Without "$schema" every resource is checked by this validator, keyword and all, rather
    # than by the stock one its "$schema" names.
    schemas = {uri: {k: v for k, v in s.items() if k != "$schema"} for uri, s in schemas.items()}
    try:
        from referencing import Registry, Resource
        from referencing.jsonschema import DRAFT202012
    except ImportError:  # jsonschema before 4.18, as Debian 12 has it
        resolver = jsonschema.RefResolver(base_uri="", referrer=target, store=schemas)
        return Validator(target, resolver=resolver)
    registry = Registry().with_resources(
        (uri, DRAFT202012.create_resource(schema)) for uri, schema in schemas.items()
    )
    return Validator(target, registry=registry)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("schema", type=pathlib.Path)
    parser.add_argument("--definition")
    parser.add_argument("--items", action="store_true")
    args = parser.parse_args()

    schemas = {}
    for path in sorted(args.schema.parent.glob("*.schema.json")):
        schema = read_json(path.read_text(encoding="utf-8"))
        jsonschema.Draft202012Validator.check_schema(schema)
        schemas[schema["$id"]] = schema
    root = read_json(args.schema.read_text(encoding="utf-8"))
    if args.definition:
        if args.definition not in root.get("$defs", {}):
            print(f"{args.schema.name} has no definition {args.definition}")
            return 2
        target = {"$ref": f"{root['$id']}#/$defs/{args.definition}"}
    else:
        target = {"$ref": root["$id"]}
    if args.items:
        target = {"type": "array", "items": target}

    try:
        document = read_json(sys.stdin.read())
    except ValueError as error:
        print(f"not JSON: {error}")
        return 1
    errors = sorted(validator_for(target, schemas).iter_errors(document), key=lambda e: list(e.path))
    for error in errors:
        where = "/" + "/".join(str(step) for step in error.absolute_path)
        # A number as it was written, not as the decimal it was read into.
        message = re.sub(r"Decimal\('([^']*)'\)", r"\1", error.message)
        print(f"{where}: {message}")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
