// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The live browser's script texts and the reading of what the page sends back, without a
// browser engine.

#include "support/qt_printers.h"

#include "platform/live/dom_script.h"

#include <gtest/gtest.h>

namespace kestrova::live {
namespace {

const QString kMarker = QStringLiteral("\u0002kestrova-complete:0123abcd:");

struct CompletionRow {
    const char* name;
    QString message;
    std::optional<FramePath> path;  // nothing: not a report
};

void PrintTo(const CompletionRow& row, std::ostream* out) {
    *out << row.name;
}

class Completion : public ::testing::TestWithParam<CompletionRow> {};

TEST_P(Completion, OnlyMarkedWellFormedReportsCount) {
    const auto report = readCompletion(GetParam().message, kMarker);
    ASSERT_EQ(report.has_value(), GetParam().path.has_value());
    if (report) {
        EXPECT_EQ(report->path, *GetParam().path);
        EXPECT_EQ(report->url, QUrl(QStringLiteral("http://h/x")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Completion,
    ::testing::Values(
        CompletionRow{"TopLevel", kMarker + QStringLiteral(R"({"path":[],"url":"http://h/x"})"),
                      FramePath{}},
        CompletionRow{"InnerFrame",
                      kMarker + QStringLiteral(R"({"path":[2,1],"url":"http://h/x"})"),
                      FramePath{2, 1}},
        CompletionRow{"PageOutput", QStringLiteral("hello"), std::nullopt},
        CompletionRow{
            "ForgedWithoutTheSecret",
            QStringLiteral("\u0002kestrova-complete:guess:{\"path\":[],\"url\":\"http://h/x\"}"),
            std::nullopt},
        CompletionRow{
            "MarkerNotAtTheStart",
            QStringLiteral("x") + kMarker + QStringLiteral(R"({"path":[],"url":"http://h/x"})"),
            std::nullopt},
        CompletionRow{"BrokenJson", kMarker + QStringLiteral(R"({"path":[2,)"), std::nullopt},
        CompletionRow{"NegativeIndex",
                      kMarker + QStringLiteral(R"({"path":[-1],"url":"http://h/x"})"),
                      std::nullopt},
        CompletionRow{"FractionalIndex",
                      kMarker + QStringLiteral(R"({"path":[1.5],"url":"http://h/x"})"),
                      std::nullopt},
        CompletionRow{"NoUrl", kMarker + QStringLiteral(R"({"path":[]})"), std::nullopt}),
    [](const auto& p) { return std::string(p.param.name); });

const DomCall kCall{{2, 1},
                    {ElementStep{ElementStep::Kind::Id, QStringLiteral("x"), 0},
                     ElementStep{ElementStep::Kind::Child, {}, 3}},
                    DomOperation::Value,
                    {}};

struct AnswerRow {
    const char* name;
    QVariant answer;
    const char* failure;  // nullptr: the answer's value comes back
};

void PrintTo(const AnswerRow& row, std::ostream* out) {
    *out << row.name;
}

QVariantMap map(std::initializer_list<std::pair<QString, QVariant>> items) {
    QVariantMap m;
    for (const auto& [key, value] : items) {
        m.insert(key, value);
    }
    return m;
}

class Answer : public ::testing::TestWithParam<AnswerRow> {};

TEST_P(Answer, GivesTheValueOrAFailureInTheBrowsersWords) {
    const AnswerRow& row = GetParam();
    if (row.failure == nullptr) {
        EXPECT_EQ(readAnswer(row.answer, kCall), QVariant(QStringLiteral("v")));
        return;
    }
    try {
        readAnswer(row.answer, kCall);
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.description(), QString::fromUtf8(row.failure));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Answer,
    ::testing::Values(
        AnswerRow{
            "Value",
            map({{QStringLiteral("ok"), true}, {QStringLiteral("value"), QStringLiteral("v")}}),
            nullptr},
        AnswerRow{
            "PageError",
            map({{QStringLiteral("ok"), false}, {QStringLiteral("error"), QStringLiteral("boom")}}),
            "Reading the value of element \"x\", child 3 in frames[2].frames[1] failed: boom"},
        AnswerRow{"NoAnswer", QVariant(),
                  "Reading the value of element \"x\", child 3 in frames[2].frames[1] failed: the "
                  "page gave no answer (it may have been replaced meanwhile)"},
        AnswerRow{"MissingStepOutOfRange",
                  map({{QStringLiteral("ok"), false},
                       {QStringLiteral("missing"), QStringLiteral("element")},
                       {QStringLiteral("at"), 9}}),
                  "Reading the value of element \"x\", child 3 in frames[2].frames[1] failed: the "
                  "page refused it"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace kestrova::live
