// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The JSON documents the programs print, checked against the schemas published with them
// (data/schema, JSON Schema draft 2020-12) by a real validator (python3-jsonschema). Every
// test that reads a printed document reads it through printedJson(), so whatever the suite
// makes the programs print is held to the published shape.

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>

namespace kestrova::test {

enum class JsonSchema {
    Report,   // kestrova-report --format json
    Check,    // kestrova-check --format json
    History,  // kestrova-report --history --format json
};

// The document `text` holds. Fails the running test, with each mismatch and where it is, when
// the text is no JSON object or the document does not match `schema`.
QJsonObject printedJson(const QByteArray& text, JsonSchema schema);

// Checks a part the libraries make on their own against one of `schema`'s definitions
// ("failure").
void expectMatchesDefinition(const QJsonValue& value, JsonSchema schema, const char* definition);

}  // namespace kestrova::test
