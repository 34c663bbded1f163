// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/json_schema.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>

namespace kestrova::test {

namespace {

QString schemaFile(JsonSchema schema) {
    const QString folder = QStringLiteral(KESTROVA_SOURCE_DIR "/data/schema/");
    switch (schema) {
        case JsonSchema::Report:
            return folder + QStringLiteral("kestrova-report.schema.json");
        case JsonSchema::Check:
            return folder + QStringLiteral("kestrova-check.schema.json");
        case JsonSchema::History:
            return folder + QStringLiteral("kestrova-history.schema.json");
    }
    return {};
}

// What the validator says is wrong with `text`; empty when it matches.
QString mismatches(const QByteArray& text, JsonSchema schema, const QStringList& options) {
    QProcess validator;
    validator.start(QStringLiteral(KESTROVA_PYTHON3),
                    QStringList{QStringLiteral(KESTROVA_SOURCE_DIR "/tests/support/check_json.py"),
                                schemaFile(schema)} +
                        options);
    if (!validator.waitForStarted(30000)) {
        return QStringLiteral("the validator did not start: ") + validator.errorString();
    }
    validator.write(text);
    validator.closeWriteChannel();
    if (!validator.waitForFinished(60000)) {
        validator.kill();
        validator.waitForFinished();
        return QStringLiteral("the validator did not finish");
    }
    const QString said =
        QString::fromUtf8(validator.readAllStandardOutput() + validator.readAllStandardError());
    if (validator.exitStatus() != QProcess::NormalExit || validator.exitCode() != 0) {
        return said.isEmpty() ? QStringLiteral("the validator failed") : said;
    }
    return {};
}

}  // namespace

QJsonObject printedJson(const QByteArray& text, JsonSchema schema) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (!document.isObject()) {
        ADD_FAILURE() << "not a JSON object (" << error.errorString().toStdString()
                      << "): " << text.left(200).toStdString();
        return {};
    }
    const QString wrong = mismatches(text, schema, {});
    EXPECT_TRUE(wrong.isEmpty()) << "the document does not match "
                                 << schemaFile(schema).toStdString() << ":\n"
                                 << wrong.toStdString();
    return document.object();
}

void expectMatchesDefinition(const QJsonValue& value, JsonSchema schema, const char* definition) {
    // In an array, as QJsonDocument writes only objects and arrays.
    const QString wrong = mismatches(
        QJsonDocument(QJsonArray{value}).toJson(), schema,
        {QStringLiteral("--definition"), QString::fromUtf8(definition), QStringLiteral("--items")});
    EXPECT_TRUE(wrong.isEmpty()) << "does not match the definition " << definition << " of "
                                 << schemaFile(schema).toStdString() << ":\n"
                                 << wrong.toStdString();
}

}  // namespace kestrova::test
