#include "platform/html_document.h"

#include <gtest/gtest.h>

using namespace kestrova;

TEST(HtmlDocument, SmokeElementById) {
    HtmlDocument doc(QStringLiteral("<html><head></head><body><p id=\"x\">hi</p></body></html>"));
    ASSERT_NE(doc.elementById(QStringLiteral("x")), nullptr);
    EXPECT_EQ(doc.elementById(QStringLiteral("x"))->innerText(), QStringLiteral("hi"));
    EXPECT_EQ(doc.elementById(QStringLiteral("y")), nullptr);
}
